#include "FinestraProva.h"
#include "InterfacceVuote.h"
#include "ProcessoFiglio.h"
#include "drawing/OggettiGrafici.h"
#include "platform/CodaMessaggi.h"
#include "platform/Schermo.h"
#include "platform/Socket.h"
#include "shell/Uscita.h"
#include "shell/StatoShell.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/GestoreMessaggi.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>
#include <QtTest>
#include <cstdio>

// Each opened window gets its answer from a queued call, once its modal loop runs; a
// check failing there closes it.
class Risponditore : public QObject {
public:
    Risponditore(GestoreMessaggi &g, std::function<void(FormMsg *)> azione) : m_azione(std::move(azione))
    {
        connect(&g, &GestoreMessaggi::Mostrato, this, [this](FormMsg *f) {
            QTimer::singleShot(0, f, [this, f] { Controlli_Nel_Modale([&] { m_azione(f); }); });
        });
    }

private:
    std::function<void(FormMsg *)> m_azione;
};

// Presses a button with the mouse, or gives it the focus and types `tasto` (0: the mouse).
static void Premi(FormMsg *f, QPushButton *b, int tasto)
{
    if (tasto == 0) {
        QTest::mouseClick(b, Qt::LeftButton);
        return;
    }
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    b->setFocus(Qt::TabFocusReason);
    // The focused button is marked by a white border.
    QCOMPARE(b->grab().toImage().pixelColor(0, b->height() / 2), QColor(Qt::white));
    QTest::keyClick(f->focusWidget(), Qt::Key(tasto));
}

class FormMsgTest : public QObject {
    Q_OBJECT
private slots:
    void aspetto_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("siNo");
        QTest::addColumn<bool>("domanda");
        QTest::addColumn<QColor>("fondo");
        QTest::addColumn<QString>("testo");  // whole in its box, without scrolling
        QTest::addColumn<bool>("progetto");  // at the design size, in either face
        const QString comm19 = QStringLiteral("COMM19Ø1Ø0ØfineØ");
        QTest::newRow("line limit") << 1 << true << false << false << QColor(255, 215, 0) << comm19 << true;
        QTest::newRow("text limit") << 2 << true << false << false << QColor(255, 215, 0) << comm19 << true;
        QTest::newRow("close confirmation") << 4 << false << true << true << QColor(0, 191, 255) << comm19 << true;
        QTest::newRow("server text") << 5 << true << false << false << QColor(255, 215, 0) << comm19 << true;
        QTest::newRow("login ended") << 6 << false << true << false << QColor(255, 215, 0) << comm19 << true;
        QTest::newRow("limit held by waiting objects")
            << 5 << true << false << false << QColor(255, 215, 0) << disegno::Testo_Limite_In_Attesa(3, {15, 0}) << false;
        QTest::newRow("limit held by objects older than the history")
            << 5 << true << false << false << QColor(255, 215, 0) << disegno::Testo_Limite_In_Attesa(3, {1, 14}) << false;
        QStringList righe;
        for (int i = 1; i <= 12; ++i)
            righe << QStringLiteral("Riga %1 di un testo lungo del server").arg(i);
        QTest::newRow("long server text")
            << 5 << true << false << false << QColor(255, 215, 0) << righe.join(QStringLiteral("\r\n")) << false;
    }
    void aspetto()
    {
        QFETCH(int, tipo);
        QFETCH(bool, ok);
        QFETCH(bool, siNo);
        QFETCH(bool, domanda);
        QFETCH(QColor, fondo);
        QFETCH(QString, testo);
        QFETCH(bool, progetto);
        StatoShell shell;
        int fine = 0;
        GestoreMessaggi g(shell, nullptr, [&] { ++fine; });
        g.Pausa_Coda = 0;
        bool controllato = false;
        QString titolo = QStringLiteral("?");
        Qt::WindowFlags cornice;
        Risponditore r(g, [&](FormMsg *f) {
            QVERIFY(f->isVisible());
            QVERIFY(f->isModal());
            titolo = f->windowHandle()->title();
            cornice = f->windowHandle()->flags();
            // A text the design size cannot hold makes the window taller, the buttons with it.
            QCOMPARE(f->width(), schermo::TwipsInPixel(5820));
            QVERIFY(progetto ? f->height() == schermo::TwipsInPixel(2550) : f->height() >= schermo::TwipsInPixel(2550));
            QCOMPARE(f->height() - f->Picture1->y(), schermo::TwipsInPixel(2550) - schermo::TwipsInPixel(1920));
            QCOMPARE(f->height() - f->Text_Msg->y() - f->Text_Msg->height(),
                     schermo::TwipsInPixel(2550) - schermo::TwipsInPixel(120) - schermo::TwipsInPixel(1695));
            QCOMPARE(f->Cmd_Ok->isVisible(), ok);
            QCOMPARE(f->Cmd_Si->isVisible(), siNo);
            QCOMPARE(f->Cmd_No->isVisible(), siNo);
            QCOMPARE(f->Pic1->isVisible(), !domanda);
            QCOMPARE(f->Pic2->isVisible(), domanda);
            QCOMPARE(f->Text_Msg->verticalScrollBar()->maximum(), 0);
            if (siNo) {
                QCOMPARE(f->Cmd_Si->x(), schermo::TwipsInPixel(3100));
                QCOMPARE(f->Cmd_No->x(), schermo::TwipsInPixel(4500));
            } else {
                QCOMPARE(f->Cmd_Ok->x(), schermo::TwipsInPixel(4500));
            }
            const QImage img = f->grab().toImage();
            if (const QString dir = qEnvironmentVariable("WAVELORE_GRAB_DIR"); !dir.isEmpty())
                img.save(dir + QStringLiteral("/form_msg_%1.png").arg(tipo));
            const qreal dpr = img.devicePixelRatio();
            QCOMPARE(img.pixelColor(int(5 * dpr), int(5 * dpr)), fondo);  // window ground
            QCOMPARE(img.pixelColor(int(f->Text_Msg->x() + 4 * dpr), int(f->Text_Msg->y() + f->Text_Msg->height() - 4)),
                     fondo);  // text box ground
            QCOMPARE(shell.Tipo_Messaggio, QString::number(tipo));
            // Esc and the frame's close run no action and leave it open.
            QTest::keyClick(f, Qt::Key_Escape);
            QVERIFY(!f->close());
            QVERIFY(f->isVisible());
            controllato = true;
            g.Scarica_Form_Msg();
        });
        g.Mostra_Messaggio(tipo, testo);
        QVERIFY(controllato);
        // No caption at all: no title bar for the window system to name.
        QCOMPARE(titolo, QString());
        QVERIFY(!cornice.testFlag(Qt::WindowTitleHint));
        QVERIFY(!cornice.testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(fine, 0);
        QCOMPARE(g.Form_Msg(), nullptr);
    }

    void testoServerMostratoComeTesto()
    {
        StatoShell shell;
        GestoreMessaggi g(shell, nullptr, [] {});
        QString visto;
        Risponditore r(g, [&](FormMsg *f) {
            visto = f->Text_Msg->toPlainText();
            QTest::mouseClick(f->Cmd_Ok, Qt::LeftButton);
        });
        g.Mostra_Messaggio(5, QStringLiteral("<b>chiuso</b> alle 22"));
        QCOMPARE(visto, QStringLiteral("<b>chiuso</b> alle 22"));
    }

    void bottoniCheChiudono_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("bottone");
        QTest::addColumn<int>("tasto");
        QTest::newRow("OK of a notice") << 3 << "Cmd_Ok" << 0;
        QTest::newRow("NO of the confirmation") << 4 << "Cmd_No" << 0;
        QTest::newRow("OK of a server text") << 5 << "Cmd_Ok" << 0;
        QTest::newRow("Enter on OK") << 1 << "Cmd_Ok" << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on OK") << 5 << "Cmd_Ok" << int(Qt::Key_Enter);
        QTest::newRow("Space on OK") << 2 << "Cmd_Ok" << int(Qt::Key_Space);
        QTest::newRow("Enter on NO") << 4 << "Cmd_No" << int(Qt::Key_Return);
    }
    void bottoniCheChiudono()
    {
        QFETCH(int, tipo);
        QFETCH(QString, bottone);
        QFETCH(int, tasto);
        StatoShell shell;
        int fine = 0;
        GestoreMessaggi g(shell, nullptr, [&] { ++fine; });
        g.Pausa_Coda = 0;
        bool restaAperta = false;
        Risponditore r(g, [&](FormMsg *f) {
            Premi(f, f->findChild<QPushButton *>(bottone), tasto);
            if (f->isVisible()) {  // not pressed: close it so the test goes on
                restaAperta = true;
                g.Scarica_Form_Msg();
            }
        });
        g.Mostra_Messaggio(tipo, QStringLiteral("x"));
        QVERIFY(!restaAperta);
        QCOMPARE(fine, 0);
        QVERIFY(!g.Form_Msg_Visibile());
    }

    void bottoniCheChiudonoIlProgramma_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("bottone");
        QTest::newRow("SI of the confirmation") << 4 << "Cmd_Si";
        QTest::newRow("SI of login ended") << 6 << "Cmd_Si";
        QTest::newRow("NO of login ended") << 6 << "Cmd_No";
        QTest::newRow("Enter on SI of the confirmation") << 4 << QStringLiteral("Cmd_Si:%1").arg(int(Qt::Key_Return));
        QTest::newRow("Space on NO of login ended") << 6 << QStringLiteral("Cmd_No:%1").arg(int(Qt::Key_Space));
    }
    void bottoniCheChiudonoIlProgramma()
    {
        QFETCH(int, tipo);
        QFETCH(QString, bottone);
        // A real process: the exit must end it from inside the modal window.
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("FORMMSG_FIGLIO"), QStringLiteral("%1:%2").arg(tipo).arg(bottone));
        QVERIFY(f.finito);
        QCOMPARE(f.stato, QProcess::NormalExit);
        QCOMPARE(f.codice, 0);
        QVERIFY(f.uscita.contains("MOSTRATO"));
        QVERIFY2(!f.uscita.contains("DOPO"), f.uscita.constData());
    }

    void trentaTestiInCodaIlTrentunesimoPerso()
    {
        StatoShell shell;
        GestoreMessaggi g(shell, nullptr, [] {});
        g.Pausa_Coda = 0;
        QStringList visti;
        Risponditore r(g, [&](FormMsg *f) {
            visti << f->Text_Msg->toPlainText();
            if (visti.size() == 1)
                for (int i = 1; i <= 31; ++i)
                    messaggi::Accoda(shell.Coda_Messaggi, QStringLiteral("t%1").arg(i));
            QTest::mouseClick(f->Cmd_Ok, Qt::LeftButton);
        });
        g.Mostra_Messaggio(5, QStringLiteral("primo"));
        QStringList attesi{QStringLiteral("primo")};
        for (int i = 1; i <= 30; ++i)
            attesi << QStringLiteral("t%1").arg(i);
        QCOMPARE(visti, attesi);
        QVERIFY(shell.Coda_Messaggi.isEmpty());
    }

    void postoLiberatoPresoDalTestoNuovo()
    {
        // Slots 1..3 filled; slot 1 drained; a text arriving meanwhile takes slot 1
        // and is shown before the one waiting in slot 2.
        StatoShell shell;
        GestoreMessaggi g(shell, nullptr, [] {});
        g.Pausa_Coda = 0;
        QStringList visti;
        Risponditore r(g, [&](FormMsg *f) {
            visti << f->Text_Msg->toPlainText();
            if (visti.size() == 1)
                for (const char *t : {"uno", "due", "tre"})
                    messaggi::Accoda(shell.Coda_Messaggi, QLatin1String(t));
            if (visti.size() == 2)
                messaggi::Accoda(shell.Coda_Messaggi, QStringLiteral("nuovo"));
            QTest::mouseClick(f->Cmd_Ok, Qt::LeftButton);
        });
        g.Mostra_Messaggio(5, QStringLiteral("primo"));
        QCOMPARE(visti, (QStringList{QStringLiteral("primo"), QStringLiteral("uno"), QStringLiteral("nuovo"),
                                     QStringLiteral("due"), QStringLiteral("tre")}));
        QVERIFY(shell.Coda_Messaggi.isEmpty());
    }

    void testoInCodaDietroUnAvvisoNonRestaBloccato()
    {
        StatoShell shell;
        GestoreMessaggi g(shell, nullptr, [] {});
        g.Pausa_Coda = 0;
        QStringList visti;
        Risponditore r(g, [&](FormMsg *f) {
            visti << shell.Tipo_Messaggio;
            if (f->Tipo() == 1)
                messaggi::Accoda(shell.Coda_Messaggi, QStringLiteral("dal server"));
            QTest::mouseClick(f->Cmd_Ok, Qt::LeftButton);
        });
        g.Mostra_Messaggio(1, QString());
        QCOMPARE(visti, (QStringList{QStringLiteral("1"), QStringLiteral("5")}));
    }

    void testoDuranteLaPausaMostratoSubito()
    {
        StatoShell shell;
        GestoreMessaggi g(shell, nullptr, [] {});
        g.Pausa_Coda = 0.2;
        QStringList visti;
        Risponditore r(g, [&](FormMsg *f) {
            visti << f->Text_Msg->toPlainText();
            if (visti.size() == 1) {
                messaggi::Accoda(shell.Coda_Messaggi, QStringLiteral("in coda"));
                // Arrives while no window is open, during the pause after this OK.
                QTimer::singleShot(20, &g, [&] { g.Mostra_Messaggio(5, QStringLiteral("durante la pausa")); });
            }
            QTest::mouseClick(f->Cmd_Ok, Qt::LeftButton);
        });
        g.Mostra_Messaggio(5, QStringLiteral("primo"));
        QCOMPARE(visti, (QStringList{QStringLiteral("primo"), QStringLiteral("durante la pausa"),
                                     QStringLiteral("in coda")}));
    }
};

// Child process: show one message and press one button (type:button[:key]); the
// exit must end the process with nothing after it.
static int figlio(int argc, char **argv, const QString &scenario)
{
    QApplication app(argc, argv);
    const QStringList parti = scenario.split(QLatin1Char(':'));
    StatoShell shell;
    Socket socket;
    GestoreMessaggi *g = nullptr;
    struct : UscitaVuota {
        GestoreMessaggi **g = nullptr;
        void Scarica_Form_Msg() override { (*g)->Scarica_Form_Msg(); }
    } uscita;
    uscita.g = &g;
    GestoreMessaggi gestore(shell, nullptr, [&] { finestra::Chiudi_Programma(shell, socket, uscita); });
    g = &gestore;
    Risponditore r(gestore, [&](FormMsg *f) {
        std::printf("MOSTRATO\n");
        std::fflush(stdout);
        Premi(f, f->findChild<QPushButton *>(parti.value(1)), parti.value(2).toInt());
    });
    gestore.Mostra_Messaggio(parti.value(0).toInt(), QStringLiteral("COMM19Ø1Ø0ØfineØ"));
    std::printf("DOPO\n");
    return 3;
}

int main(int argc, char **argv)
{
    const QString scenario = qEnvironmentVariable("FORMMSG_FIGLIO");
    if (!scenario.isEmpty())
        return figlio(argc, argv, scenario);
    QApplication app(argc, argv);
    FormMsgTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "FormMsgTest.moc"

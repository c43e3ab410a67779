#include "FinestraProva.h"
#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "archive/Archivio.h"
#include "archive/ScrittoreArchivio.h"
#include "DiscoProva.h"
#include "market/ScrittoreStorico.h"
#include "market/StoricoLocale.h"
#include "shell/ui/Avvio.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/GestoreMessaggi.h"
#include "shell/ui/PannelloAvvio.h"
#include "platform/Schermo.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

namespace {

QString tabavv(const char *colonna)
{
    return ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TABAVV"), QLatin1String(colonna), 1);
}

void scriviTabavv(const char *colonna, const QString &valore)
{
    archivio::Connessione c(archivio::FileArchivio::Sistema3);
    QVERIFY(c.Aggiorna(QStringLiteral("TABAVV"), QLatin1String(colonna), 1, valore));
}

}  // namespace

class FormS1Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("WAVELORE_AVVISI_AUTOMATICI", "1");
        // The application as the program prepares it.
        m_italiano = wavelore::Prepara_Applicazione(*qApp);
    }

    void bottoniStandardInItaliano_data()
    {
        QTest::addColumn<int>("bottone");
        QTest::addColumn<QString>("testo");
        QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("Sì");
        QTest::newRow("no") << int(QMessageBox::No) << QStringLiteral("No");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << QStringLiteral("Annulla");
    }
    void bottoniStandardInItaliano()
    {
        QFETCH(int, bottone);
        QFETCH(QString, testo);
        QVERIFY(m_italiano);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Wavelore"), QStringLiteral("?"),
                        QMessageBox::StandardButton(bottone));
        QCOMPARE(box.button(QMessageBox::StandardButton(bottone))->text().remove(QLatin1Char('&')), testo);
    }

    void titoliMostratiComeImpostati()
    {
        // The window system appends a display name to every title that does not
        // end with it; none may be set. Unset, it follows the application name.
        const QString nome = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("sonda"));
        const QString mostrato = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(nome);
        QCOMPARE(mostrato, QStringLiteral("sonda"));
        QCOMPARE(nome, QStringLiteral("wavelore"));
    }

    void finestraDiAvvio()
    {
        CartellaTemporanea dir;
        FormS1 f;
        QVERIFY(f.Form_Load());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.windowHandle()->title(), QStringLiteral(" Avvio Wavelore ®"));
        QCOMPARE(f.width(), schermo::TwipsInPixel(PannelloAvvio::Larghezza + 200));
        QCOMPARE(f.height(), schermo::TwipsInPixel(PannelloAvvio::Altezza + 550));
        QCOMPARE(f.Frm_Avvio->pos(), QPoint(schermo::TwipsInPixel(60), schermo::TwipsInPixel(50)));
        QCOMPARE(f.Stile_Finestra(), 3);
        QCOMPARE(f.minimumSize(), f.maximumSize());  // compact fixed window
        QVERIFY(f.Frm_Avvio->isVisible());
        QCOMPARE(f.Frm_Avvio->Lbl_Relase->text(), QStringLiteral("2.52"));
        QCOMPARE(f.Frm_Avvio->Lbl_Stato->text(), QStringLiteral("Non Connesso"));
        QCOMPARE(f.Frm_Avvio->PB_Avvio_T->minimum(), 0);
        QCOMPARE(f.Frm_Avvio->PB_Avvio_T->maximum(), 100);
        QCOMPARE(f.Frm_Avvio->PB_Avvio_T->value(), 0);
        QCOMPARE(f.PbCambioSott->maximum(), 100);
        QVERIFY(f.S().shell.Blocco_Grafici);
        QCOMPARE(f.Frm_Avvio->Text_Password->echoMode(), QLineEdit::Password);
        QCOMPARE(f.Frm_Avvio->Text_ID->echoMode(), QLineEdit::Normal);
        for (const char *nome : {"Lbl_Link_1", "Text_Chat", "Text_Scritte_Graf", "Cmd_Scrivi_Text_Graf",
                                 "Cmd_Chiudi_Text_Graf", "Frm_Dati_Sot", "Frm_Tipo_Ciclo", "Frm_Battleplan",
                                 "Frm_Storico", "FrmCambioSott"}) {
            QWidget *w = f.findChild<QWidget *>(QLatin1String(nome));
            QVERIFY2(w, nome);
            QVERIFY2(!w->isVisible(), nome);
        }
        for (const char *nome : {"Text_ID", "Text_Password", "Chk_Ricordami", "Cmd_OnLine", "Cmd_OffLine",
                                 "Lbl_Relase", "Lbl_Stato", "PB_Avvio_T"})
            QVERIFY2(f.Frm_Avvio->findChild<QWidget *>(QLatin1String(nome))->isVisible(), nome);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.Frm_Avvio->Text_ID));

        // Every control lies inside the panel, and the panel inside the window.
        QVERIFY(f.rect().contains(f.Frm_Avvio->geometry()));
        for (QWidget *w : f.Frm_Avvio->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(f.Frm_Avvio->rect().contains(w->geometry()), qPrintable(w->objectName()));

        const QImage immagine = f.grab().toImage();
        const QString png = qEnvironmentVariable("WAVELORE_GRAB_DIR");
        if (!png.isEmpty())
            immagine.save(png + QStringLiteral("/finestra_avvio.png"));
        QCOMPARE(immagine.width(), f.width() * int(immagine.devicePixelRatio()));
    }

    void archiviCreatiAllAvvio()
    {
        CartellaTemporanea dir;
        FormS1 f;
        QVERIFY(f.Form_Load());
        for (int n = 1; n <= 3; ++n)
            QVERIFY(QFile::exists(dir.sistema() + QStringLiteral("/Sistema%1.dat").arg(n)));
    }

    void ricordamiSopravviveAlRiavvio()
    {
        CartellaTemporanea dir;
        {
            FormS1 f;
            QVERIFY(f.Form_Load());
            f.show();
            f.Frm_Avvio->Text_ID->setText(QStringLiteral("O'Brien"));
            f.Frm_Avvio->Text_Password->setText(QStringLiteral("x'y"));
            QTest::mouseClick(f.Frm_Avvio->Chk_Ricordami, Qt::LeftButton, {}, PuntoCasella(f.Frm_Avvio->Chk_Ricordami));
            QVERIFY(f.Frm_Avvio->Chk_Ricordami->isChecked());
            QCOMPARE(tabavv("C7"), QStringLiteral("1"));
            QCOMPARE(tabavv("C5"), QStringLiteral("O'Brien"));
            QCOMPARE(tabavv("C6"), QStringLiteral("@"));  // the password is never stored
        }
        {
            FormS1 f;
            f.Frm_Avvio->Text_Password->setText(QStringLiteral("leftover"));
            QVERIFY(f.Form_Load());
            QVERIFY(f.Frm_Avvio->Chk_Ricordami->isChecked());
            QCOMPARE(f.Frm_Avvio->Text_ID->text(), QStringLiteral("O'Brien"));
            QVERIFY(f.Frm_Avvio->Text_Password->text().isEmpty());
            f.show();
            QTest::mouseClick(f.Frm_Avvio->Chk_Ricordami, Qt::LeftButton, {}, PuntoCasella(f.Frm_Avvio->Chk_Ricordami));
            QCOMPARE(tabavv("C7"), QStringLiteral("0"));
            QCOMPARE(tabavv("C5"), QStringLiteral("@"));
        }
        {
            FormS1 f;
            QVERIFY(f.Form_Load());
            QVERIFY(!f.Frm_Avvio->Chk_Ricordami->isChecked());
            QVERIFY(f.Frm_Avvio->Text_ID->text().isEmpty());
        }
    }

    void schemaERealTimeLetti()
    {
        CartellaTemporanea dir;
        {
            FormS1 f;
            QVERIFY(f.Form_Load());
        }
        scriviTabavv("C8", QStringLiteral("1"));
        scriviTabavv("C9", QStringLiteral("1"));
        FormS1 f;
        QVERIFY(f.Form_Load());
        QCOMPARE(f.S().archivio.Aspetto, 1);
        QCOMPARE(f.S().archivio.Grafico_RT, 1);
    }

    void secondaCopiaNellaStessaCartellaRifiutata()
    {
        CartellaTemporanea dir;
        FormS1 prima;
        QVERIFY(prima.Form_Load());
        FormS1 seconda;
        QVERIFY(!seconda.Form_Load());
        QVERIFY(prima.Frm_Avvio->isVisibleTo(&prima));
    }

    // A lock whose owner cannot be read keeps nobody out, unless a live copy holds it.
    void bloccoIlleggibile_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<bool>("copiaViva");
        const QList<std::pair<const char *, QByteArray>> contenuti = {
            {"vuoto", QByteArray()},
            {"pid tagliato", QByteArray("42")},  // read as pid 4, some process of the system
            // Cut after the program: it names a running one, but on no host.
            {"senza host", QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                               + QCoreApplication::applicationFilePath().toUtf8() + '\n'},
            {"spazzatura", QByteArray("\xff\x00\x13garbage\n\x01\x02", 13)},
        };
        for (const auto &[nome, contenuto] : contenuti) {
            QTest::addRow("%s, copia morta", nome) << contenuto << false;
            QTest::addRow("%s, copia viva", nome) << contenuto << true;
        }
    }
    void bloccoIlleggibile()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(bool, copiaViva);
        CartellaTemporanea dir;
        const QString blocco = dir.percorso() + QStringLiteral("/wavelore.lock");
        std::unique_ptr<FormS1> viva;
        if (copiaViva) {
            viva = std::make_unique<FormS1>();
            QVERIFY(viva->Form_Load());
        }
        {
            QFile f(blocco);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(f.write(contenuto), contenuto.size());
        }
        FormS1 f;
        QCOMPARE(f.Form_Load(), !copiaViva);
        QVERIFY(QFile::exists(blocco));
        if (!copiaViva) {
            QFile letto(blocco);
            QVERIFY(letto.open(QIODevice::ReadOnly));
            QCOMPARE(letto.readLine().trimmed(), QByteArray::number(QCoreApplication::applicationPid()));
        }
    }

    // A folder where the lock file should be: the program says so and goes on, guarded.
    void bloccoCartella()
    {
        CartellaTemporanea dir;
        QVERIFY(QDir(dir.percorso()).mkdir(QStringLiteral("wavelore.lock")));
        MessaggiCatturati messaggi;
        FormS1 f;
        QVERIFY(f.Form_Load());
        QCOMPARE(messaggi.testi.size(), 1);
        const QString blocco = QDir::toNativeSeparators(dir.percorso() + QStringLiteral("/wavelore.lock"));
        QVERIFY2(messaggi.testi.first().startsWith(QStringLiteral("Wavelore \u00AE|Il file di blocco %1 non pu\u00F2 "
                                                                  "essere scritto: \u00E8 una cartella.").arg(blocco)),
                 qPrintable(messaggi.testi.first()));
    }

    void invioAvviaOnLine_data()
    {
        QTest::addColumn<QString>("casella");
        QTest::newRow("user id") << "Text_ID";
        QTest::newRow("password") << "Text_Password";
    }
    void invioAvviaOnLine()
    {
        QFETCH(QString, casella);
        CartellaTemporanea dir;
        FormS1 f;
        int chiamate = 0;
        connect(&f, &FormS1::Avvio_OnLine, this, [&] { ++chiamate; });
        QVERIFY(f.Form_Load());
        f.show();
        QLineEdit *e = f.Frm_Avvio->findChild<QLineEdit *>(casella);
        QTest::keyClicks(e, QStringLiteral("ab"));
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(chiamate, 1);
        QCOMPARE(e->text(), QStringLiteral("ab"));
        QTest::mouseClick(f.Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
        QCOMPARE(chiamate, 2);
    }

    void avvioOffLine()
    {
        CartellaTemporanea dir;
        FormS1 f;
        QStringList ordine;
        struct Fasi : FasiAvvio {
            FormS1 &f;
            QStringList &ordine;
            Fasi(FormS1 &form, QStringList &o) : f(form), ordine(o) {}
            void Carica_Storici_Avvio() override
            {
                ordine << QStringLiteral("fase1");
                QVERIFY(f.S().shell.Blocco_Grafici);
                QCOMPARE(f.S().shell.Modalita, QStringLiteral("OFFLINE"));
            }
            void Carica_Dati_Avvio() override { ordine << QStringLiteral("fase2"); }
        } fasi(f, ordine);
        f.Imposta_Fasi_Avvio(&fasi);
        QVERIFY(f.Form_Load());
        f.show();
        f.S().indicatori.Ind_Attivo[3][4] = 1;
        QTest::mouseClick(f.Frm_Avvio->Cmd_OffLine, Qt::LeftButton);
        QCOMPARE(ordine, (QStringList{QStringLiteral("fase1"), QStringLiteral("fase2")}));
        QVERIFY(!f.Frm_Avvio->Cmd_OffLine->isEnabled());
        QVERIFY(!f.Frm_Avvio->Cmd_OnLine->isEnabled());
        QCOMPARE(f.S().indicatori.Ind_Attivo[3][4], 0);
    }

    // The confirmation opens centred on the start window, moved only as far as it
    // takes to lie wholly on the screen.
    void chiusuraChiedeConferma_data()
    {
        QTest::addColumn<QPointF>("posto");  // the window's place on the screen's free area, 0..1 each way
        QTest::newRow("middle") << QPointF(0.5, 0.5);
        QTest::newRow("top left") << QPointF(0, 0);
        QTest::newRow("bottom right") << QPointF(1, 1);
        QTest::newRow("top right") << QPointF(1, 0);
    }
    void chiusuraChiedeConferma()
    {
        QFETCH(QPointF, posto);
        CartellaTemporanea dir;
        FormS1 f;
        QVERIFY(f.Form_Load());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QRect area = f.screen()->availableGeometry();
        const QSize fuori = f.frameGeometry().size();
        f.move(area.left() + int(posto.x() * (area.width() - fuori.width())),
               area.top() + int(posto.y() * (area.height() - fuori.height())));
        QTRY_COMPARE(f.frameGeometry().size(), fuori);
        bool vista = false;
        QRect messaggio;
        connect(&f.Messaggi(), &GestoreMessaggi::Mostrato, this, [&](FormMsg *m) {
            vista = m->Tipo() == 4 && m->Cmd_Si->isVisibleTo(m) && m->Cmd_No->isVisibleTo(m);
            QTimer::singleShot(0, m, [m, &messaggio] {
                messaggio = m->frameGeometry();
                QTest::mouseClick(m->Cmd_No, Qt::LeftButton);
            });
        });
        QVERIFY(!f.close());
        QVERIFY(vista);
        QVERIFY(f.isVisible());  // NO: the program goes on
        QVERIFY2(area.contains(messaggio), qPrintable(TestoRettangolo(messaggio)));
        // The start window is taller than the message and narrower: centred up and
        // down, and against the screen's edge when the window stands at it.
        const QPoint scarto = messaggio.center() - f.frameGeometry().center();
        QVERIFY(std::abs(scarto.y()) <= 1);
        if (posto.x() == 0)
            QCOMPARE(messaggio.left(), area.left());
        else if (posto.x() == 1)
            QCOMPARE(messaggio.right(), area.right());
        else
            QVERIFY(std::abs(scarto.x()) <= 1);
    }

    // Saves refused behind both writers: one notice, which stays open (running its own
    // loop, as the real box does) while the other writer fails too and then both catch
    // up: no other box after it. Failing again opens one again; what fails while that one
    // is open is told in the next, once it is closed.
    void salvataggiRifiutatiUnAvviso()
    {
        using namespace std::chrono_literals;
        CartellaTemporanea dir;
        FormS1 f;
        QVERIFY(f.Form_Load());
        AvvisiTenuti avvisi;
        const QStringList &testi = avvisi.testi;
        ScrittoreArchivio &archivio = f.Scrittore_Archivio();
        ScrittoreStorico &storici = f.Scrittore();
        // Only what the test does writes a failed item again.
        archivio.Imposta_Riprova(1h, 1h);
        storici.Imposta_Riprova(1h, 1h);
        auto disco = std::make_shared<DiscoProva>(0);
        storici.Imposta_Disco(disco);
        std::optional<ConnessioneProva> blocco;
        const auto rifiuta = [&](bool si) {
            disco->guasto = si;
            if (!si) {
                QVERIFY(blocco->Esegui(QStringLiteral("DROP TRIGGER rifiuto")));
                blocco.reset();
                return;
            }
            blocco.emplace(archivio::FileArchivio::Sistema3);
            QVERIFY(blocco->Esegui(QStringLiteral("CREATE TRIGGER rifiuto BEFORE UPDATE ON TAB4 BEGIN "
                                                  "SELECT RAISE(ABORT, 'bloccato'); END")));
        };
        const auto salva = [&](int riga) {
            archivio.Accoda({{archivio::FileArchivio::Sistema3, QStringLiteral("TAB4"), riga,
                              {{QStringLiteral("C2"), QString::number(riga)}}}});
        };
        StatoMercato serie;
        storico::Inizializza_Tabella_Chiave(serie);
        for (int r = 1; r <= serie.Storico_5M.capacita(); ++r)
            serie.Storico_5M.barra(r) = {QDate(2025, 12, 5).addDays(-r), 600, 100.0 + r, 1.0};
        const auto salvaStorico = [&] {
            QVERIFY(storici.Salva(serie, 3, QStringLiteral("5M"), ScrittoreStorico::Tempo_Reale).ok);
        };
        const auto raggiungi = [&] {
            archivio.Attendi();
            storici.Attendi();
            QCoreApplication::processEvents();  // their news
        };

        avvisi.durante = [&] {
            salvaStorico();
            salva(5);
            raggiungi();
            rifiuta(false);
            archivio.Riprova_Adesso();
            storici.Riprova_Adesso();
            raggiungi();
        };
        rifiuta(true);
        salva(4);
        QTRY_COMPARE(testi.size(), 1);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY2(testi[0].startsWith(QStringLiteral("Impostazioni salvate automaticamente non scritte (Sistema3.dat): "
                                                     "l'operazione sul file non \u00E8 riuscita.")),
                 qPrintable(testi[0]));
        raggiungi();
        QCOMPARE(testi.size(), 1);
        QCOMPARE(avvisi.aperti, 1);
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB4"), QStringLiteral("C2"), 5),
                 QStringLiteral("5"));

        avvisi.durante = [&] {
            salvaStorico();
            raggiungi();
        };
        rifiuta(true);
        salva(6);
        QTRY_COMPARE(testi.size(), 3);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(testi[2], storico::Testo_Non_Salvato(QStringLiteral("S5M_3.dat"), QStringLiteral("il disco \u00E8 pieno")));
        QCOMPARE(avvisi.aperti, 1);
        rifiuta(false);
    }

private:
    bool m_italiano = false;
};

QTEST_MAIN(FormS1Test)
#include "FormS1Test.moc"

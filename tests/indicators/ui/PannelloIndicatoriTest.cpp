// The indicator panel of the one-chart layout in the real working window after
// an OFFLINE start: each item's switch draws and removes its lines and saves its
// column, the period boxes take only whole periods, the mode options recompute,
// the layout's own fill saves nothing, and a restart shows the same settings.

#include "ArchivioProva.h"
#include "FinestraProva.h"
#include "SlotGraficoProva.h"
#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/ArchivioIndicatori.h"
#include "archive/CreaArchivi.h"
#include "indicators/MotoreIndicatori.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "platform/Schermo.h"
#include "chart/ui/GraficoWidget.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSqlQuery>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The colour-table entry each item's lines are drawn in (the profile: its levels).
int coloreItem(int item)
{
    static constexpr int colori[20] = {50, 51, 52, 53, 54, 55, 56, 58, 61, 62, 63, 64, 65, 66, 67, 68, 69, 59, 60, 87};
    return colori[item];
}

}  // namespace

class PannelloIndicatoriTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> m_prova;
    int m_beep = 0;
    QStringList m_errori;

    Stato &stato() const { return m_prova->form->S(); }
    AreaGrafici *area() const { return m_prova->op->Area(); }
    PannelloIndicatori *pannello() const { return area()->Pannello_Indicatori; }
    int grado() const { return stato().cicli.Grado_Corrente; }
    GraficoWidget *grafico() const
    {
        return area()->Frm_Graf[size_t(stato().cicli.Grafico_Corrente)]->Graf_Battleplan;
    }

    // A start in a fresh folder, or a restart in the same one.
    bool avvia()
    {
        if (!(m_prova ? m_prova->Riavvia() : (m_prova = std::make_unique<FinestraProva>(QList<int>{2}))->AvviaOffline()))
            return false;
        struct Avvisi : AvvisiIndicatori {
            PannelloIndicatoriTest &t;
            explicit Avvisi(PannelloIndicatoriTest &test) : t(test) {}
            void Segnale_Acustico() override { ++t.m_beep; }
            void Errore_Salvataggio(const QString &e) override { t.m_errori << e; }
        };
        pannello()->Imposta_Avvisi(std::make_unique<Avvisi>(*this));
        return true;
    }

    void ingrandisci(int slot)
    {
        QVERIFY(m_prova->Ingrandisci(slot));
        QVERIFY(pannello()->isVisible());
    }

    QString colonna(int col, int g = -1) const
    {
        return ValoreArchivio(archivio::FileArchivio::Sistema2, QStringLiteral("TAB%1").arg(g < 0 ? grado() : g),
                              QStringLiteral("C%1").arg(col), stato().archivio.Sottostante_Corrente);
    }

    // The enlarged chart's series in an item's colour: how many, and their points.
    std::pair<int, std::vector<QPointF>> serieItem(int item) const
    {
        const ColoreWin colore = stato().cicli.Colori[size_t(coloreItem(item))];
        std::pair<int, std::vector<QPointF>> r{0, {}};
        for (const SerieGrafico &s : grafico()->serie())
            if (s.colore == colore) {
                ++r.first;
                r.second.insert(r.second.end(), s.punti.begin(), s.punti.end());
            }
        return r;
    }

    void clicca(QAbstractButton *b)
    {
        QVERIFY(b->isVisible() && b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }

    // Replaces the whole text of a period box by typing.
    void scrivi(int box, const QString &testo)
    {
        QLineEdit *t = pannello()->Text_Val_Ind[size_t(box)];
        t->setFocus();
        t->selectAll();
        QTest::keyClicks(t, testo);
    }

    // The period box starting from `testo` (as the layout fills it), caret at `cursore`.
    void preparaPeriodo(int box, const QString &testo, int cursore)
    {
        auto &p = box == 0 ? stato().indicatori.Periodo_Utente_1 : stato().indicatori.Periodo_Utente_2;
        p[size_t(grado())] = testo;
        m_prova->op->Layout().Imposta_Layout_Grande(stato().cicli.Grafico_Corrente);
        QLineEdit *t = pannello()->Text_Val_Ind[size_t(box)];
        QCOMPARE(t->text(), testo);
        t->setFocus();
        t->setCursorPosition(cursore);
    }

private slots:
    void init()
    {
        QVERIFY(avvia());
        m_beep = 0;
        m_errori.clear();
        ingrandisci(0);
    }

    void cleanup()
    {
        QVERIFY2(m_errori.isEmpty(), qPrintable(m_errori.join(QLatin1Char('\n'))));
        m_prova.reset();
    }

    void pannelloNelTelaio()
    {
        // Every item's row: its caption, inside the tool frame; the two period boxes
        // on the rows of items 4 and 5.
        QWidget *telaio = area()->Frm_Strumenti;
        for (int k = 0; k < 20; ++k) {
            QCheckBox *c = pannello()->Chk_Ind_Adattivi[size_t(k)];
            QCOMPARE(c->text(), indicatori::Didascalia(k));
            QVERIFY(c->isVisible());
            QVERIFY(telaio->rect().contains(QRect(c->mapTo(telaio, QPoint(0, 0)), c->size())));
        }
        for (int b = 0; b < 2; ++b) {
            const QRect chk = pannello()->Chk_Ind_Adattivi[size_t(4 + b)]->geometry();
            const QRect box = pannello()->Text_Val_Ind[size_t(b)]->geometry();
            const QRect per = pannello()->Lbl_Desc_Val_Ind[size_t(b)]->geometry();
            QCOMPARE(pannello()->Lbl_Desc_Val_Ind[size_t(b)]->text(), QStringLiteral("per."));
            QVERIFY(box.left() >= chk.right() && per.left() >= box.right());
            QVERIFY(std::abs(box.center().y() - chk.center().y()) <= 2);
        }
        QCOMPARE(pannello()->Opt_Val_Indicatori[0]->text(), QStringLiteral("Standard"));
        QCOMPARE(pannello()->Opt_Val_Indicatori[1]->text(), QStringLiteral("Adattivi"));
        // Nothing of the panel lies over the tools above it or the timeframe box.
        for (QWidget *w : telaio->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w != pannello() && w->isVisible())
                QVERIFY2(!w->geometry().intersects(pannello()->geometry()), qPrintable(w->objectName()));
        SalvaImmagine(m_prova->form.get(), QStringLiteral("pannello_indicatori.png"));
    }

    // Each item's switch draws and removes its lines and saves its column; the swatch
    // beside it shows the colour its curve takes: the swatch's own pixels, sought in
    // the slot drawn with the item off and on.
    void spuntaEToglie_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("colonnaArchivio");
        const int colonne[20] = {1, 2, 3, 4, 5, 6, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
        for (int k = 0; k < 20; ++k)
            QTest::addRow("%d %s", k, qPrintable(indicatori::Didascalia(k))) << k << colonne[k];
    }
    void spuntaEToglie()
    {
        QFETCH(int, item);
        QFETCH(int, colonnaArchivio);
        const int g = grado();
        // A long cycle: every curve spans many pixels.
        QScrollBar *hsc = area()->Frm_Graf[0]->Hsc_Graf;
        hsc->setValue(std::min(hsc->maximum(), 400));
        if (item == 4 || item == 5) {
            scrivi(item - 4, QStringLiteral("21"));
            QCOMPARE(colonna(item == 4 ? 7 : 8), QStringLiteral("21"));
        }
        const auto prima = serieItem(item);
        QCOMPARE(colonna(colonnaArchivio), QStringLiteral("0"));
        QLabel *campione = pannello()->Lbl_Color_ind[size_t(item)];
        QVERIFY(campione->isVisible());
        const QImage img = campione->grab().toImage();
        const QRgb colore = img.pixel(img.width() / 2, img.height() / 2);
        const auto pixel = [&] {
            const QImage disegno = DisegnaSlotInImmagine(stato(), stato().cicli.Grafico_Corrente, grado());
            int n = 0;
            for (int y = 0; y < disegno.height(); ++y)
                for (int x = 0; x < disegno.width(); ++x)
                    n += (disegno.pixel(x, y) & 0xffffff) == (colore & 0xffffff) ? 1 : 0;
            return n;
        };
        const int spento = pixel();

        QCheckBox *c = pannello()->Chk_Ind_Adattivi[size_t(item)];
        clicca(c);
        QVERIFY(c->isChecked());
        const int pixelAcceso = pixel();
        QVERIFY2(pixelAcceso > spento + 20, qPrintable(QStringLiteral("%1: %2 -> %3 pixel")
                                                           .arg(QColor(colore).name()).arg(spento).arg(pixelAcceso)));
        QCOMPARE(stato().indicatori.Ind_Attivo[size_t(g)][size_t(item)], 1);
        QCOMPARE(colonna(colonnaArchivio), QStringLiteral("1"));
        const auto acceso = serieItem(item);
        QVERIFY2(acceso.first > prima.first, qPrintable(QStringLiteral("%1 -> %2").arg(prima.first).arg(acceso.first)));
        QVERIFY(acceso.second.size() > prima.second.size() + 10);

        clicca(c);
        QVERIFY(!c->isChecked());
        QCOMPARE(stato().indicatori.Ind_Attivo[size_t(g)][size_t(item)], 0);
        QCOMPARE(colonna(colonnaArchivio), QStringLiteral("0"));
        QVERIFY(serieItem(item) == prima);
        // Only this degree's column changed.
        QCOMPARE(colonna(colonnaArchivio, g == 0 ? 1 : 0), QStringLiteral("0"));
    }

    void salvataggioFallitoSegnalato()
    {
        // An archive that cannot take the switch (its table gone behind the program's
        // back): the switch stays as chosen and drawn, the window tells it once, by the
        // file and in the trader's words, and a second refusal meanwhile is not told again.
        {
            archivio::Connessione c(archivio::FileArchivio::Sistema2);
            QSqlQuery q(c.Database());
            QVERIFY(q.exec(QStringLiteral("DROP TABLE TAB%1").arg(grado())));
        }
        MessaggiCatturati avvisi;
        const auto prima = serieItem(2);
        clicca(pannello()->Chk_Ind_Adattivi[2]);
        QVERIFY(pannello()->Chk_Ind_Adattivi[2]->isChecked());
        QCOMPARE(stato().indicatori.Ind_Attivo[size_t(grado())][2], 1);
        QVERIFY(serieItem(2) != prima);
        QTRY_COMPARE(avvisi.testi.size(), 1);
        QVERIFY2(avvisi.testi[0].contains(QStringLiteral("(Sistema2.dat): ")), qPrintable(avvisi.testi[0]));
        QVERIFY2(!avvisi.testi[0].contains(QStringLiteral("TAB")), qPrintable(avvisi.testi[0]));
        clicca(pannello()->Chk_Ind_Adattivi[2]);
        QVERIFY(!pannello()->Chk_Ind_Adattivi[2]->isChecked());
        m_prova->form->Scrittore_Archivio().Attendi();
        QCoreApplication::processEvents();
        QCOMPARE(avvisi.testi.size(), 1);
        QVERIFY(m_errori.isEmpty());
    }

    void mediaVisibileNelDisegno()
    {
        // The picture itself: the first cyclic average's colour spreads with its tick
        // and goes with its untick, the cycle start moved back for a long line.
        QScrollBar *hsc = area()->Frm_Graf[0]->Hsc_Graf;
        hsc->setValue(std::min(hsc->maximum(), 400));
        QVERIFY(stato().cicli.Barre_Ciclo[size_t(grado())] > 100);
        const QRgb colore = schermo::ColoreWin(stato().cicli.Colori[50]).rgb();
        const auto pixel = [&] {
            const QImage img = grafico()->Immagine().convertToFormat(QImage::Format_RGB32);
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    // The line is antialiased: its pixels come near the colour.
                    n += std::abs(qRed(img.pixel(x, y)) - qRed(colore)) < 40
                                 && std::abs(qGreen(img.pixel(x, y)) - qGreen(colore)) < 40
                                 && std::abs(qBlue(img.pixel(x, y)) - qBlue(colore)) < 40
                             ? 1
                             : 0;
            return n;
        };
        const int prima = pixel();
        clicca(pannello()->Chk_Ind_Adattivi[0]);
        QVERIFY2(pixel() > prima + 100, qPrintable(QStringLiteral("%1 -> %2").arg(prima).arg(pixel())));
        clicca(pannello()->Chk_Ind_Adattivi[0]);
        QCOMPARE(pixel(), prima);
    }

    void periodo_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("iniziale");
        QTest::addColumn<int>("cursore");
        QTest::addColumn<QString>("tasti");  // "\b" is Backspace
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<QString>("salvato");
        QTest::addColumn<int>("beep");
        QTest::newRow("12 in a box") << 0 << "" << 0 << "12" << "12" << "12" << 0;
        QTest::newRow("5 in front of 12") << 0 << "12" << 0 << "5" << "12" << "12" << 1;
        QTest::newRow("x after 12") << 1 << "12" << 2 << "x" << "12" << "12" << 1;
        QTest::newRow("x between digits") << 0 << "12" << 1 << "x" << "12" << "12" << 1;
        QTest::newRow("0 in an empty box") << 1 << "" << 0 << "0" << "" << "0" << 1;
        QTest::newRow("last digit deleted") << 0 << "7" << 1 << "\b" << "" << "0" << 1;
        QTest::newRow("middle digit deleted") << 0 << "123" << 2 << "\b" << "13" << "13" << 0;
        QTest::newRow("first digit deleted leaving 0") << 1 << "102" << 1 << "\b" << "102" << "102" << 1;
        QTest::newRow("shown 0 replaced") << 0 << "0" << 1 << "\b4" << "4" << "4" << 1;
        QTest::newRow("digits after a shown 0") << 1 << "0" << 1 << "25" << "25" << "25" << 0;
        QTest::newRow("0 after a shown 0") << 0 << "0" << 1 << "0" << "0" << "0" << 1;
        QTest::newRow("digit in front of a shown 0") << 1 << "0" << 0 << "3" << "0" << "0" << 1;
        QTest::newRow("longest period") << 0 << "500" << 3 << "0" << "5000" << "5000" << 0;
        QTest::newRow("beyond the longest") << 1 << "5000" << 4 << "1" << "5000" << "5000" << 1;
        QTest::newRow("many letters") << 1 << "9" << 1 << "abc" << "9" << "9" << 3;
    }
    void periodo()
    {
        QFETCH(int, box);
        QFETCH(QString, iniziale);
        QFETCH(int, cursore);
        QFETCH(QString, tasti);
        QFETCH(QString, atteso);
        QFETCH(QString, salvato);
        QFETCH(int, beep);
        const int g = grado();
        const int col = box == 0 ? 7 : 8;
        const int item = 4 + box;
        const QString archivioPrima = colonna(col);
        preparaPeriodo(box, iniziale, cursore);
        // The layout's fill is no change of the user's.
        QCOMPARE(colonna(col), archivioPrima);
        QCOMPARE(m_beep, 0);

        // The average is on with the period shown; any change switches it off.
        stato().indicatori.Ind_Attivo[size_t(g)][size_t(item)] = 1;
        pannello()->Chk_Ind_Adattivi[size_t(item)]->setChecked(true);
        QLineEdit *t = pannello()->Text_Val_Ind[size_t(box)];
        for (QChar c : tasti) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(t, Qt::Key_Backspace);
            else
                QTest::keyClicks(t, QString(c));
        }
        QCOMPARE(t->text(), atteso);
        QCOMPARE(m_beep, beep);
        const auto &p = box == 0 ? stato().indicatori.Periodo_Utente_1 : stato().indicatori.Periodo_Utente_2;
        QCOMPARE(p[size_t(g)].toString(), atteso);
        QCOMPARE(colonna(col), salvato);
        QVERIFY(!pannello()->Chk_Ind_Adattivi[size_t(item)]->isChecked());
        QCOMPARE(stato().indicatori.Ind_Attivo[size_t(g)][size_t(item)], 0);
        QCOMPARE(colonna(box == 0 ? 5 : 6), QStringLiteral("0"));
    }

    void modo()
    {
        // The first average follows the duration of the mode: switching recomputes it.
        StatoCicli &c = stato().cicli;
        const int g = grado();
        c.Durata_Standard[size_t(g)] = c.Durata[size_t(g)] / 2;
        QVERIFY(pannello()->Opt_Val_Indicatori[0]->isChecked());
        clicca(pannello()->Chk_Ind_Adattivi[0]);
        const auto standard = serieItem(0).second;
        QVERIFY(!standard.empty());

        clicca(pannello()->Opt_Val_Indicatori[1]);
        QCOMPARE(stato().indicatori.Modo_Adattivo[size_t(g)], 1);
        QCOMPARE(colonna(11), QStringLiteral("1"));
        QVERIFY(!serieItem(0).second.empty());
        QVERIFY(serieItem(0).second != standard);

        clicca(pannello()->Opt_Val_Indicatori[0]);
        QCOMPARE(stato().indicatori.Modo_Adattivo[size_t(g)], 0);
        QCOMPARE(colonna(11), QStringLiteral("0"));
        QVERIFY(serieItem(0).second == standard);
    }

    void riempimentoDaGradoEGrafico()
    {
        // Each chart's degree has its own settings: the panel shows those of the
        // enlarged one, and its fill neither computes nor saves.
        const int g0 = grado();
        clicca(pannello()->Chk_Ind_Adattivi[8]);
        clicca(pannello()->Opt_Val_Indicatori[1]);
        ingrandisci(1);
        const int g1 = grado();
        QVERIFY(g1 != g0);
        QVERIFY(!pannello()->Chk_Ind_Adattivi[8]->isChecked());
        QVERIFY(pannello()->Opt_Val_Indicatori[0]->isChecked());
        stato().indicatori.Ind_Attivo[size_t(g1)][3] = 1;
        stato().indicatori.Periodo_Utente_2[size_t(g1)] = QStringLiteral("44");
        m_prova->op->Layout().Imposta_Layout_Grande(1);
        QVERIFY(pannello()->Chk_Ind_Adattivi[3]->isChecked());
        QCOMPARE(pannello()->Text_Val_Ind[1]->text(), QStringLiteral("44"));
        QCOMPARE(colonna(4, g1), QStringLiteral("0"));
        QCOMPARE(colonna(8, g1), QStringLiteral("0"));

        ingrandisci(0);
        QVERIFY(pannello()->Chk_Ind_Adattivi[8]->isChecked());
        QVERIFY(pannello()->Opt_Val_Indicatori[1]->isChecked());
        QVERIFY(!pannello()->Chk_Ind_Adattivi[3]->isChecked());
        QCOMPARE(m_beep, 0);
    }

    void riavvio()
    {
        const int g = grado();
        scrivi(1, QStringLiteral("25"));
        for (int k : {1, 5, 7, 13, 19})
            clicca(pannello()->Chk_Ind_Adattivi[size_t(k)]);
        clicca(pannello()->Opt_Val_Indicatori[1]);
        const auto serie = grafico()->serie().size();

        QVERIFY(avvia());
        const auto &ind = stato().indicatori;
        for (int k = 0; k < 20; ++k)
            QCOMPARE(ind.Ind_Attivo[size_t(g)][size_t(k)], k == 1 || k == 5 || k == 7 || k == 13 || k == 19 ? 1 : 0);
        QCOMPARE(ind.Modo_Adattivo[size_t(g)], 1);
        QCOMPARE(ind.Periodo_Utente_2[size_t(g)].toString(), QStringLiteral("25"));
        ingrandisci(0);
        QCOMPARE(grado(), g);
        for (int k = 0; k < 20; ++k)
            QCOMPARE(pannello()->Chk_Ind_Adattivi[size_t(k)]->isChecked(), ind.Ind_Attivo[size_t(g)][size_t(k)] == 1);
        QVERIFY(pannello()->Opt_Val_Indicatori[1]->isChecked());
        QCOMPARE(pannello()->Text_Val_Ind[1]->text(), QStringLiteral("25"));
        QCOMPARE(grafico()->serie().size(), serie);
        for (int k : {1, 5, 7, 13, 19})
            QVERIFY(!serieItem(k).second.empty());
    }

    // While an item is computed its chart shows the loading banner, painted before the
    // computation and gone with the drawing after it: for the volume profile on every
    // degree that has one, for the other items on the daily degrees 0..2; and while a
    // compression step recomputes the daily degrees' indicators.
    void bannerDuranteIlCalcolo_data()
    {
        QTest::addColumn<int>("gradoSlot");
        QTest::addColumn<int>("item");  // -1: a compression step
        QTest::addColumn<bool>("banner");
        QTest::newRow("daily degree 1, an average") << 1 << 0 << true;
        QTest::newRow("daily degree 1, a compression step") << 1 << -1 << true;
        QTest::newRow("daily degree 2, the volume profile") << 2 << 19 << true;
        QTest::newRow("hourly degree 5, an average") << 5 << 0 << false;
        QTest::newRow("hourly degree 5, the volume profile") << 5 << 19 << true;
        QTest::newRow("hourly degree 5, a compression step") << 5 << -1 << false;
    }
    void bannerDuranteIlCalcolo()
    {
        QFETCH(int, gradoSlot);
        QFETCH(int, item);
        QFETCH(bool, banner);
        if (grado() != gradoSlot) {
            {
                archivio::Connessione c(archivio::FileArchivio::Sistema3);
                QVERIFY(c.Aggiorna(QStringLiteral("TABGRAF"), QStringLiteral("C5"), stato().archivio.Sottostante_Corrente,
                                   QString::number(gradoSlot)));
            }
            QVERIFY(avvia());
            ingrandisci(0);
            QCOMPARE(grado(), gradoSlot);
        }
        // Each painting of the chart, with the banner among its texts or not.
        struct Dipinture : QObject {
            GraficoWidget *g;
            int conBanner = 0, senza = 0;
            explicit Dipinture(GraficoWidget *grafico) : g(grafico) { g->installEventFilter(this); }
            static bool Banner(const GraficoWidget *w)
            {
                return std::any_of(w->testi().begin(), w->testi().end(), [](const TestoGrafico &t) {
                    return t.testo == MotoreIndicatori::Testo_Caricamento;
                });
            }
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    ++(Banner(g) ? conBanner : senza);
                return false;
            }
        } dipinture(grafico());
        QVERIFY(!Dipinture::Banner(grafico()));
        // On the screen: a window not yet shown there paints nothing at once.
        QVERIFY(QTest::qWaitForWindowExposed(m_prova->form.get()));
        if (item < 0) {
            const int prima = stato().cicli.Compressione[size_t(gradoSlot)];
            auto *piu = m_prova->form->findChild<QAbstractButton *>(QStringLiteral("Cmd_Compr_P"));
            QVERIFY(piu);
            clicca(piu);
            QVERIFY(stato().cicli.Compressione[size_t(gradoSlot)] != prima);
        } else {
            clicca(pannello()->Chk_Ind_Adattivi[size_t(item)]);
            QCOMPARE(stato().indicatori.Ind_Attivo[size_t(gradoSlot)][size_t(item)], 1);
        }
        QTRY_VERIFY(dipinture.senza > 0);
        QCOMPARE(dipinture.conBanner > 0, banner);
        QVERIFY(!Dipinture::Banner(grafico()));
    }

    void volumiNascostiSuiGiornalieri_data()
    {
        QTest::addColumn<int>("sottostante");
        QTest::addColumn<int>("gradoSlot");
        QTest::addColumn<bool>("visibile");
        QTest::newRow("5, daily degree 3") << 5 << 3 << false;
        QTest::newRow("5, daily degree 0") << 5 << 0 << false;
        QTest::newRow("5, hourly degree 4") << 5 << 4 << true;
        QTest::newRow("2, daily degree 3") << 2 << 3 << true;
    }
    void volumiNascostiSuiGiornalieri()
    {
        QFETCH(int, sottostante);
        QFETCH(int, gradoSlot);
        QFETCH(bool, visibile);
        if (sottostante != 2)
            QVERIFY(GeneraStoricoLocale(sottostante));
        {
            archivio::Connessione c(archivio::FileArchivio::Sistema3);
            QVERIFY(c.Aggiorna(QStringLiteral("TABGRAF"), QStringLiteral("C5"), sottostante,
                               QString::number(gradoSlot)));
        }
        QTest::mouseClick(area()->Frm_Graf[0]->Cmd_GRaf_M, Qt::LeftButton);
        m_prova->op->Sottostante().Imposta_Sottostante_Offline(sottostante - 1);
        QTRY_COMPARE_WITH_TIMEOUT(stato().shell.Blocco_Grafici, false, 30000);
        QCOMPARE(stato().archivio.Sottostante_Corrente, sottostante);
        ingrandisci(0);
        QCOMPARE(grado(), gradoSlot);
        QCOMPARE(pannello()->Chk_Ind_Adattivi[19]->isVisible(), visibile);
        QCOMPARE(pannello()->Lbl_Color_ind[19]->isVisible(), visibile);
        QVERIFY(pannello()->Chk_Ind_Adattivi[18]->isVisible());
    }
};

QTEST_MAIN(PannelloIndicatoriTest)
#include "PannelloIndicatoriTest.moc"

// The one-chart layout in the real working window after an OFFLINE start: the
// enlarge button shows one chart beside the tool frame, a line tool places a line
// on the enlarged chart, resizing and the history panel keep the layout, and the
// reduce button returns to four charts. In both layouts every label of a chart
// stays in sight.

#include "ArchivioProva.h"
#include "FinestraProva.h"
#include "Stato.h"
#include "archive/TabSottostanti.h"
#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/DurataTesto.h"
#include "market/StoricoLocale.h"
#include "platform/Schermo.h"
#include "platform/VbRuntime.h"
#include "shell/LayoutGrande.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

// Pixel geometry of a rectangle in twips, each edge within a pixel of rounding.
bool vicino(const QRect &r, const Rettangolo &t)
{
    const auto ok = [](int px, double twips) { return std::abs(px - twips / schermo::TwipsPerPixel) <= 1.0; };
    return ok(r.x(), t.Left) && ok(r.y(), t.Top) && ok(r.width(), t.Width) && ok(r.height(), t.Height);
}

// The enlarged panel as the layout puts it in the chart frame's current size.
Rettangolo atteso(const AreaGrafici *area)
{
    const double h = schermo::PixelInTwips(area->height());
    const double w = schermo::PixelInTwips(area->width());
    const double left = 100 + layout::Larghezza_Strumenti + 100;
    return {left, 300, w - 100 - left, h - 400};
}

}  // namespace

class LayoutGrandeFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> m_prova;
    FormS1 *m_form = nullptr;
    FinestraOperativa *m_op = nullptr;

    AreaGrafici *area() const { return m_op->Area(); }
    Stato &stato() const { return m_form->S(); }

    void verificaRidotto()
    {
        QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("RIDOTTO"));
        QVERIFY(area()->Frm_Strumenti->isHidden());
        QVERIFY(area()->Sld_Zoom->isHidden());
        QVERIFY(area()->Sld_Compr->isHidden());
        for (RiquadroGrafico *r : area()->Frm_Graf) {
            QVERIFY(r->isVisible());
            QVERIFY(!r->Cmd_GRaf_M->isEnabled());
            QVERIFY(r->Cmd_GRaf_P->isEnabled());
        }
    }

    void verificaGrande(int slot)
    {
        QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("GRANDE"));
        QCOMPARE(stato().cicli.Grafico_Corrente, slot);
        for (int s = 0; s < 4; ++s)
            QCOMPARE(area()->Frm_Graf[size_t(s)]->isVisible(), s == slot);
        RiquadroGrafico *r = area()->Frm_Graf[size_t(slot)];
        QVERIFY2(vicino(r->geometry(), atteso(area())), qPrintable(TestoRettangolo(r->geometry())));
        QVERIFY(vicino(area()->Frm_Strumenti->geometry(),
                       Rettangolo{100, 200, layout::Larghezza_Strumenti, layout::Altezza_Strumenti}));
        QVERIFY(area()->Frm_Strumenti->isVisible());
        QVERIFY(area()->Sld_Zoom->isVisible());
        QVERIFY(area()->Sld_Compr->isVisible());
        // Neither slider overlaps the enlarged chart.
        QVERIFY(!area()->Sld_Zoom->geometry().intersects(r->geometry()));
        QVERIFY(!area()->Sld_Compr->geometry().intersects(r->geometry()));
        QVERIFY(r->Cmd_Foto->isEnabled());
        QVERIFY(!r->Cmd_Sposta->isEnabled());
        QVERIFY(!r->Cmd_GRaf_P->isEnabled());
        QVERIFY(r->Cmd_GRaf_M->isEnabled() && r->Cmd_GRaf_M->isVisible());
        QVERIFY(r->Cmd_Coord->isEnabled());
        // The chart overhangs its picture box, which fills the panel.
        QCOMPARE(r->Pic_Graf->geometry(), QRect(QPoint(0, 0), r->size()));
        QVERIFY(r->Graf_Battleplan->width() > r->width());
        QVERIFY(r->Graf_Battleplan->height() > r->height());
        const int grado = stato().cicli.Conf_Grafici[size_t(slot)].grado;
        QCOMPARE(stato().cicli.Grado_Corrente, grado);
        QCOMPARE(area()->Text_Time_Frame->text(), layout::Testo_Time_Frame(grado));
        QCOMPARE(area()->Sld_Compr->value(),
                 std::clamp(stato().cicli.Compressione[size_t(grado)], area()->Sld_Compr->minimum(),
                            area()->Sld_Compr->maximum()));
    }

private slots:
    void init()
    {
        m_prova = std::make_unique<FinestraProva>(QList<int>{2});
        m_form = m_prova->form.get();
        m_op = m_prova->op;
        QVERIFY(m_prova->AvviaOffline());
        QVERIFY(!stato().shell.Blocco_Grafici);
    }

    void cleanup()
    {
        m_form = nullptr;
        m_op = nullptr;
        m_prova.reset();
    }

    void ingrandisciERiduci()
    {
        verificaRidotto();
        const auto &conf = stato().cicli.Conf_Grafici;
        int usati = 0;
        for (int s = 0; s < 4; ++s) {
            if (conf[size_t(s)].in_uso != 1)
                continue;
            ++usati;
            const QRect ridotto = area()->Frm_Graf[size_t(s)]->geometry();
            QTest::mouseClick(area()->Frm_Graf[size_t(s)]->Cmd_GRaf_P, Qt::LeftButton);
            verificaGrande(s);
            QVERIFY(area()->Frm_Graf[size_t(s)]->width() > ridotto.width());
            QTest::mouseClick(area()->Frm_Graf[size_t(s)]->Cmd_GRaf_M, Qt::LeftButton);
            verificaRidotto();
            QCOMPARE(area()->Frm_Graf[size_t(s)]->geometry(), ridotto);
        }
        QVERIFY(usati > 0);
    }

    void lineaSulGraficoIngrandito()
    {
        const auto &conf = stato().cicli.Conf_Grafici;
        int slot = 3;
        while (slot > 0 && conf[size_t(slot)].in_uso != 1)
            --slot;
        QCOMPARE(conf[size_t(slot)].in_uso, 1);
        QTest::mouseClick(area()->Frm_Graf[size_t(slot)]->Cmd_GRaf_P, Qt::LeftButton);
        verificaGrande(slot);

        auto *linea = area()->Frm_Strumenti->findChild<QToolButton *>(QStringLiteral("Cmd_Line_0"));
        QVERIFY(linea);
        QVERIFY(linea->isVisible());
        QVERIFY(area()->Frm_Strumenti->rect().contains(
            linea->mapTo(area()->Frm_Strumenti, linea->rect().bottomRight())));
        QTest::mouseClick(linea, Qt::LeftButton);

        GraficoWidget *g = area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;
        const int grado = conf[size_t(slot)].grado;
        const int b = stato().cicli.Barre_Ciclo[size_t(grado)];
        QVERIFY(b > 4);
        const auto pixel = [g](double x, double y) {
            return render_grafico::InPixel(g->disposizione(), 1, 1, QPointF(x, y)).toPoint();
        };
        const auto clic = [&](double x, double y) {
            QTest::mouseMove(g, pixel(x, y));
            QTest::mouseClick(g, Qt::LeftButton, {}, pixel(x, y));
        };
        QTest::mouseMove(g, pixel(3, 3));
        clic(1.5, 7);
        clic(b - 0.5, 21);
        const Linea l = stato().disegno.Linee[size_t(grado)][1];
        QVERIFY(l.in_uso && l.trovata);
        QCOMPARE(l.barra_inizio, 1);
        QCOMPARE(l.barra_fine, b - 1);
        QCOMPARE(stato().cicli.Grafico_Corrente, slot);
        QCOMPARE(stato().shell.Layout_Grafico, QStringLiteral("GRANDE"));
        QTRY_VERIFY(!m_op->Ridisegno().Timer_Disegno.isActive());
        SalvaImmagine(m_form, QStringLiteral("grande.png"));

        QTest::mouseClick(area()->Frm_Graf[size_t(slot)]->Cmd_GRaf_M, Qt::LeftButton);
        verificaRidotto();
        QVERIFY(stato().disegno.Linee[size_t(grado)][1].in_uso);
    }

    void ridimensionaEStoricoMantengonoIlLayout()
    {
        QTest::mouseClick(area()->Frm_Graf[0]->Cmd_GRaf_P, Qt::LeftButton);
        verificaGrande(0);
        const int larghezza = area()->Frm_Graf[0]->width();

        m_form->resize(m_form->width() + 150, m_form->height() + 60);
        verificaGrande(0);
        QVERIFY(area()->Frm_Graf[0]->width() > larghezza);

        // The history panel narrows the chart frame; the one chart stays enlarged.
        const int primaStorico = area()->Frm_Graf[0]->width();
        QTest::mouseClick(m_op->Quotazioni()->Cmd_Storico[0], Qt::LeftButton);
        QVERIFY(m_form->Frm_Storico->isVisible());
        verificaGrande(0);
        QVERIFY(area()->Frm_Graf[0]->width() < primaStorico);
        QTest::mouseClick(m_op->Quotazioni()->Cmd_Storico[0], Qt::LeftButton);
        QVERIFY(m_form->Frm_Storico->isHidden());
        verificaGrande(0);
        QCOMPARE(area()->Frm_Graf[0]->width(), primaStorico);

        QTest::mouseClick(area()->Frm_Graf[0]->Cmd_GRaf_M, Qt::LeftButton);
        verificaRidotto();
        m_form->resize(m_form->width() - 100, m_form->height());
        verificaRidotto();
    }

    void valoriScrittiSenzaEventi()
    {
        // The tool frame's values come from the degree's settings: writing them is no
        // user change, so the sliders report nothing.
        const int grado = stato().cicli.Conf_Grafici[0].grado;
        QSlider *zoom = area()->Sld_Zoom;
        QSlider *compr = area()->Sld_Compr;
        const int nuovoZoom = zoom->value() == zoom->maximum() ? zoom->minimum() : zoom->maximum();
        const int nuovaCompr = compr->value() == compr->maximum() ? compr->minimum() : compr->maximum();
        stato().cicli.Zoom[size_t(grado)] = nuovoZoom;
        stato().cicli.Compressione[size_t(grado)] = nuovaCompr;
        QSignalSpy cambiZoom(zoom, &QSlider::valueChanged);
        QSignalSpy cambiCompr(compr, &QSlider::valueChanged);
        QTest::mouseClick(area()->Frm_Graf[0]->Cmd_GRaf_P, Qt::LeftButton);
        verificaGrande(0);
        QCOMPARE(zoom->value(), nuovoZoom);
        QCOMPARE(compr->value(), nuovaCompr);
        QCOMPARE(cambiZoom.count(), 0);
        QCOMPARE(cambiCompr.count(), 0);
    }

    // The grid and price-line buttons of the tool frame: each click changes the
    // current degree's setting, stores it and redraws the enlarged chart; a stored
    // look the drawing does not know is left alone.
    void pulsantiAspetto_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<int>("iniziale");
        QTest::addColumn<QList<int>>("attesi");
        QTest::newRow("suddivisioni") << "Cmd_Griglia_Graf_0" << "C10" << 1 << QList<int>{0, 1, 0};
        QTest::newRow("suddivisioni da valore ignoto") << "Cmd_Griglia_Graf_0" << "C10" << 5 << QList<int>{1, 0, 1};
        QTest::newRow("separatori dei giorni") << "Cmd_Griglia_Graf_1" << "C11" << 0 << QList<int>{1, 0, 1};
        QTest::newRow("linea dei prezzi") << "Cmd_Linea_Stor" << "C14" << 0 << QList<int>{1, 2, 0};
        QTest::newRow("linea dei prezzi da 2") << "Cmd_Linea_Stor" << "C14" << 2 << QList<int>{0, 1, 2};
        QTest::newRow("linea dei prezzi fuori campo") << "Cmd_Linea_Stor" << "C14" << 7 << QList<int>{7, 7, 7};
    }
    void pulsantiAspetto()
    {
        QFETCH(QString, pulsante);
        QFETCH(QString, colonna);
        QFETCH(int, iniziale);
        QFETCH(QList<int>, attesi);
        QTest::mouseClick(area()->Frm_Graf[1]->Cmd_GRaf_P, Qt::LeftButton);
        verificaGrande(1);
        const int grado = stato().cicli.Grado_Corrente;
        int &valore = colonna == QLatin1String("C10")   ? stato().cicli.Griglia_1[size_t(grado)]
                      : colonna == QLatin1String("C11") ? stato().cicli.Griglia_2[size_t(grado)]
                                                        : stato().cicli.Modo_Linea_Storico[size_t(grado)];
        valore = iniziale;
        m_op->Ridisegno().Disegna_Grafico(1, grado);
        auto *b = area()->Frm_Strumenti->findChild<QToolButton *>(pulsante);
        QVERIFY(b);
        QVERIFY(b->isVisible());
        QVERIFY(area()->Frm_Strumenti->rect().contains(b->mapTo(area()->Frm_Strumenti, b->rect().bottomRight())));
        GraficoWidget *g = area()->Frm_Graf[1]->Graf_Battleplan;
        const QString tabella = QStringLiteral("TAB%1").arg(grado);
        const int u = stato().archivio.Sottostante_Corrente;
        const QString primaNelArchivio = ValoreArchivio(archivio::FileArchivio::Sistema3, tabella, colonna, u);
        const bool cambia = attesi.first() != iniziale;
        for (int atteso : attesi) {
            const QImage prima = g->Immagine();
            const int ridisegni = g->ridisegni();
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(valore, atteso);
            QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, tabella, colonna, u),
                     cambia ? QString::number(atteso) : primaNelArchivio);
            QCOMPARE(g->ridisegni(), ridisegni + (cambia ? 1 : 0));
            QCOMPARE(g->Immagine() != prima, cambia);
        }
        QCOMPARE(stato().cicli.Grafico_Corrente, 1);
        QCOMPARE(stato().cicli.Grado_Corrente, grado);
    }

    void etichetteInVista_data()
    {
        QTest::addColumn<bool>("grande");
        QTest::addColumn<int>("aspetto");
        QTest::newRow("RIDOTTO scuro") << false << 0;
        QTest::newRow("RIDOTTO chiaro") << false << 1;
        QTest::newRow("GRANDE scuro") << true << 0;
        QTest::newRow("GRANDE chiaro") << true << 1;
    }
    void etichetteInVista()
    {
        // The chart overhangs its picture box and the panel's controls lie over it:
        // title, price and date labels and the cycle texts go where they are seen.
        QFETCH(bool, grande);
        QFETCH(int, aspetto);
        QVERIFY(m_prova->Aspetto(aspetto));
        if (grande) {
            QTest::mouseClick(area()->Frm_Graf[1]->Cmd_GRaf_P, Qt::LeftButton);
            verificaGrande(1);
        }
        QTRY_VERIFY(!m_op->Ridisegno().Timer_Disegno.isActive());

        int grafici = 0;
        for (RiquadroGrafico *r : area()->Frm_Graf) {
            if (!r->isVisible())
                continue;
            ++grafici;
            GraficoWidget *g = r->Graf_Battleplan;
            const QPoint origine = g->mapTo(r, QPoint(0, 0));
            const QRectF inVista = QRectF(QRect(origine, g->size()).intersected(r->Pic_Graf->geometry()));
            QList<QWidget *> sopra;
            for (QWidget *w : std::initializer_list<QWidget *>{r->Cmd_Foto, r->Cmd_Sposta, r->Cmd_GRaf_P,
                                                               r->Cmd_GRaf_M, r->Cmd_Coord, r->Led_Agg_Storico_RT,
                                                               r->Hsc_Graf, r->Hsc_Graf_Y, r->Lbl_In_Caricamento})
                if (w->isVisible())
                    sopra << w;
            QCOMPARE(sopra.size(), 8);

            using Tipo = render_grafico::Etichetta::Tipo;
            QMap<Tipo, int> quante;
            QStringList testi;
            for (const render_grafico::Etichetta &e : render_grafico::Etichette(*g, g->disposizione())) {
                const QRectF rettangolo = e.rettangolo.translated(origine);
                const QString cosa = e.testo() + QStringLiteral(" at ") + TestoRettangolo(rettangolo);
                QVERIFY2(inVista.contains(rettangolo), qPrintable(cosa + QStringLiteral(" out of ") + TestoRettangolo(inVista)));
                for (QWidget *w : sopra)
                    QVERIFY2(!rettangolo.intersects(QRectF(w->geometry())),
                             qPrintable(cosa + QStringLiteral(" under ") + w->objectName()));
                ++quante[e.tipo];
                if (e.tipo == Tipo::Testo)
                    testi << e.testo();
            }
            QCOMPARE(quante[Tipo::Titolo], 1);
            QVERIFY(quante[Tipo::Prezzo] >= 3);
            QVERIFY(quante[Tipo::AsseX] >= 1);
            for (const char *cerca : {" Data Inizio Ciclo: ", "Data Fine Ciclo: ", " Ciclo Iniziato da: ",
                                      "Termine al Ciclo: "})
                QVERIFY2(!testi.filter(QLatin1String(cerca)).isEmpty(), cerca);
            const int grado = stato().cicli.Conf_Grafici[size_t(r->slot())].grado;
            const QString durata = ciclo::Converti_Durata_Testo(stato().cicli, stato().archivio, grado,
                                                                vb::CInt(stato().cicli.Durata[size_t(grado)]));
            QVERIFY(testi.contains(durata));
        }
        QCOMPARE(grafici, grande ? 1 : 4);
        SalvaImmagine(m_form, QStringLiteral("etichette %1.png").arg(QString::fromLatin1(QTest::currentDataTag())));
    }

    void ingrandimentoRifiutato()
    {
        // A slot whose degree is out of range, a slot number out of range and a
        // click while the charts are busy leave the four charts as they are.
        stato().cicli.Conf_Grafici[1].grado = 40;
        const int corrente = stato().cicli.Grafico_Corrente;
        const int grado = stato().cicli.Grado_Corrente;
        m_op->Layout().Cmd_GRaf_P_Click(1);
        m_op->Layout().Cmd_GRaf_P_Click(7);
        m_op->Layout().Cmd_GRaf_P_Click(-1);
        stato().shell.Blocco_Grafici = true;
        m_op->Layout().Cmd_GRaf_P_Click(0);
        stato().shell.Blocco_Grafici = false;
        QCOMPARE(stato().cicli.Grafico_Corrente, corrente);
        QCOMPARE(stato().cicli.Grado_Corrente, grado);
        verificaRidotto();
        // Nor does the layout itself take a slot out of range.
        area()->Imposta_Layout_Grande(4);
        verificaRidotto();
    }
};

QTEST_MAIN(LayoutGrandeFinestraTest)
#include "LayoutGrandeFinestraTest.moc"

// The chart tools in the real working window after an OFFLINE start: a line and a
// distance drawn with the mouse on a chart are saved, drawn by the chart drawing, and
// found again on the same bars after the underlying is changed and changed back, and
// after the program is started again.

#include "FinestraProva.h"
#include "SlotGraficoProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "archive/TabSottostanti.h"
#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "market/StoricoLocale.h"
#include "platform/Schermo.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

}  // namespace

class StrumentiFinestraOperativaTest : public QObject {
    Q_OBJECT

private slots:
    void lineaNellaFinestraDiLavoro()
    {
        FinestraProva prova({2, 5});
        QVERIFY(prova.AvviaOffline());
        FinestraOperativa *op = prova.op;
        const QStringList &fallimenti = prova.fallimenti;
        Stato &s = prova.form->S();
        QVERIFY(!s.shell.Blocco_Grafici);

        auto *strumenti = op->findChild<StrumentiFinestra *>(QStringLiteral("StrumentiFinestra"));
        QVERIFY(strumenti);
        GraficoWidget *g = op->Area()->Frm_Graf[0]->Graf_Battleplan;
        QVERIFY(g->isVisible());
        const int grado = s.cicli.Conf_Grafici[0].grado;
        const auto pixel = [&g](double x, double y) {
            return render_grafico::InPixel(g->disposizione(), 1, 1, QPointF(x, y)).toPoint();
        };
        const auto barraSotto = [&](double x) {
            return int(std::floor(render_grafico::InUnita(g->disposizione(), pixel(x, 10)).x()));
        };
        const auto clic = [&](double x, double y) {
            QTest::mouseMove(g, pixel(x, y));
            QTest::mouseClick(g, Qt::LeftButton, {}, pixel(x, y));
        };
        const double estensione = s.cicli.Durata[size_t(grado)] + s.cicli.Scostamento_Ciclo[size_t(grado)];
        const int b = s.cicli.Barre_Ciclo[size_t(grado)];
        QVERIFY(b > 4 && estensione > b + 4);

        // Red line from the cycle-start bar to two bars past the newest (the future axis).
        strumenti->Strumenti().Cmd_Line_Click(0);
        QTest::mouseMove(g, pixel(10, 10));
        QCOMPARE(s.cicli.Grafico_Corrente, 0);
        clic(1.5, 7);
        clic(b + 2.5, 21);
        const Linea l = s.disegno.Linee[size_t(grado)][1];
        QVERIFY(l.in_uso && l.trovata);
        // The bars under the pixels the clicks landed on: where the plot starts
        // depends on the width of the price labels, so on the fonts.
        QCOMPARE(l.barra_inizio, barraSotto(1.5));
        QCOMPARE(l.barra_fine, barraSotto(b + 2.5));
        QVERIFY(l.barra_fine > b);  // on the future axis
        QTRY_VERIFY(!op->Ridisegno().Timer_Disegno.isActive());
        QVERIFY(ContieneColore(g->Immagine(), schermo::ColoreWin(s.cicli.Colori[30]).rgb()));
        SalvaImmagine(prova.form.get(), QStringLiteral("linea.png"));

        // A green distance into the future, with its duration label.
        strumenti->Strumenti().Cmd_Distanza_Click(2);
        clic(3.2, 5);
        clic(b + 1.2, 15);
        const Distanza di = s.disegno.Distanze[size_t(grado)][1];
        QVERIFY(di.in_uso && di.trovata);
        // A pixel of the four-chart layout spans about two bars: the bar stored is the
        // one under the pixel the click landed on.
        QCOMPARE(di.barra_inizio, barraSotto(3.2));
        QCOMPARE(di.barra_fine, barraSotto(b + 1.2));
        QVERIFY(di.barra_fine > b);  // on the future axis
        QCOMPARE(di.barra_etichetta, di.barra_inizio + (di.barra_fine - di.barra_inizio) / 2);
        QCOMPARE(di.colore, 32);
        QVERIFY(!di.durata.isEmpty());
        QTRY_VERIFY(!op->Ridisegno().Timer_Disegno.isActive());

        // Another underlying and back: the line is loaded again on its bars.
        auto *q = op->Quotazioni();
        QTest::mouseClick(q->Opt_Sott_Off[4], Qt::LeftButton);
        QVERIFY(!s.disegno.Linee[size_t(grado)][1].in_uso);
        QVERIFY(!s.disegno.Distanze[size_t(grado)][1].in_uso);
        QTest::mouseClick(q->Opt_Sott_Off[1], Qt::LeftButton);
        QVERIFY(fallimenti.isEmpty());
        const Linea r = s.disegno.Linee[size_t(grado)][1];
        QVERIFY(r.in_uso && r.trovata);
        QCOMPARE(r.barra_inizio - s.cicli.Barre_Ciclo[size_t(grado)], l.barra_inizio - b);
        QCOMPARE(r.barra_fine - s.cicli.Barre_Ciclo[size_t(grado)], l.barra_fine - b);
        QCOMPARE(r.prezzo_fine, l.prezzo_fine);
        const Distanza rd = s.disegno.Distanze[size_t(grado)][1];
        QVERIFY(rd.in_uso && rd.trovata);
        QCOMPARE(rd.barra_fine - s.cicli.Barre_Ciclo[size_t(grado)], di.barra_fine - b);
        QCOMPARE(rd.barra_etichetta - s.cicli.Barre_Ciclo[size_t(grado)], di.barra_etichetta - b);
        QCOMPARE(rd.durata, di.durata);

        // The program started again: the line and the distance are loaded on their bars.
        QVERIFY(prova.Riavvia());
        op = prova.op;
        Stato &t = prova.form->S();
        strumenti = op->findChild<StrumentiFinestra *>(QStringLiteral("StrumentiFinestra"));
        QVERIFY(strumenti);
        g = op->Area()->Frm_Graf[0]->Graf_Battleplan;
        QCOMPARE(t.cicli.Conf_Grafici[0].grado, grado);
        const Linea rl = t.disegno.Linee[size_t(grado)][1];
        QVERIFY(rl.in_uso && rl.trovata);
        QCOMPARE(rl.barra_fine - t.cicli.Barre_Ciclo[size_t(grado)], l.barra_fine - b);
        const Distanza rr = t.disegno.Distanze[size_t(grado)][1];
        QVERIFY(rr.in_uso && rr.trovata);
        QCOMPARE(rr.barra_inizio - t.cicli.Barre_Ciclo[size_t(grado)], di.barra_inizio - b);
        QCOMPARE(rr.barra_fine - t.cicli.Barre_Ciclo[size_t(grado)], di.barra_fine - b);
        QCOMPARE(rr.barra_etichetta - t.cicli.Barre_Ciclo[size_t(grado)], di.barra_etichetta - b);
        QCOMPARE(rr.prezzo_fine, di.prezzo_fine);
        QCOMPARE(rr.durata, di.durata);
        QCOMPARE(rr.colore, di.colore);

        // Deleted with the delete tool on its middle: the row is free again.
        const int b2 = t.cicli.Barre_Ciclo[size_t(grado)];
        strumenti->Strumenti().Cmd_Cancella_Distanza_Click();
        clic((rr.barra_inizio + rr.barra_fine) / 2.0, 10);
        QVERIFY(!t.disegno.Distanze[size_t(grado)][1].in_uso);
        QCOMPARE(b2, t.cicli.Barre_Ciclo[size_t(grado)]);
        QCOMPARE(disegno::tabelle::Carica_Distanze(t.archivio.Sottostante_Corrente, t.disegno.Distanze,
                                                   disegno::MappaTempiStato(t.mercato, t.cicli))
                     .collocati,
                 0);
    }
};

QTEST_MAIN(StrumentiFinestraOperativaTest)
#include "StrumentiFinestraOperativaTest.moc"

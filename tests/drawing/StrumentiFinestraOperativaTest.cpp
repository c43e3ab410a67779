// The chart tools in the real working window after an OFFLINE start: a line drawn
// with the mouse on a chart is saved, drawn by the chart drawing, and found again
// on the same bars after the underlying is changed and changed back.

#include "CartellaTemporanea.h"
#include "FinestraProva.h"
#include "SlotGraficoProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "archive/TabSottostanti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"
#include "market/ui/SessioneFinestra.h"
#include "platform/RenderGrafico.h"
#include "platform/Schermo.h"
#include "platform/ui/GraficoWidget.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

}  // namespace

class StrumentiFinestraOperativaTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("WAVELORE_AVVISI_AUTOMATICI", "1"); }

    void lineaNellaFinestraDiLavoro()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivi().ok);
        QVERIFY(GeneraStoricoLocale(2));
        QVERIFY(GeneraStoricoLocale(5));
        FinestraProva prova;
        QVERIFY(prova.AvviaOffline());
        FormS1 &form = *prova.form;
        FinestraOperativa *op = prova.op;
        const QStringList &fallimenti = prova.fallimenti;
        Stato &s = form.S();
        QVERIFY(!s.shell.Blocco_Grafici);

        auto *strumenti = op->findChild<StrumentiFinestra *>(QStringLiteral("StrumentiFinestra"));
        QVERIFY(strumenti);
        GraficoWidget *g = op->Area()->Frm_Graf[0]->Graf_Battleplan;
        QVERIFY(g->isVisible());
        const int grado = s.cicli.Conf_Grafici[0].grado;
        const auto pixel = [g](double x, double y) {
            return RenderGrafico::InPixel(g->disposizione(), 1, 1, QPointF(x, y)).toPoint();
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
        QCOMPARE(l.barra_inizio, 1);
        QCOMPARE(l.barra_fine, b + 2);
        QTRY_VERIFY(!op->Timer_Disegno.isActive());
        QVERIFY(ContieneColore(g->Immagine(), schermo::ColoreWin(s.cicli.Colori[30]).rgb()));
        if (qEnvironmentVariableIsSet("WAVELORE_IMMAGINI_PROVA"))
            form.grab().save(qEnvironmentVariable("WAVELORE_IMMAGINI_PROVA") + QStringLiteral("/linea.png"));

        // Another underlying and back: the line is loaded again on its bars.
        auto *q = op->Quotazioni();
        QTest::mouseClick(q->Opt_Sott_Off[4], Qt::LeftButton);
        QVERIFY(!s.disegno.Linee[size_t(grado)][1].in_uso);
        QTest::mouseClick(q->Opt_Sott_Off[1], Qt::LeftButton);
        QVERIFY(fallimenti.isEmpty());
        const Linea r = s.disegno.Linee[size_t(grado)][1];
        QVERIFY(r.in_uso && r.trovata);
        QCOMPARE(r.barra_inizio - s.cicli.Barre_Ciclo[size_t(grado)], l.barra_inizio - b);
        QCOMPARE(r.barra_fine - s.cicli.Barre_Ciclo[size_t(grado)], l.barra_fine - b);
        QCOMPARE(r.prezzo_fine, l.prezzo_fine);
    }
};

QTEST_MAIN(StrumentiFinestraOperativaTest)
#include "StrumentiFinestraOperativaTest.moc"

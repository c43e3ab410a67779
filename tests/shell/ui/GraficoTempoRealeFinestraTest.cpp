// The real-time chart button, the last-price redraw and the clearing of the
// charts in the working window after an OFFLINE start; a real-time redraw leaves
// the keyboard with the chart.

#include "FinestraProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/TabSottostanti.h"
#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/GraficoTempoReale.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include "platform/Codec1252.h"
#include "platform/Socket.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

int Grafico_RT_Salvato()
{
    StatoArchivio letto;
    archivio::Carica_Impostazioni_Avvio(letto);
    return letto.Grafico_RT;
}

// The red last-price segment of a chart, if it has one.
const SerieGrafico *Segmento_Rosso(const GraficoWidget &g)
{
    for (const SerieGrafico &s : g.serie())
        if (s.nome.isEmpty() && s.colore == ColoreWin(255) && s.spessore == 2 && s.punti.size() == 2)
            return &s;
    return nullptr;
}

}  // namespace

class GraficoTempoRealeFinestraTest : public QObject {
    Q_OBJECT

private slots:
    void pulsante_ultimo_prezzo_e_cancellazione()
    {
        FinestraProva prova({2});
        SessioneQuotazioni *sessione = prova.sessione;
        QVERIFY(sessione);
        QVERIFY(prova.AvviaOffline());
        FormS1 &form = *prova.form;
        FinestraOperativa *op = prova.op;
        Stato &s = form.S();
        QVERIFY(!s.shell.Blocco_Grafici);

        QStringList &domande = prova.dialoghi->domande_RT;
        bool &risposta = prova.dialoghi->risposta_RT;
        risposta = true;
        QPushButton *rt = op->Quotazioni()->Cmd_Graf_RT;
        auto colore = [rt] { return rt->palette().color(QPalette::Button); };
        const QColor faccia = QApplication::palette().color(QPalette::Button);  // off: the system's button face

        // Off -> asks; Yes switches on, colours the button and saves 1.
        s.archivio.Grafico_RT = 0;
        QTest::mouseClick(rt, Qt::LeftButton);
        QCOMPARE(domande, QStringList{"- Attivazione Grafici Real Time -"});
        QCOMPARE(s.archivio.Grafico_RT, 1);
        QCOMPARE(colore(), schermo::ColoreWin(s.cicli.Colori[42]));
        QCOMPARE(Grafico_RT_Salvato(), 1);

        // On -> off without a question.
        QTest::mouseClick(rt, Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QCOMPARE(s.archivio.Grafico_RT, 0);
        QCOMPARE(colore(), faccia);
        QCOMPARE(Grafico_RT_Salvato(), 0);

        // Off -> No keeps it off and the colour as it was.
        risposta = false;
        QTest::mouseClick(rt, Qt::LeftButton);
        QCOMPARE(domande.size(), 2);
        QCOMPARE(s.archivio.Grafico_RT, 0);
        QCOMPARE(colore(), faccia);

        // A new last price redraws the 5-minute chart of slot 3 with the red segment.
        s.archivio.Grafico_RT = 1;
        s.shell.Modalita = QStringLiteral("ONLINE");
        s.cicli.Conf_Grafici[3].in_uso = 1;
        s.cicli.Conf_Grafici[3].grado = 10;
        GraficoWidget &g3 = *op->Area()->Frm_Graf[3]->Graf_Battleplan;
        QVERIFY(!Segmento_Rosso(g3));
        s.mercato.Text_Last = QStringLiteral("12345,5");
        s.mercato.Ultimo_Prezzo = 12345.5;
        sessione->Azioni().Aggiorna_Caselle(true);
        QCOMPARE(op->Quotazioni()->Text_Last->text(), QStringLiteral("12345,5"));
        const SerieGrafico *segmento = Segmento_Rosso(g3);
        QVERIFY(segmento);
        QCOMPARE(segmento->punti[1], QPointF(s.cicli.Barre_Ciclo[10] + 1, 12345.5));

        // While the charts are held the quote redraws nothing.
        s.shell.Blocco_Grafici = true;
        s.mercato.Text_Last = QStringLiteral("11111");
        s.mercato.Ultimo_Prezzo = 11111.0;
        sessione->Azioni().Aggiorna_Caselle(true);
        QCOMPARE(Segmento_Rosso(g3)->punti[1].y(), 12345.5);
        s.shell.Blocco_Grafici = false;

        // Clearing hides and empties every chart.
        op->Tempo_Reale().Cancella_Grafici();
        for (RiquadroGrafico *r : op->Area()->Frm_Graf) {
            QVERIFY(!r->Graf_Battleplan->Visibile());
            QVERIFY(r->Graf_Battleplan->serie().empty());
        }
    }

    // Ticks from a peer on loopback, in one burst: the boxes and the chart are
    // redrawn once, the box shows the newest price in the regional format, and the
    // chart draws the tick's own number, whatever separators its display uses.
    void ultimo_prezzo_dai_tick_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("formato");
        QTest::addColumn<QString>("prezzo");  // as the server writes it
        QTest::addColumn<QString>("casella");
        QTest::addColumn<double>("valore");
        QTest::newRow("UE migliaia e decimali") << "UE" << "#,##0.00" << "12.345,5" << "12.345,50" << 12345.5;
        QTest::newRow("US migliaia e decimali") << "US" << "#,##0.00" << "12.345,5" << "12,345.50" << 12345.5;
        QTest::newRow("UE solo migliaia") << "UE" << "#,##0" << "12.345" << "12.345" << 12345.0;
        QTest::newRow("US solo migliaia") << "US" << "#,##0" << "12.345" << "12,345" << 12345.0;
        QTest::newRow("UE tre decimali") << "UE" << "#,##0.000" << "1,234" << "1,234" << 1.234;
        QTest::newRow("US tre decimali") << "US" << "#,##0.000" << "1,234" << "1.234" << 1.234;
        QTest::newRow("UE arrotondato nella casella") << "UE" << "#,##0" << "12.345,4" << "12.345" << 12345.4;
    }
    void ultimo_prezzo_dai_tick()
    {
        QFETCH(QString, locale);
        QFETCH(QString, formato);
        QFETCH(QString, prezzo);
        QFETCH(QString, casella);
        QFETCH(double, valore);
        FinestraProva prova({2});
        QVERIFY(prova.AvviaOffline());
        Stato &s = prova.form->S();
        s.shell.Formato_Locale = locale;
        s.mercato.Formato_Prezzo = formato;
        s.archivio.Grafico_RT = 1;
        s.shell.Modalita = QStringLiteral("ONLINE");
        s.cicli.Conf_Grafici[3].in_uso = 1;
        s.cicli.Conf_Grafici[3].grado = 10;
        SessioneQuotazioni *sessione = prova.sessione;
        sessione->Intervallo_Schermo_ms = 1000;  // the whole burst surely within one frame
        sessione->Intervallo_Watchdog_ms = 10 * 60 * 1000;
        QTcpServer pari;
        QVERIFY(pari.listen(QHostAddress::LocalHost));
        sessione->socket().Connect(QStringLiteral("127.0.0.1"), pari.serverPort());
        QTRY_VERIFY(pari.hasPendingConnections());
        QTcpSocket *verso = pari.nextPendingConnection();
        QSignalSpy mostrate(sessione, &SessioneQuotazioni::Quotazione_Mostrata);
        GraficoWidget &g3 = *prova.op->Area()->Frm_Graf[3]->Graf_Battleplan;
        const int ridisegni = g3.ridisegni();
        QString raffica;
        for (int i = 0; i < 50; ++i)
            raffica += QStringLiteral("COMM31\u00D817/03/2012 15:30:%1\u00D8%2\u00D80,25\u00D81.234\u00D8")
                           .arg(i, 2, 10, QLatin1Char('0'))
                           .arg(i < 49 ? QStringLiteral("7,5") : prezzo);
        verso->write(codec1252::Codifica(raffica));
        QTRY_COMPARE(sessione->Tick_Mostrati(), quint64(50));
        QCOMPARE(mostrate.count(), 1);
        QCOMPARE(prova.op->Quotazioni()->Text_Last->text(), casella);
        const SerieGrafico *segmento = Segmento_Rosso(g3);
        QVERIFY(segmento);
        QCOMPARE(segmento->punti[1].y(), valore);
        // One redraw of the chart for the burst, as for a single quote.
        const int perBurst = g3.ridisegni() - ridisegni;
        QVERIFY(perBurst > 0);
        sessione->Azioni().Aggiorna_Caselle(true);
        QCOMPARE(g3.ridisegni() - ridisegni, 2 * perBurst);
    }

    void ridisegno_lascia_i_tasti_al_grafico()
    {
        FinestraProva prova({2});
        QVERIFY(prova.AvviaOffline());
        FormS1 &form = *prova.form;
        Stato &s = form.S();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        // A chart that every real-time tick redraws.
        int slot = 0;
        while (slot < 3 && s.cicli.Conf_Grafici[size_t(slot)].grado < tempo_reale::Primo_Grado_RT)
            ++slot;
        QVERIFY(s.cicli.Conf_Grafici[size_t(slot)].grado >= tempo_reale::Primo_Grado_RT);
        GraficoWidget *g = prova.op->Area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;

        // A line's first point placed: the chart holds the keyboard.
        auto *strumenti = prova.op->findChild<StrumentiFinestra *>(QStringLiteral("StrumentiFinestra"));
        QVERIFY(strumenti);
        strumenti->Strumenti().Cmd_Line_Click(0);
        const QPoint punto = RenderGrafico::InPixel(g->disposizione(), 1, 1, QPointF(3.5, 7)).toPoint();
        QTest::mouseMove(g, punto);
        QTest::mouseClick(g, Qt::LeftButton, {}, punto);
        QVERIFY(s.disegno.Primo_Punto_Attivo);
        QVERIFY(g->hasFocus());

        s.archivio.Grafico_RT = 1;
        s.shell.Modalita = QStringLiteral("ONLINE");
        const int ridisegni = g->ridisegni();
        s.mercato.Text_Last = QStringLiteral("12345,5");
        s.mercato.Ultimo_Prezzo = 12345.5;
        prova.sessione->Azioni().Aggiorna_Caselle(true);
        QVERIFY(g->ridisegni() > ridisegni);
        QVERIFY(g->isVisible());
        QVERIFY(g->hasFocus());

        // Esc, typed wherever the keyboard is, gives up the pending line.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!s.disegno.Primo_Punto_Attivo);
        QVERIFY(s.disegno.Modo_Disegno.isEmpty());
    }
};

QTEST_MAIN(GraficoTempoRealeFinestraTest)
#include "GraficoTempoRealeFinestraTest.moc"

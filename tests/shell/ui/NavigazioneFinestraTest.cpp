// The chart navigation in the working window after an OFFLINE start: moving a
// panel's cycle-position scroll bar by keyboard moves the cycle start, saves it
// and keeps a line on its bar; the layouts' own writes to the bars do nothing;
// the vertical bar's arrows, keys and wheel move its thumb the way they point.

#include "FinestraProva.h"
#include "Stato.h"
#include "archive/ParametriCicli.h"
#include "archive/TabSottostanti.h"
#include "platform/DataOra.h"
#include "platform/VbRuntime.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>
#include <memory>

namespace {

// The cycle start of degree `grado` as stored in the archive.
QPair<QString, QString> Inizio_Salvato(const Stato &s, int grado)
{
    StatoArchivio letto;
    archivio::Carica_Parametri(letto, s.shell.Formato_Data);
    const auto &tab = letto.Tab_Cicli[size_t(s.archivio.Sottostante_Corrente)];
    return {tab[17][size_t(grado + 1)], tab[18][size_t(grado + 1)]};
}

// Where the style puts a part of the bar (its thumb, its arrows).
QRect Parte(const QScrollBar *b, QStyle::SubControl parte)
{
    QStyleOptionSlider o;
    o.initFrom(b);
    o.subControls = QStyle::SC_All;
    o.orientation = b->orientation();
    o.minimum = b->minimum();
    o.maximum = b->maximum();
    o.sliderPosition = b->sliderPosition();
    o.sliderValue = b->value();
    o.singleStep = b->singleStep();
    o.pageStep = b->pageStep();
    o.upsideDown = b->invertedAppearance();
    return b->style()->subControlRect(QStyle::CC_ScrollBar, &o, parte, b);
}

}  // namespace

class NavigazioneFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> m_prova;

private slots:
    void cleanupTestCase() { m_prova.reset(); }

    void barra_verticale_nel_suo_verso_data()
    {
        QTest::addColumn<int>("tasto");  // 0: the arrow the row points to, -1: the wheel
        QTest::addColumn<int>("verso");  // +1 up, towards 100
        QTest::newRow("freccia in alto") << 0 << 1;
        QTest::newRow("freccia in basso") << 0 << -1;
        QTest::newRow("rotella in su") << -1 << 1;
        QTest::newRow("rotella in giù") << -1 << -1;
        QTest::newRow("tasto su") << int(Qt::Key_Up) << 1;
        QTest::newRow("tasto giù") << int(Qt::Key_Down) << -1;
        QTest::newRow("pagina su") << int(Qt::Key_PageUp) << 1;
        QTest::newRow("pagina giù") << int(Qt::Key_PageDown) << -1;
    }
    void barra_verticale_nel_suo_verso()
    {
        QFETCH(int, tasto);
        QFETCH(int, verso);
        if (!m_prova) {
            m_prova = std::make_unique<FinestraProva>(QList<int>{2});
            QVERIFY(m_prova->AvviaOffline());
        }
        Stato &s = m_prova->form->S();
        RiquadroGrafico *r = m_prova->op->Area()->Frm_Graf[1];
        QScrollBar *barra = r->Hsc_Graf_Y;
        QVERIFY(barra->isVisible());
        const size_t grado = size_t(s.cicli.Conf_Grafici[1].grado);
        r->Barra_Y().Imposta_Valore(50);
        QCOMPARE(s.cicli.Posizione_Asse_Y[grado], 50);
        const int prima = Parte(barra, QStyle::SC_ScrollBarSlider).top();

        if (tasto > 0) {
            QTest::keyClick(barra, Qt::Key(tasto));
        } else if (tasto == 0) {
            const auto freccia = verso > 0 ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
            QTest::mouseClick(barra, Qt::LeftButton, {}, Parte(barra, freccia).center());
        } else {
            Rotella(barra, 120 * verso);
        }
        // The setting follows the bar, and both move the way the control points.
        const int dopo = s.cicli.Posizione_Asse_Y[grado];
        QCOMPARE(dopo, r->Barra_Y().Valore());
        QVERIFY2((dopo - 50) * verso > 0, qPrintable(QString::number(dopo)));
        const int cursore = Parte(barra, QStyle::SC_ScrollBarSlider).top();
        QVERIFY2((prima - cursore) * verso > 0, qPrintable(QStringLiteral("%1 -> %2").arg(prima).arg(cursore)));
    }

    void scorrimento_sposta_inizio_ciclo()
    {
        FinestraProva prova({2});
        QVERIFY(prova.AvviaOffline());
        FormS1 &form = *prova.form;
        FinestraOperativa *op = prova.op;
        Stato &s = form.S();
        QVERIFY(!s.shell.Blocco_Grafici);

        // Slot 2 while slot 0 is current.
        const int slot = 2;
        s.cicli.Grafico_Corrente = 0;
        s.cicli.Grado_Corrente = s.cicli.Conf_Grafici[0].grado;
        const int d = s.cicli.Conf_Grafici[size_t(slot)].grado;
        QVERIFY(d != s.cicli.Grado_Corrente);
        QScrollBar *hsc = op->Area()->Frm_Graf[size_t(slot)]->Hsc_Graf;
        const int prima = s.cicli.Barre_Ciclo[size_t(d)];
        QCOMPARE(hsc->value(), prima);
        QVERIFY(prima > 20);
        const auto salvatoPrima = Inizio_Salvato(s, d);
        const QDate dataPrima = s.cicli.Data_Inizio_Ciclo[size_t(d)];
        const int oraPrima = s.cicli.Ora_Inizio_Ciclo[size_t(d)];

        // A line drawn before, ending 10 bars before the newest: history row 11.
        Linea &l = s.disegno.Linee[size_t(d)][1];
        l.in_uso = true;
        l.trovata = true;
        l.barra_inizio = prima - 30;
        l.prezzo_inizio = 100;
        l.barra_fine = prima - 10;
        l.prezzo_fine = 110;
        s.disegno.Barre_Ciclo_Oggetti[size_t(d)] = prima;

        // Five clicks on the bar's left arrow.
        QVERIFY(hsc->isVisible() && hsc->width() > 40);
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(hsc, Qt::LeftButton, {}, QPoint(3, hsc->height() / 2));

        QCOMPARE(hsc->value(), prima - 5);
        QCOMPARE(s.cicli.Grafico_Corrente, slot);
        QCOMPARE(s.cicli.Grado_Corrente, d);
        QCOMPARE(s.cicli.Barre_Ciclo[size_t(d)], prima - 5);
        const auto inizioDopo = std::make_pair(s.cicli.Data_Inizio_Ciclo[size_t(d)], s.cicli.Ora_Inizio_Ciclo[size_t(d)]);
        QVERIFY(inizioDopo > std::make_pair(dataPrima, oraPrima));
        // Same history rows as before: row = Barre_Ciclo + 1 - x.
        QCOMPARE(s.cicli.Barre_Ciclo[size_t(d)] + 1 - l.barra_fine, 11);
        QCOMPARE(s.cicli.Barre_Ciclo[size_t(d)] + 1 - l.barra_inizio, 31);

        const auto salvato = Inizio_Salvato(s, d);
        QVERIFY(salvato != salvatoPrima);
        QCOMPARE(salvato.first, dataora::ScriviData(inizioDopo.first, s.shell.Formato_Data));
        QCOMPARE(salvato.second, dataora::ScriviOra(inizioDopo.second, s.shell.Formato_Ora));

        // The vertical bar of another slot keeps slot 2 current.
        BarraScorrimento &y = op->Area()->Frm_Graf[0]->Barra_Y();
        const int g0 = s.cicli.Conf_Grafici[0].grado;
        y.Imposta_Valore(y.Valore() == 30 ? 31 : 30);
        QCOMPARE(s.cicli.Posizione_Asse_Y[size_t(g0)], y.Valore());
        QCOMPARE(s.cicli.Grafico_Corrente, slot);

        // The enlarged layout writes both sliders and resets the bars: no change follows.
        QVERIFY(prova.Ingrandisci(slot));
        QSlider *compr = op->Area()->Sld_Compr;
        QCOMPARE(compr->value(), s.cicli.Compressione[size_t(d)]);
        const int max = hsc->maximum();
        // One step of compression more: only the bar's range grows.
        compr->setFocus();
        QTest::keyClick(compr, compr->value() < compr->maximum() ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(s.cicli.Compressione[size_t(d)], compr->value());
        QCOMPARE(s.cicli.Scostamento_Ciclo[size_t(d)], compr->value() * s.cicli.Compressione_Grado[size_t(d)]);
        QVERIFY(hsc->maximum() != max);
        QCOMPARE(hsc->maximum(), vb::CIntChecked(s.cicli.Durata[size_t(d)] + s.cicli.Scostamento_Ciclo[size_t(d)]).value_or(-1));
    }
};

QTEST_MAIN(NavigazioneFinestraTest)
#include "NavigazioneFinestraTest.moc"

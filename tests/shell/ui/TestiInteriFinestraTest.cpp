// Every text of the real working window after an OFFLINE start is whole, measured
// with each control's own font: in both layouts, with the history and objects
// panels, both colour schemes, both regional formats and at the minimum size. The
// chart texts stay inside the chart, clear of one another.

#include "FinestraProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/PosizioneBarra.h"
#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "platform/Costanti.h"
#include "platform/DataOra.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QHeaderView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

namespace {

// Chart texts outside the part of the chart in sight, or over one another.
QStringList etichetteNonIntere(RiquadroGrafico *r)
{
    QStringList fuori;
    GraficoWidget *g = r->Graf_Battleplan;
    const QPoint origine = g->mapTo(r, QPoint(0, 0));
    const QRectF inVista = QRectF(QRect(origine, g->size()).intersected(r->Pic_Graf->geometry()));
    // The product mark lies faint under everything, by design.
    auto etichette = render_grafico::Etichette(*g, g->disposizione());
    std::erase_if(etichette, [](const auto &e) { return e.testo().contains(QLatin1String(costanti::Indirizzo_Web)); });
    // The panel's buttons, lamp and scroll bars lie over the chart.
    QList<QWidget *> sopra;
    for (QWidget *w : r->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->isVisible() && w != r->Pic_Graf && !w->isAncestorOf(g) && w != g)
            sopra << w;
    for (size_t i = 0; i < etichette.size(); ++i) {
        const QRectF a = etichette[i].rettangolo.translated(origine);
        if (!inVista.contains(a))
            fuori << etichette[i].testo() + QStringLiteral(" at ") + TestoRettangolo(a) + QStringLiteral(" out of ") +
                         TestoRettangolo(inVista);
        for (QWidget *w : sopra)
            if (a.intersects(QRectF(w->geometry())))
                fuori << etichette[i].testo() + QStringLiteral(" under ") + w->objectName();
        for (size_t j = i + 1; j < etichette.size(); ++j)
            if (a.intersects(etichette[j].rettangolo.translated(origine)))
                fuori << etichette[i].testo() + QStringLiteral(" over ") + etichette[j].testo();
    }
    return fuori;
}

}  // namespace

class TestiInteriFinestraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FinestraProva> m_prova;
    QLocale m_locale;

    Stato &stato() const { return m_prova->form->S(); }
    AreaGrafici *area() const { return m_prova->op->Area(); }

    // Fifteen objects of each kind on the degree, from the oldest bar into the future,
    // at the widest prices.
    void riempiOggetti(int grado)
    {
        const int b = stato().cicli.Barre_Ciclo[size_t(grado)];
        const int estensione = int(stato().cicli.Durata[size_t(grado)] + stato().cicli.Scostamento_Ciclo[size_t(grado)]);
        StatoDisegno &d = stato().disegno;
        for (int i = 1; i <= 15; ++i) {
            const int da = 1 + (b - 1) * (i - 1) / 15;
            const int a = std::max(da + 1, std::min(estensione - 1, b + i));
            const double prezzo = 15160.75 + i * 1111.11;
            d.Linee[size_t(grado)][size_t(i)] = Linea{true, true, da, prezzo, a, prezzo + 888.88, 30};
            d.Testi[size_t(grado)][size_t(i)] =
                Testo{true, true, a, prezzo, 33, QStringLiteral("Massimo del ciclo di lungo periodo %1").arg(i)};
            d.Distanze[size_t(grado)][size_t(i)] =
                Distanza{true, true, da, prezzo, a, prezzo + 5, 32, (da + a) / 2, prezzo, QStringLiteral("88g 23h")};
        }
    }

    // Both coordinate readouts over bars of the history and of the future.
    QStringList coordinateNonIntere(int slot)
    {
        QStringList fuori;
        const int grado = stato().cicli.Conf_Grafici[size_t(slot)].grado;
        stato().cicli.Mostra_Coordinate[size_t(grado)] = 1;
        GraficoWidget *g = area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;
        const int b = stato().cicli.Barre_Ciclo[size_t(grado)];
        const double fine = stato().cicli.Durata[size_t(grado)] + stato().cicli.Scostamento_Ciclo[size_t(grado)];
        const double y = 15;
        for (double x : {1.5, b / 2.0, b - 0.5, b + 1.5, fine - 1.5}) {
            const QPoint p = render_grafico::InPixel(g->disposizione(), 1, 1, QPointF(x, y)).toPoint();
            QTest::mouseMove(g, p + QPoint(2, 2));
            QTest::mouseMove(g, p);
            StrumentiFinestra *s = m_prova->op->Strumenti();
            for (QLineEdit *e : {area()->Text_Coord_Graf, s->Txt_Cord_Mob})
                if (e->isVisible())
                    if (const QString f = TestoNonIntero(e); !f.isEmpty())
                        fuori << f;
        }
        return fuori;
    }

private slots:
    void initTestCase()
    {
        m_locale = QLocale();
    }

    void cleanup()
    {
        m_prova.reset();
        QLocale::setDefault(m_locale);
    }

    void testiInteri_data()
    {
        QTest::addColumn<bool>("grande");
        QTest::addColumn<bool>("storico");
        QTest::addColumn<bool>("oggetti");
        QTest::addColumn<int>("aspetto");
        QTest::addColumn<bool>("ue");
        QTest::addColumn<bool>("minima");
        QTest::newRow("RIDOTTO scuro UE") << false << false << false << 0 << true << false;
        QTest::newRow("RIDOTTO chiaro US") << false << false << false << 1 << false << false;
        QTest::newRow("RIDOTTO storico chiaro UE") << false << true << false << 1 << true << false;
        QTest::newRow("RIDOTTO storico scuro US") << false << true << false << 0 << false << false;
        QTest::newRow("GRANDE chiaro UE") << true << false << false << 1 << true << false;
        QTest::newRow("GRANDE scuro US") << true << false << false << 0 << false << false;
        QTest::newRow("GRANDE storico scuro UE") << true << true << false << 0 << true << false;
        QTest::newRow("GRANDE storico chiaro US") << true << true << false << 1 << false << false;
        QTest::newRow("GRANDE oggetti scuro UE") << true << false << true << 0 << true << false;
        QTest::newRow("GRANDE oggetti chiaro US") << true << false << true << 1 << false << false;
        QTest::newRow("minima RIDOTTO storico US") << false << true << false << 0 << false << true;
        QTest::newRow("minima GRANDE UE") << true << false << false << 1 << true << true;
        QTest::newRow("minima GRANDE oggetti US") << true << false << true << 0 << false << true;
    }
    void testiInteri()
    {
        QFETCH(bool, grande);
        QFETCH(bool, storico);
        QFETCH(bool, oggetti);
        QFETCH(int, aspetto);
        QFETCH(bool, ue);
        QFETCH(bool, minima);
        QLocale::setDefault(ue ? QLocale(QLocale::Italian, QLocale::Italy)
                               : QLocale(QLocale::English, QLocale::UnitedStates));
        m_prova = std::make_unique<FinestraProva>(QList<int>{2});
        QVERIFY(m_prova->AvviaOffline());
        QCOMPARE(stato().shell.Formato_Locale, ue ? QStringLiteral("UE") : QStringLiteral("US"));
        FormS1 *form = m_prova->form.get();
        PannelloQuotazioni *q = m_prova->op->Quotazioni();
        if (minima) {
            QVERIFY(!form->minimumSize().isEmpty());
            form->resize(form->minimumSize());
        }
        QVERIFY(m_prova->Aspetto(aspetto));
        if (storico) {
            QTest::mouseClick(q->Cmd_Storico[1], Qt::LeftButton);
            QVERIFY(form->Frm_Storico->isVisible());
        }
        // An intraday slot: its texts carry times as well as dates.
        int slot = 0;
        for (int s = 3; s >= 0; --s) {
            const SlotGrafico &c = stato().cicli.Conf_Grafici[size_t(s)];
            if (c.in_uso == 1 && (slot == 0 || !posizione::GradoGiornaliero(c.grado)))
                slot = s;
        }
        const int grado = stato().cicli.Conf_Grafici[size_t(slot)].grado;
        if (grande)
            QVERIFY(m_prova->Ingrandisci(slot));
        QTRY_VERIFY(!m_prova->op->Ridisegno().Timer_Disegno.isActive());

        QStringList fuori = coordinateNonIntere(slot);
        for (RiquadroGrafico *r : area()->Frm_Graf)
            if (r->isVisible())
                fuori << etichetteNonIntere(r);
        if (oggetti) {
            riempiOggetti(grado);
            auto *pulsanti = area()->Frm_Strumenti->findChild<PulsantiStrumenti *>();
            QVERIFY(pulsanti);
            QTest::mouseClick(pulsanti->Cmd_Oggetti_Graf, Qt::LeftButton);
            PannelloOggetti *p = m_prova->op->Strumenti()->Frm_Ogg_Graf;
            QVERIFY(p->isVisible());
            // Every row and column in sight: the delete buttons lie over the rows.
            for (QTableWidget *t : {p->Msf_Linee, p->Msf_Testi, p->Msf_Dist})
                if (t->horizontalScrollBar()->isVisible() || t->verticalScrollBar()->isVisible())
                    fuori << t->objectName() + QStringLiteral(" scrolls %1x%2 in %3x%4").arg(t->horizontalHeader()->length()).arg(t->verticalHeader()->length()).arg(t->viewport()->width()).arg(t->viewport()->height());
        }
        fuori << TestiNonInteri(form);

        // The quote panel of an online session, with the widest values it is given.
        StatoMercato &m = stato().mercato;
        m.Text_Data_Ora = dataora::ScriviData(QDate(2026, 12, 28), stato().shell.Formato_Data) + QLatin1Char(' ') +
                          dataora::ScriviOra(22 * 60 + 7, stato().shell.Formato_Ora_Secondi, 58);
        m.Text_Last = ue ? QStringLiteral("15160,75") : QStringLiteral("15160.75");
        m.Text_Var = ue ? QStringLiteral("-10,25") : QStringLiteral("-10.25");
        m.Text_Volume = QStringLiteral("1234567");
        q->Frm_Dati_Sot_Off->hide();
        form->Frm_Dati_Sot->show();
        q->Aggiorna_Caselle();
        fuori << TestiNonInteri(form->Frm_Dati_Sot);
        SalvaImmagine(form, QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png"));
        for (const QString &f : fuori)
            qWarning().noquote() << f;
        QVERIFY2(fuori.isEmpty(), qPrintable(QStringLiteral("%1 texts not whole").arg(fuori.size())));
    }
};

QTEST_MAIN(TestiInteriFinestraTest)
#include "TestiInteriFinestraTest.moc"

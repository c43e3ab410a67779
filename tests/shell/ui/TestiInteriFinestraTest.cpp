// Every text of the real working window after an OFFLINE start is whole, measured
// with each control's own font: in both layouts, with the history and objects
// panels, both colour schemes, both regional formats and at the minimum size, and
// for each market with the widest prices its history holds. The chart texts stay
// inside the chart, clear of one another.

#include "FinestraProva.h"
#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/PosizioneBarra.h"
#include "drawing/Coordinate.h"
#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Codec1252.h"
#include "platform/Socket.h"
#include "platform/Costanti.h"
#include "platform/DataOra.h"
#include "platform/Schermo.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelloStorico.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QFontInfo>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
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
    double m_prezzo = 0;  // a little above the highest close of the market's history

    Stato &stato() const { return m_prova->form->S(); }
    AreaGrafici *area() const { return m_prova->op->Area(); }

    double prezzoMassimo() const
    {
        const StatoMercato &m = stato().mercato;
        double massimo = 0;
        for (const SerieStorico *serie : {&m.Storico_5M, &m.Storico_15M, &m.Storico_1H, &m.Storico_1D})
            for (const BarraStorico &b : serie->barre())
                massimo = std::max(massimo, b.chiusura);
        return massimo * 1.02;
    }

    // The bars of the history and of the future whose date and time read widest.
    std::array<int, 2> barrePiuLarghe(int grado) const
    {
        const StatoCicli &c = stato().cicli;
        const int b = c.Barre_Ciclo[size_t(grado)];
        const double fine = c.Durata[size_t(grado)] + c.Scostamento_Ciclo[size_t(grado)];
        const QFontMetrics fm(area()->Text_Coord_Graf->font());
        std::array<int, 2> barre{1, b + 1};
        int larghe[2] = {0, 0};
        for (int x = 1; x < fine; ++x) {
            const auto l = disegno::Leggi_Coordinate(stato().shell, stato().mercato, c, grado, x, m_prezzo);
            if (const int larga = l.testo ? fm.horizontalAdvance(*l.testo) : 0; larga > larghe[x > b]) {
                larghe[x > b] = larga;
                barre[size_t(x > b)] = x;
            }
        }
        return barre;
    }

    // The widest text a date, time and price cell can be given, in the cell's own
    // font: every date of the hundred two-digit years, every minute of the day in the
    // row's format, every close of the market's history and the highest price shown.
    struct PuntoLargo {
        QDate data;
        int minuti = 0;
        double prezzo = 0;
        QStringList testi;  // date, time, price
    };
    PuntoLargo puntoPiuLargo(const QFont &font) const
    {
        const StatoShell &sh = stato().shell;
        PuntoLargo p;
        double larghe[3] = {-1, -1, -1};
        p.testi = QStringList{QString(), QString(), QString()};
        const auto piuLargo = [&](int k, const QString &testo) {
            const double l = LarghezzaTesto(font, testo);
            if (l <= larghe[k])
                return false;
            larghe[k] = l;
            p.testi[k] = testo;
            return true;
        };
        for (QDate d(1947, 1, 1); d.year() <= 2046; d = d.addDays(1))
            if (piuLargo(0, dataora::ScriviData(d, sh.Formato_Data)))
                p.data = d;
        for (int m = 0; m < 24 * 60; ++m)
            if (piuLargo(1, dataora::ScriviOra(m, sh.Formato_Ora)))
                p.minuti = m;
        const StatoMercato &mk = stato().mercato;
        QList<double> prezzi{m_prezzo};
        for (const SerieStorico *serie : {&mk.Storico_5M, &mk.Storico_15M, &mk.Storico_1H, &mk.Storico_1D})
            for (const BarraStorico &b : serie->barre())
                prezzi << b.chiusura;
        for (double v : prezzi)
            if (piuLargo(2, disegno::TestoPrezzo(sh, mk, v)))
                p.prezzo = v;
        return p;
    }

    // Fifteen objects of each kind on the degree, from the oldest bar into the future
    // (the first from and to the bars of the widest readings), at the widest prices;
    // the last waits for its bars with the widest date, time and price any bar could
    // give, so a real cell of each column shows it.
    void riempiOggetti(int grado, const PuntoLargo &largo)
    {
        const int b = stato().cicli.Barre_Ciclo[size_t(grado)];
        const int estensione = int(stato().cicli.Durata[size_t(grado)] + stato().cicli.Scostamento_Ciclo[size_t(grado)]);
        const std::array<int, 2> larghe = barrePiuLarghe(grado);
        StatoDisegno &d = stato().disegno;
        for (int i = 1; i <= 14; ++i) {
            const int da = i == 1 ? larghe[0] : 1 + (b - 1) * (i - 1) / 15;
            const int a = i == 1 ? larghe[1] : std::max(da + 1, std::min(estensione - 1, b + i));
            const double prezzo = m_prezzo * (1 - i / 1000.0);
            d.Linee[size_t(grado)][size_t(i)] = Linea{true, true, da, prezzo, a, m_prezzo, 30};
            d.Testi[size_t(grado)][size_t(i)] =
                Testo{true, true, a, prezzo, 33, QStringLiteral("Massimo del ciclo di lungo periodo %1").arg(i)};
            d.Distanze[size_t(grado)][size_t(i)] =
                Distanza{true, true, da, prezzo, a, prezzo * 0.999, 32, (da + a) / 2, prezzo, QStringLiteral("88g 23h")};
        }
        const QStringList punto{dataora::ScriviDataCompatta(largo.data), dataora::ScriviOraCompatta(largo.minuti),
                                QString::number(largo.prezzo, 'f', 6)};
        const auto riga = [](const QStringList &valori) {
            RigaOggetto r;
            for (int c = 0; c < valori.size(); ++c)
                r[QStringLiteral("C%1").arg(c)] = valori[c];
            return r;
        };
        d.Linee[size_t(grado)][15] = Linea{};
        d.Testi[size_t(grado)][15] = Testo{};
        d.Distanze[size_t(grado)][15] = Distanza{};
        d.Linee_In_Attesa[size_t(grado)][15] = riga(QStringList{"1"} + punto + punto + QStringList{"30"});
        d.Testi_In_Attesa[size_t(grado)][15] = riga(QStringList{"1"} + punto + QStringList{"atteso", "33"});
        d.Distanze_In_Attesa[size_t(grado)][15] =
            riga(QStringList{"1"} + punto + punto + QStringList{"32"} + punto + QStringList{"1g"});
    }

    // Both coordinate readouts over bars of the history and of the future: at the
    // top of the plot (the highest price the chart shows) and at the market's widest.
    QStringList coordinateNonIntere(int slot)
    {
        QStringList fuori;
        const int grado = stato().cicli.Conf_Grafici[size_t(slot)].grado;
        stato().cicli.Mostra_Coordinate[size_t(grado)] = 1;
        GraficoWidget *g = area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;
        const int b = stato().cicli.Barre_Ciclo[size_t(grado)];
        const double fine = stato().cicli.Durata[size_t(grado)] + stato().cicli.Scostamento_Ciclo[size_t(grado)];
        const std::array<int, 2> larghe = barrePiuLarghe(grado);
        const int alto = int(std::ceil(g->disposizione().piano.top())) + 1;
        for (double x : {1.5, b / 2.0, b - 0.5, b + 1.5, fine - 1.5, larghe[0] + 0.5, larghe[1] + 0.5}) {
            const QPoint p(render_grafico::InPixel(g->disposizione(), 1, 1, QPointF(x, 0)).toPoint().x(), alto);
            QTest::mouseMove(g, p + QPoint(2, 2));
            QTest::mouseMove(g, p);
            // The same bar at the market's widest price, wherever the chart stands.
            const auto l = disegno::Leggi_Coordinate(stato().shell, stato().mercato, stato().cicli, grado, x, m_prezzo);
            for (QLineEdit *e : {area()->Text_Coord_Graf, m_prova->op->Strumenti()->Txt_Cord_Mob}) {
                if (!e->isVisible())
                    continue;
                fuori << TestoNonIntero(e);
                if (l.testo) {
                    e->setText(*l.testo);
                    e->home(false);
                    fuori << TestoNonIntero(e);
                }
            }
        }
        fuori.removeAll(QString());
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
        QTest::addColumn<int>("sottostante");
        QTest::newRow("RIDOTTO scuro UE") << false << false << false << 0 << true << false << 2;
        QTest::newRow("RIDOTTO chiaro US") << false << false << false << 1 << false << false << 2;
        QTest::newRow("RIDOTTO storico chiaro UE") << false << true << false << 1 << true << false << 2;
        QTest::newRow("RIDOTTO storico scuro US") << false << true << false << 0 << false << false << 2;
        QTest::newRow("GRANDE chiaro UE") << true << false << false << 1 << true << false << 2;
        QTest::newRow("GRANDE scuro US") << true << false << false << 0 << false << false << 2;
        QTest::newRow("GRANDE storico scuro UE") << true << true << false << 0 << true << false << 2;
        QTest::newRow("GRANDE storico chiaro US") << true << true << false << 1 << false << false << 2;
        QTest::newRow("GRANDE oggetti scuro UE") << true << false << true << 0 << true << false << 2;
        QTest::newRow("GRANDE oggetti chiaro US") << true << false << true << 1 << false << false << 2;
        QTest::newRow("minima RIDOTTO storico US") << false << true << false << 0 << false << true << 2;
        QTest::newRow("minima GRANDE UE") << true << false << false << 1 << true << true << 2;
        QTest::newRow("minima GRANDE oggetti US") << true << false << true << 0 << false << true << 2;
        // Each market's price format, with the widest prices of its history.
        const char *mercati[] = {"FtseMib", "Dax", "Eurostoxx", "Bund", "Mini S&P", "Mini Nasdaq", "Euro FX"};
        for (int u = 1; u <= 7; ++u)
            for (bool ue : {true, false})
                QTest::addRow("%s %s", mercati[u - 1], ue ? "UE" : "US")
                    << true << true << true << (u + int(ue)) % 2 << ue << false << u;
    }
    void testiInteri()
    {
        QFETCH(bool, grande);
        QFETCH(bool, storico);
        QFETCH(bool, oggetti);
        QFETCH(int, aspetto);
        QFETCH(bool, ue);
        QFETCH(bool, minima);
        QFETCH(int, sottostante);
        QLocale::setDefault(ue ? QLocale(QLocale::Italian, QLocale::Italy)
                               : QLocale(QLocale::English, QLocale::UnitedStates));
        m_prova = std::make_unique<FinestraProva>(QList<int>{sottostante});
        QVERIFY(m_prova->AvviaOffline());
        QCOMPARE(stato().shell.Formato_Locale, ue ? QStringLiteral("UE") : QStringLiteral("US"));
        QCOMPARE(stato().archivio.Sottostante_Corrente, sottostante);
        m_prezzo = prezzoMassimo();
        FormS1 *form = m_prova->form.get();
        // The program's own face, whatever the machine's fontconfig offers.
        for (const QFont &f : {form->font(), render_grafico::FontDaTesto(QStringLiteral("Font=Arial|8|bold|")),
                               QFont(QStringLiteral("Arial"))})
            QCOMPARE(QFontInfo(f).family(), schermo::Famiglia_Testi());
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
            PannelloOggetti *p = m_prova->op->Strumenti()->Frm_Ogg_Graf;
            const PuntoLargo largo = puntoPiuLargo(FontCella(p->Msf_Linee, p->Msf_Linee->model()->index(1, 3)));
            riempiOggetti(grado, largo);
            auto *pulsanti = area()->Frm_Strumenti->findChild<PulsantiStrumenti *>();
            QVERIFY(pulsanti);
            QTest::mouseClick(pulsanti->Cmd_Oggetti_Graf, Qt::LeftButton);
            QVERIFY(p->isVisible());
            // The waiting row shows the widest date, time and price in real cells, which
            // TestiNonInteri measures.
            QCOMPARE(p->Msf_Linee->item(15, 7)->text() + p->Msf_Dist->item(15, 4)->text() +
                         p->Msf_Testi->item(15, 5)->text(),
                     largo.testi.join(QString()));
            // Every row and column in sight: the delete buttons lie over the rows.
            for (QTableWidget *t : {p->Msf_Linee, p->Msf_Testi, p->Msf_Dist})
                if (t->horizontalScrollBar()->isVisible() || t->verticalScrollBar()->isVisible())
                    fuori << t->objectName() + QStringLiteral(" scrolls %1x%2 in %3x%4").arg(t->horizontalHeader()->length()).arg(t->verticalHeader()->length()).arg(t->viewport()->width()).arg(t->viewport()->height());
        }
        fuori << TestiNonInteri(form);
        if (storico) {
            // Every timeframe's grid, as its tab shows it.
            QTabWidget *schede = m_prova->op->Storico()->TabPage;
            const int mostrata = schede->currentIndex();
            for (int t = 0; t < 4; ++t)
                if (t != mostrata) {
                    schede->setCurrentIndex(t);
                    fuori << TestiNonInteri(form->Frm_Storico);
                }
        }

        // The quote panel of an online session, given the widest quote by the server.
        q->Frm_Dati_Sot_Off->hide();
        form->Frm_Dati_Sot->show();
        SessioneQuotazioni *sessione = m_prova->sessione;
        const QString prezzo = QString::number(m_prezzo, 'f', 4).replace(QLatin1Char('.'), QLatin1Char(','));
        emit sessione->socket().DataArrival(codec1252::Codifica(
            QStringLiteral("COMM31\u00D828/12/2026 22:07:58\u00D8%1\u00D8-10,25\u00D81234567\u00D8").arg(prezzo)));
        QTRY_VERIFY(sessione->Tick_Ricevuti() == 1 && sessione->Tick_Mostrati() == 1);
        sessione->Ferma_Watchdog();
        QVERIFY(q->Text_Var->text().startsWith(QLatin1Char('-')));
        fuori << TestiNonInteri(form->Frm_Dati_Sot);
        SalvaImmagine(form, QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png"));
        for (const QString &f : fuori)
            qWarning().noquote() << f;
        QVERIFY2(fuori.isEmpty(), qPrintable(QStringLiteral("%1 texts not whole").arg(fuori.size())));
    }
};

QTEST_MAIN(TestiInteriFinestraTest)
#include "TestiInteriFinestraTest.moc"

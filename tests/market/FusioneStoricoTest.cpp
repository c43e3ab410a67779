#include "Stato.h"
#include "cycle/ModelloCiclo.h"
#include "market/FusioneStorico.h"
#include "market/StoricoLocale.h"
#include "platform/DataOra.h"

#include "CartellaTemporanea.h"
#include "Confronto.h"

#include <QtTest>
#include <limits>

using namespace fusione;

namespace {

// Fills timeframe k with consecutive bars, the newest at `ultimo`.
void Riempi(StatoMercato &m, int k, const QDateTime &ultimo)
{
    SerieStorico &h = Serie(m, k);
    const int passo[5] = {0, 5, 15, 60, 0};
    for (int r = 1; r <= h.capacita(); ++r) {
        BarraStorico &b = h.barra(r);
        if (k == 4) {
            b.data = ultimo.date().addDays(-(r - 1));
            b.minuti = 0;
        } else {
            const QDateTime t = ultimo.addSecs(-qint64(r - 1) * 60 * passo[k]);
            b.data = t.date();
            b.minuti = t.time().hour() * 60 + t.time().minute();
        }
        b.chiusura = 100.0 + r;
        b.volume = r;
    }
}

void Server(StatoMercato &m, int k, int barra, const QString &data, const QString &ora, const QString &chiusura,
            const QString &volume)
{
    m.Tab_Server[size_t(k)][size_t(barra)] = {QString(), data, ora, chiusura, volume};
}

const QDate Oggi(2025, 12, 5);
const int Anno = 2026;  // today's year, for the two-digit year window

}  // namespace

class FusioneStoricoTest : public QObject {
    Q_OBJECT

    Stato s;

    void Prepara()
    {
        s = Stato{};
        for (int k = 1; k <= 4; ++k)
            Riempi(s.mercato, k, QDateTime(Oggi, QTime(17, 0)));
    }

private slots:
    void init() { Prepara(); }

    void senza_richiesta_non_cambia_nulla()
    {
        Server(s.mercato, 2, 1, QStringLiteral("05/12/25"), QStringLiteral("17:15"), QStringLiteral("1"),
               QStringLiteral("1"));
        const SerieStorico prima = s.mercato.Storico_15M;
        QVERIFY(!Aggiorna_Ultime_Barre_Storico(s.mercato).Eseguita);
        QVERIFY(s.mercato.Storico_15M.barre() == prima.barre());
    }

    // Server bars 1 (newer) and 2 against the newest stored 15-minute bar at 17:00.
    void ultime_barre_data()
    {
        QTest::addColumn<QString>("data1");
        QTest::addColumn<QString>("ora1");
        QTest::addColumn<QString>("data2");
        QTest::addColumn<QString>("ora2");
        QTest::addColumn<QString>("volume1");
        QTest::addColumn<int>("azione");
        QTest::addColumn<int>("spostamento");
        QTest::newRow("stessa barra") << "05/12/25" << "17:00" << "05/12/25" << "16:45" << "20" << int(Azione::Aggiorna) << 0;
        QTest::newRow("una nuova") << "05/12/25" << "17:15" << "05/12/25" << "17:00" << "20" << int(Azione::Sposta1) << 1;
        QTest::newRow("due nuove") << "05/12/25" << "17:30" << "05/12/25" << "17:15" << "20" << int(Azione::Sposta2) << 2;
        // The same time of day on the next day is a new bar, not the stored one.
        QTest::newRow("stessa ora altro giorno")
            << "06/12/25" << "17:00" << "06/12/25" << "16:45" << "20" << int(Azione::Sposta2) << 2;
        QTest::newRow("server indietro") << "05/12/25" << "16:45" << "05/12/25" << "16:30" << "20" << int(Azione::Nessuna) << 0;
        QTest::newRow("ora non valida") << "05/12/25" << "25:00" << "05/12/25" << "17:00" << "20" << int(Azione::Nessuna) << 0;
        QTest::newRow("data non valida") << "31/02/25" << "17:15" << "05/12/25" << "17:00" << "20" << int(Azione::Nessuna) << 0;
        QTest::newRow("dopo il 2029") << "05/12/31" << "17:15" << "05/12/31" << "17:00" << "20" << int(Azione::Sposta2) << 2;
        // Bars the history file could not hold would stop every later save.
        QTest::newRow("volume oltre il file")
            << "05/12/25" << "17:15" << "05/12/25" << "17:00" << "10.000.000.000.000.000" << int(Azione::Nessuna) << 0;
        QTest::newRow("anno fuori finestra")
            << "05/12/2100" << "17:15" << "05/12/25" << "17:00" << "20" << int(Azione::Nessuna) << 0;
    }
    void ultime_barre()
    {
        QFETCH(QString, data1);
        QFETCH(QString, ora1);
        QFETCH(QString, data2);
        QFETCH(QString, ora2);
        QFETCH(QString, volume1);
        QFETCH(int, azione);
        QFETCH(int, spostamento);
        Server(s.mercato, 2, 1, data1, ora1, QStringLiteral("20.150,5"), volume1);
        Server(s.mercato, 2, 2, data2, ora2, QStringLiteral("98,5"), QStringLiteral("12,7"));
        const SerieStorico prima = s.mercato.Storico_15M;
        s.mercato.Aggiorna_Storico = true;
        const auto esito = Aggiorna_Ultime_Barre_Storico(s.mercato, Anno);
        QVERIFY(!s.mercato.Aggiorna_Storico);
        QCOMPARE(int(esito.Azioni[2]), azione);
        const SerieStorico &h = s.mercato.Storico_15M;
        QCOMPARE(h.capacita(), 5000);
        if (Azione(azione) == Azione::Nessuna) {
            QVERIFY(h.barre() == prima.barre());
            return;
        }
        // Row 1 is the server's newer bar, read the server's way.
        QCOMPARE(h.barra(1).data, *dataora::LeggiData(data1, QStringLiteral("DD/MM/YY"), Anno));
        QCOMPARE(h.barra(1).chiusura, 20150.5);
        QCOMPARE(h.barra(1).volume, 20.0);
        if (spostamento > 0) {
            QCOMPARE(h.barra(2).chiusura, 98.5);
            QCOMPARE(h.barra(2).volume, 12.7);  // not rounded here
        } else {
            QCOMPARE(h.barra(2), prima.barra(2));
        }
        for (int r = 3; r <= 5000; r += 997)
            QCOMPARE(h.barra(r), prima.barra(r - spostamento));
        QCOMPARE(h.barra(5000), prima.barra(5000 - spostamento));
    }

    void giornaliero_decide_per_data_e_serie_indipendenti()
    {
        // Daily: newer server bar the day after the stored one, older equal to it.
        Server(s.mercato, 4, 1, QStringLiteral("06/12/25"), QStringLiteral("xx"), QStringLiteral("1"),
               QStringLiteral("1"));
        Server(s.mercato, 4, 2, QStringLiteral("05/12/2025"), QStringLiteral("0:00"), QStringLiteral("2"),
               QStringLiteral("2"));
        // 1H server time not valid: that series alone stays as it was.
        Server(s.mercato, 3, 1, QStringLiteral("05/12/25"), QStringLiteral("18.00"), QStringLiteral("1"),
               QStringLiteral("1"));
        Server(s.mercato, 3, 2, QStringLiteral("05/12/25"), QStringLiteral("ab"), QStringLiteral("1"),
               QStringLiteral("1"));
        // 5M: the newest stored bar is the server's older one.
        Server(s.mercato, 1, 1, QStringLiteral("05/12/25"), QStringLiteral("17:05"), QStringLiteral("7"),
               QStringLiteral("1"));
        Server(s.mercato, 1, 2, QStringLiteral("05/12/25"), QStringLiteral("17:00"), QStringLiteral("6"),
               QStringLiteral("1"));
        const SerieStorico ora = s.mercato.Storico_1H;
        const SerieStorico giorno = s.mercato.Storico_1D;
        s.shell.Formato_Locale = QStringLiteral("US");
        s.mercato.Aggiorna_Storico = true;
        const auto esito = Aggiorna_Ultime_Barre_Storico(s.mercato);
        QCOMPARE(esito.Azioni[4], Azione::Sposta1);
        QCOMPARE(s.mercato.Storico_1D.barra(1).data, QDate(2025, 12, 6));
        QCOMPARE(s.mercato.Storico_1D.barra(3), giorno.barra(2));
        QCOMPARE(esito.Azioni[3], Azione::Nessuna);
        QVERIFY(s.mercato.Storico_1H.barre() == ora.barre());
        QCOMPARE(esito.Azioni[1], Azione::Sposta1);
        QCOMPARE(s.mercato.Storico_5M.barra(1).minuti, 17 * 60 + 5);
        // The date is day/month whatever the client's convention.
        QCOMPARE(s.mercato.Storico_5M.barra(1).data, QDate(2025, 12, 5));
        // A second call without a new request changes nothing.
        QVERIFY(!Aggiorna_Ultime_Barre_Storico(s.mercato).Eseguita);
    }

    void numeri_del_server_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<double>("valore");
        QTest::addColumn<bool>("valido");
        QTest::newRow("decimale con virgola") << "98,5" << 98.5 << true;
        QTest::newRow("migliaia con punto") << "20.150,5" << 20150.5 << true;
        QTest::newRow("intero") << "20" << 20.0 << true;
        QTest::newRow("vuoto") << "" << 0.0 << false;
        QTest::newRow("lettere") << "abc" << 0.0 << false;
    }
    void numeri_del_server()
    {
        QFETCH(QString, testo);
        QFETCH(double, valore);
        QFETCH(bool, valido);
        const auto v = NumeroServer(testo);
        QCOMPARE(v.has_value(), valido);
        if (valido)
            QCOMPARE(*v, valore);
    }

    // Which timeframes a real-time update reaches at each quote time; the session ends at 17:30.
    void fusione_rt_per_orario_data()
    {
        QTest::addColumn<QTime>("quotazione");
        QTest::addColumn<QString>("dovuti");
        QTest::newRow("10:07") << QTime(10, 7, 30) << "1";
        QTest::newRow("10:16") << QTime(10, 16) << "12";
        QTest::newRow("11:02") << QTime(11, 2) << "123";
        QTest::newRow("17:30") << QTime(17, 30) << "124";
        QTest::newRow("17:34") << QTime(17, 34, 59) << "124";
        QTest::newRow("17:35") << QTime(17, 35) << "1";
        QTest::newRow("00:00") << QTime(0, 0, 1) << "123";
        QTest::newRow("00:17") << QTime(0, 17) << "12";
    }
    void fusione_rt_per_orario()
    {
        QFETCH(QTime, quotazione);
        QFETCH(QString, dovuti);
        for (int k = 1; k <= 4; ++k) {
            s.mercato.Agg_Barra[size_t(k)] = {QStringLiteral("06/12/2025 ") + quotazione.toString(QStringLiteral("hh:mm")),
                                              500.0 + k, 7.0};
        }
        s.mercato.Fine_Sessione = QTime(17, 30);
        const auto esito = Fondi_Barre_RT(s.mercato, QDateTime(Oggi.addDays(1), quotazione), s.mercato.Fine_Sessione);
        QVERIFY(esito.Eseguita);
        for (int k = 1; k <= 4; ++k) {
            const bool atteso = dovuti.contains(QString::number(k));
            QCOMPARE(esito.Aggiornata[size_t(k)], atteso);
            QCOMPARE(esito.Nuova[size_t(k)], atteso);
            QCOMPARE(Serie(s.mercato, k).barra(1).chiusura == 500.0 + k, atteso);
        }
    }

    // Bars that end at midnight reach the client with a quote of the new day: each is
    // dated by its own time of day against its quote's, never after the quote.
    void fusione_rt_dopo_mezzanotte_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QDateTime>("ultima");  // newest stored bar
        QTest::addColumn<QDateTime>("quotazione");
        QTest::addColumn<QDateTime>("barra");  // what the update carries
        QTest::addColumn<QDate>("data");       // the date row 1 gets
        QTest::addColumn<bool>("nuova");
        const QDate ieri = Oggi, oggi = Oggi.addDays(1);
        const auto t = [](const QDate &d, int h, int m, int s = 0) { return QDateTime(d, QTime(h, m, s)); };
        QTest::newRow("5M 23:55 alle 00:00") << 1 << t(ieri, 23, 50) << t(oggi, 0, 0, 1) << t(ieri, 23, 55) << ieri << true;
        QTest::newRow("15M 23:45 alle 00:02") << 2 << t(ieri, 23, 30) << t(oggi, 0, 2, 10) << t(ieri, 23, 45) << ieri << true;
        QTest::newRow("1H 23:00 ancora in corso alle 00:03")
            << 3 << t(ieri, 23, 0) << t(oggi, 0, 3) << t(ieri, 23, 0) << ieri << false;
        QTest::newRow("15M 00:00 dopo la 23:45") << 2 << t(ieri, 23, 45) << t(oggi, 0, 15, 5) << t(oggi, 0, 0) << oggi << true;
        QTest::newRow("1H 00:00 dopo la 23:00") << 3 << t(ieri, 23, 0) << t(oggi, 1, 0, 2) << t(oggi, 0, 0) << oggi << true;
        QTest::newRow("5M all'ora della quotazione")
            << 1 << t(oggi, 10, 10) << t(oggi, 10, 15) << t(oggi, 10, 15) << oggi << true;
        // The daily bar's time says nothing of its day: the quote's date it is.
        QTest::newRow("1D con ora dopo la quotazione")
            << 4 << t(ieri, 0, 0) << t(oggi, 17, 30, 20) << t(oggi, 23, 59) << oggi << true;
    }
    void fusione_rt_dopo_mezzanotte()
    {
        QFETCH(int, k);
        QFETCH(QDateTime, ultima);
        QFETCH(QDateTime, quotazione);
        QFETCH(QDateTime, barra);
        QFETCH(QDate, data);
        QFETCH(bool, nuova);
        Riempi(s.mercato, k, ultima);
        const SerieStorico prima = Serie(s.mercato, k);
        s.mercato.Agg_Barra[size_t(k)] = {barra.toString(QStringLiteral("dd/MM/yyyy hh:mm")), 321.0, 4.0};
        const auto esito = Fondi_Barre_RT(s.mercato, quotazione, QTime(17, 30), Anno);
        QVERIFY(esito.Aggiornata[size_t(k)]);
        QCOMPARE(esito.Nuova[size_t(k)], nuova);
        const SerieStorico &h = Serie(s.mercato, k);
        QCOMPARE(h.barra(1).data, data);
        QCOMPARE(h.barra(1).minuti, barra.time().hour() * 60 + barra.time().minute());
        QCOMPARE(h.barra(1).chiusura, 321.0);
        QCOMPARE(h.barra(2), prima.barra(nuova ? 1 : 2));
    }

    void fusione_rt_stessa_barra_nuova_barra_e_vecchia()
    {
        s.mercato.Fine_Sessione = QTime(17, 30);
        const SerieStorico prima = s.mercato.Storico_5M;
        auto &b = s.mercato.Agg_Barra[1];
        // Same date and time as the newest stored bar: row 1 rewritten only.
        b = {QStringLiteral("05/12/2025 17:00"), 777.0, 3.0};
        auto esito = Fondi_Barre_RT(s.mercato, QDateTime(Oggi, QTime(17, 3, 10)), s.mercato.Fine_Sessione);
        QVERIFY(esito.Aggiornata[1] && !esito.Nuova[1]);
        QCOMPARE(s.mercato.Storico_5M.barra(1).chiusura, 777.0);
        QCOMPARE(s.mercato.Storico_5M.barra(2), prima.barra(2));
        // The same time of day on the next day is a new bar.
        b = {QStringLiteral("06/12/2025 17:00"), 778.0, 3.0};
        esito = Fondi_Barre_RT(s.mercato, QDateTime(Oggi.addDays(1), QTime(17, 1)), s.mercato.Fine_Sessione);
        QVERIFY(esito.Nuova[1]);
        QCOMPARE(s.mercato.Storico_5M.barra(1).data, Oggi.addDays(1));
        QCOMPARE(s.mercato.Storico_5M.barra(2).chiusura, 777.0);
        QCOMPARE(s.mercato.Storico_5M.barra(1500), prima.barra(1499));
        // An update older than the newest stored bar changes nothing.
        const SerieStorico dopo = s.mercato.Storico_5M;
        b = {QStringLiteral("05/12/2025 16:55"), 1.0, 1.0};
        esito = Fondi_Barre_RT(s.mercato, QDateTime(Oggi, QTime(16, 56)), s.mercato.Fine_Sessione);
        QVERIFY(!esito.Aggiornata[1]);
        QVERIFY(s.mercato.Storico_5M.barre() == dopo.barre());
        // No quote yet: nothing at all.
        QVERIFY(!Fondi_Barre_RT(s.mercato, QDateTime(), s.mercato.Fine_Sessione).Eseguita);
        // A bar time that does not read leaves the series alone.
        b = {QStringLiteral("06/12/2025"), 1.0, 1.0};
        esito = Fondi_Barre_RT(s.mercato, QDateTime(Oggi.addDays(1), QTime(17, 6)), s.mercato.Fine_Sessione);
        QVERIFY(!esito.Aggiornata[1]);
    }

    // A real-time bar the history file cannot hold is ignored: nothing changes and
    // the series can still be saved at every later merge.
    void fusione_rt_solo_barre_registrabili_data()
    {
        QTest::addColumn<QDate>("giorno");
        QTest::addColumn<double>("chiusura");
        QTest::addColumn<double>("volume");
        QTest::addColumn<bool>("accettata");
        const double infinito = std::numeric_limits<double>::infinity();
        QTest::newRow("ordinaria") << Oggi.addDays(1) << 500.5 << 7.0 << true;
        QTest::newRow("dopo il 2029") << QDate(2031, 3, 4) << 500.5 << 7.0 << true;
        QTest::newRow("volume oltre il file") << Oggi.addDays(1) << 500.5 << 1e16 << false;
        QTest::newRow("volume negativo oltre il file") << Oggi.addDays(1) << 500.5 << -1e16 << false;
        QTest::newRow("chiusura infinita") << Oggi.addDays(1) << infinito << 7.0 << false;
        QTest::newRow("volume non numerico") << Oggi.addDays(1) << 500.5 << std::nan("") << false;
        QTest::newRow("anno fuori finestra") << QDate(2100, 3, 4) << 500.5 << 7.0 << false;
    }
    void fusione_rt_solo_barre_registrabili()
    {
        QFETCH(QDate, giorno);
        QFETCH(double, chiusura);
        QFETCH(double, volume);
        QFETCH(bool, accettata);
        CartellaTemporanea cartella;
        storico::Inizializza_Tabella_Chiave(s.mercato);
        const SerieStorico prima = s.mercato.Storico_5M;
        for (int volta = 1; volta <= 2; ++volta) {
            s.mercato.Agg_Barra[1] = {giorno.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 17:05"), chiusura,
                                      volume};
            const auto esito = Fondi_Barre_RT(s.mercato, QDateTime(giorno, QTime(17, 6)), QTime(17, 30), Anno);
            QCOMPARE(esito.Aggiornata[1], accettata);
            if (accettata)
                QCOMPARE(s.mercato.Storico_5M.barra(1).data, giorno);
            else
                QVERIFY(s.mercato.Storico_5M.barre() == prima.barre());
            const storico::Esito salvato = storico::Salva_Storico(s.mercato, 2, QStringLiteral("5M"), Anno);
            QVERIFY2(salvato.ok, qPrintable(salvato.errore));
        }
    }

    void posizioni_di_ciclo()
    {
        for (int d = 0; d <= 12; ++d) {
            s.cicli.Durata[size_t(d)] = 100;
            s.cicli.Scostamento_Ciclo[size_t(d)] = 0;
            s.cicli.Barre_Ciclo[size_t(d)] = 50;
        }
        s.cicli.Barre_Ciclo[7] = 100;  // at its bound
        EsitoFusioneRT e;
        e.Nuova[2] = true;  // a new 15-minute bar only
        ciclo::Avanza_Barre_Ciclo(s.cicli, e);
        for (int d = 0; d <= 12; ++d) {
            const int atteso = d == 7 ? 100 : (d >= 6 && d <= 9 ? 51 : 50);
            QCOMPARE(s.cicli.Barre_Ciclo[size_t(d)], atteso);
        }
    }
};

QTEST_GUILESS_MAIN(FusioneStoricoTest)
#include "FusioneStoricoTest.moc"

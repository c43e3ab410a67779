#include "Stato.h"
#include "market/ScaricoStorico.h"

#include "CartellaTemporanea.h"
#include "DatabaseProva.h"

#include <QtTest>

namespace {

const QDateTime Ultimo(QDate(2025, 12, 5), QTime(17, 25));

using Ritocco = std::function<void(int, int, QString &, QString &, QString &, QString &)>;

}  // namespace

class ScaricoStoricoTest : public QObject {
    Q_OBJECT

    CartellaTemporanea cartella;

    // Database of underlying 2 rewritten, then downloaded over ODBC.
    scarico::TabelleScaricate Scarica(std::array<int, 4> mancanti = {}, const Ritocco &ritocco = {})
    {
        const QString percorso = cartella.percorso() + QStringLiteral("/WaveloreDax.db");
        const bool ok = ritocco ? prova::ScriviDatabase(percorso, Ultimo, mancanti, ritocco)
                                : prova::ScriviDatabase(percorso, Ultimo, mancanti);
        if (!ok)
            qWarning("fixture not written");
        return scarico::Scarica_Storico_Dal_Server(
            QString(prova::StringaOdbc(cartella.percorso())).replace(QStringLiteral("{db}"), QStringLiteral("WaveloreDax")));
    }

private slots:
    void stringa_di_connessione()
    {
        qunsetenv("WAVELORE_HISTORY_ODBC");
        QCOMPARE(scarico::NomeDatabase(5), QStringLiteral("WaveloreEMIniSP500"));
        QCOMPARE(scarico::NomeDatabase(8), QString());
        const QString s = scarico::StringaConnessione(QStringLiteral("10.0.0.9"), 5);
        QVERIFY(s.contains(QStringLiteral("DRIVER={FreeTDS};SERVER=10.0.0.9;PORT=49156;DATABASE=WaveloreEMIniSP500;")));
        QVERIFY(s.contains(QStringLiteral("UID=WaveloreClient;PWD=73159246;")));
        qputenv("WAVELORE_HISTORY_ODBC", "DRIVER={SQLite3};Database=/x/{db}.db;");
        QCOMPARE(scarico::StringaConnessione(QStringLiteral("h"), 7), QStringLiteral("DRIVER={SQLite3};Database=/x/WaveloreEuroFX.db;"));
        qunsetenv("WAVELORE_HISTORY_ODBC");
    }

    void scarico_e_copia_completi()
    {
        int passi = 0;
        const auto t = Scarica();
        QVERIFY2(t.Errore.isEmpty(), qPrintable(t.Errore));
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(int(t.Righe[size_t(k)].size()), prova::BarreProva[size_t(k - 1)]);
        Stato s;
        QString problema;
        QVERIFY2(scarico::Carica_Storico_Da_Server(s.mercato, t, &problema), qPrintable(problema));
        QCOMPARE(s.mercato.Storico_5M.barra(1).data, QDate(2025, 12, 5));
        QCOMPARE(s.mercato.Storico_5M.barra(1).minuti, 17 * 60 + 25);
        QCOMPARE(s.mercato.Storico_5M.barra(2).minuti, 17 * 60 + 20);
        QCOMPARE(s.mercato.Storico_1H.barra(3).minuti, 15 * 60 + 25);
        QCOMPARE(s.mercato.Storico_1D.barra(3000).data, QDate(2025, 12, 5).addDays(-2999));
        QCOMPARE(s.mercato.Storico_15M.barra(1).chiusura, 1100.25);
        Q_UNUSED(passi);
    }

    // Before each table: a short pause, then its loading step, in table order;
    // while reconnecting, a database that will not open is tried again after a wait.
    void pause_e_passi_per_tabella_data()
    {
        QTest::addColumn<bool>("presente");
        QTest::addColumn<bool>("riprova");
        QTest::addColumn<QStringList>("prima");  // before the four tables' pauses and steps
        QTest::newRow("database") << true << false << QStringList();
        QTest::newRow("database in riconnessione") << true << true << QStringList();
        QTest::newRow("database mancante") << false << false << QStringList();
        QTest::newRow("database mancante in riconnessione") << false << true << QStringList{QStringLiteral("pausa 3")};
    }
    void pause_e_passi_per_tabella()
    {
        QFETCH(bool, presente);
        QFETCH(bool, riprova);
        QFETCH(QStringList, prima);
        QVERIFY(prova::ScriviDatabase(cartella.percorso() + QStringLiteral("/WaveloreDax.db"), Ultimo));
        struct : scarico::AmbienteScarico {
            QStringList eventi;
            void Pausa(double s) override { eventi << QStringLiteral("pausa %1").arg(s); }
            void Avanzamento(int passo) override { eventi << QStringLiteral("passo %1").arg(passo); }
        } ambiente;
        const auto t = scarico::Scarica_Storico_Dal_Server(
            QString(prova::StringaOdbc(cartella.percorso()))
                .replace(QStringLiteral("{db}"), presente ? QStringLiteral("WaveloreDax") : QStringLiteral("manca/nulla")),
            ambiente, riprova);
        QCOMPARE(t.Errore.isEmpty(), presente);
        for (int passo = 4; passo <= 7; ++passo)
            prima << QStringLiteral("pausa 0.2") << QStringLiteral("passo %1").arg(passo);
        QCOMPARE(ambiente.eventi, prima);
    }

    // Any table short by one row: nothing is copied.
    void tabella_con_una_riga_in_meno_data()
    {
        QTest::addColumn<int>("tabella");
        QTest::newRow("TF5M") << 0;
        QTest::newRow("TF1H") << 2;
        QTest::newRow("TF1D") << 3;
    }
    void tabella_con_una_riga_in_meno()
    {
        QFETCH(int, tabella);
        std::array<int, 4> mancanti{};
        mancanti[size_t(tabella)] = 1;
        const auto t = Scarica(mancanti);
        Stato s;
        s.mercato.Storico_5M.barra(1).chiusura = 42.0;
        const SerieStorico prima = s.mercato.Storico_5M;
        QString problema;
        QVERIFY(!scarico::Carica_Storico_Da_Server(s.mercato, t, &problema));
        QVERIFY2(problema.contains(QLatin1String(prova::TabelleProva[size_t(tabella)])), qPrintable(problema));
        QVERIFY(s.mercato.Storico_5M.barre() == prima.barre());
    }

    void celle_vuote_e_formati()
    {
        const auto t = Scarica({}, [](int k, int r, QString &data, QString &ora, QString &chiusura, QString &volume) {
            if (k == 1 && r == 2)
                chiusura.clear();
            if (k == 1 && r == 3) {
                data.clear();
                ora.clear();
            }
            if (k == 1 && r == 4)
                volume = QStringLiteral("12,7");
            if (k == 1 && r == 101)  // 9:05 that day, written without its leading zero
                ora = QStringLiteral("905");
            if (k == 1 && r == 6)
                chiusura = QStringLiteral("98,5");
        });
        Stato s;
        QString problema;
        QVERIFY2(scarico::Carica_Storico_Da_Server(s.mercato, t, &problema), qPrintable(problema));
        const SerieStorico &h = s.mercato.Storico_5M;
        QCOMPARE(h.barra(2).chiusura, h.barra(1).chiusura);
        QCOMPARE(h.barra(3).data, h.barra(2).data);
        QCOMPARE(h.barra(3).minuti, h.barra(2).minuti);
        QCOMPARE(h.barra(4).volume, 12.0);
        QCOMPARE(h.barra(101).minuti, 9 * 60 + 5);
        QCOMPARE(h.barra(6).chiusura, 98.5);
    }

    // A row that does not convert, or that the local history files could not hold,
    // ends the copy; the series stay as they were.
    void righe_non_valide_data()
    {
        QTest::addColumn<int>("riga");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("prima riga vuota") << 1 << "CHIUSURA" << "" << "CHIUSURA";
        QTest::newRow("ora impossibile") << 9 << "ORA" << "2561" << "ORA";
        QTest::newRow("data impossibile") << 9 << "DATA" << "310225" << "DATA";
        QTest::newRow("chiusura non numerica") << 9 << "CHIUSURA" << "n/d" << "CHIUSURA";
        QTest::newRow("chiusura infinita") << 9 << "CHIUSURA" << "inf" << "CHIUSURA";
        QTest::newRow("volume non numerico") << 9 << "VOLUME" << "1x" << "VOLUME";
        QTest::newRow("riga fuori ordine") << 9 << "DATA" << "010129" << "ordine";
        QTest::newRow("volume oltre il file") << 9 << "VOLUME" << "10000000000000000" << "registrabili";
        QTest::newRow("volume negativo oltre il file") << 9 << "VOLUME" << "-1e16" << "registrabili";
    }
    void righe_non_valide()
    {
        QFETCH(int, riga);
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(QString, motivo);
        const auto t = Scarica({}, [&](int k, int r, QString &data, QString &ora, QString &chiusura, QString &volume) {
            if (k != 3 || r != riga)
                return;
            if (campo == QLatin1String("DATA"))
                data = valore;
            else if (campo == QLatin1String("ORA"))
                ora = valore;
            else if (campo == QLatin1String("CHIUSURA"))
                chiusura = valore;
            else
                volume = valore;
        });
        Stato s;
        QString problema;
        QVERIFY(!scarico::Carica_Storico_Da_Server(s.mercato, t, &problema));
        QVERIFY2(problema.contains(QStringLiteral("TF1H riga %1").arg(riga)) && problema.contains(motivo),
                 qPrintable(problema));
        QVERIFY(!s.mercato.Storico_1H.barra(1).data.isValid());
        QVERIFY(!s.mercato.Storico_5M.barra(1).data.isValid());
    }

    void database_mancante()
    {
        const auto t = scarico::Scarica_Storico_Dal_Server(
            QStringLiteral("DRIVER={SQLite3};Database=%1/manca/nulla.db;").arg(cartella.percorso()));
        Stato s;
        QVERIFY(!scarico::Carica_Storico_Da_Server(s.mercato, t));
        QVERIFY(!scarico::Carica_Storico_Da_Server(s.mercato, scarico::TabelleScaricate{}));
    }
};

QTEST_GUILESS_MAIN(ScaricoStoricoTest)
#include "ScaricoStoricoTest.moc"

#include "Stato.h"
#include "shell/FinestraLavoro.h"

#include <QtTest>

using namespace finestra;

class FinestraLavoroTest : public QObject {
    Q_OBJECT

private slots:
    void titolo_data()
    {
        QTest::addColumn<QString>("modalita");
        QTest::addColumn<QString>("titolo");
        const QString on = QStringLiteral("Wavelore \u00AE  v.2.52    - OnLine -     www.wavelore.example  ");
        const QString off = QStringLiteral("Wavelore \u00AE  v.2.52    - OffLine -    www.wavelore.example  ");
        QTest::newRow("online") << "ONLINE" << on;
        QTest::newRow("offline") << "OFFLINE" << off;
        QTest::newRow("lower case") << "online" << off;
        QTest::newRow("empty") << "" << off;
    }
    void titolo()
    {
        QFETCH(QString, modalita);
        QTEST(Titolo_Finestra(modalita, QStringLiteral("2.52")), "titolo");
    }

    void pannelli_per_modalita()
    {
        QVERIFY(Pannelli_Offline(QStringLiteral("OFFLINE")));
        QVERIFY(!Pannelli_Offline(QStringLiteral("ONLINE")));
        QVERIFY(!Pannelli_Offline(QStringLiteral("Offline")));
    }

    void modo_puntatore()
    {
        std::array<SlotGrafico, 4> conf{{{1, 3, 0}, {0, 4, 1}, {1, 3, 2}, {1, 40, 3}}};
        std::array<int, 13> modo{};
        modo[3] = 1;
        modo[4] = 1;
        const auto r = Opzione_Grafici(conf, modo);
        QCOMPARE(r[0], std::optional<int>(1));
        QCOMPARE(r[1], std::optional<int>());   // not in use: left as it was
        QCOMPARE(r[2], std::optional<int>(1));  // same degree, same mode
        QCOMPARE(r[3], std::optional<int>());   // impossible degree never indexes
        conf[0].grado = 5;
        QCOMPARE(Opzione_Grafici(conf, modo)[0], std::optional<int>(0));
    }

    void griglie()
    {
        Stato stato;
        stato.archivio.Sottostante_Corrente = 3;
        stato.archivio.Tab_Sottostanti[3].Fine_Sessione = QTime(17, 30);
        stato.archivio.Tab_Sottostanti[4].Fine_Sessione = QTime(22, 0);
        stato.mercato.Formato_Prezzo = QStringLiteral("0.0000");
        stato.mercato.Storico_1D.barra(1) = {QDate(2026, 3, 4), 0, 1.23456, 10};
        stato.mercato.Storico_1D.barra(3000) = {QDate(2014, 12, 31), 0, 1.5, 10};
        stato.mercato.Storico_5M.barra(1) = {QDate(2026, 3, 4), 9 * 60 + 5, 21000.5, 3};

        ModelloGrigliaStorico giorno;
        giorno.Imposta_Righe(Barre_Tab(3));
        QCOMPARE(giorno.rowCount(), 3000);
        QCOMPARE(giorno.Cella(0, 1), QStringLiteral("Data"));
        QCOMPARE(giorno.Cella(0, 2), QStringLiteral("Ora"));
        QCOMPARE(giorno.Cella(0, 3), QStringLiteral("Close"));
        giorno.Carica(stato, 3);
        QCOMPARE(giorno.Cella(1, 1), QStringLiteral("04/03/26"));
        QCOMPARE(giorno.Cella(1, 2), QStringLiteral("17:30"));
        QCOMPARE(giorno.Cella(3000, 2), QStringLiteral("17:30"));
        QCOMPARE(giorno.Cella(1, 3), QStringLiteral("1,2346"));
        QCOMPARE(giorno.Cella(3000, 1), QStringLiteral("31/12/14"));
        QCOMPARE(giorno.Cella(0, 1), QStringLiteral("Data"));

        // The time column follows the underlying at the next fill.
        stato.archivio.Sottostante_Corrente = 4;
        giorno.Carica(stato, 3);
        QCOMPARE(giorno.Cella(1, 2), QStringLiteral("22:00"));
        QCOMPARE(giorno.Cella(3000, 2), QStringLiteral("22:00"));

        ModelloGrigliaStorico cinque;
        cinque.Imposta_Righe(Barre_Tab(0));
        QCOMPARE(cinque.rowCount(), 1500);
        stato.shell.Formato_Locale = QStringLiteral("US");
        stato.shell.Formato_Data = QStringLiteral("MM/DD/YY");
        stato.shell.Formato_Ora = QStringLiteral("h:mm AM/PM");
        stato.mercato.Formato_Prezzo = QStringLiteral("0.00");
        cinque.Carica(stato, 0);
        QCOMPARE(cinque.Cella(1, 1), QStringLiteral("03/04/26"));
        QCOMPARE(cinque.Cella(1, 2), QStringLiteral("9:05 AM"));
        QCOMPARE(cinque.Cella(1, 3), QStringLiteral("21000.50"));
    }

    void tab_fuori_intervallo_non_tocca_nulla()
    {
        Stato stato;
        stato.mercato.Storico_5M.barra(1) = {QDate(2026, 3, 4), 600, 1, 1};
        ModelloGrigliaStorico m;
        m.Imposta_Righe(Barre_Tab(0));
        m.Carica(stato, 0);
        const QString prima = m.Cella(1, 1);
        stato.mercato.Storico_5M.barra(1).data = QDate(2026, 3, 5);
        m.Carica(stato, 4);
        m.Carica(stato, -1);
        QCOMPARE(m.Cella(1, 1), prima);
        QCOMPARE(Barre_Tab(4), 0);
    }
};

QTEST_GUILESS_MAIN(FinestraLavoroTest)
#include "FinestraLavoroTest.moc"

#include "market/Protocollo.h"
#include "simulatore/ServerQuotazioni.h"
#include "platform/Codec1252.h"

#include "CartellaTemporanea.h"
#include "ClientGrezzo.h"
#include "DatabaseProva.h"

#include <QProcess>
#include <QtTest>

namespace {

const QDateTime Ultimo(QDate(2025, 12, 5), QTime(17, 25));

using Client = prova::ClientGrezzo;

}  // namespace

class ServerQuotazioniTest : public QObject {
    Q_OBJECT

    CartellaTemporanea cartella;

    ServerQuotazioni::Configurazione Config(ServerQuotazioni::Consegna modo = ServerQuotazioni::Consegna::Normale)
    {
        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("anna"), {QStringLiteral("pw"), QStringLiteral("7"), QStringLiteral("Anna"),
                                                   QStringLiteral("Bianchi")});
        cfg.Percorso_Database = cartella.percorso() + QStringLiteral("/{db}.db");
        cfg.Intervallo_Tick_ms = 20;
        cfg.Velocita = 3000;  // a minute per tick
        cfg.Modo = modo;
        return cfg;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(prova::ScriviDatabase(cartella.percorso() + QStringLiteral("/WaveloreBund.db"), Ultimo));
    }

    void login_e_ultime_barre()
    {
        ServerQuotazioni server(Config());
        QVERIFY(server.Avvia());
        Client c(server.Porta());
        c.Invia(QStringLiteral("COMM34"), {QStringLiteral("4")});  // before the login: ignored
        c.Invia(QStringLiteral("COMM11"), {QStringLiteral("Anna"), QStringLiteral("no"), QStringLiteral("2.52")});
        QTRY_COMPARE(c.Conta(QStringLiteral("COMM13")), 1);
        c.Invia(QStringLiteral("COMM11"), {QStringLiteral("Anna"), QStringLiteral("pw"), QStringLiteral("2.52")});
        QTRY_COMPARE(c.Conta(QStringLiteral("COMM12")), 1);
        QCOMPARE(c.Ultimo(QStringLiteral("COMM12"))->Campi(),
                 (QStringList{QStringLiteral("7"), QStringLiteral("Anna"), QStringLiteral("Bianchi")}));
        QCOMPARE(c.Conta(QStringLiteral("COMM35")), 0);
        c.Invia(QStringLiteral("COMM34"), {QStringLiteral("4")});
        c.Invia(QStringLiteral("COMM36"), {QStringLiteral("4")});
        QTRY_COMPARE(c.Conta(QStringLiteral("COMM37")), 1);
        QCOMPARE(c.Conta(QStringLiteral("COMM35")), 1);
        const auto *m = c.Ultimo(QStringLiteral("COMM37"));
        QVERIFY(m->Completo);
        QCOMPARE(m->Campi().size(), 32);
        QCOMPARE(m->Campo(1), QStringLiteral("05/12/25"));
        QCOMPARE(m->Campo(2), QStringLiteral("17:25"));
        QCOMPARE(m->Campo(6), QStringLiteral("17:20"));
        QCOMPARE(m->Campo(10), QStringLiteral("17:25"));  // 15M newest
        QCOMPARE(m->Campo(14), QStringLiteral("17:10"));  // 15M older
        QCOMPARE(m->Campo(25), QStringLiteral("05/12/25"));
        QCOMPARE(m->Campo(29), QStringLiteral("04/12/25"));
        QVERIFY(m->Campo(3).contains(QLatin1Char(',')));  // decimals the Italian way
    }

    void tick_e_barre_sul_orologio_veloce()
    {
        ServerQuotazioni server(Config());
        QVERIFY(server.Avvia());
        Client c(server.Porta());
        c.Invia(QStringLiteral("COMM11"), {QStringLiteral("anna"), QStringLiteral("pw"), QStringLiteral("2.52")});
        c.Invia(QStringLiteral("COMM30"), {QStringLiteral("4")});
        QTRY_VERIFY(c.Conta(QStringLiteral("COMM33")) >= 2);
        const auto *b = c.Ultimo(QStringLiteral("COMM33"));
        QCOMPARE(b->Campi().size(), 12);
        const QTime t5 = QTime::fromString(b->Campo(1).section(QLatin1Char(' '), 1), QStringLiteral("hh:mm"));
        QVERIFY(t5.isValid());
        QCOMPARE(t5.minute() % 5, 0);
        const QTime t15 = QTime::fromString(b->Campo(4).section(QLatin1Char(' '), 1), QStringLiteral("hh:mm"));
        QCOMPARE(t15.minute() % 15, 0);
        const auto *t = c.Ultimo(QStringLiteral("COMM31"));
        QCOMPARE(t->Campi().size(), 4);
        QVERIFY(QDateTime::fromString(t->Campo(1), QStringLiteral("dd/MM/yyyy hh:mm:ss")).isValid());
        // Stopped: no more ticks.
        c.Invia(QStringLiteral("COMM32"));
        QTRY_COMPARE(server.Client_In_Tempo_Reale(), 0);
        const int n = c.Conta(QStringLiteral("COMM31"));
        QTest::qWait(100);
        QCOMPARE(c.Conta(QStringLiteral("COMM31")), n);
    }

    void consegna_a_byte_e_unita()
    {
        for (auto modo : {ServerQuotazioni::Consegna::Byte, ServerQuotazioni::Consegna::Unite}) {
            ServerQuotazioni server(Config(modo));
            QVERIFY(server.Avvia());
            Client c(server.Porta());
            c.Invia(QStringLiteral("COMM11"), {QStringLiteral("anna"), QStringLiteral("pw"), QStringLiteral("2.52")});
            QTRY_COMPARE(c.Conta(QStringLiteral("COMM12")), 1);
            server.Invia_Chat(QStringLiteral("uno"));
            server.Invia_Messaggio(QStringLiteral("due"));
            QTRY_COMPARE(c.Conta(QStringLiteral("COMM20")), 1);
            QCOMPARE(c.Ultimo(QStringLiteral("COMM25"))->Campo(1), QStringLiteral("uno"));
            if (modo == ServerQuotazioni::Consegna::Byte)
                QVERIFY2(c.letture > 20, qPrintable(QString::number(c.letture)));  // one read per byte, or close
            else
                QVERIFY2(c.letture <= 2, qPrintable(QString::number(c.letture)));  // three messages, one write
        }
    }

    void come_processo()
    {
        const QString cartellaTool = qEnvironmentVariable("WAVELORE_TOOLS_DIR");
        const QString programma = cartellaTool + QStringLiteral("/quote-server");
        if (cartellaTool.isEmpty() || !QFileInfo::exists(programma))
            QSKIP("quote-server not built");
        QProcess p;
        p.start(programma, {QStringLiteral("--porta"), QStringLiteral("0"), QStringLiteral("--utente"),
                            QStringLiteral("anna:pw"), QStringLiteral("--database"),
                            cartella.percorso() + QStringLiteral("/{db}.db")});
        QVERIFY(p.waitForStarted(5000));
        QTRY_VERIFY(p.canReadLine());
        const QString riga = QString::fromUtf8(p.readLine()).trimmed();
        QVERIFY2(riga.startsWith(QLatin1String("PRONTO ")), qPrintable(riga));
        Client c(quint16(riga.section(QLatin1Char(' '), 1).toUInt()));
        c.Invia(QStringLiteral("COMM11"), {QStringLiteral("anna"), QStringLiteral("pw"), QStringLiteral("2.52")});
        QTRY_COMPARE(c.Conta(QStringLiteral("COMM12")), 1);
        p.write("chat ciao a tutti\navviso 1 Pausa\n");
        QTRY_COMPARE(c.Conta(QStringLiteral("COMM17")), 1);
        QCOMPARE(c.Ultimo(QStringLiteral("COMM25"))->Campo(1), QStringLiteral("ciao a tutti"));
        QCOMPARE(c.Ultimo(QStringLiteral("COMM17"))->Campi(), (QStringList{QStringLiteral("1"), QStringLiteral("Pausa")}));
        p.write("esci\n");
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(ServerQuotazioniTest)
#include "ServerQuotazioniTest.moc"

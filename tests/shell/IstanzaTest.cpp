#include "CartellaTemporanea.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>
#include <array>

#include <unistd.h>

namespace {

QString strumenti()
{
    const QString cartella = qEnvironmentVariable("WAVELORE_TOOLS_DIR");
    return cartella.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../tools") : cartella;
}

// The shipped program; its test build where a test point is set (simulatore/PuntiProvaAmbiente.h).
QString programma() { return QDir(strumenti() + QStringLiteral("/..")).absoluteFilePath(QStringLiteral("wavelore")); }
QString programmaProva() { return QDir(strumenti()).absoluteFilePath(QStringLiteral("wavelore-prova")); }

QProcessEnvironment ambiente(bool avvisiAutomatici)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (avvisiAutomatici)
        env.insert(QStringLiteral("WAVELORE_AVVISI_AUTOMATICI"), QStringLiteral("1"));
    else
        env.remove(QStringLiteral("WAVELORE_AVVISI_AUTOMATICI"));
    return env;
}

QByteArray pidNelBlocco(const QString &blocco)
{
    QFile f(blocco);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readLine().trimmed();
}

// Started as a plain user when the tests run as root, who could write any file.
const QStringList Utente_Semplice{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")};
void avvia(QProcess &copia, const QProcessEnvironment &env, bool ospite, const QString &eseguibile)
{
    copia.setProcessEnvironment(env);
    copia.start(ospite ? QStringLiteral("setpriv") : eseguibile, ospite ? Utente_Semplice + QStringList{eseguibile} : QStringList());
}

// User, group and others, as QFileDevice's flags put them: 0x700 is the user's alone.
int modo(const QString &percorso) { return int(QFile::permissions(percorso)) & 0x777; }

}  // namespace

class IstanzaTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(programma()), qPrintable(programma()));
        QVERIFY2(QFile::exists(programmaProva()), qPrintable(programmaProva()));
    }

    void secondaCopiaRifiutata()
    {
        CartellaTemporanea dir;
        const QString blocco = dir.percorso() + QStringLiteral("/wavelore.lock");
        QProcess prima;
        prima.setProcessEnvironment(ambiente(false));
        prima.start(programma(), {});
        QVERIFY(prima.waitForStarted(10000));
        const QByteArray pidPrima = QByteArray::number(prima.processId());
        QTRY_COMPARE_WITH_TIMEOUT(pidNelBlocco(blocco), pidPrima, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.sistema() + QStringLiteral("/Sistema3.dat")), 15000);

        QProcess seconda;
        seconda.setProcessEnvironment(ambiente(true));
        seconda.start(programma(), {});
        QVERIFY(seconda.waitForFinished(20000));
        QCOMPARE(seconda.exitStatus(), QProcess::NormalExit);
        QCOMPARE(seconda.exitCode(), 0);
        const QString uscita = QString::fromUtf8(seconda.readAllStandardOutput());
        QVERIFY2(uscita.contains(QStringLiteral("AVVISO Wavelore ®\nUna sessione di Wavelore risulta essere già in uso."
                                                "\r\n\r\nNon è possibile aprire una nuova istanza.\n"
                                                "File di blocco: ")
                              + QDir::toNativeSeparators(blocco)),
                 qPrintable(uscita));

        // The first copy keeps running and keeps its lock.
        QCOMPARE(prima.state(), QProcess::Running);
        QCOMPARE(pidNelBlocco(blocco), pidPrima);
        prima.kill();
        QVERIFY(prima.waitForFinished(10000));

        // A lock left by a copy that died does not keep the next one out.
        QProcess terza;
        terza.setProcessEnvironment(ambiente(true));
        terza.start(programma(), {});
        QVERIFY(terza.waitForStarted(10000));
        QTRY_COMPARE_WITH_TIMEOUT(pidNelBlocco(blocco), QByteArray::number(terza.processId()), 15000);
        QCOMPARE(terza.state(), QProcess::Running);
        QVERIFY(!terza.readAllStandardOutput().contains("Una sessione di Wavelore"));
        terza.kill();
        QVERIFY(terza.waitForFinished(10000));
    }

    // Two starts at once, the span between opening the lock file and locking it
    // widened: each time exactly one copy runs and the other says why it ends.
    void dueAvviiInsieme()
    {
        for (int prova = 0; prova < 20; ++prova) {
            CartellaTemporanea dir;
            const QString blocco = dir.percorso() + QStringLiteral("/wavelore.lock");
            QProcessEnvironment env = ambiente(true);
            env.insert(QStringLiteral("WAVELORE_PROVA_RITARDO_BLOCCO"), QStringLiteral("50"));
            std::array<QProcess, 2> copie;
            for (QProcess &c : copie) {
                c.setProcessEnvironment(env);
                c.start(programmaProva(), {});
            }
            for (QProcess &c : copie)
                QVERIFY(c.waitForStarted(10000));
            QTRY_VERIFY_WITH_TIMEOUT(copie[0].state() == QProcess::NotRunning || copie[1].state() == QProcess::NotRunning,
                                     20000);
            const size_t uscita = copie[0].state() == QProcess::NotRunning ? 0 : 1;
            QProcess &rifiutata = copie[uscita];
            QProcess &viva = copie[1 - uscita];
            QVERIFY2(rifiutata.readAllStandardOutput().contains("Una sessione di Wavelore risulta essere"),
                     qPrintable(QStringLiteral("prova %1").arg(prova)));
            // The other holds the lock: it writes itself as the owner only then.
            QTRY_COMPARE_WITH_TIMEOUT(pidNelBlocco(blocco), QByteArray::number(viva.processId()), 15000);
            QCOMPARE(viva.state(), QProcess::Running);
            viva.kill();
            QVERIFY(viva.waitForFinished(10000));
        }
    }

    // A lock file the program cannot write keeps the guard, and the trader is told why in
    // Italian; a link in its place is never followed. So is a face the program cannot load.
    void avvisiAllAvvio_data()
    {
        QTest::addColumn<QString>("preparazione");
        QTest::addColumn<QString>("avviso");  // {blocco}: the lock file
        QTest::newRow("link") << "collegamento" << "{blocco} è un collegamento simbolico: Wavelore non lo apre";
        QTest::newRow("read-only file") << "sola lettura" << "{blocco} non può essere scritto: è di sola lettura.\nWavelore";
        QTest::newRow("folder") << "cartella" << "{blocco} non può essere scritto: è una cartella.";
        QTest::newRow("another user's file") << "altro utente" << "{blocco} non può essere scritto: appartiene a un altro";
        QTest::newRow("face missing") << "" << "Il carattere di Wavelore non è stato caricato: prezzi, date";
    }
    void avvisiAllAvvio()
    {
        QFETCH(QString, preparazione);
        QFETCH(QString, avviso);
        const bool ospite = ::geteuid() == 0, altroUtente = preparazione == QLatin1String("altro utente");
        if (altroUtente && !ospite)
            QSKIP("only a run as root can leave a file of another user");
        if (ospite && QProcess::execute(QStringLiteral("setpriv"), Utente_Semplice + QStringList{QStringLiteral("true")}))
            QSKIP("root here cannot run a program as a plain user");
        CartellaTemporanea dir;
        const QString blocco = dir.percorso() + QStringLiteral("/wavelore.lock");
        const QString bersaglio = dir.percorso() + QStringLiteral("/bersaglio.txt");
        QVERIFY(QFile(bersaglio).open(QIODevice::WriteOnly));
        if (preparazione == QLatin1String("collegamento"))
            QVERIFY(QFile::link(bersaglio, blocco));
        else if (preparazione == QLatin1String("cartella"))
            QVERIFY(QDir().mkdir(blocco));
        else if (!preparazione.isEmpty())  // another user's not even readable by the copies
            QVERIFY(QFile::copy(bersaglio, blocco) &&
                    QFile::setPermissions(blocco, altroUtente ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner));
        for (const QString &p : {dir.percorso(), bersaglio, blocco})  // the plain user's
            QVERIFY(!ospite || (altroUtente && p == blocco) || !QFileInfo::exists(p) ||
                    ::lchown(QFile::encodeName(p).constData(), 65534, 65534) == 0);
        QProcessEnvironment env = ambiente(true);
        if (preparazione.isEmpty())
            env.insert(QStringLiteral("WAVELORE_PROVA_SENZA_CARATTERI"), QStringLiteral("1"));
        avviso.replace(QStringLiteral("{blocco}"), blocco);
        const QString eseguibile = preparazione.isEmpty() ? programmaProva() : programma();

        QProcess prima, seconda;
        avvia(prima, env, ospite, eseguibile);
        QString uscita;
        QTRY_VERIFY2_WITH_TIMEOUT((uscita += QString::fromUtf8(prima.readAllStandardOutput())).contains(avviso),
                                  qPrintable(uscita), 20000);
        if (preparazione == QLatin1String("collegamento")) {  // refused, and the file it names untouched
            QTRY_COMPARE_WITH_TIMEOUT(prima.state(), QProcess::NotRunning, 20000);
            QCOMPARE(QFileInfo(bersaglio).size(), 0);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.sistema() + QStringLiteral("/Sistema3.dat")), 15000);
        avvia(seconda, env, ospite, eseguibile);
        QVERIFY(seconda.waitForFinished(20000));
        QVERIFY(seconda.readAllStandardOutput().contains("Una sessione di Wavelore risulta essere già in uso."));
        QCOMPARE(prima.state(), QProcess::Running);
        QVERIFY(!preparazione.isEmpty() || prima.readAllStandardError().contains(avviso.toUtf8()));
        prima.kill();
        QVERIFY(prima.waitForFinished(10000));
    }

    // What a first start creates, the program folder included, is the user's alone.
    void fileRiservati()
    {
        CartellaTemporanea dir;
        const QString programma_ = dir.percorso() + QStringLiteral("/nuova/Wavelore");
        QProcessEnvironment env = ambiente(true);
        env.insert(QStringLiteral("WAVELORE_HOME"), programma_);
        QProcess copia;
        copia.setProcessEnvironment(env);
        copia.start(programma(), {});
        QVERIFY(copia.waitForStarted(10000));
        QTRY_COMPARE_WITH_TIMEOUT(pidNelBlocco(programma_ + QStringLiteral("/wavelore.lock")),
                                  QByteArray::number(copia.processId()), 15000);
        const std::pair<const char *, int> attesi[] = {
            {"", 0x700}, {"/Sistema", 0x700}, {"/Sistema/Sistema1.dat", 0x600},
            {"/Sistema/Sistema2.dat", 0x600}, {"/Sistema/Sistema3.dat", 0x600}, {"/wavelore.lock", 0x600},
        };
        for (const auto &[nome, atteso] : attesi) {
            const QString percorso = programma_ + QLatin1String(nome);
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(percorso), 15000);
            QVERIFY2(modo(percorso) == atteso, qPrintable(percorso + QStringLiteral(": %1").arg(modo(percorso), 0, 16)));
        }
        copia.kill();
        QVERIFY(copia.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(IstanzaTest)
#include "IstanzaTest.moc"

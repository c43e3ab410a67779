// A quote server on loopback for tests and the demo.
//
//   quote-server [--porta N] [--utente id:password[:codice:nome:cognome]]...
//                [--database PATH-with-{db}] [--intervallo MS] [--velocita X]
//                [--al-secondo N] [--consegna normale|byte|unite]
//
// Prints "PRONTO <port>" once listening. Commands on standard input, one a line:
//   chat <text> | messaggio <text> | avviso <flag> <text> | chiusura <flag> <text>
//   sospendi | riprendi | ritmo <ticks a second> | esci

#include "simulatore/ServerQuotazioni.h"
#include "platform/Percorsi.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption porta(QStringLiteral("porta"), QStringLiteral("TCP port (0: any free port)"), QStringLiteral("N"),
                             QString::number(percorsi::PortaServer()));
    QCommandLineOption utente(QStringLiteral("utente"), QStringLiteral("id:password[:codice:nome:cognome]"),
                              QStringLiteral("UTENTE"));
    QCommandLineOption database(QStringLiteral("database"),
                                QStringLiteral("SQLite history database path, {db} for the database name"),
                                QStringLiteral("PERCORSO"),
                                QDir(percorsi::CartellaProgramma()).filePath(QStringLiteral("Server/{db}.db")));
    QCommandLineOption intervallo(QStringLiteral("intervallo"), QStringLiteral("milliseconds between ticks"),
                                  QStringLiteral("MS"), QStringLiteral("1000"));
    QCommandLineOption velocita(QStringLiteral("velocita"), QStringLiteral("clock seconds per real second"),
                                QStringLiteral("X"), QStringLiteral("1"));
    QCommandLineOption alSecondo(QStringLiteral("al-secondo"),
                                 QStringLiteral("ticks a second, in place of one each interval"), QStringLiteral("N"),
                                 QStringLiteral("0"));
    QCommandLineOption consegna(QStringLiteral("consegna"), QStringLiteral("normale, byte or unite"),
                                QStringLiteral("MODO"), QStringLiteral("normale"));
    parser.addOptions({porta, utente, database, intervallo, velocita, alSecondo, consegna});
    parser.process(app);

    ServerQuotazioni::Configurazione cfg;
    QStringList utenti = parser.values(utente);
    if (utenti.isEmpty())
        utenti << QStringLiteral("demo:demo");
    int n = 1;
    for (const QString &u : utenti) {
        const QStringList p = u.split(QLatin1Char(':'));
        if (p.size() < 2) {
            std::fprintf(stderr, "utente non valido: %s\n", qPrintable(u));
            return 2;
        }
        cfg.Utenti.insert(p[0].toLower(),
                          ServerQuotazioni::Utente{p[1], p.value(2, QString::number(1000 + n)),
                                                   p.value(3, QStringLiteral("Utente")), p.value(4, p[0])});
        ++n;
    }
    cfg.Percorso_Database = parser.value(database);
    cfg.Intervallo_Tick_ms = std::max(1, parser.value(intervallo).toInt());
    cfg.Velocita = std::max(0.001, parser.value(velocita).toDouble());
    cfg.Tick_Al_Secondo = std::max(0.0, parser.value(alSecondo).toDouble());
    const QString modo = parser.value(consegna);
    cfg.Modo = modo == QLatin1String("byte")    ? ServerQuotazioni::Consegna::Byte
               : modo == QLatin1String("unite") ? ServerQuotazioni::Consegna::Unite
                                                : ServerQuotazioni::Consegna::Normale;

    ServerQuotazioni server(cfg);
    if (!server.Avvia(quint16(parser.value(porta).toUInt()))) {
        std::fprintf(stderr, "impossibile ascoltare sulla porta %s\n", qPrintable(parser.value(porta)));
        return 1;
    }
    std::printf("PRONTO %u\n", unsigned(server.Porta()));
    std::fflush(stdout);

    QSocketNotifier comandi(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&comandi, &QSocketNotifier::activated, &app, [&] {
        char riga[4096];
        const ssize_t letti = ::read(STDIN_FILENO, riga, sizeof riga - 1);
        if (letti <= 0) {
            comandi.setEnabled(false);
            return;
        }
        riga[letti] = 0;
        for (const QString &r : QString::fromUtf8(riga).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString comando = r.section(QLatin1Char(' '), 0, 0);
            const QString resto = r.section(QLatin1Char(' '), 1);
            if (comando == QLatin1String("chat"))
                server.Invia_Chat(resto);
            else if (comando == QLatin1String("messaggio"))
                server.Invia_Messaggio(resto);
            else if (comando == QLatin1String("avviso"))
                server.Invia_Avviso(resto.section(QLatin1Char(' '), 0, 0), resto.section(QLatin1Char(' '), 1));
            else if (comando == QLatin1String("chiusura"))
                server.Invia_Chiusura(resto.section(QLatin1Char(' '), 0, 0), QString(),
                                      resto.section(QLatin1Char(' '), 1));
            else if (comando == QLatin1String("sospendi"))
                server.Sospendi_Tick(true);
            else if (comando == QLatin1String("riprendi"))
                server.Sospendi_Tick(false);
            else if (comando == QLatin1String("ritmo"))
                server.Imposta_Ritmo(std::max(0.0, resto.toDouble()));
            else if (comando == QLatin1String("esci"))
                app.quit();
        }
    });
    return app.exec();
}

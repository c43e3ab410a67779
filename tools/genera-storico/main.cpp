// Writes made-up but realistic history for one underlying: the four local history
// files the client reads offline and, for the server side, one SQLite database
// with the tables the history download reads. With --stampa it prints instead the
// lines of an existing file set as the client's own reader decodes them.

#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

int stampa(int sottostante, const QStringList &timeframes, int righe)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    StatoMercato m;
    storico::Inizializza_Tabella_Chiave(m);
    int esito = 0;
    for (const QString &tf : timeframes) {
        QString errore;
        const auto serie =
            storico::LeggiFileStorico(storico::PercorsoFileStorico(sottostante, tf), tf, m.Tabella_Chiave, &errore);
        if (!serie) {
            err << errore << '\n';
            esito = 1;
            continue;
        }
        const int n = righe > 0 ? std::min(righe, serie->capacita()) : serie->capacita();
        for (int r = 1; r <= n; ++r)
            out << storico::NomeFileStorico(sottostante, tf) << ' ' << r << ' '
                << QString::fromLatin1(storico::RigaInChiaro(serie->barra(r))) << '\n';
    }
    return esito;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Genera lo storico di un sottostante (file locali e database)."));
    parser.addHelpOption();
    const QCommandLineOption optSott(QStringLiteral("sottostante"), QStringLiteral("Sottostante 1..7 (predefinito 1)."),
                                     QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption optSeme(QStringLiteral("seme"), QStringLiteral("Seme del percorso dei prezzi."),
                                     QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption optFine(QStringLiteral("fine"), QStringLiteral("Giorno della barra piu' recente (AAAA-MM-GG)."),
                                     QStringLiteral("data"));
    const QCommandLineOption optOra(QStringLiteral("ora"), QStringLiteral("Ora della barra intraday piu' recente (HH:MM)."),
                                    QStringLiteral("ora"));
    const QCommandLineOption optPrezzo(QStringLiteral("prezzo"), QStringLiteral("Livello di prezzo iniziale."),
                                       QStringLiteral("x"));
    const QCommandLineOption optCartella(QStringLiteral("cartella"),
                                         QStringLiteral("Cartella del programma (file in <cartella>/Sistema)."),
                                         QStringLiteral("dir"));
    const QCommandLineOption optDb(QStringLiteral("db"), QStringLiteral("File del database lato server."),
                                   QStringLiteral("file"));
    const QCommandLineOption optCartellaDb(QStringLiteral("cartella-db"),
                                           QStringLiteral("Cartella del database: <cartella-db>/<NomeDatabase>.db."),
                                           QStringLiteral("dir"));
    const QCommandLineOption optTutti(QStringLiteral("tutti"),
                                      QStringLiteral("Tutti i sette sottostanti (seme + numero del sottostante)."));
    const QCommandLineOption optSoloDb(QStringLiteral("solo-db"), QStringLiteral("Scrive solo il database."));
    const QCommandLineOption optSoloFile(QStringLiteral("solo-file"), QStringLiteral("Scrive solo i file locali."));
    const QCommandLineOption optStampa(QStringLiteral("stampa"),
                                       QStringLiteral("Stampa le righe decifrate dei file locali esistenti."));
    const QCommandLineOption optTf(QStringLiteral("timeframe"), QStringLiteral("Con --stampa: 5M, 15M, 1H o 1D."),
                                   QStringLiteral("tf"));
    const QCommandLineOption optRighe(QStringLiteral("righe"), QStringLiteral("Con --stampa: righe per file (0 tutte)."),
                                      QStringLiteral("n"), QStringLiteral("0"));
    parser.addOptions({optSott, optTutti, optSeme, optFine, optOra, optPrezzo, optCartella, optDb, optCartellaDb, optSoloDb,
                       optSoloFile, optStampa, optTf, optRighe});
    parser.process(app);

    QTextStream err(stderr);
    bool ok = false;
    const int sottostante = parser.value(optSott).toInt(&ok);
    if (!ok || sottostante < 1 || sottostante > 7) {
        err << "Sottostante non valido: " << parser.value(optSott) << '\n';
        return 2;
    }
    if (parser.isSet(optCartella)) {
        QDir().mkpath(parser.value(optCartella));
        qputenv("WAVELORE_HOME", QDir(parser.value(optCartella)).absolutePath().toUtf8());
    }

    if (parser.isSet(optStampa)) {
        QStringList tf(storico::Timeframes().begin(), storico::Timeframes().end());
        if (parser.isSet(optTf)) {
            if (storico::BarreDelTimeframe(parser.value(optTf)) == 0) {
                err << "Timeframe non valido: " << parser.value(optTf) << '\n';
                return 2;
            }
            tf = {parser.value(optTf)};
        }
        return stampa(sottostante, tf, parser.value(optRighe).toInt());
    }

    StatoArchivio archivio;
    archivio::Inizializza_Tab_Sottostanti(archivio);
    generatore::Parametri p;
    p.seme = parser.value(optSeme).toULongLong(&ok);
    if (!ok) {
        err << "Seme non valido: " << parser.value(optSeme) << '\n';
        return 2;
    }
    if (parser.isSet(optFine)) {
        p.ultimoGiorno = QDate::fromString(parser.value(optFine), Qt::ISODate);
        if (!p.ultimoGiorno.isValid()) {
            err << "Data non valida: " << parser.value(optFine) << '\n';
            return 2;
        }
    }
    if (parser.isSet(optOra)) {
        const QTime t = QTime::fromString(parser.value(optOra), QStringLiteral("H:mm"));
        if (!t.isValid()) {
            err << "Ora non valida: " << parser.value(optOra) << '\n';
            return 2;
        }
        p.ultimiMinuti = t.hour() * 60 + t.minute();
    }
    if (parser.isSet(optPrezzo)) {
        p.prezzoIniziale = parser.value(optPrezzo).toDouble(&ok);
        if (!ok || !(p.prezzoIniziale > 0)) {
            err << "Prezzo non valido: " << parser.value(optPrezzo) << '\n';
            return 2;
        }
    }

    const int primo = parser.isSet(optTutti) ? 1 : sottostante;
    const int ultimo = parser.isSet(optTutti) ? 7 : sottostante;
    for (int u = primo; u <= ultimo; ++u) {
        generatore::Parametri pu = p;
        pu.sottostante = archivio.Tab_Sottostanti[size_t(u)];
        if (parser.isSet(optTutti))
            pu.seme = p.seme + std::uint64_t(u);
        const storico::SetStorico set = generatore::Genera(pu);
        if (!parser.isSet(optSoloDb)) {
            const storico::Esito e = generatore::ScriviFileLocali(set, u);
            if (!e.ok) {
                err << "File locali non scritti: " << e.errore << '\n';
                return 1;
            }
        }
        if (!parser.isSet(optSoloFile) && (parser.isSet(optDb) || parser.isSet(optCartellaDb))) {
            QString percorso = parser.isSet(optTutti) ? QString() : parser.value(optDb);
            if (percorso.isEmpty()) {
                const QString cartellaDb = parser.isSet(optCartellaDb) ? parser.value(optCartellaDb)
                                                                       : QFileInfo(parser.value(optDb)).absolutePath();
                QDir().mkpath(cartellaDb);
                percorso = cartellaDb + QLatin1Char('/') + generatore::NomeDatabase(u) + QStringLiteral(".db");
            }
            const storico::Esito e = generatore::ScriviDatabase(set, percorso);
            if (!e.ok) {
                err << "Database non scritto: " << e.errore << '\n';
                return 1;
            }
        }
    }
    return 0;
}

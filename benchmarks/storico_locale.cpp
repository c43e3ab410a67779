// Reading and writing the four local history files of one underlying (14,500 lines).

#include "Bench.h"

#include "archive/TabSottostanti.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());

    StatoArchivio a;
    archivio::Inizializza_Tab_Sottostanti(a);
    generatore::Parametri p;
    p.sottostante = a.Tab_Sottostanti[2];
    p.ultimoGiorno = QDate(2026, 12, 4);
    const storico::SetStorico set = generatore::Genera(p);

    StatoMercato m;
    storico::Inizializza_Tabella_Chiave(m);
    storico::CopiaSetStorico(m, set);

    bool ok = true;
    MisuraMediana(QStringLiteral("storico_locale_scrittura"), [&] {
        for (const QString &tf : storico::Timeframes())
            ok = storico::Salva_Storico(m, 2, tf).ok && ok;
    });
    MisuraMediana(QStringLiteral("storico_locale_lettura"), [&] {
        const auto letto = storico::LeggiSetStorico(2, m.Tabella_Chiave);
        ok = letto.has_value() && ok;
    });
    if (!ok) {
        std::fprintf(stderr, "storico_locale: lettura o scrittura fallita\n");
        return 1;
    }
    return 0;
}

// One real-time bar merge that adds a bar to every timeframe, with the rewrite
// of the four history files.

#include "Bench.h"

#include "Stato.h"
#include "cycle/ModelloCiclo.h"
#include "market/FusioneStorico.h"
#include "market/StoricoLocale.h"

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());
    Stato s;
    storico::Inizializza_Tabella_Chiave(s.mercato);
    s.mercato.Fine_Sessione = QTime(17, 30);
    QDateTime t(QDate(2020, 1, 6), QTime(17, 30));
    for (int k = 1; k <= 4; ++k) {
        SerieStorico &h = fusione::Serie(s.mercato, k);
        for (int r = 1; r <= h.capacita(); ++r)
            h.barra(r) = {t.date().addDays(-r), k == 4 ? 0 : 600, 20000.0 + r % 97 * 0.25, double(r % 40)};
    }
    bool ok = true;
    MisuraMediana(QStringLiteral("fusione_rt_e_quattro_file"), [&] {
        // Every call is a new day at the session's end: all four series get a new bar.
        t = t.addDays(1);
        for (int k = 1; k <= 4; ++k)
            s.mercato.Agg_Barra[size_t(k)] = {t.toString(QStringLiteral("dd/MM/yyyy hh:mm")), 20100.5, 12.0};
        const auto esito = fusione::Fondi_Barre_RT(s.mercato, t, s.mercato.Fine_Sessione);
        ciclo::Avanza_Barre_Ciclo(s.cicli, esito);
        for (const QString &tf : storico::Timeframes())
            ok = storico::Salva_Storico(s.mercato, 2, tf).ok && ok;
    });
    return ok ? 0 : 1;
}

#include "shell/Avanzamento.h"

#include <array>

namespace finestra {

PassoAvanzamento Passo_Avanzamento(int passo, const QString &modalita)
{
    static const std::array<int, 13> percentuali{0, 5, 15, 30, 35, 45, 55, 70, 80, 85, 90, 95, 100};
    static const std::array<const char *, 13> didascalie{
        "",
        "Caricamento Dati Avvio...",
        "",  // depends on the mode
        "Caricamento Dati Wavelore...",
        "Caricamento Storico 5 min...",
        "Caricamento Storico 15 min...",
        "Caricamento Storico 1 ora...",
        "Caricamento Storico 1 giorno...",
        "Caricamento Oggetti...",
        "Caricamento Battleplan...",
        "Caricamento Indicatori...",
        "Caricamento Grafici...",
        "Inizializzazione...",
    };

    PassoAvanzamento p;
    if (passo < 1 || passo > 12)
        return p;
    p.valido = true;
    p.percentuale = percentuali[size_t(passo)];
    if (passo == 2)
        p.didascalia = modalita == QLatin1String("ONLINE") ? QStringLiteral("Scarico Storico Dal Server...")
                                                           : QStringLiteral("Caricamento Storici Sottostante...");
    else
        p.didascalia = QString::fromUtf8(didascalie[size_t(passo)]);
    return p;
}

}  // namespace finestra

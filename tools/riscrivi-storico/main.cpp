// Rewrites the four history files of one underlying in a loop, with the sets of two
// others in turn, through the client's own writer: the peer of the crash test, which
// kills it at random moments. Prints "PRONTO" when both sets are read, then "." after
// each file written.
//   riscrivi-storico VECCHIO NUOVO DESTINAZIONE [VOLTE]   (VOLTE 0 or absent: for ever)

#include "market/StoricoLocale.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() < 4) {
        std::fprintf(stderr, "uso: riscrivi-storico VECCHIO NUOVO DESTINAZIONE [VOLTE]\n");
        return 2;
    }
    const int destinazione = a[3].toInt();
    const long volte = a.size() > 4 ? a[4].toLong() : 0;
    StatoMercato m;
    storico::Inizializza_Tabella_Chiave(m);
    storico::SetStorico set[2];
    for (int i = 0; i < 2; ++i) {
        QString errore;
        const auto letto = storico::LeggiSetStorico(a[1 + i].toInt(), m.Tabella_Chiave, &errore);
        if (!letto) {
            std::fprintf(stderr, "%s\n", qPrintable(errore));
            return 1;
        }
        set[i] = *letto;
    }
    std::printf("PRONTO\n");
    std::fflush(stdout);
    for (long giro = 0; volte == 0 || giro < volte; ++giro) {
        storico::CopiaSetStorico(m, set[(giro + 1) % 2]);
        for (const QString &tf : storico::Timeframes()) {
            const storico::Esito e = storico::Salva_Storico(m, destinazione, tf);
            if (!e.ok) {
                std::fprintf(stderr, "%s\n", qPrintable(e.errore));
                return 1;
            }
            std::printf(".\n");
            std::fflush(stdout);
        }
    }
    return 0;
}

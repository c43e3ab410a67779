#include "indicators/ImpostazioniIndicatori.h"

#include "archive/ArchivioIndicatori.h"
#include "archive/StatoArchivio.h"
#include "indicators/StatoIndicatori.h"
#include "platform/VbRuntime.h"

namespace {

double numero(const QString &testo) { return vb::CDbl(testo, 0.0); }
int intero(const QString &testo) { return vb::CInt(numero(testo)); }

}  // namespace

namespace indicatori {

void Carica_Impostazioni_Indicatori(const StatoArchivio &a, StatoIndicatori &ind)
{
    int u = a.Sottostante_Corrente;
    if (u < 1 || u > costanti::Num_Sottostanti)
        u = 1;
    const auto &ti = a.Tab_Indicatori[size_t(u)];
    for (size_t d = 0; d < size_t(costanti::Num_Gradi); ++d) {
        auto f = [&](int campoInd) -> const QString & { return ti[size_t(campoInd)][d + 1]; };
        auto &att = ind.Ind_Attivo[d];
        ind.Modo_Adattivo[d] = intero(f(10));
        for (int k = 0; k <= 3; ++k)
            att[size_t(k)] = intero(f(k));
        ind.Periodo_Utente_1[d] = f(6);
        att[4] = numero(f(6)) == 0 ? 0 : intero(f(4));
        ind.Periodo_Utente_2[d] = f(7);
        att[5] = numero(f(7)) == 0 ? 0 : intero(f(5));
        att[6] = intero(f(8));
        att[7] = intero(f(9));
        for (int k = 8; k <= 16; ++k)
            att[size_t(k)] = intero(f(k + 3));
        att[17] = intero(f(20));
        att[18] = intero(f(21));
        att[19] = intero(f(22));
    }
}

bool Salva_Indicatore(const StatoArchivio &archivio, const StatoIndicatori &indicatori, int grado, int k,
                      QString *errore)
{
    if (archivio::Colonna_Chiave(k) == 0 || grado < 0 || grado > costanti::Max_Grado)
        return false;

    QString valore;
    const auto &attivo = indicatori.Ind_Attivo[size_t(grado)];
    if (k <= 7)
        valore = QString::number(attivo[size_t(k)]);
    else if (k == 8)
        valore = QString::number(indicatori.Modo_Adattivo[size_t(grado)]);
    else if (k <= 19)
        valore = QString::number(attivo[size_t(k - 1)]);
    else if (k == 20 || k == 21) {
        const QVariant &p = k == 20 ? indicatori.Periodo_Utente_1[size_t(grado)]
                                    : indicatori.Periodo_Utente_2[size_t(grado)];
        valore = vb::TestoNumero(vb::Val(p.toString()));
    } else
        valore = QString::number(attivo[19]);
    return archivio::Scrivi_Indicatore(archivio, grado, k, valore, errore);
}

}  // namespace indicatori

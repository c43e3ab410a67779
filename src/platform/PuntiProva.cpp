#include "platform/PuntiProva.h"

#include <atomic>

namespace punti_prova {

namespace {
std::atomic<PuntiProva *> impostati{nullptr};
}  // namespace

void Imposta(PuntiProva *punti) { impostati.store(punti); }

void Passo_Riparazione(PassoRiparazione passo)
{
    if (PuntiProva *p = impostati.load())
        p->Passo_Riparazione(passo);
}

void Prima_Del_Blocco()
{
    if (PuntiProva *p = impostati.load())
        p->Prima_Del_Blocco();
}

bool Senza_Caratteri()
{
    PuntiProva *p = impostati.load();
    return p && p->Senza_Caratteri();
}

}  // namespace punti_prova

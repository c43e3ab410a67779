#include "shell/SceltaGradi.h"

#include "Stato.h"
#include "cycle/SalvaParametro.h"

namespace gradi {

namespace {

bool GradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }

// A refusal leaves its text in `errore`.
bool Salva(Stato &stato, archivio::Codice_Modifica codice, int slot, QString *errore)
{
    QString e;
    if (ciclo::Salva_Parametro(stato.shell, stato.archivio, stato.cicli, codice, slot, &e))
        return true;
    if (errore)
        *errore = e;
    return false;
}

}  // namespace

int Slot_Del_Grado(const StatoCicli &cicli, int grado)
{
    for (int s = 0; s < costanti::Num_Slot; ++s) {
        const SlotGrafico &slot = cicli.Conf_Grafici[size_t(s)];
        if (slot.in_uso == 1 && slot.grado == grado)
            return s;
    }
    return -1;
}

int Slot_Libero(const StatoCicli &cicli)
{
    for (int s = 0; s < costanti::Num_Slot; ++s)
        if (cicli.Conf_Grafici[size_t(s)].in_uso != 1)
            return s;
    return -1;
}

int Togli_Grado(Stato &stato, int grado, QString *errore)
{
    // Only a slot in use counts: a free slot keeping the same old degree is no match.
    const int s = Slot_Del_Grado(stato.cicli, grado);
    if (s < 0)
        return -1;
    stato.cicli.Conf_Grafici[size_t(s)].in_uso = 0;
    if (!Salva(stato, archivio::Codice_Modifica::Slot_In_Uso, s, errore)) {
        stato.cicli.Conf_Grafici[size_t(s)].in_uso = 1;
        return -1;
    }
    return s;
}

int Metti_Grado(Stato &stato, int grado, QString *errore)
{
    if (!GradoValido(grado) || Slot_Del_Grado(stato.cicli, grado) >= 0)
        return -1;
    const int s = Slot_Libero(stato.cicli);
    if (s < 0)
        return -1;
    SlotGrafico &slot = stato.cicli.Conf_Grafici[size_t(s)];
    const SlotGrafico prima = slot;
    slot.in_uso = 1;
    slot.grado = grado;
    const bool inUso = Salva(stato, archivio::Codice_Modifica::Slot_In_Uso, s, errore);
    if (inUso && Salva(stato, archivio::Codice_Modifica::Grado_Slot, s, errore))
        return s;
    slot = prima;
    // A slot the archive took as in use is written back as free.
    if (inUso)
        (void)Salva(stato, archivio::Codice_Modifica::Slot_In_Uso, s, nullptr);
    return -1;
}

std::array<bool, costanti::Num_Gradi> Chk_Abilitati(const std::array<bool, costanti::Num_Gradi> &spuntati)
{
    int n = 0;
    for (bool s : spuntati)
        n += s ? 1 : 0;
    std::array<bool, costanti::Num_Gradi> abilitati{};
    for (size_t d = 0; d < abilitati.size(); ++d)
        abilitati[d] = n != costanti::Num_Slot || spuntati[d];
    return abilitati;
}

}  // namespace gradi

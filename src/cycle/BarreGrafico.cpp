#include "cycle/BarreGrafico.h"

#include "cycle/ControlliGrafici.h"
#include "cycle/StatoCicli.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <QScopedValueRollback>

namespace ciclo {

void Imposta_Barre_Grafico(StatoProgramma &programma, StatoCicli &cicli, ControlliGrafici &controlli, int slot,
                           int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado || slot < 0 || slot >= costanti::Num_Slot)
        return;
    const size_t g = size_t(grado);
    // The change handlers ignore the echo while the flag is set; the previous value
    // comes back afterwards so that a caller already holding it keeps its protection.
    const QScopedValueRollback<bool> blocco(programma.Blocco_Aggiornamento, true);

    if (BarraScorrimento *y = controlli.Hsc_Graf_Y(slot)) {
        y->Imposta_Min(100);
        y->Imposta_Max(1);
        if (!y->Contiene(cicli.Posizione_Asse_Y[g]))
            cicli.Posizione_Asse_Y[g] = 50;
        y->Imposta_Valore(cicli.Posizione_Asse_Y[g]);
    }

    BarraScorrimento *x = controlli.Hsc_Graf(slot);
    const auto estensione = vb::CIntChecked(cicli.Durata[g] + cicli.Scostamento_Ciclo[g]);
    if (x && estensione) {
        x->Imposta_Min(1);
        x->Imposta_Max(*estensione);
        if (!x->Contiene(cicli.Barre_Ciclo[g]))
            cicli.Barre_Ciclo[g] = 10;
        x->Imposta_Valore(cicli.Barre_Ciclo[g]);
    }
}

void Imposta_Barre_Grafici(StatoProgramma &programma, StatoCicli &cicli, ControlliGrafici &controlli)
{
    for (int s = 0; s < costanti::Num_Slot; ++s)
        Imposta_Barre_Grafico(programma, cicli, controlli, s, cicli.Conf_Grafici[size_t(s)].grado);
}

}  // namespace ciclo

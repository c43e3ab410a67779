// The working window's switches between the four-chart and the one-chart layout.

#include "Stato.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"

void FinestraOperativa::Imposta_Layout_Grande(int grafico)
{
    Imposta_Colonna_Chat();
    m_area->Imposta_Layout_Grande(grafico);
    if (m_form.S().shell.Layout_Grafico == QLatin1String("GRANDE"))
        m_controlliCiclo->Riempi();
}

void FinestraOperativa::Cmd_GRaf_P_Click(int index)
{
    StatoCicli &c = m_form.S().cicli;
    // While a loading or a change of underlying holds the charts they stay four.
    if (m_form.S().shell.Blocco_Grafici || index < 0 || index > 3)
        return;
    const int grado = c.Conf_Grafici[size_t(index)].grado;
    // The tool frame shows a degree's settings: a slot without a valid degree stays small.
    if (grado < 0 || grado > costanti::Max_Grado)
        return;
    c.Grado_Corrente = grado;
    c.Grafico_Corrente = index;
    Imposta_Layout_Grande(index);
}

void FinestraOperativa::Cmd_GRaf_M_Click(int) { Imposta_Layout_Ridotto(); }

void FinestraOperativa::Ridisponi_Grafici()
{
    if (m_form.S().shell.Layout_Grafico != QLatin1String("RIDOTTO"))
        Imposta_Layout_Grande(m_form.S().cicli.Grafico_Corrente);
    else
        Imposta_Layout_Ridotto();
}

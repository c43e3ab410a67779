#include "cycle/GraficoTempoReale.h"

#include "archive/StatoArchivio.h"
#include "cycle/StatoCicli.h"
#include "platform/StatoProgramma.h"

#include <QStringList>

namespace tempo_reale {

QString Testo_Domanda()
{
    return QStringList{QStringLiteral("Si desidera attivare L'aggiornamento Grafico in Realtime  di Wavelore ?    "),
                       QString(),
                       QStringLiteral("L'attivazione di questo servizio potrebbe rallentare Wavelore "),
                       QStringLiteral("se non si dispone di una configurazione adeguata del Vostro computer."),
                       QString(),
                       QStringLiteral("Premere Si per attivare, No per non attivare")}
        .join(QStringLiteral("\r\n"));
}

}  // namespace tempo_reale

namespace {

void ridisegnaSlotRT(const StatoCicli &cicli, AmbienteGraficoRT &a)
{
    for (int s = 0; s < costanti::Num_Slot; ++s) {
        const int k = cicli.Conf_Grafici[size_t(s)].grado;
        if (k >= tempo_reale::Primo_Grado_RT)
            a.Disegna_Grafico(s, k);
    }
}

}  // namespace

bool Cmd_Graf_RT_Click(StatoArchivio &archivio, const StatoCicli &cicli, AmbienteGraficoRT &a)
{
    int &rt = archivio.Grafico_RT;
    if (rt == 1) {
        rt = 0;
        a.Colore_Cmd_Graf_RT(cicli.Colori[41]);
    } else {
        a.Beep();
        const bool si = a.Domanda(tempo_reale::Titolo_Domanda, tempo_reale::Testo_Domanda());
        if (si) {
            rt = 1;
            a.Colore_Cmd_Graf_RT(cicli.Colori[42]);
        } else {
            rt = 0;
        }
    }
    ridisegnaSlotRT(cicli, a);
    return a.Salva_Grafico_RT();
}

void Text_Last_Change(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
                      AmbienteGraficoRT &a)
{
    if (archivio.Grafico_RT != 1 || programma.Blocco_Grafici || programma.Blocco_Aggiornamento)
        return;
    ridisegnaSlotRT(cicli, a);
}

void Cancella_Grafici(AmbienteGraficoRT &a)
{
    for (int s = 0; s < costanti::Num_Slot; ++s) {
        GraficoControllo *g = a.Graf_Battleplan(s);
        if (!g)
            continue;
        g->Visibile(false);
        g->Svuota_Grafico();
        g->Ridisegna_Grafico();
    }
}

void Disegna_Grafici(const StatoCicli &cicli, AmbienteGraficoRT &a)
{
    for (int s = 0; s < costanti::Num_Slot; ++s)
        a.Disegna_Grafico(s, cicli.Conf_Grafici[size_t(s)].grado);
}

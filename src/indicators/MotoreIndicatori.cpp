#include "indicators/MotoreIndicatori.h"

#include "archive/StatoArchivio.h"
#include "cycle/StatoCicli.h"
#include "indicators/ContestoIndicatori.h"
#include "indicators/Indicatori.h"
#include "indicators/StatoIndicatori.h"
#include "indicators/TabellaIndicatori.h"
#include "platform/StatoProgramma.h"

#include <algorithm>

using namespace indicatori;

namespace {

bool gradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }
bool slotValido(int grafico) { return grafico >= 0 && grafico < costanti::Num_Slot; }

}  // namespace

MotoreIndicatori::MotoreIndicatori(const StatoProgramma &programma, const StatoArchivio &archivio,
                                   const StatoMercato &mercato, const StatoCicli &cicli, StatoIndicatori &indicatori,
                                   AmbienteIndicatori *ambiente)
    : m_programma(programma), m_archivio(archivio), m_mercato(mercato), m_cicli(cicli), m_indicatori(indicatori),
      m_ambiente(ambiente)
{
}

void MotoreIndicatori::Aggiorna_Indicatori(int grafico) { richiedi({Richiesta::Slot, grafico}); }

void MotoreIndicatori::Aggiorna_Indicatori_Grafici() { richiedi({Richiesta::Tutti}); }

void MotoreIndicatori::Calcola_Indicatore(int item, int grado, int grafico)
{
    richiedi({Richiesta::Item, item, grado, grafico});
}

void MotoreIndicatori::Calcola_Profilo_Volumi(int grado, int grafico)
{
    richiedi({Richiesta::Profilo, grado, grafico});
}

void MotoreIndicatori::richiedi(const Richiesta &r)
{
    if (m_inCorso) {
        // Asked for from inside a run: once afterwards, however often it was asked.
        if (std::find(m_inAttesa.begin(), m_inAttesa.end(), r) == m_inAttesa.end())
            m_inAttesa.push_back(r);
        return;
    }
    m_inCorso = true;
    esegui(r);
    while (!m_inAttesa.empty()) {
        const Richiesta prossima = m_inAttesa.front();
        m_inAttesa.erase(m_inAttesa.begin());
        esegui(prossima);
    }
    m_inCorso = false;
}

void MotoreIndicatori::esegui(const Richiesta &r)
{
    switch (r.tipo) {
    case Richiesta::Slot:
        aggiornaSlot(r.a);
        break;
    case Richiesta::Tutti:
        if (m_ambiente)
            m_ambiente->Disabilita_Finestra();
        for (int s = 0; s < costanti::Num_Slot; ++s)
            aggiornaSlot(s);
        if (m_ambiente)
            m_ambiente->Abilita_Finestra();
        break;
    case Richiesta::Item:
        calcolaItem(r.a, r.b, r.c);
        break;
    case Richiesta::Profilo:
        calcolaProfilo(r.a, r.b);
        break;
    }
}

void MotoreIndicatori::aggiornaSlot(int grafico)
{
    if (!slotValido(grafico))
        return;
    const int grado = m_cicli.Conf_Grafici[size_t(grafico)].grado;
    if (!gradoValido(grado))
        return;
    const auto &attivi = m_indicatori.Ind_Attivo[size_t(grado)];
    bool banner = false;
    ContestoIndicatori contesto(m_mercato, m_cicli, m_indicatori, grado);
    for (int item : Ordine_Dispatch) {
        if (attivi[size_t(item)] != 1)
            continue;
        if (item == Item_Profilo_Volumi) {
            calcolaProfilo(grado, grafico);
            continue;
        }
        // The run does not yield, so one banner stands for every item of it.
        if (!banner) {
            Mostra_Caricamento_Indicatore(grado, grafico, QString());
            banner = true;
        }
        TabellaIndicatori()[size_t(item)].routine(contesto, m_indicatori);
    }
    if (!m_programma.Blocco_Grafici && m_ambiente)
        m_ambiente->Disegna_Grafico(grafico, grado);
}

void MotoreIndicatori::calcolaItem(int item, int grado, int grafico)
{
    if (!gradoValido(grado) || item < 0 || item >= Num_Item)
        return;
    if (item == Item_Profilo_Volumi) {
        calcolaProfilo(grado, grafico);
        return;
    }
    Mostra_Caricamento_Indicatore(grado, grafico, QString());
    ContestoIndicatori contesto(m_mercato, m_cicli, m_indicatori, grado);
    TabellaIndicatori()[size_t(item)].routine(contesto, m_indicatori);
}

void MotoreIndicatori::calcolaProfilo(int grado, int grafico)
{
    if (!gradoValido(grado))
        return;
    if (!ProfiloEscluso(m_archivio.Sottostante_Corrente, grado))
        Mostra_Caricamento_Indicatore(grado, grafico, Nome_Profilo);
    indicatori::Calcola_Profilo_Volumi(m_archivio, m_mercato, m_cicli, m_indicatori, grado);
}

void MotoreIndicatori::Mostra_Caricamento_Indicatore(int grado, int grafico, const QString &nome)
{
    if (m_programma.Blocco_Grafici || !m_ambiente || !gradoValido(grado) || !slotValido(grafico))
        return;
    if (nome != Nome_Profilo && grado > 2)
        return;
    GraficoControllo *ctl = m_ambiente->Grafico(grafico);
    if (!ctl)
        return;
    m_ambiente->Disabilita_Finestra();
    ctl->Seleziona_Asse_Y(1);
    ctl->Seleziona_Asse_X(1);
    ctl->Nuova_Serie(QString());
    // Placed by the adaptive duration whatever the duration mode.
    ctl->Aggiungi_Testo(Testo_Caricamento, m_cicli.Durata[size_t(grado)] / 2.0, 9.0, 1,
                        QStringLiteral("bold"), m_cicli.Colori[81], 0, 0);
    ctl->Ridisegna_Subito();
    m_ambiente->Abilita_Finestra();
}

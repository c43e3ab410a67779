#pragma once

// The working window built on FormS1: the panels of the working window, the
// one-shot timers, the resize rules, the colour switch and the web link, with
// their handlers. What the loading sequence and the indicator engine ask of the
// window goes through its adapters (ServiziFinestra.h). FormS1 keeps its own
// structure; this object fills its frames and its loading hooks.

#include "indicators/MotoreIndicatori.h"
#include "market/SessioneQuotazioni.h"
#include "shell/Caricamento.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

class AreaGrafici;
class ControlliCiclo;
class IndicatoriFinestra;
class ServiziFinestra;
struct AmbienteGraficoRT;
class FormS1;
class PannelloCicli;
class PannelloQuotazioni;
class PannelloStorico;
class StrumentiFinestra;

class FinestraOperativa : public QObject {
    Q_OBJECT
public:
    explicit FinestraOperativa(FormS1 &form);
    ~FinestraOperativa() override;

    FormS1 &Form() { return m_form; }
    Caricamento &Sequenza() { return *m_caricamento; }
    MotoreIndicatori &Motore() { return *m_motore; }
    AreaGrafici *Area() const { return m_area; }
    PannelloStorico *Storico() const { return m_storico; }
    PannelloQuotazioni *Quotazioni() const { return m_quotazioni; }
    PannelloCicli *Cicli() const { return m_cicli; }
    StrumentiFinestra *Strumenti() const { return m_strumenti; }
    ControlliCiclo *Controlli_Ciclo() const { return m_controlliCiclo; }

    // The online session, when there is one: server waits, sends and copies go through it.
    void Collega_Sessione(SessioneQuotazioni *sessione);
    SessioneQuotazioni *Sessione() const { return m_sessione; }

    // Loading phases as the start panel, the server and the offline options start them.
    void Carica_Storici_Avvio();
    void Carica_Dati_Avvio();
    // A loading that cannot go on: the message, then the program ends. Tests replace it.
    std::function<void(const QString &messaggio)> Fallimento;
    // A warning the loading gives and goes on (a damaged local history file). Tests replace it.
    std::function<void(const QString &messaggio)> Avviso_Caricamento;

    // One-shot timers.
    QTimer Timer_Disegno;
    QTimer Timer_Agg_RT;
    QTimer Timer_Indicatori;
    void Arma_Timer_Disegno();
    void Arma_Timer_Agg_RT();
    void Arma_Timer_Indicatori();
    int Slot_Timer_Indicatori() const { return m_slotIndicatori; }
    void Disegna_Grafico_Timer();
    void Spegni_Led_Storico_RT();
    void Aggiorna_Indicatori_Timer();
    // Lamps of the slots lit after a real-time bar, switched off 4 s later.
    void Accendi_Led_Storico_RT();

    void Cmd_Aspetto_Click(int index);
    void Lbl_Link_Click(int index);
    void Apri_Link(const QString &url);
    // Opens an address in the default browser; tests replace it.
    std::function<void(const QUrl &)> Apri_Url;

    // The change of underlying: the online list (its text checked, then the pick
    // applied) and the offline options. One loading at a time: a change asked for
    // while one runs is refused.
    void Cmb_Sot_Change();
    void Cmb_Sot_Click();
    void Imposta_Sottostante_Offline(int index);
    int Sottostante_Scelto() const { return m_sottostanteScelto; }
    bool Cambio_In_Corso() const { return m_cambioInCorso; }
    void Cmd_Storico_Click();

    void Form_Resize();
    void Form_MouseUp();

    void Disegna_Grafico(int grafico, int grado);
    void Disegna_Grafici();
    // The real-time chart switch, the last-price redraw and the clearing of all four charts.
    void Cmd_Graf_RT_Click();
    void Text_Last_Change();
    void Cancella_Grafici();
    // The question asked before switching real-time charts on; true for Yes. Tests replace it.
    std::function<bool(const QString &titolo, const QString &testo)> Domanda_RT;
    void Imposta_Titoli_Grafici();
    void Imposta_Opzione_Grafici();
    void Imposta_Pannelli_Modalita();
    void Imposta_Titolo_Finestra();
    void Imposta_Colori_Controlli();
    void Imposta_Layout_Senza_Storico();
    void Imposta_Layout_Con_Storico();
    void Imposta_Layout_Ridotto();
    // The one-chart layout, and the panel buttons that enter and leave it.
    void Imposta_Layout_Grande(int grafico);
    void Cmd_GRaf_P_Click(int index);
    void Cmd_GRaf_M_Click(int index);
    // A degree check box ticked or cleared by the user: the degree gets or leaves a slot.
    void Chk_Battl_Click(int index);
    void Richiesta_Dati_RT_Al_Server();
    // The loading progress on the start panel and the change panel.
    void Mostra_Avanzamento_Avvio(int passo);
    void Pausa(double secondi);
    // A counter, not a flag: the window is enabled again when every hold is released.
    void Disabilita_Finestra();
    void Abilita_Finestra();
    bool Disabilitata() const { return m_disabilitazioni > 0; }

    // Window size in twips (outer size).
    double Larghezza_Twips() const;
    double Altezza_Twips() const;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    void Prepara_Colonna_Sinistra();
    void Imposta_Colonna_Chat();
    // The chart layout in use, again at the chart frame's current size.
    void Ridisponi_Grafici();
    void Esito_Fase(Caricamento::Esito esito);
    void Cambia_Sottostante(int sottostante);
    void Fine_Cambio();
    AmbienteGraficoRT Ambiente_RT();

    FormS1 &m_form;
    std::unique_ptr<ServiziFinestra> m_servizi;
    std::unique_ptr<IndicatoriFinestra> m_ambienteIndicatori;
    std::unique_ptr<Caricamento> m_caricamento;
    std::unique_ptr<MotoreIndicatori> m_motore;
    AreaGrafici *m_area = nullptr;
    PannelloStorico *m_storico = nullptr;
    PannelloQuotazioni *m_quotazioni = nullptr;
    PannelloCicli *m_cicli = nullptr;
    StrumentiFinestra *m_strumenti = nullptr;
    ControlliCiclo *m_controlliCiclo = nullptr;
    QPointer<SessioneQuotazioni> m_sessione;
    int m_slotIndicatori = 0;
    int m_disabilitazioni = 0;
    bool m_inResize = false;
    int m_sottostanteScelto = 0;
    bool m_cambioInCorso = false;
};

namespace finestra {

// Creates the working window's side of `form` and fills its loading hooks.
FinestraOperativa *Prepara_Finestra_Operativa(FormS1 &form);

}  // namespace finestra

#pragma once

// The working window's answers to the loading sequence, to the indicator engine
// and to the chart tools: the routines and waits the sequence runs, the redraws
// and the window hold the engine asks for, the tools' messages, redraws and
// panels. The window owns the first two, the tools the third.

#include "drawing/ui/ServiziStrumenti.h"
#include "indicators/MotoreIndicatori.h"
#include "shell/Caricamento.h"

class DialoghiFinestra;
class FinestraOperativa;

class ServiziFinestra : public ServiziCaricamento {
public:
    ServiziFinestra(FinestraOperativa &finestra, DialoghiFinestra &dialoghi)
        : m_finestra(finestra), m_dialoghi(dialoghi)
    {
    }

    bool Carica_Sottostante_Corrente() override;
    bool Imposta_Formati_Locali() override;
    bool Imposta_Colori() override;
    bool Inizializza_Tabella_Chiave() override;
    bool Carica_Storico_Da_Server() override;
    bool Inizializza_Tab_Sottostanti() override;
    bool Carica_Storico_Offline() override;
    bool Aggiorna_Ultime_Barre_Storico() override;
    bool Salva_Storico_5M() override;
    bool Salva_Storico_15M() override;
    bool Salva_Storico_1H() override;
    bool Salva_Storico_1D() override;
    bool Inizializza_Tabelle_Cicli() override;
    bool Carica_Parametri() override;
    bool Carica_Indicatori() override;
    bool Carica_Impostazioni_Sottostante() override;
    bool Calcola_Tempi_Futuri() override;
    bool Carica_Linee() override;
    bool Carica_Testi() override;
    bool Carica_Distanze() override;
    bool Carica_Combo() override;
    bool Inizializza_Chk_Battl() override;
    bool Aggiorna_Etichette_Gradi() override;
    bool Calcola_Battleplan_Tutti() override;
    bool Aggiorna_Indicatori_Grafici() override;
    bool Disegna_Grafici() override;
    bool Imposta_Titolo_Finestra() override;
    bool Imposta_Pannelli_Modalita() override;
    bool Imposta_Layout_Oggetti_Graf() override;
    bool Imposta_Layout_Senza_Storico() override;
    bool Imposta_Layout_Ridotto() override;
    bool Imposta_Opzione_Grafici() override;
    bool Imposta_Titoli_Grafici() override;
    bool Imposta_Colori_Controlli() override;
    bool Ferma_Timer() override;
    bool Richiesta_Dati_RT_Al_Server() override;
    bool Apri_Finestra_Operativa() override;

    QString Errore() const override;
    void Mostra_Avanzamento_Avvio(int passo) override;
    void Pausa(double secondi) override;
    bool Connesso() const override;
    void Invia(const QString &messaggio) override;
    bool Attendi_Download(int millisecondi) override;
    bool Frm_Avvio_Visibile() const override;

private:
    FinestraOperativa &m_finestra;
    DialoghiFinestra &m_dialoghi;
    QString m_errore;
};

class IndicatoriFinestra : public AmbienteIndicatori {
public:
    explicit IndicatoriFinestra(FinestraOperativa &finestra) : m_finestra(finestra) {}

    void Disegna_Grafico(int grafico, int grado) override;
    GraficoControllo *Grafico(int grafico) override;
    void Disabilita_Finestra() override;
    void Abilita_Finestra() override;

private:
    FinestraOperativa &m_finestra;
};

class ServiziStrumentiFinestra : public ServiziStrumenti {
public:
    explicit ServiziStrumentiFinestra(FinestraOperativa &finestra) : m_finestra(finestra) {}

    void Mostra_Messaggio(int tipo) override;
    void Mostra_Testo_Messaggio(const QString &testo) override;
    void Mostra_Errore(const QString &testo) override;
    void Avvia_Timer_Disegno() override;
    void Ridisegna_Grafico_Corrente() override;
    bool Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore) override;
    QWidget *Riquadro(int slot) override;

private:
    FinestraOperativa &m_finestra;
};

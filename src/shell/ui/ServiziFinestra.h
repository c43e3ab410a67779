#pragma once

// The working window's answers to the loading sequence and to the indicator
// engine: the routines and waits the sequence runs, the redraws and the window
// hold the engine asks for. The window owns one of each.

#include "indicators/MotoreIndicatori.h"
#include "shell/Caricamento.h"

class FinestraOperativa;

class ServiziFinestra : public ServiziCaricamento {
public:
    explicit ServiziFinestra(FinestraOperativa &finestra) : m_finestra(finestra) {}

    bool Esegui(Servizio s) override;
    QString Errore() const override;
    void Mostra_Avanzamento_Avvio(int passo) override;
    void Pausa(double secondi) override;
    bool Connesso() const override;
    void Invia(const QString &messaggio) override;
    bool Attendi_Download(int millisecondi) override;
    bool Frm_Avvio_Visibile() const override;

private:
    FinestraOperativa &m_finestra;
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

#pragma once

// Do-nothing versions of the seams the window answers, for tests that record or
// answer only part of them: a test derives from one and overrides what it checks.
// A question is answered No, a save goes through, nothing is shown or waited for.

#include "cycle/GraficoTempoReale.h"
#include "drawing/StrumentiGrafici.h"
#include "market/SessioneQuotazioni.h"
#include "shell/Uscita.h"

struct AmbienteGraficoRTVuoto : AmbienteGraficoRT {
    void Beep() override {}
    bool Domanda(const QString &, const QString &) override { return false; }
    void Colore_Cmd_Graf_RT(ColoreWin) override {}
    void Disegna_Grafico(int, int) override {}
    bool Salva_Grafico_RT() override { return true; }
    GraficoControllo *Graf_Battleplan(int) override { return nullptr; }
};

struct AmbienteStrumentiVuoto : AmbienteStrumenti {
    void Mostra_Messaggio(int) override {}
    void Mostra_Testo_Messaggio(const QString &) override {}
    void Avvia_Timer_Disegno() override {}
    bool Salva_Linea(int, int, QString &) override { return true; }
    bool Salva_Distanza(int, int, QString &) override { return true; }
    bool Salva_Testo(int, int, QString &) override { return true; }
    bool Salva_Parametro(archivio::Codice_Modifica, int, QString &) override { return true; }
    void Mostra_Errore(const QString &) override {}
    void Imposta_Puntatore(int, int) override {}
    void Mostra_Banda(int, const BandaElastica &) override {}
    void Nascondi_Banda(int) override {}
    void Mostra_Coord_Graf(int) override {}
    bool Geometria(int, GeometriaSlot &) override { return false; }
    void Posiziona_Txt_Cord_Mob(bool, double, double) override {}
    void Apri_Casella_Testo(ColoreWin, ColoreWin) override {}
    void Chiudi_Casella_Testo() override {}
    void Beep() override {}
    void Ridisegna_Grafico_Corrente() override {}
};

struct AzioniSessioneVuote : AzioniSessione {
    void Imposta_Lbl_Stato(const QString &) override {}
    void Imposta_Text_Stato(const QString &) override {}
    void Abilita_Pulsanti(bool) override {}
    void Mostra_Utente(const QString &, const QString &) override {}
    void Aggiorna_Caselle(bool) override {}
    void Lampeggia_Led_RT() override {}
    void Mostra_Messaggio_Chat(const QString &) override {}
    void Beep() override {}
    void Messaggio(Icona, const QString &, const QString &) override {}
    bool Domanda(Icona, const QString &, const QString &) override { return false; }
    void Mostra_Messaggio(int, const QString &) override {}
    bool Form_Msg_Visibile() const override { return false; }
    void Mostra_Riconnessione(bool) override {}
    void Mostra_Avanzamento_Avvio(int) override {}
    void Pausa(double) override {}
    void Salva_Dati_Login() override {}
    void Inizializza_Variabili() override {}
    void Carica_Storici_Avvio() override {}
    void Carica_Dati_Avvio() override {}
    void Chiudi_Programma() override {}
    void Accendi_Led_Storico_RT() override {}
    void Dopo_Fusione_RT(const fusione::EsitoFusioneRT &) override {}
};

// An exit that asks and closes nothing; Chiudi_Programma still ends the process after
// Termina, so a test that reaches it overrides Termina with Termina_Prova.
struct UscitaVuota : Uscita {
    void Richiesta_Chiusura() override {}
    void Scarica_Form_Msg() override {}
    void Termina(int) override {}
    void Mostra_Salvataggio(bool) override {}
    void Avviso_Uscita(const QString &) override {}
};

#pragma once

// Do-nothing versions of the widget layers' seams (see InterfacceVuote.h).

#include "drawing/ui/ServiziStrumenti.h"
#include "shell/ui/FormS1.h"

struct ServiziStrumentiVuoti : ServiziStrumenti {
    void Mostra_Messaggio(int) override {}
    void Mostra_Testo_Messaggio(const QString &) override {}
    void Mostra_Errore(const QString &) override {}
    void Avvia_Timer_Disegno() override {}
    void Ridisegna_Grafico_Corrente() override {}
    bool Salva_Parametro(archivio::Codice_Modifica, int, QString &) override { return true; }
    QWidget *Riquadro(int) override { return nullptr; }
};

// The loading phases not run: for tests of what comes before them.
struct FasiAvvioVuote : FasiAvvio {
    void Carica_Storici_Avvio() override {}
    void Carica_Dati_Avvio() override {}
};

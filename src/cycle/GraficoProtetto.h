#pragma once

// The chart control as the drawing uses it: every call that fails is skipped
// and the next one runs, so one refused statement never takes the rest of its
// section with it. A value read back from a failing call is NaN, which no
// later step turns into a point or a range.

#include "chart/GraficoControllo.h"

#include <limits>

class GraficoProtetto : public GraficoControllo {
public:
    explicit GraficoProtetto(GraficoControllo &ctl) : m_ctl(ctl) {}
    void Svuota_Grafico() override
    {
        try {
            m_ctl.Svuota_Grafico();
        } catch (...) {
        }
    }
    void Prepara_Grafico(const QString &testo) override
    {
        try {
            m_ctl.Prepara_Grafico(testo);
        } catch (...) {
        }
    }
    int Aggiungi_Asse_Y(int numero = Prossimo_Asse) override
    {
        try {
            return m_ctl.Aggiungi_Asse_Y(numero);
        } catch (...) {
            return 0;
        }
    }
    int Aggiungi_Asse_X(int numero = Prossimo_Asse) override
    {
        try {
            return m_ctl.Aggiungi_Asse_X(numero);
        } catch (...) {
            return 0;
        }
    }
    void Seleziona_Asse_X(int numero = 1) override
    {
        try {
            m_ctl.Seleziona_Asse_X(numero);
        } catch (...) {
        }
    }
    void Seleziona_Asse_Y(int numero = 1) override
    {
        try {
            m_ctl.Seleziona_Asse_Y(numero);
        } catch (...) {
        }
    }
    void Nuova_Serie(const QString &nome) override
    {
        try {
            m_ctl.Nuova_Serie(nome);
        } catch (...) {
        }
    }
    void Stile_Serie(ColoreWin colore, int spessore, int stile) override
    {
        try {
            m_ctl.Stile_Serie(colore, spessore, stile);
        } catch (...) {
        }
    }
    void Aggiungi_Punto(double x, double y) override
    {
        try {
            m_ctl.Aggiungi_Punto(x, y);
        } catch (...) {
        }
    }
    void Aggiungi_Testo(const QString &testo, double x, double y, int allineamento, const QString &font, ColoreWin colore, int riservato, int modo) override
    {
        try {
            m_ctl.Aggiungi_Testo(testo, x, y, allineamento, font, colore, riservato, modo);
        } catch (...) {
        }
    }
    void Etichette_Asse_X(double inizio, double fine, double ultimo, int riservato1, int riservato2, const QString &etichette) override
    {
        try {
            m_ctl.Etichette_Asse_X(inizio, fine, ultimo, riservato1, riservato2, etichette);
        } catch (...) {
        }
    }
    void Titolo_Grafico(const QString &testo, const QString &font, ColoreWin colore, int scostamentoX, int scostamentoY, int riservato) override
    {
        try {
            m_ctl.Titolo_Grafico(testo, font, colore, scostamentoX, scostamentoY, riservato);
        } catch (...) {
        }
    }
    void Ridisegna_Grafico() override
    {
        try {
            m_ctl.Ridisegna_Grafico();
        } catch (...) {
        }
    }
    void Modo_Puntatore(int attivo) override
    {
        try {
            m_ctl.Modo_Puntatore(attivo);
        } catch (...) {
        }
    }
    bool Salva_Immagine(const QString &file) override
    {
        try {
            return m_ctl.Salva_Immagine(file);
        } catch (...) {
            return false;
        }
    }
    void Tipo_Punto_Serie(int tipo) override
    {
        try {
            m_ctl.Tipo_Punto_Serie(tipo);
        } catch (...) {
        }
    }
    void Tipo_Marcatore_Serie(int tipo) override
    {
        try {
            m_ctl.Tipo_Marcatore_Serie(tipo);
        } catch (...) {
        }
    }
    void Colore_Marcatore_Serie(ColoreWin colore) override
    {
        try {
            m_ctl.Colore_Marcatore_Serie(colore);
        } catch (...) {
        }
    }
    void Dimensione_Marcatore_Serie(double dimensione) override
    {
        try {
            m_ctl.Dimensione_Marcatore_Serie(dimensione);
        } catch (...) {
        }
    }
    void Scala_Fissa_Asse(int fissa) override
    {
        try {
            m_ctl.Scala_Fissa_Asse(fissa);
        } catch (...) {
        }
    }
    void Minimo_Asse(double valore) override
    {
        try {
            m_ctl.Minimo_Asse(valore);
        } catch (...) {
        }
    }
    void Massimo_Asse(double valore) override
    {
        try {
            m_ctl.Massimo_Asse(valore);
        } catch (...) {
        }
    }
    double Minimo_Asse() const override
    {
        try {
            return m_ctl.Minimo_Asse();
        } catch (...) {
            return std::numeric_limits<double>::quiet_NaN();
        }
    }
    double Massimo_Asse() const override
    {
        try {
            return m_ctl.Massimo_Asse();
        } catch (...) {
            return std::numeric_limits<double>::quiet_NaN();
        }
    }
    void Font_Asse(const QString &font) override
    {
        try {
            m_ctl.Font_Asse(font);
        } catch (...) {
        }
    }
    void Formato_Asse(const QString &formato) override
    {
        try {
            m_ctl.Formato_Asse(formato);
        } catch (...) {
        }
    }
    void Colore_Asse(ColoreWin colore) override
    {
        try {
            m_ctl.Colore_Asse(colore);
        } catch (...) {
        }
    }
    void Colore_Etichette_Asse(ColoreWin colore) override
    {
        try {
            m_ctl.Colore_Etichette_Asse(colore);
        } catch (...) {
        }
    }
    void Colore_Griglia_Asse(ColoreWin colore) override
    {
        try {
            m_ctl.Colore_Griglia_Asse(colore);
        } catch (...) {
        }
    }
    void Griglia_Asse(bool attiva) override
    {
        try {
            m_ctl.Griglia_Asse(attiva);
        } catch (...) {
        }
    }
    void Suddivisioni_Asse(int numero) override
    {
        try {
            m_ctl.Suddivisioni_Asse(numero);
        } catch (...) {
        }
    }
    void Posizione_Titolo(int posizione) override
    {
        try {
            m_ctl.Posizione_Titolo(posizione);
        } catch (...) {
        }
    }
    void Colore_Sfondo_Grafico(ColoreWin colore) override
    {
        try {
            m_ctl.Colore_Sfondo_Grafico(colore);
        } catch (...) {
        }
    }
    void Visibile(bool visibile) override
    {
        try {
            m_ctl.Visibile(visibile);
        } catch (...) {
        }
    }
    bool Visibile() const override
    {
        try {
            return m_ctl.Visibile();
        } catch (...) {
            return false;
        }
    }
    void Prendi_Focus() override
    {
        try {
            m_ctl.Prendi_Focus();
        } catch (...) {
        }
    }
    void Ridisegna_Subito() override
    {
        try {
            m_ctl.Ridisegna_Subito();
        } catch (...) {
        }
    }

private:
    GraficoControllo &m_ctl;
};

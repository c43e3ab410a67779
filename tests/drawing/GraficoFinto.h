#pragma once

// A chart slot without a window for the tool tests: fixed axis bounds that the
// tools read back, and a record of what they ask of the chart.

#include "cycle/ControlliGrafici.h"
#include "platform/GraficoControllo.h"

#include <QList>
#include <QPointF>
#include <array>
#include <memory>

class GraficoFinto : public GraficoControllo {
public:
    struct Serie {
        ColoreWin colore = 0;
        int spessore = 0, stile = 0, tipo = -1;
        QList<QPointF> punti;
    };

    double xMin = 0, xMax = 160;
    std::array<double, 8> yMin{0, 0, 100, 0, 0, 0, 0, 0};
    std::array<double, 8> yMax{0, 28, 128, 0, 0, 0, 0, 0};
    int assexCorrente = 1, asseyCorrente = 1;
    int modoPuntatore = -1;
    int cambiModoPuntatore = 0;
    int focus = 0;
    QList<Serie> serie;

    void Svuota_Grafico() override { serie.clear(); }
    void Prepara_Grafico(const QString &) override {}
    int Aggiungi_Asse_Y(int n) override { return asseyCorrente = n ? n : 3; }
    int Aggiungi_Asse_X(int n) override { return assexCorrente = n ? n : 2; }
    // Attribute reads go to the axis selected last.
    void Seleziona_Asse_X(int n) override
    {
        assexCorrente = n;
        ultimoY = false;
    }
    void Seleziona_Asse_Y(int n) override
    {
        asseyCorrente = n;
        ultimoY = true;
    }
    void Nuova_Serie(const QString &) override { serie.append(Serie{}); }
    void Stile_Serie(ColoreWin c, int s, int st) override
    {
        if (!serie.isEmpty()) {
            serie.last().colore = c;
            serie.last().spessore = s;
            serie.last().stile = st;
        }
    }
    void Aggiungi_Punto(double x, double y) override
    {
        if (!serie.isEmpty())
            serie.last().punti.append(QPointF(x, y));
    }
    void Aggiungi_Testo(const QString &, double, double, int, const QString &, ColoreWin, int, int) override {}
    void Etichette_Asse_X(double, double, double, int, int, const QString &) override {}
    void Titolo_Grafico(const QString &, const QString &, ColoreWin, int, int, int) override {}
    void Ridisegna_Grafico() override {}
    void Modo_Puntatore(int attivo) override
    {
        modoPuntatore = attivo;
        ++cambiModoPuntatore;
    }
    bool Salva_Immagine(const QString &) override { return false; }
    void Tipo_Punto_Serie(int t) override
    {
        if (!serie.isEmpty())
            serie.last().tipo = t;
    }
    void Tipo_Marcatore_Serie(int) override {}
    void Colore_Marcatore_Serie(ColoreWin) override {}
    void Dimensione_Marcatore_Serie(double) override {}
    void Scala_Fissa_Asse(int) override {}
    void Minimo_Asse(double) override {}
    void Massimo_Asse(double) override {}
    double Minimo_Asse() const override { return ultimoY ? yMin[size_t(asseyCorrente)] : xMin; }
    double Massimo_Asse() const override { return ultimoY ? yMax[size_t(asseyCorrente)] : xMax; }
    void Font_Asse(const QString &) override {}
    void Formato_Asse(const QString &) override {}
    void Colore_Asse(ColoreWin) override {}
    void Colore_Etichette_Asse(ColoreWin) override {}
    void Colore_Griglia_Asse(ColoreWin) override {}
    void Griglia_Asse(bool) override {}
    void Suddivisioni_Asse(int) override {}
    void Posizione_Titolo(int) override {}
    void Colore_Sfondo_Grafico(ColoreWin) override {}
    void Visibile(bool) override {}
    bool Visibile() const override { return true; }
    void Prendi_Focus() override { ++focus; }

    bool ultimoY = true;
};

class ControlliFinti : public ControlliGrafici {
public:
    std::array<GraficoFinto, 4> grafici;
    std::array<BarraValori, 4> hsc;
    std::array<BarraValori, 4> hscY;

    GraficoControllo *Graf_Battleplan(int s) override { return s >= 0 && s < 4 ? &grafici[size_t(s)] : nullptr; }
    BarraScorrimento *Hsc_Graf(int s) override { return s >= 0 && s < 4 ? &hsc[size_t(s)] : nullptr; }
    BarraScorrimento *Hsc_Graf_Y(int s) override { return s >= 0 && s < 4 ? &hscY[size_t(s)] : nullptr; }
    void Mostra_Comandi_Slot(int, bool) override {}
    int Sld_Zoom_Max() const override { return 10; }
    QString Text_Last() const override { return {}; }
};

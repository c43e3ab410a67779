#pragma once

// The chart control for tests: keeps the content like the real control
// (ModelloGrafico) and records every call in order as "Name(arg,arg)".

#include "chart/ModelloGrafico.h"

#include <QStringList>

class GraficoRegistratore : public ModelloGrafico {
public:
    QStringList chiamate;

    // Calls whose text starts with `prefisso`.
    QStringList chiamateDi(const QString &prefisso) const;
    int conta(const QString &prefisso) const { return int(chiamateDi(prefisso).size()); }
    // Position of the first call starting with `prefisso`, -1 when none.
    int indice(const QString &prefisso, int da = 0) const;
    // Series whose name is `nome` ("" for the unnamed ones).
    std::vector<const SerieGrafico *> serieDi(const QString &nome) const;

    void Svuota_Grafico() override;
    void Prepara_Grafico(const QString &testo) override;
    int Aggiungi_Asse_Y(int numero = Prossimo_Asse) override;
    int Aggiungi_Asse_X(int numero = Prossimo_Asse) override;
    void Seleziona_Asse_X(int numero = 1) override;
    void Seleziona_Asse_Y(int numero = 1) override;
    void Nuova_Serie(const QString &nome) override;
    void Stile_Serie(ColoreWin colore, int spessore, int stile) override;
    void Aggiungi_Punto(double x, double y) override;
    void Aggiungi_Testo(const QString &testo, double x, double y, int allineamento, const QString &font,
                        ColoreWin colore, int riservato, int modo) override;
    void Etichette_Asse_X(double inizio, double fine, double ultimo, int riservato1, int riservato2,
                          const QString &etichette) override;
    void Titolo_Grafico(const QString &testo, const QString &font, ColoreWin colore, int scostamentoX,
                        int scostamentoY, int riservato) override;
    void Ridisegna_Grafico() override;
    void Modo_Puntatore(int attivo) override;
    bool Salva_Immagine(const QString &file) override;
    void Tipo_Punto_Serie(int tipo) override;
    void Tipo_Marcatore_Serie(int tipo) override;
    void Colore_Marcatore_Serie(ColoreWin colore) override;
    void Dimensione_Marcatore_Serie(double dimensione) override;
    void Scala_Fissa_Asse(int fissa) override;
    using ModelloGrafico::Massimo_Asse;
    using ModelloGrafico::Minimo_Asse;
    void Minimo_Asse(double valore) override;
    void Massimo_Asse(double valore) override;
    void Font_Asse(const QString &font) override;
    void Formato_Asse(const QString &formato) override;
    void Colore_Asse(ColoreWin colore) override;
    void Colore_Etichette_Asse(ColoreWin colore) override;
    void Colore_Griglia_Asse(ColoreWin colore) override;
    void Griglia_Asse(bool attiva) override;
    void Suddivisioni_Asse(int numero) override;
    void Posizione_Titolo(int posizione) override;
    void Colore_Sfondo_Grafico(ColoreWin colore) override;
    using ModelloGrafico::Visibile;
    void Visibile(bool visibile) override;

private:
    void registra(const QString &nome, const QStringList &argomenti = {});
};

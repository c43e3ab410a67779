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
    void Prepara_Grafico(const QString &testo) noexcept override;
    int Aggiungi_Asse_Y(int numero = Prossimo_Asse) noexcept override;
    int Aggiungi_Asse_X(int numero = Prossimo_Asse) noexcept override;
    bool Seleziona_Asse_X(int numero = 1) noexcept override;
    bool Seleziona_Asse_Y(int numero = 1) noexcept override;
    void Nuova_Serie(const QString &nome) override;
    bool Stile_Serie(ColoreWin colore, int spessore, int stile) noexcept override;
    bool Aggiungi_Punto(double x, double y) override;
    bool Aggiungi_Testo(const QString &testo, double x, double y, int allineamento, const QString &font,
                        ColoreWin colore, int riservato, int modo) override;
    void Etichette_Asse_X(double inizio, double fine, double ultimo, int riservato1, int riservato2,
                          const QString &etichette) override;
    void Titolo_Grafico(const QString &testo, const QString &font, ColoreWin colore, int scostamentoX,
                        int scostamentoY, int riservato) noexcept override;
    void Ridisegna_Grafico() override;
    void Modo_Puntatore(int attivo) override;
    bool Salva_Immagine(const QString &file) override;
    bool Tipo_Punto_Serie(int tipo) noexcept override;
    bool Tipo_Marcatore_Serie(int tipo) noexcept override;
    bool Colore_Marcatore_Serie(ColoreWin colore) noexcept override;
    bool Dimensione_Marcatore_Serie(double dimensione) noexcept override;
    void Scala_Fissa_Asse(int fissa) noexcept override;
    using ModelloGrafico::Massimo_Asse;
    using ModelloGrafico::Minimo_Asse;
    void Minimo_Asse(double valore) noexcept override;
    void Massimo_Asse(double valore) noexcept override;
    void Font_Asse(const QString &font) noexcept override;
    void Formato_Asse(const QString &formato) noexcept override;
    void Colore_Asse(ColoreWin colore) noexcept override;
    void Colore_Etichette_Asse(ColoreWin colore) noexcept override;
    void Colore_Griglia_Asse(ColoreWin colore) noexcept override;
    void Griglia_Asse(bool attiva) noexcept override;
    void Suddivisioni_Asse(int numero) noexcept override;
    void Posizione_Titolo(int posizione) noexcept override;
    void Colore_Sfondo_Grafico(ColoreWin colore) noexcept override;
    using ModelloGrafico::Visibile;
    void Visibile(bool visibile) override;

private:
    void registra(const QString &nome, const QStringList &argomenti = {});
};

#pragma once

// The content of one chart control without any window: axes, series, texts,
// X labels and title as the drawing defined them. The widget paints it,
// render_grafico paints it onto any device, tests read it back.

#include "chart/GraficoControllo.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

struct AsseGrafico {
    bool esiste = false;
    bool fissa = false;
    double minimo = 0.0;
    double massimo = 0.0;
    QString font;
    QString formato;
    std::optional<ColoreWin> colore;
    std::optional<ColoreWin> coloreEtichette;
    std::optional<ColoreWin> coloreGriglia;
    bool griglia = false;
    int suddivisioni = 0;
};

struct SerieGrafico {
    QString nome;
    int asseX = 1;
    int asseY = 1;
    std::optional<ColoreWin> colore;  // none: the control's default pen
    int spessore = 1;
    int stile = 1;
    int tipoPunto = 0;
    int tipoMarcatore = 0;
    std::optional<ColoreWin> coloreMarcatore;
    double dimensioneMarcatore = 0.0;
    std::vector<QPointF> punti;  // finite points only
    int puntiScartati = 0;       // non-finite points refused
};

struct TestoGrafico {
    QString testo;
    double x = 0.0;
    double y = 0.0;
    int allineamento = 0;
    QString font;
    ColoreWin colore = GraficoControllo::Colore_Predefinito;
    int modo = 0;
    int asseX = 1;
    int asseY = 1;
    int sopraSerie = 0;  // series defined before it: it is painted over them
};

struct EtichettaAsse {
    double x = 0.0;
    QString testo;
};

// The label text holds one "," per bar position without a label, and a label
// stands in place of its position's comma: label k (0-based) preceded by c
// commas labels position c + k + 1.
struct EtichetteGrafico {
    int asseX = 0;  // 0: none
    double fine = 0.0;
    std::vector<EtichettaAsse> voci;
};

struct TitoloGrafico {
    QString testo;
    QString font;
    ColoreWin colore = GraficoControllo::Colore_Predefinito;
};

class ModelloGrafico : public GraficoControllo {
public:
    static constexpr int Num_Assi_X = 3;
    static constexpr int Num_Assi_Y = 7;

    ModelloGrafico();

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
    // Without a window nothing is painted later: the same as Ridisegna_Grafico.
    void Ridisegna_Subito() override { Ridisegna_Grafico(); }
    void Modo_Puntatore(int attivo) override;
    bool Salva_Immagine(const QString &file) override;

    bool Tipo_Punto_Serie(int tipo) noexcept override;
    bool Tipo_Marcatore_Serie(int tipo) noexcept override;
    bool Colore_Marcatore_Serie(ColoreWin colore) noexcept override;
    bool Dimensione_Marcatore_Serie(double dimensione) noexcept override;

    void Scala_Fissa_Asse(int fissa) noexcept override;
    void Minimo_Asse(double valore) noexcept override;
    void Massimo_Asse(double valore) noexcept override;
    double Minimo_Asse() const noexcept override;
    double Massimo_Asse() const noexcept override;
    void Font_Asse(const QString &font) noexcept override;
    void Formato_Asse(const QString &formato) noexcept override;
    void Colore_Asse(ColoreWin colore) noexcept override;
    void Colore_Etichette_Asse(ColoreWin colore) noexcept override;
    void Colore_Griglia_Asse(ColoreWin colore) noexcept override;
    void Griglia_Asse(bool attiva) noexcept override;
    void Suddivisioni_Asse(int numero) noexcept override;

    void Posizione_Titolo(int posizione) noexcept override;
    void Colore_Sfondo_Grafico(ColoreWin colore) noexcept override;

    void Visibile(bool visibile) override;
    bool Visibile() const noexcept override;
    void Prendi_Focus() override {}

    // --- read back -------------------------------------------------------
    const AsseGrafico &asseX(int numero) const { return m_assiX[size_t(indice(numero, Num_Assi_X))]; }
    const AsseGrafico &asseY(int numero) const { return m_assiY[size_t(indice(numero, Num_Assi_Y))]; }
    int asseXCorrente() const { return m_asseXCorrente; }
    int asseYCorrente() const { return m_asseYCorrente; }
    const std::vector<SerieGrafico> &serie() const { return m_serie; }
    const std::vector<TestoGrafico> &testi() const { return m_testi; }
    const EtichetteGrafico &etichette() const { return m_etichette; }
    const TitoloGrafico &titolo() const { return m_titolo; }
    std::optional<ColoreWin> coloreSfondo() const { return m_sfondo; }
    bool puntatore() const { return m_puntatore; }
    int ridisegni() const { return m_ridisegni; }
    // Anything but appended series, points and texts changes it: the cue for a full repaint.
    quint64 versioneStruttura() const { return m_versione; }

    // Size used by Salva_Immagine when the control has no window of its own.
    void impostaDimensione(QSize dimensione) { m_dimensione = dimensione; }
    QSize dimensione() const { return m_dimensione; }

private:
    static int indice(int numero, int massimo) { return (numero >= 1 && numero <= massimo) ? numero - 1 : 0; }
    AsseGrafico *asseAttributi() noexcept;
    SerieGrafico *serieCorrente() noexcept;
    void cambiaStruttura() noexcept { ++m_versione; }

    std::array<AsseGrafico, Num_Assi_X> m_assiX{};
    std::array<AsseGrafico, Num_Assi_Y> m_assiY{};
    int m_asseXCorrente = 1;
    int m_asseYCorrente = 1;
    bool m_attributiSuX = false;  // axis attributes go to the axis selected or added last
    std::vector<SerieGrafico> m_serie;
    // Point buffers of the series emptied last, reused so that a rebuild of a
    // large chart allocates nothing.
    std::vector<std::vector<QPointF>> m_riserva;
    std::vector<TestoGrafico> m_testi;
    EtichetteGrafico m_etichette;
    TitoloGrafico m_titolo;
    std::optional<ColoreWin> m_sfondo;
    bool m_puntatore = false;
    bool m_visibile = true;
    int m_ridisegni = 0;
    quint64 m_versione = 0;
    QSize m_dimensione{800, 560};
};

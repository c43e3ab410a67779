#pragma once

// The chart control of one chart slot, as every drawing routine sees it. The
// widget (chart/ui/GraficoWidget) draws it, ModelloGrafico holds its content
// without painting, and tests record the calls through the same interface.
//
// Axes: X axes 1..3 and Y axes 1..7 all map onto the one plot rectangle. X axis 1
// and Y axis 1 always exist; the others are added after each Svuota_Grafico. An X
// axis without a fixed range shares X axis 1's range. Series and texts go to the
// current X and Y axis; axis attributes go to the axis selected or added last.
// Colours are Windows colour values 0x00BBGGRR.
//
// No call throws for any argument: a call the control cannot carry out (an axis
// that does not exist, no current series, a coordinate that is not finite)
// leaves the chart as it was and says so by its return value, false or 0. The
// calls marked noexcept store no more than a value; the others may still fail
// to allocate, and those that show the chart run window code.

#include <QString>
#include <cstdint>

using ColoreWin = std::uint32_t;

class GraficoControllo {
public:
    // A colour argument of -1: the control's default colour (the title colour).
    static constexpr ColoreWin Colore_Predefinito = 0xFFFFFFFFu;
    // Argument of Aggiungi_Asse_X/Y that asks for the lowest unused number ("").
    static constexpr int Prossimo_Asse = 0;

    virtual ~GraficoControllo() = default;

    // --- operations -------------------------------------------------------
    // Removes every series, text, X label and added axis; X axis 1 and Y axis 1
    // stay, with their attributes reset.
    virtual void Svuota_Grafico() = 0;
    virtual void Prepara_Grafico(const QString &testo) noexcept = 0;
    // Adds axis `numero` (or the lowest free one for Prossimo_Asse), makes it current
    // and returns its number; 0 when no axis could be added.
    virtual int Aggiungi_Asse_Y(int numero = Prossimo_Asse) noexcept = 0;
    virtual int Aggiungi_Asse_X(int numero = Prossimo_Asse) noexcept = 0;
    // An axis that was added; false for any other number.
    virtual bool Seleziona_Asse_X(int numero = 1) noexcept = 0;  // 1..3
    virtual bool Seleziona_Asse_Y(int numero = 1) noexcept = 0;  // 1..7
    // A new line series on the current axes ("" or "Sottostante").
    virtual void Nuova_Serie(const QString &nome) = 0;
    // Current series: width 1..3 pixels, style 1 solid, 2 dashed. The series
    // attributes are refused (false) while there is no series.
    virtual bool Stile_Serie(ColoreWin colore, int spessore, int stile) noexcept = 0;
    // Appends a point in the current axes' units; consecutive points are joined.
    // A point that is not finite is refused and counted (SerieGrafico::puntiScartati).
    virtual bool Aggiungi_Punto(double x, double y) = 0;
    // `testo` may hold CR LF. allineamento 0 left, 1 centre, 2 right of x; the
    // block hangs down from y. modo 0: axis units; modo 1: percent of the plot;
    // modo 2: axis units, kept clear of the modo 2 texts before it (see DisponiTesti).
    // Refused at a position that is not finite.
    virtual bool Aggiungi_Testo(const QString &testo, double x, double y, int allineamento,
                                const QString &font, ColoreWin colore, int riservato, int modo) = 0;
    // Text labels of the current X axis: field i of `etichette` split at ","
    // labels bar position i; the axis takes the range 1 .. fine.
    virtual void Etichette_Asse_X(double inizio, double fine, double ultimo, int riservato1,
                                  int riservato2, const QString &etichette) = 0;
    virtual void Titolo_Grafico(const QString &testo, const QString &font, ColoreWin colore,
                                int scostamentoX, int scostamentoY, int riservato) noexcept = 0;
    // Shows everything defined since the chart was emptied.
    virtual void Ridisegna_Grafico() = 0;
    // The control's own cross-hair pointer: 1 on, 0 off.
    virtual void Modo_Puntatore(int attivo) = 0;
    // Writes the chart as a .bmp picture; false when it could not be written.
    virtual bool Salva_Immagine(const QString &file) = 0;

    // --- series attributes (current series) -------------------------------
    virtual bool Tipo_Punto_Serie(int tipo) noexcept = 0;  // 0 plain line, 3 line with markers
    virtual bool Tipo_Marcatore_Serie(int tipo) noexcept = 0;  // 0 none, else a filled dot
    virtual bool Colore_Marcatore_Serie(ColoreWin colore) noexcept = 0;
    virtual bool Dimensione_Marcatore_Serie(double dimensione) noexcept = 0;  // finite

    // --- axis attributes (axis selected or added last) --------------------
    virtual void Scala_Fissa_Asse(int fissa) noexcept = 0;
    virtual void Minimo_Asse(double valore) noexcept = 0;
    virtual void Massimo_Asse(double valore) noexcept = 0;
    virtual double Minimo_Asse() const noexcept = 0;
    virtual double Massimo_Asse() const noexcept = 0;
    virtual void Font_Asse(const QString &font) noexcept = 0;
    virtual void Formato_Asse(const QString &formato) noexcept = 0;  // "0", "0.0", "0.000"
    virtual void Colore_Asse(ColoreWin colore) noexcept = 0;
    virtual void Colore_Etichette_Asse(ColoreWin colore) noexcept = 0;
    virtual void Colore_Griglia_Asse(ColoreWin colore) noexcept = 0;
    virtual void Griglia_Asse(bool attiva) noexcept = 0;
    virtual void Suddivisioni_Asse(int numero) noexcept = 0;

    // --- chart attributes -------------------------------------------------
    virtual void Posizione_Titolo(int posizione) noexcept = 0;
    // The chart's background colours (the whole control and the plot).
    virtual void Colore_Sfondo_Grafico(ColoreWin colore) noexcept = 0;

    // --- the control as a window -----------------------------------------
    virtual void Visibile(bool visibile) = 0;
    virtual bool Visibile() const noexcept = 0;
    virtual void Prendi_Focus() = 0;
    // Paints at once, for a banner shown before a long computation.
    virtual void Ridisegna_Subito() = 0;
};

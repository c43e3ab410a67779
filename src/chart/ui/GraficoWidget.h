#pragma once

// The chart control of a slot as a window. The chart is painted once per
// Ridisegna_Grafico into an image sized for the screen's pixel ratio (an image,
// not a pixmap, so dense lines can be written straight into it); paint events
// copy it and lay the cross-hair over it. When only series and texts were
// appended since the last painting (a rubber band following the mouse), just
// those are painted onto the image.

#include "chart/ModelloGrafico.h"
#include "chart/RenderGrafico.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class GraficoWidget : public QWidget, public ModelloGrafico {
    Q_OBJECT
public:
    explicit GraficoWidget(QWidget *parent = nullptr);

    void Ridisegna_Grafico() override;
    void Ridisegna_Subito() override;
    void Modo_Puntatore(int attivo) override;
    bool Salva_Immagine(const QString &file) override;
    using ModelloGrafico::Visibile;
    void Visibile(bool visibile) override;
    bool Visibile() const noexcept override;
    void Prendi_Focus() override;

    // The edges that the container hides or other controls cover: the plot and
    // its labels keep clear of them.
    void Imposta_Vista(const render_grafico::Vista &vista);
    const render_grafico::Vista &vista() const { return m_vista; }

    // The chart as it stands, without the cross-hair, at the window's size, laid
    // out for `vista` (for what the window shows when none is given).
    QImage Immagine() const { return Immagine(m_vista); }
    QImage Immagine(const render_grafico::Vista &vista) const;
    const render_grafico::Disposizione &disposizione() const { return m_disposizione; }
    int dipinture_complete() const { return m_complete; }

signals:
    // The control's events. Positions are in X axis 1 / Y axis 1 units,
    // extrapolated outside the plot; a key reaches the parent while KeyDown has
    // no receiver.
    void Click(int pulsante, int modificatori);
    void MouseMove(double x, double y);
    // The mouse left the chart (for a control lying over it too).
    void MouseLeave();
    void KeyDown(int codiceTasto, double x, double y);  // Backspace 8, Esc 27

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void aggiornaCache();

    QImage m_cache;
    bool m_valida = false;
    render_grafico::Vista m_vista;
    render_grafico::Disposizione m_disposizione;
    quint64 m_versione = ~quint64(0);
    size_t m_serieDipinte = 0;
    size_t m_puntiUltima = 0;
    size_t m_testiDipinti = 0;
    int m_complete = 0;
    QPointF m_mouse{-1, -1};
    bool m_mouseDentro = false;
    // Hidden while it held the keyboard: where Qt moved the keyboard meanwhile.
    bool m_fuocoDaRiprendere = false;
    QPointer<QWidget> m_fuocoNelFrattempo;
};

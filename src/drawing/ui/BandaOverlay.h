#pragma once

// The rubber band of a line or distance being placed, painted in a transparent
// layer over the chart: a mouse move repaints this layer only, the chart's cached
// picture is never rebuilt for it.

#include "drawing/StrumentiGrafici.h"

#include <QWidget>
#include <optional>

class GraficoWidget;

class BandaOverlay : public QWidget {
    Q_OBJECT
public:
    explicit BandaOverlay(GraficoWidget *grafico);

    void Mostra(const BandaElastica &banda);
    void Nascondi();
    bool Attiva() const { return m_banda.has_value(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    // The band's rectangle in pixels, widened by its pen; empty when it cannot be placed.
    QRect rettangolo(const BandaElastica &banda) const;

    GraficoWidget *m_grafico;
    std::optional<BandaElastica> m_banda;
};

#include "drawing/ui/BandaOverlay.h"

#include "chart/RenderGrafico.h"
#include "chart/ui/GraficoWidget.h"
#include "platform/Schermo.h"

#include <QEvent>
#include <QPainter>
#include <cmath>

BandaOverlay::BandaOverlay(GraficoWidget *grafico) : QWidget(grafico), m_grafico(grafico)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(grafico->rect());
    grafico->installEventFilter(this);
    hide();
}

bool BandaOverlay::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == m_grafico && evento->type() == QEvent::Resize)
        setGeometry(m_grafico->rect());
    return QWidget::eventFilter(oggetto, evento);
}

// Only what the old and the new band cover is painted again.
void BandaOverlay::Mostra(const BandaElastica &banda)
{
    const QRect prima = m_banda ? rettangolo(*m_banda) : QRect();
    m_banda = banda;
    if (isHidden()) {
        show();
        raise();
        update();
        return;
    }
    update(prima.united(rettangolo(banda)));
}

void BandaOverlay::Nascondi()
{
    if (!m_banda && isHidden())
        return;
    m_banda.reset();
    hide();
}

QRect BandaOverlay::rettangolo(const BandaElastica &banda) const
{
    const auto &disp = m_grafico->disposizione();
    const QPointF a = render_grafico::InPixel(disp, 1, 1, QPointF(banda.x1, banda.y1));
    const QPointF b = render_grafico::InPixel(disp, 1, 1, QPointF(banda.x2, banda.y2));
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return rect();
    const int margine = std::max(1, banda.spessore) + 2;
    return QRectF(a, b).normalized().toAlignedRect().adjusted(-margine, -margine, margine, margine).intersected(rect());
}

void BandaOverlay::paintEvent(QPaintEvent *)
{
    if (!m_banda)
        return;
    const auto &disp = m_grafico->disposizione();
    const QPointF a = render_grafico::InPixel(disp, 1, 1, QPointF(m_banda->x1, m_banda->y1));
    const QPointF b = render_grafico::InPixel(disp, 1, 1, QPointF(m_banda->x2, m_banda->y2));
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return;
    QPainter p(this);
    p.setClipRect(disp.piano);
    QPen penna(schermo::ColoreWin(m_banda->colore), std::max(1, m_banda->spessore));
    penna.setStyle(m_banda->stile == 2 ? Qt::DashLine : Qt::SolidLine);
    p.setPen(penna);
    p.drawLine(a, b);
}

#include "drawing/ui/BandaOverlay.h"

#include "platform/RenderGrafico.h"
#include "platform/Schermo.h"
#include "platform/ui/GraficoWidget.h"

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

void BandaOverlay::Mostra(const BandaElastica &banda)
{
    m_banda = banda;
    show();
    raise();
    update();
}

void BandaOverlay::Nascondi()
{
    if (!m_banda && isHidden())
        return;
    m_banda.reset();
    hide();
}

void BandaOverlay::paintEvent(QPaintEvent *)
{
    if (!m_banda)
        return;
    const auto &disp = m_grafico->disposizione();
    const QPointF a = RenderGrafico::InPixel(disp, 1, 1, QPointF(m_banda->x1, m_banda->y1));
    const QPointF b = RenderGrafico::InPixel(disp, 1, 1, QPointF(m_banda->x2, m_banda->y2));
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return;
    QPainter p(this);
    p.setClipRect(disp.piano);
    QPen penna(schermo::ColoreWin(m_banda->colore), std::max(1, m_banda->spessore));
    penna.setStyle(m_banda->stile == 2 ? Qt::DashLine : Qt::SolidLine);
    p.setPen(penna);
    p.drawLine(a, b);
}

#include "chart/ui/GraficoWidget.h"

#include "platform/Schermo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

GraficoWidget::GraficoWidget(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraficoWidget::Ridisegna_Grafico()
{
    ModelloGrafico::Ridisegna_Grafico();
    aggiornaCache();
    update();
}

void GraficoWidget::Ridisegna_Subito()
{
    ModelloGrafico::Ridisegna_Grafico();
    aggiornaCache();
    repaint();
}

void GraficoWidget::Modo_Puntatore(int attivo)
{
    ModelloGrafico::Modo_Puntatore(attivo);
    update();
}

bool GraficoWidget::Salva_Immagine(const QString &file)
{
    // No control covers the picture file: the chart spreads over all of it.
    const QImage immagine = Immagine(render_grafico::Vista{});
    return !file.isEmpty() && !immagine.isNull() && immagine.save(file, "BMP");
}

void GraficoWidget::Visibile(bool visibile)
{
    ModelloGrafico::Visibile(visibile);
    // Every redraw hides the chart and shows it again, and hiding hands the
    // keyboard to the next control: a chart that had it takes it back, unless
    // it has gone somewhere else since (a pending line still hears Esc).
    if (!visibile) {
        const bool fuoco = isVisible() && hasFocus();
        setVisible(false);
        if (fuoco) {
            m_fuocoDaRiprendere = true;
            m_fuocoNelFrattempo = QApplication::focusWidget();
        }
        return;
    }
    setVisible(true);
    if (m_fuocoDaRiprendere && QApplication::focusWidget() == m_fuocoNelFrattempo.data() && isVisible())
        setFocus(Qt::OtherFocusReason);
    m_fuocoDaRiprendere = false;
}

bool GraficoWidget::Visibile() const noexcept { return ModelloGrafico::Visibile(); }

void GraficoWidget::Prendi_Focus() { setFocus(Qt::MouseFocusReason); }

void GraficoWidget::Imposta_Vista(const render_grafico::Vista &vista)
{
    if (vista == m_vista)
        return;
    m_vista = vista;
    m_valida = false;
    update();
}

QImage GraficoWidget::Immagine(const render_grafico::Vista &vista) const
{
    QImage immagine(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // A new image holds whatever memory it got: two exports of one chart must match.
    immagine.fill(Qt::black);
    QPainter p(&immagine);
    render_grafico::Disegna(*this, p, render_grafico::Calcola(*this, QRectF(immagine.rect()), vista));
    return immagine;
}

void GraficoWidget::aggiornaCache()
{
    const qreal dpr = devicePixelRatioF();
    const QSize dimensione = size().expandedTo(QSize(1, 1));
    const QSize fisica = (QSizeF(dimensione) * dpr).toSize();
    const auto &serie = ModelloGrafico::serie();
    const auto &testi = ModelloGrafico::testi();

    // Appending is safe to paint on top only when every range is fixed:
    // new data would otherwise move an automatic range.
    bool aggiunta = m_valida && m_cache.size() == fisica && m_versione == versioneStruttura()
                    && serie.size() >= m_serieDipinte && testi.size() >= m_testiDipinti
                    && (m_serieDipinte == 0 || serie[m_serieDipinte - 1].punti.size() == m_puntiUltima);
    for (size_t i = m_serieDipinte; aggiunta && i < serie.size(); ++i) {
        const AsseGrafico &ay = asseY(serie[i].asseY);
        const AsseGrafico &ax = asseX(serie[i].asseX);
        aggiunta = ay.fissa && (ax.fissa || asseX(1).fissa);
    }

    if (!aggiunta) {
        if (m_cache.size() != fisica)
            m_cache = QImage(fisica, QImage::Format_ARGB32_Premultiplied);
        m_cache.setDevicePixelRatio(dpr);
        QPainter p(&m_cache);
        m_disposizione = render_grafico::Calcola(*this, QRectF(QPointF(0, 0), QSizeF(dimensione)), m_vista);
        render_grafico::Disegna(*this, p, m_disposizione);
        ++m_complete;
    } else {
        QPainter p(&m_cache);
        render_grafico::DisegnaAggiunte(*this, p, m_disposizione, int(m_serieDipinte), int(m_testiDipinti));
    }
    m_valida = true;
    m_versione = versioneStruttura();
    m_serieDipinte = serie.size();
    m_puntiUltima = serie.empty() ? 0 : serie.back().punti.size();
    m_testiDipinti = testi.size();
}

void GraficoWidget::paintEvent(QPaintEvent *)
{
    if (!m_valida || m_cache.size() != (QSizeF(size()) * devicePixelRatioF()).toSize())
        aggiornaCache();
    QPainter p(this);
    p.drawImage(QPointF(0, 0), m_cache);
    if (puntatore() && m_mouseDentro && m_disposizione.piano.contains(m_mouse)) {
        QColor c = titolo().colore != Colore_Predefinito ? schermo::ColoreWin(titolo().colore) : QColor(128, 128, 128);
        c.setAlpha(128);
        p.setPen(QPen(c, 1));
        const QRectF &r = m_disposizione.piano;
        p.drawLine(QPointF(m_mouse.x(), r.top()), QPointF(m_mouse.x(), r.bottom()));
        p.drawLine(QPointF(r.left(), m_mouse.y()), QPointF(r.right(), m_mouse.y()));
    }
}

void GraficoWidget::resizeEvent(QResizeEvent *event)
{
    m_valida = false;
    QWidget::resizeEvent(event);
}

void GraficoWidget::mouseMoveEvent(QMouseEvent *event)
{
    m_mouse = event->position();
    m_mouseDentro = true;
    if (puntatore())
        update();
    if (isSignalConnected(QMetaMethod::fromSignal(&GraficoWidget::MouseMove))) {
        // Before the first painting the layout is worked out from the content.
        if (!m_valida)
            m_disposizione = render_grafico::Calcola(*this, QRectF(rect()), m_vista);
        const QPointF u = render_grafico::InUnita(m_disposizione, m_mouse);
        emit MouseMove(u.x(), u.y());
    }
}

void GraficoWidget::mousePressEvent(QMouseEvent *event)
{
    emit Click(int(event->button()), int(event->modifiers()));
}

void GraficoWidget::keyPressEvent(QKeyEvent *event)
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&GraficoWidget::KeyDown))) {
        QWidget::keyPressEvent(event);
        return;
    }
    int codice = event->key();
    if (codice == Qt::Key_Backspace)
        codice = 8;
    else if (codice == Qt::Key_Escape)
        codice = 27;
    const QPointF u = render_grafico::InUnita(m_disposizione, m_mouse);
    emit KeyDown(codice, u.x(), u.y());
}

void GraficoWidget::leaveEvent(QEvent *event)
{
    m_mouseDentro = false;
    if (puntatore())
        update();
    emit MouseLeave();
    QWidget::leaveEvent(event);
}

#include "shell/ui/RiquadroGrafico.h"

#include "platform/Schermo.h"
#include "platform/ui/GraficoWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

void BarraQt::Applica()
{
    const QSignalBlocker blocco(m_barra);
    m_barra->setRange(std::min(m_min, m_max), std::max(m_min, m_max));
}

int BarraQt::Specchio(int valore) const
{
    const int lo = m_barra->minimum(), hi = m_barra->maximum();
    valore = std::clamp(valore, lo, hi);
    return m_min > m_max ? int(qint64(lo) + hi - valore) : valore;
}

void BarraQt::Imposta_Min(int valore)
{
    m_min = valore;
    Applica();
}

void BarraQt::Imposta_Max(int valore)
{
    m_max = valore;
    Applica();
}

void BarraQt::Imposta_Valore(int valore) { m_barra->setValue(Specchio(valore)); }

int BarraQt::Valore() const { return Specchio(m_barra->value()); }

namespace {

QPushButton *Pulsante(QWidget *padre, const char *nome, const QString &testo, const QString &suggerimento)
{
    auto *b = new QPushButton(testo, padre);
    b->setObjectName(QLatin1String(nome));
    b->setToolTip(suggerimento);
    b->setFocusPolicy(Qt::NoFocus);
    const int lato = schermo::TwipsInPixel(RiquadroGrafico::Lato_Pulsante);
    b->setFixedSize(lato, lato);
    return b;
}

}  // namespace

RiquadroGrafico::RiquadroGrafico(int slot, QWidget *parent)
    : QFrame(parent),
      m_slot(slot),
      m_barraX(nullptr),
      m_barraY(nullptr)
{
    setObjectName(QStringLiteral("Frm_Graf_%1").arg(slot));
    setAutoFillBackground(true);
    Pic_Graf = new QWidget(this);
    Pic_Graf->setObjectName(QStringLiteral("Pic_Graf_%1").arg(slot));
    Pic_Graf->setAutoFillBackground(true);
    Graf_Battleplan = new GraficoWidget(Pic_Graf);
    Graf_Battleplan->setObjectName(QStringLiteral("Graf_Battleplan_%1").arg(slot));

    Lbl_In_Caricamento = new QLabel(QStringLiteral("In Caricamento..."), this);
    Lbl_In_Caricamento->setObjectName(QStringLiteral("Lbl_In_Caricamento_%1").arg(slot));
    Lbl_In_Caricamento->setTextFormat(Qt::PlainText);
    Lbl_In_Caricamento->setAlignment(Qt::AlignCenter);
    Lbl_In_Caricamento->setAutoFillBackground(true);
    Lbl_In_Caricamento->resize(schermo::TwipsInPixel(Larghezza_Etichetta), schermo::TwipsInPixel(Altezza_Etichetta));
    Lbl_In_Caricamento->hide();

    Led_Agg_Storico_RT = new QLabel(this);
    Led_Agg_Storico_RT->setObjectName(QStringLiteral("Led_Agg_Storico_RT_%1").arg(slot));
    Led_Agg_Storico_RT->setAutoFillBackground(true);
    Led_Agg_Storico_RT->setFrameShape(QFrame::Box);
    Led_Agg_Storico_RT->resize(schermo::TwipsInPixel(Lato_Led), schermo::TwipsInPixel(Lato_Led));

    Hsc_Graf = new QScrollBar(Qt::Horizontal, this);
    Hsc_Graf->setObjectName(QStringLiteral("Hsc_Graf_%1").arg(slot));
    Hsc_Graf->setFixedHeight(schermo::TwipsInPixel(Spessore_Barra));
    Hsc_Graf_Y = new QScrollBar(Qt::Vertical, this);
    Hsc_Graf_Y->setObjectName(QStringLiteral("Hsc_Graf_Y_%1").arg(slot));
    Hsc_Graf_Y->setFixedWidth(schermo::TwipsInPixel(Spessore_Barra));
    m_barraX = BarraQt(Hsc_Graf);
    m_barraY = BarraQt(Hsc_Graf_Y);

    Cmd_Foto = Pulsante(this, "Cmd_Foto", QStringLiteral("F"), QStringLiteral("Salva immagine"));
    Cmd_Sposta = Pulsante(this, "Cmd_Sposta", QStringLiteral("S"), QStringLiteral("Sposta riquadro"));
    Cmd_GRaf_P = Pulsante(this, "Cmd_GRaf_P", QStringLiteral("+"), QStringLiteral("Ingrandisci"));
    Cmd_GRaf_M = Pulsante(this, "Cmd_GRaf_M", QStringLiteral("-"), QStringLiteral("Riduci"));
    Cmd_Coord = Pulsante(this, "Cmd_Coord", QStringLiteral("C"), QStringLiteral("Coordinate"));
}

RiquadroGrafico::~RiquadroGrafico() = default;

void RiquadroGrafico::Colore_Led(std::uint32_t coloreWin)
{
    m_led = coloreWin;
    QPalette p = Led_Agg_Storico_RT->palette();
    p.setColor(QPalette::Window, schermo::ColoreWin(coloreWin));
    Led_Agg_Storico_RT->setPalette(p);
}

void RiquadroGrafico::Colore_Sfondo(std::uint32_t coloreWin)
{
    for (QWidget *w : {static_cast<QWidget *>(this), Pic_Graf}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, schermo::ColoreWin(coloreWin));
        w->setPalette(p);
    }
}

void RiquadroGrafico::Colore_Etichetta(std::uint32_t sfondoWin, std::uint32_t testoWin)
{
    QPalette p = Lbl_In_Caricamento->palette();
    p.setColor(QPalette::Window, schermo::ColoreWin(sfondoWin));
    p.setColor(QPalette::WindowText, schermo::ColoreWin(testoWin));
    Lbl_In_Caricamento->setPalette(p);
}

void RiquadroGrafico::Imposta_Vista(const layout::VistaGrafico &vista)
{
    // Whole pixels, each inset rounded up: nothing goes under a control that covers the chart.
    const auto margini = [](const Margini &m) {
        const auto px = [](double twips) { return std::ceil(twips / schermo::TwipsPerPixel); };
        return QMarginsF(px(m.Left), px(m.Top), px(m.Right), px(m.Bottom));
    };
    Graf_Battleplan->Imposta_Vista({margini(vista.Coperta), margini(vista.Testata)});
}

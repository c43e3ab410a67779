#include "shell/ui/AreaGrafici.h"

#include "Stato.h"
#include "chart/ui/GraficoWidget.h"
#include "platform/Schermo.h"
#include "shell/LayoutGrafici.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

namespace {

void Piazza(QWidget *w, const Rettangolo &r)
{
    ::Piazza(w, r.Left, r.Top, r.Width, r.Height);
}

void Muovi(QWidget *w, double left, double top)
{
    w->move(schermo::TwipsInPixel(left), schermo::TwipsInPixel(top));
}

}  // namespace

AreaGrafici::AreaGrafici(Stato &stato, QWidget *parent) : QWidget(parent), m_stato(stato)
{
    setObjectName(QStringLiteral("AreaGrafici"));
    for (int s = 0; s < 4; ++s) {
        Frm_Graf[size_t(s)] = new RiquadroGrafico(s, this);
        connect(Frm_Graf[size_t(s)]->Cmd_GRaf_P, &QPushButton::clicked, this, [this, s] { emit Cmd_GRaf_P_Cliccato(s); });
        connect(Frm_Graf[size_t(s)]->Cmd_GRaf_M, &QPushButton::clicked, this, [this, s] { emit Cmd_GRaf_M_Cliccato(s); });
    }
    Frm_Strumenti = new QFrame(this);
    Frm_Strumenti->setObjectName(QStringLiteral("Frm_Strumenti"));
    Frm_Strumenti->hide();
    Text_Time_Frame = new QLineEdit(Frm_Strumenti);
    Text_Time_Frame->setObjectName(QStringLiteral("Text_Time_Frame"));
    Text_Time_Frame->setReadOnly(true);
    Text_Time_Frame->setFocusPolicy(Qt::NoFocus);
    Sld_Zoom = new QSlider(Qt::Horizontal, this);
    Sld_Zoom->setObjectName(QStringLiteral("Sld_Zoom"));
    Sld_Zoom->setRange(0, 10);
    Sld_Zoom->hide();
    Sld_Compr = new QSlider(Qt::Horizontal, this);
    Sld_Compr->setObjectName(QStringLiteral("Sld_Compr"));
    Sld_Compr->setRange(0, 10);
    Sld_Compr->hide();
    Text_Coord_Graf = new QLineEdit(this);
    Text_Coord_Graf->setObjectName(QStringLiteral("Text_Coord_Graf"));
    Text_Coord_Graf->setReadOnly(true);
    Text_Coord_Graf->hide();
}

GraficoControllo *AreaGrafici::Graf_Battleplan(int slot)
{
    return slot >= 0 && slot < 4 ? Frm_Graf[size_t(slot)]->Graf_Battleplan : nullptr;
}

BarraScorrimento *AreaGrafici::Hsc_Graf(int slot)
{
    return slot >= 0 && slot < 4 ? &Frm_Graf[size_t(slot)]->Barra_X() : nullptr;
}

BarraScorrimento *AreaGrafici::Hsc_Graf_Y(int slot)
{
    return slot >= 0 && slot < 4 ? &Frm_Graf[size_t(slot)]->Barra_Y() : nullptr;
}

void AreaGrafici::Mostra_Comandi_Slot(int slot, bool visibili)
{
    if (slot < 0 || slot > 3)
        return;
    RiquadroGrafico *r = Frm_Graf[size_t(slot)];
    for (QWidget *w : {static_cast<QWidget *>(r->Hsc_Graf), static_cast<QWidget *>(r->Cmd_GRaf_M),
                       static_cast<QWidget *>(r->Cmd_GRaf_P), static_cast<QWidget *>(r->Cmd_Sposta),
                       static_cast<QWidget *>(r->Cmd_Coord)})
        w->setVisible(visibili);
}

int AreaGrafici::Sld_Zoom_Max() const { return Sld_Zoom->maximum(); }


void AreaGrafici::Imposta_Layout_Ridotto()
{
    StatoShell &sh = m_stato.shell;
    sh.Layout_Grafico = QStringLiteral("RIDOTTO");
    Text_Coord_Graf->hide();
    for (RiquadroGrafico *r : Frm_Graf)
        r->hide();
    Frm_Strumenti->hide();
    Sld_Zoom->hide();
    Sld_Compr->hide();

    layout::MisureRiquadro misure;
    misure.Altezza_Etichetta = RiquadroGrafico::Altezza_Etichetta;
    misure.Larghezza_Etichetta = RiquadroGrafico::Larghezza_Etichetta;
    misure.Larghezza_Led = RiquadroGrafico::Lato_Led;
    misure.Altezza_Hsc = RiquadroGrafico::Spessore_Barra;
    misure.Larghezza_Hsc_Y = RiquadroGrafico::Spessore_Barra;
    misure.Lato_Pulsante = RiquadroGrafico::Lato_Pulsante;
    const layout::LayoutRidotto l = layout::Layout_Ridotto(schermo::PixelInTwips(height()),
                                                           schermo::PixelInTwips(width()),
                                                           m_stato.cicli.Conf_Grafici, misure);
    sh.Altezza_Riquadro = l.Altezza_Riquadro;
    sh.Larghezza_Riquadro = l.Larghezza_Riquadro;
    sh.Top_Riquadri = l.Top_Riquadri;
    sh.Left_Riquadri = l.Left_Riquadri;

    const auto &colori = m_stato.cicli.Colori;
    for (size_t s = 0; s < 4; ++s) {
        const layout::LayoutPannello &p = l.Pannelli[s];
        RiquadroGrafico *r = Frm_Graf[s];
        Piazza(r, p.Frm_Graf);
        Muovi(r->Lbl_In_Caricamento, p.Lbl_In_Caricamento.Left, p.Lbl_In_Caricamento.Top);
        r->Lbl_In_Caricamento->raise();
        QPushButton *pulsanti[5] = {r->Cmd_Foto, r->Cmd_Sposta, r->Cmd_GRaf_P, r->Cmd_GRaf_M, r->Cmd_Coord};
        for (size_t b = 0; b < 5; ++b) {
            Muovi(pulsanti[b], p.Pulsanti[b].Left, p.Pulsanti[b].Top);
            pulsanti[b]->raise();
        }
        for (QPushButton *b : pulsanti)
            b->setVisible(p.in_uso);
        r->Cmd_Foto->setEnabled(true);
        r->Cmd_Sposta->setEnabled(true);
        r->Cmd_GRaf_P->setEnabled(true);
        r->Cmd_GRaf_M->setEnabled(false);
        r->Cmd_Coord->setEnabled(true);

        r->Colore_Led(colori[20]);
        Muovi(r->Led_Agg_Storico_RT, p.Led_Agg_Storico_RT.Left, p.Led_Agg_Storico_RT.Top);
        r->Led_Agg_Storico_RT->raise();
        r->Led_Agg_Storico_RT->setVisible(p.in_uso);

        Piazza(r->Hsc_Graf, p.Hsc_Graf);
        r->Hsc_Graf->raise();
        r->Hsc_Graf->setVisible(p.in_uso);
        Piazza(r->Hsc_Graf_Y, p.Hsc_Graf_Y);
        r->Hsc_Graf_Y->raise();
        r->Hsc_Graf_Y->setVisible(p.in_uso);

        Piazza(r->Pic_Graf, p.Pic_Graf);
        r->Colore_Sfondo(colori[0]);
        r->Pic_Graf->show();
        Piazza(r->Graf_Battleplan, p.Graf_Battleplan);
        r->Imposta_Vista(p.Vista);
    }
    if (!sh.Blocco_Grafici)
        for (size_t s = 0; s < 4; ++s)
            if (l.Pannelli[s].in_uso)
                Frm_Graf[s]->Graf_Battleplan->Ridisegna_Grafico();
    for (RiquadroGrafico *r : Frm_Graf)
        r->show();
}

void AreaGrafici::Colora_Led(std::uint32_t coloreWin)
{
    for (RiquadroGrafico *r : Frm_Graf)
        r->Colore_Led(coloreWin);
}

void AreaGrafici::Nascondi_Etichette_Caricamento()
{
    for (RiquadroGrafico *r : Frm_Graf)
        r->Lbl_In_Caricamento->hide();
}

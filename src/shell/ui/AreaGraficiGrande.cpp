// The one-chart layout of the chart frame: one panel beside the tool frame.

#include "Stato.h"
#include "chart/ui/GraficoWidget.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "platform/Schermo.h"
#include "shell/LayoutGrande.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

namespace {

void Piazza(QWidget *w, const Rettangolo &r) { finestra::Piazza(w, r.Left, r.Top, r.Width, r.Height); }

void Muovi(QWidget *w, const Rettangolo &r)
{
    w->move(schermo::TwipsInPixel(r.Left), schermo::TwipsInPixel(r.Top));
}

Rettangolo InTwips(const QRect &r)
{
    return {schermo::PixelInTwips(r.x()), schermo::PixelInTwips(r.y()), schermo::PixelInTwips(r.width()),
            schermo::PixelInTwips(r.height())};
}

// Values written from code must not look like the user's changes to the
// controls' change handlers.
void Valore_Senza_Eventi(QSlider *s, int valore)
{
    const QSignalBlocker blocco(s);
    s->setValue(valore);
}

}  // namespace

void AreaGrafici::Imposta_Layout_Grande(int grafico)
{
    Stato &stato = m_stato;
    std::array<Rettangolo, 4> pannelli;
    for (size_t s = 0; s < 4; ++s)
        pannelli[s] = InTwips(Frm_Graf[s]->geometry());
    layout::MisureRiquadro misure;
    misure.Altezza_Etichetta = RiquadroGrafico::Altezza_Etichetta;
    misure.Larghezza_Etichetta = RiquadroGrafico::Larghezza_Etichetta;
    misure.Larghezza_Led = RiquadroGrafico::Lato_Led;
    misure.Altezza_Hsc = RiquadroGrafico::Spessore_Barra;
    misure.Larghezza_Hsc_Y = RiquadroGrafico::Spessore_Barra;
    misure.Lato_Pulsante = RiquadroGrafico::Lato_Pulsante;
    const layout::LayoutGrande l = layout::Layout_Grande(
        grafico, schermo::PixelInTwips(height()), schermo::PixelInTwips(width()),
        Rettangolo{0, 0, layout::Larghezza_Strumenti, layout::Altezza_Strumenti}, pannelli,
        stato.cicli.Conf_Grafici, misure);
    if (!l.valido)
        return;

    stato.shell.Layout_Grafico = QStringLiteral("GRANDE");
    Text_Coord_Graf->hide();
    for (RiquadroGrafico *r : Frm_Graf)
        r->hide();

    Piazza(Frm_Strumenti, l.Frm_Strumenti);
    Frm_Strumenti->setFrameShape(QFrame::StyledPanel);
    Piazza(Text_Time_Frame, Rettangolo{100, layout::Altezza_Strumenti - 400, layout::Larghezza_Strumenti - 200, 300});

    const auto &colori = stato.cicli.Colori;
    RiquadroGrafico *r = Frm_Graf[size_t(l.grafico)];
    Piazza(r, l.Frm_Graf);
    QPushButton *pulsanti[5] = {r->Cmd_Foto, r->Cmd_Sposta, r->Cmd_GRaf_P, r->Cmd_GRaf_M, r->Cmd_Coord};
    for (size_t b = 0; b < 5; ++b) {
        Muovi(pulsanti[b], l.Pulsanti[b]);
        pulsanti[b]->raise();
    }
    for (size_t b = 0; b < 5; ++b)
        pulsanti[b]->setEnabled(l.Pulsanti_Abilitati[b]);

    r->Colore_Led(colori[20]);
    Muovi(r->Led_Agg_Storico_RT, l.Led_Agg_Storico_RT);
    r->Led_Agg_Storico_RT->raise();
    Piazza(r->Hsc_Graf, l.Hsc_Graf);
    r->Hsc_Graf->raise();
    for (size_t s = 0; s < 4; ++s) {
        QScrollBar *y = Frm_Graf[s]->Hsc_Graf_Y;
        Piazza(y, l.Hsc_Graf_Y[s]);
        y->raise();
        y->setVisible(l.Hsc_Graf_Y_Visibile[s]);
    }
    for (size_t s = 0; s < 4; ++s) {
        Piazza(Frm_Graf[s]->Pic_Graf, l.Pic_Graf[s]);
        Frm_Graf[s]->Colore_Sfondo(colori[0]);
    }
    Piazza(r->Graf_Battleplan, l.Graf_Battleplan);
    r->Imposta_Vista(l.Vista);

    const layout::ContenutoStrumenti c = layout::Contenuto_Strumenti(stato, stato.cicli.Grado_Corrente);
    if (c.valido) {
        Valore_Senza_Eventi(Sld_Zoom, c.Sld_Zoom);
        Valore_Senza_Eventi(Sld_Compr, c.Sld_Compr);
        Text_Time_Frame->setText(c.Text_Time_Frame);
        if (Pannello_Indicatori)
            Pannello_Indicatori->Riempi(c.Opt_Val_Indicatori, c.Chk_Ind_19_Visibile, c.Chk_Ind_Adattivi,
                                        c.Text_Val_Ind, c.Lbl_Color_ind);
    }

    Frm_Strumenti->show();
    Frm_Strumenti->raise();
    Piazza(Sld_Zoom, layout::Sld_Zoom_Grande);
    Piazza(Sld_Compr, layout::Sld_Compr_Grande);
    Sld_Zoom->show();
    Sld_Compr->show();
    r->Graf_Battleplan->Ridisegna_Grafico();
    r->show();
}

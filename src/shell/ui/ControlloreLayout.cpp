#include "shell/ui/ControlloreLayout.h"

#include "Stato.h"
#include "drawing/Coordinate.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "platform/Schermo.h"
#include "shell/LayoutGrafici.h"
#include "shell/LayoutGrande.h"
#include "shell/FinestraLavoro.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelloStorico.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// Left column of the working window (design positions, twips).
constexpr double Left_Colonna = 100;
constexpr double Top_Dati_Sot = 100;
constexpr double Top_Tipo_Ciclo = Top_Dati_Sot + PannelloQuotazioni::Altezza + 100;
// The web link lies between the degree panel and the chat's server box, clear of both:
// a click anywhere on its letters reaches it.
constexpr double Top_Link = Top_Tipo_Ciclo + PannelloCicli::Altezza + 30;
constexpr double Altezza_Link = 250;
constexpr double Top_Chat = Top_Link + Altezza_Link + 100;  // the server box stands 100 above it

}  // namespace

ControlloreLayout::ControlloreLayout(Stato &stato, FormS1 &form, AreaGrafici &area, PannelloStorico &storico,
                                     PannelloQuotazioni &quotazioni, ControlliCiclo &controlliCiclo,
                                     StrumentiFinestra &strumenti, QObject *parent)
    : QObject(parent), m_stato(stato), m_form(form), m_area(area), m_storico(storico), m_quotazioni(quotazioni),
      m_controlliCiclo(controlliCiclo), m_strumenti(strumenti)
{
    setObjectName(QStringLiteral("ControlloreLayout"));
    connect(&m_area, &AreaGrafici::Cmd_GRaf_P_Cliccato, this, &ControlloreLayout::Cmd_GRaf_P_Click);
    connect(&m_area, &AreaGrafici::Cmd_GRaf_M_Cliccato, this, &ControlloreLayout::Cmd_GRaf_M_Click);
    connect(&m_quotazioni, &PannelloQuotazioni::Storico_Cliccato, this, [this] { Cmd_Storico_Click(); });
    form.installEventFilter(this);
    Prepara_Colonna_Sinistra();
}

void ControlloreLayout::Prepara_Colonna_Sinistra()
{
    finestra::Piazza(m_form.Frm_Dati_Sot, Left_Colonna, Top_Dati_Sot, PannelloQuotazioni::Larghezza,
                     PannelloQuotazioni::Altezza);
    finestra::Piazza(m_form.Frm_Tipo_Ciclo, Left_Colonna, Top_Tipo_Ciclo, PannelloCicli::Larghezza,
                     PannelloCicli::Altezza);
}

double ControlloreLayout::Larghezza_Twips() const
{
    return schermo::PixelInTwips(std::max(m_form.width(), m_form.frameGeometry().width()));
}

double ControlloreLayout::Altezza_Twips() const
{
    return schermo::PixelInTwips(std::max(m_form.height(), m_form.frameGeometry().height()));
}

void ControlloreLayout::Imposta_Titolo_Finestra()
{
    Stato &stato = m_stato;
    m_form.move(0, 0);
    // Changing the window's style hides it; a window on screen stays on screen.
    const bool visibile = m_form.isVisible();
    m_form.Imposta_Stile_Finestra(2);
    if (visibile)
        m_form.show();
    // Below this size the window's controls no longer fit: the window never goes smaller.
    m_form.setMinimumSize(schermo::TwipsInPixel(layout::Larghezza_Minima),
                          schermo::TwipsInPixel(layout::Altezza_Minima));
    m_form.resize(1280, 768 - schermo::TwipsInPixel(550));
    m_form.setWindowTitle(finestra::Titolo_Finestra(stato.shell.Modalita, stato.shell.Versione));
    m_strumenti.Txt_Cord_Mob->resize(schermo::TwipsInPixel(disegno::Larghezza_Txt_Cord_Mob(stato.shell)),
                                      m_strumenti.Txt_Cord_Mob->height());
    // The duration box shows the duration and answers a double-click; it is not typed into.
    m_controlliCiclo.Text_Dur->setReadOnly(true);
    m_form.Frm_Storico->hide();
    m_storico.Prepara_Griglie();
    m_form.Frm_Avvio->hide();
    m_form.Lbl_Link_1->show();
    m_form.Text_Chat->show();
    m_form.Frm_Dati_Sot->show();
    m_form.Frm_Tipo_Ciclo->show();
    m_form.Frm_Battleplan->show();
}

void ControlloreLayout::Imposta_Pannelli_Modalita()
{
    if (!finestra::Pannelli_Offline(m_stato.shell.Modalita))
        return;
    m_form.Frm_Dati_Sot->hide();
    m_quotazioni.Frm_Dati_Sot_Off->setGeometry(m_form.Frm_Dati_Sot->geometry());
    m_quotazioni.Frm_Dati_Sot_Off->show();
}

void ControlloreLayout::Imposta_Layout_Senza_Storico()
{
    const QRect d = m_form.Frm_Dati_Sot->geometry();
    const Rettangolo datiSot{schermo::PixelInTwips(d.x()), schermo::PixelInTwips(d.y()),
                             schermo::PixelInTwips(d.width()), schermo::PixelInTwips(d.height())};
    const Rettangolo r = layout::Layout_Senza_Storico(Larghezza_Twips(), Altezza_Twips(), datiSot);
    finestra::Piazza(m_form.Frm_Battleplan, r.Left, r.Top, r.Width, r.Height);
    m_area.setGeometry(m_form.Frm_Battleplan->rect());
}

void ControlloreLayout::Imposta_Layout_Con_Storico()
{
    const QRect d = m_form.Frm_Dati_Sot->geometry();
    const Rettangolo datiSot{schermo::PixelInTwips(d.x()), schermo::PixelInTwips(d.y()),
                             schermo::PixelInTwips(d.width()), schermo::PixelInTwips(d.height())};
    const QRect s = m_form.Frm_Storico->geometry();
    const Rettangolo storico{schermo::PixelInTwips(s.x()), schermo::PixelInTwips(s.y()),
                             schermo::PixelInTwips(s.width()), schermo::PixelInTwips(s.height())};
    const Rettangolo r = layout::Layout_Con_Storico(Altezza_Twips(), datiSot, storico);
    finestra::Piazza(m_form.Frm_Battleplan, r.Left, r.Top, r.Width, r.Height);
    m_area.setGeometry(m_form.Frm_Battleplan->rect());
}

void ControlloreLayout::Imposta_Layout_Ridotto()
{
    Imposta_Colonna_Chat();
    m_area.Imposta_Layout_Ridotto();
}

void ControlloreLayout::Imposta_Colonna_Chat()
{
    // The chat box fills the left column down to the window's bottom margin.
    const double altezzaChat = std::max(300.0, Altezza_Twips() - 750 - Top_Chat);
    finestra::Piazza(m_form.Text_Chat, Left_Colonna, Top_Chat, PannelloQuotazioni::Larghezza, altezzaChat);
    finestra::Piazza(m_form.Text_Desc_Server_Chat, Left_Colonna + 100, Top_Chat - 100,
                     PannelloQuotazioni::Larghezza - 200, 285);
    m_form.Text_Desc_Server_Chat->raise();
    finestra::Piazza(m_form.Lbl_Link_1, Left_Colonna, Top_Link, PannelloQuotazioni::Larghezza, Altezza_Link);
}

void ControlloreLayout::Cmd_Storico_Click()
{
    Stato &stato = m_stato;
    if (stato.shell.Blocco_Grafici)
        return;
    // The panel always opens on the 5-minute tab, and is set back to it when closed.
    if (m_form.Frm_Storico->isVisible()) {
        m_form.Frm_Storico->hide();
        m_storico.TabPage->setCurrentIndex(0);  // hidden: nothing is laid out or filled
        Imposta_Layout_Senza_Storico();
    } else {
        m_storico.Imposta_Layout_Storico(0, Larghezza_Twips(), Altezza_Twips(),
                                          schermo::PixelInTwips(m_form.Frm_Battleplan->y()));
        m_storico.Carica_Griglie_Storico(0);
        Imposta_Layout_Con_Storico();
    }
    Ridisponi_Grafici();
}

void ControlloreLayout::Form_Resize()
{
    if (m_inResize)
        return;
    const layout::AzioneResize azione = layout::Azione_Resize(
        m_stato.shell.Blocco_Grafici, m_form.isMinimized(), Larghezza_Twips(), Altezza_Twips());
    if (azione == layout::AzioneResize::Nessuna)
        return;
    m_inResize = true;
    if (azione == layout::AzioneResize::Correggi) {
        m_form.resize(std::max(m_form.width(), schermo::TwipsInPixel(layout::Larghezza_Minima)),
                      std::max(m_form.height(), schermo::TwipsInPixel(layout::Altezza_Minima)));
    }
    if (m_form.Frm_Storico->isVisible()) {
        m_storico.Imposta_Layout_Storico(m_storico.TabPage->currentIndex(), Larghezza_Twips(), Altezza_Twips(),
                                          schermo::PixelInTwips(m_form.Frm_Battleplan->y()));
        Imposta_Layout_Con_Storico();
    } else {
        Imposta_Layout_Senza_Storico();
    }
    Ridisponi_Grafici();
    m_inResize = false;
}

void ControlloreLayout::Form_MouseUp()
{
    if (!m_stato.shell.Blocco_Aggiornamento)
        m_form.Frm_Battleplan->setEnabled(true);
}

void ControlloreLayout::Chiudi_Storico()
{
    m_form.Frm_Storico->hide();
    Imposta_Layout_Senza_Storico();
    Imposta_Layout_Ridotto();
}

bool ControlloreLayout::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == &m_form) {
        if (evento->type() == QEvent::Resize)
            Form_Resize();
        else if (evento->type() == QEvent::MouseButtonRelease)
            Form_MouseUp();
    }
    return QObject::eventFilter(oggetto, evento);
}

void ControlloreLayout::Imposta_Layout_Grande(int grafico)
{
    Imposta_Colonna_Chat();
    m_area.Imposta_Layout_Grande(grafico);
    if (m_stato.shell.Layout_Grafico == QLatin1String("GRANDE"))
        m_controlliCiclo.Riempi();
}

void ControlloreLayout::Cmd_GRaf_P_Click(int index)
{
    StatoCicli &c = m_stato.cicli;
    // While a loading or a change of underlying holds the charts they stay four.
    if (m_stato.shell.Blocco_Grafici || index < 0 || index > 3)
        return;
    const int grado = c.Conf_Grafici[size_t(index)].grado;
    // The tool frame shows a degree's settings: a slot without a valid degree stays small.
    if (grado < 0 || grado > costanti::Max_Grado)
        return;
    c.Grado_Corrente = grado;
    c.Grafico_Corrente = index;
    Imposta_Layout_Grande(index);
}

void ControlloreLayout::Cmd_GRaf_M_Click(int) { Imposta_Layout_Ridotto(); }

void ControlloreLayout::Ridisponi_Grafici()
{
    if (m_stato.shell.Layout_Grafico != QLatin1String("RIDOTTO"))
        Imposta_Layout_Grande(m_stato.cicli.Grafico_Corrente);
    else
        Imposta_Layout_Ridotto();
}

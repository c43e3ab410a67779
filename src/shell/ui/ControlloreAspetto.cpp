#include "shell/ui/ControlloreAspetto.h"

#include "Stato.h"
#include "archive/ImpostazioniAvvio.h"
#include "cycle/Colori.h"
#include "platform/Schermo.h"
#include "shell/FinestraLavoro.h"
#include "cycle/SalvaParametro.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelloStorico.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

// Ground and text in the colour scheme. A window or frame sets only its own
// ground and text (its labels take them on; buttons, grids and boxes keep theirs);
// a control sets every pair of roles its kind paints with. A disabled text stays
// told apart from an enabled one.
void Colora(QWidget *w, const QColor &fondo, const QColor &testo, bool controllo = true)
{
    const QColor spento((fondo.red() + testo.red()) / 2, (fondo.green() + testo.green()) / 2,
                        (fondo.blue() + testo.blue()) / 2);
    QPalette p = w->palette();
    const auto coppia = [&](QPalette::ColorRole sfondo, QPalette::ColorRole scritta) {
        p.setColor(sfondo, fondo);
        p.setColor(QPalette::Active, scritta, testo);
        p.setColor(QPalette::Inactive, scritta, testo);
        p.setColor(QPalette::Disabled, scritta, spento);
    };
    coppia(QPalette::Window, QPalette::WindowText);
    if (controllo) {
        coppia(QPalette::Base, QPalette::Text);
        coppia(QPalette::Button, QPalette::ButtonText);
    }
    w->setPalette(p);
}

// A check box or option button keeps the platform's white box and black mark
// whatever its colours, so an unticked one shows on a dark ground too.
void Riquadro_Piattaforma(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Active, QPalette::Text, Qt::black);
    p.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::Text, Qt::darkGray);
    w->setPalette(p);
}

}  // namespace

ControlloreAspetto::ControlloreAspetto(Stato &stato, FormS1 &form, AreaGrafici &area, PannelloQuotazioni &quotazioni,
                                       PannelloStorico &storico, PannelloCicli &cicli, QObject *parent)
    : QObject(parent), m_stato(stato), m_form(form), m_area(area), m_quotazioni(quotazioni), m_storico(storico),
      m_cicli(cicli)
{
    setObjectName(QStringLiteral("ControlloreAspetto"));
    connect(&m_quotazioni, &PannelloQuotazioni::Aspetto_Cliccato, this, [this] { Cmd_Aspetto_Click(0); });
}

void ControlloreAspetto::Cmd_Aspetto_Click(int)
{
    Stato &stato = m_stato;
    const int prima = stato.archivio.Aspetto;
    stato.archivio.Aspetto = prima == 1 ? 0 : 1;
    QString errore;
    const bool salvato = archivio::Salva_Aspetto(stato.archivio, &errore);
    if (!salvato)
        stato.archivio.Aspetto = prima;  // the window keeps the scheme the archive holds
    ciclo::Imposta_Colori(stato.cicli, stato.archivio.Aspetto);
    Imposta_Colori_Controlli();
    if (!salvato)
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"),
                                ciclo::Errore_Salvataggio(errore));
}

void ControlloreAspetto::Imposta_Colori_Controlli()
{
    const Stato &stato = m_stato;
    const auto &colori = stato.cicli.Colori;
    const auto colore = [&colori](int i) { return schermo::ColoreWin(colori[size_t(i)]); };

    // The window's own ground and texts, which its frames and labels take on.
    Colora(&m_form, colore(0), colore(1), false);
    m_form.setAutoFillBackground(true);

    for (RiquadroGrafico *r : m_area.Frm_Graf) {
        r->Colore_Sfondo(colori[0]);
        r->Colore_Led(colori[20]);
        r->Colore_Etichetta(colori[20], colori[11]);
    }
    {
        QPalette p = m_area.Text_Coord_Graf->palette();
        p.setColor(QPalette::Base, colore(80));
        m_area.Text_Coord_Graf->setPalette(p);
    }

    // Frames (their labels take the frame's colours on), and the text boxes, combo
    // boxes, options and check boxes in them.
    for (QWidget *cornice : {static_cast<QWidget *>(m_form.Frm_Battleplan), static_cast<QWidget *>(m_form.Frm_Dati_Sot),
                             static_cast<QWidget *>(m_quotazioni.Frm_Dati_Sot_Off),
                             static_cast<QWidget *>(m_form.Frm_Tipo_Ciclo), static_cast<QWidget *>(m_form.Frm_Storico),
                             static_cast<QWidget *>(m_area.Frm_Strumenti)}) {
        Colora(cornice, colore(0), colore(1), false);
        if (cornice == m_form.Frm_Battleplan || cornice == m_form.Frm_Storico)
            continue;  // their content is the charts and the grids
        for (QWidget *w : cornice->findChildren<QWidget *>()) {
            const auto *pulsante = qobject_cast<QAbstractButton *>(w);
            if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || (pulsante && pulsante->isCheckable()))
                Colora(w, colore(0), colore(1));
            if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))
                Riquadro_Piattaforma(w);
        }
    }
    Colora(m_form.Text_Desc_Server_Chat, colore(0), colore(1));

    // Ground only: the web link and the real-time lamp. The tab control's ground
    // is also its tabs' face, whose captions then take the scheme's text.
    for (QWidget *w : {static_cast<QWidget *>(m_form.Lbl_Link_1), static_cast<QWidget *>(m_quotazioni.Led_RT)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, colore(0));
        w->setPalette(p);
    }
    m_storico.Colori_Schede(colore(0), colore(1));

    Colora(m_form.Text_Chat, colore(0), colore(14));
    m_cicli.Colore_Linee(colori[2]);

    emit Colori_Impostati();
}

ControlloreLink::ControlloreLink(FormS1 &form, DialoghiFinestra &dialoghi, QObject *parent)
    : QObject(parent), m_form(form), m_dialoghi(dialoghi)
{
    setObjectName(QStringLiteral("ControlloreLink"));
    for (QLabel *l : {form.Frm_Avvio->Lbl_Link_0, form.Lbl_Link_1}) {
        l->installEventFilter(this);
        l->setCursor(Qt::PointingHandCursor);
    }
    form.Lbl_Link_1->setText(QLatin1String(finestra::Indirizzo_Web));
}

void ControlloreLink::Lbl_Link_Click(int)
{
    Apri_Link(QStringLiteral("http://") + QLatin1String(finestra::Indirizzo_Web));
}

void ControlloreLink::Apri_Link(const QString &url) { m_dialoghi.Apri_Url(QUrl(url)); }

bool ControlloreLink::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (evento->type() == QEvent::MouseButtonRelease) {
        if (oggetto == m_form.Frm_Avvio->Lbl_Link_0)
            Lbl_Link_Click(0);
        else if (oggetto == m_form.Lbl_Link_1)
            Lbl_Link_Click(1);
    }
    return QObject::eventFilter(oggetto, evento);
}

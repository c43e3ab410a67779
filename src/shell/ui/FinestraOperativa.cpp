#include "shell/ui/FinestraOperativa.h"

#include "Stato.h"
#include "archive/ImpostazioniAvvio.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/Colori.h"
#include "cycle/GraficoTempoReale.h"
#include "cycle/SalvaParametro.h"
#include "drawing/Coordinate.h"
#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "platform/Socket.h"
#include "shell/Avanzamento.h"
#include "shell/ComandiGrafico.h"
#include "shell/DisegnaGrafico.h"
#include "shell/FinestraLavoro.h"
#include "shell/LayoutGrafici.h"
#include "shell/LayoutGrande.h"
#include "shell/Pausa.h"
#include "shell/Variabili.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/NavigazioneFinestra.h"
#include "shell/ui/PannelliFinestra.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelloStorico.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/ServiziFinestra.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Left column of the working window (design positions, twips).
constexpr double Left_Colonna = 100;
constexpr double Top_Dati_Sot = 100;
constexpr double Top_Tipo_Ciclo = Top_Dati_Sot + PannelloQuotazioni::Altezza + 100;
constexpr double Top_Chat = Top_Tipo_Ciclo + PannelloCicli::Altezza + 250;

// The change-of-underlying panel, its caption and its bar (twips).
constexpr double Larghezza_Cambio_Sott = 4200;
constexpr double Altezza_Cambio_Sott = 900;

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

FinestraOperativa::FinestraOperativa(FormS1 &form) : QObject(&form), m_form(form)
{
    setObjectName(QStringLiteral("FinestraOperativa"));
    Stato &stato = form.S();
    m_servizi = std::make_unique<ServiziFinestra>(*this);
    m_ambienteIndicatori = std::make_unique<IndicatoriFinestra>(*this);
    m_caricamento = std::make_unique<Caricamento>(stato, *m_servizi);
    m_motore = std::make_unique<MotoreIndicatori>(stato.shell, stato.archivio, stato.mercato, stato.cicli,
                                                  stato.indicatori, m_ambienteIndicatori.get());

    m_area = new AreaGrafici(stato, form.Frm_Battleplan);
    m_storico = new PannelloStorico(stato, form.Frm_Storico);
    m_quotazioni = new PannelloQuotazioni(stato, form.Frm_Dati_Sot, &form);
    m_cicli = new PannelloCicli(stato, form.Frm_Tipo_Ciclo);
    {
        // The chart tools: the four charts' mouse and key events, the tool buttons in Frm_Strumenti.
        std::array<GraficoWidget *, 4> grafici{};
        for (int s = 0; s < 4; ++s)
            grafici[size_t(s)] = m_area->Frm_Graf[size_t(s)]->Graf_Battleplan;
        auto *strumenti = new StrumentiFinestra(
            StatoStrumenti{stato.shell, stato.archivio, stato.mercato, stato.cicli, stato.disegno}, *m_area, grafici,
            this);
        strumenti->setObjectName(QStringLiteral("StrumentiFinestra"));
        strumenti->Imposta_Servizi(std::make_unique<ServiziStrumentiFinestra>(*this));
        strumenti->Prepara_Finestra(&form);
        PulsantiStrumenti *pulsanti = strumenti->Crea_Pulsanti(m_area->Frm_Strumenti);
        pulsanti->adjustSize();
        // The grid and price-line buttons switch a setting of the current degree.
        const auto esito = [](const comandi::EsitoComando &e) {
            if (!e.errore.isEmpty())
                Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), e.errore);
        };
        for (int i = 0; i < 2; ++i)
            connect(pulsanti->Cmd_Griglia_Graf[size_t(i)], &QToolButton::clicked, this, [this, i, esito] {
                esito(comandi::Cmd_Griglia_Graf_Click(m_form.S(), *m_area, i));
            });
        connect(pulsanti->Cmd_Linea_Stor, &QToolButton::clicked, this,
                [this, esito] { esito(comandi::Cmd_Linea_Stor_Click(m_form.S(), *m_area)); });
        strumenti->Text_Coord_Graf = m_area->Text_Coord_Graf;
        connect(strumenti, &StrumentiFinestra::Casella_Testo_Aperta, this, [this](bool aperta) {
            const int s = std::clamp(m_form.S().cicli.Grafico_Corrente, 0, 3);
            RiquadroGrafico *r = m_area->Frm_Graf[size_t(s)];
            for (QWidget *w : {static_cast<QWidget *>(r->Cmd_Foto), static_cast<QWidget *>(r->Cmd_GRaf_M),
                               static_cast<QWidget *>(m_form.Frm_Battleplan),
                               static_cast<QWidget *>(m_area->Frm_Strumenti), static_cast<QWidget *>(r),
                               static_cast<QWidget *>(m_form.Frm_Dati_Sot),
                               static_cast<QWidget *>(m_form.Frm_Tipo_Ciclo)})
                w->setEnabled(!aperta);
        });
        connect(strumenti->Frm_Ogg_Graf, &PannelloOggetti::Aperto, this, [this](bool aperto) {
            for (QWidget *w : {static_cast<QWidget *>(m_form.Frm_Dati_Sot),
                               static_cast<QWidget *>(m_form.Frm_Tipo_Ciclo), static_cast<QWidget *>(m_form.Text_Chat)})
                w->setEnabled(!aperto);
        });
        for (int s = 0; s < 4; ++s)
            connect(m_area->Frm_Graf[size_t(s)]->Cmd_Coord, &QPushButton::clicked, this,
                    [strumenti, s] { strumenti->Strumenti().Cmd_Coord_Click(s); });
        m_strumenti = strumenti;
    }
    {
        static_assert(PannelloIndicatori::Altezza <= layout::Altezza_Indicatori);
        auto *p = new PannelloIndicatori(stato.shell, stato.archivio, stato.cicli, stato.indicatori, *m_motore,
                                         *m_ambienteIndicatori, m_area->Frm_Strumenti);
        p->move(schermo::TwipsInPixel(0), schermo::TwipsInPixel(layout::Top_Indicatori));
        m_area->Pannello_Indicatori = p;
    }
    m_area->Cmd_GRaf_P_Click = [this](int s) { Cmd_GRaf_P_Click(s); };
    m_area->Cmd_GRaf_M_Click = [this](int s) { Cmd_GRaf_M_Click(s); };
    auto *navigazione = new NavigazioneFinestra(*this);  // the panels' scroll bars and the two sliders
    m_controlliCiclo = new ControlliCiclo(*this, navigazione->Navigazione(), m_area->Frm_Strumenti);
    m_cicli->Chk_Battl_Click = [this](int d) { Chk_Battl_Click(d); };
    new PannelliFinestra(stato, *m_area, &form);  // the panels' picture and move buttons
    form.Frm_Battleplan->setFrameShape(QFrame::StyledPanel);
    form.Frm_Storico->setFrameShape(QFrame::StyledPanel);
    // The frames' captions sit in the band their layouts keep free at the top.
    for (QFrame *cornice : {form.Frm_Battleplan, form.Frm_Storico}) {
        auto *titolo = new QLabel(cornice == form.Frm_Battleplan ? QStringLiteral(" Grafici Battleplan ")
                                                                  : QStringLiteral(" Dati Storico "),
                                  cornice);
        titolo->setObjectName(cornice->objectName() + QStringLiteral("_Caption"));
        titolo->setTextFormat(Qt::PlainText);
        titolo->move(schermo::TwipsInPixel(100), 0);
        titolo->adjustSize();
        titolo->raise();
    }

    for (QTimer *t : {&Timer_Disegno, &Timer_Agg_RT, &Timer_Indicatori})
        t->setSingleShot(true);
    Timer_Disegno.setInterval(5);
    Timer_Agg_RT.setInterval(4000);
    Timer_Indicatori.setInterval(1200);
    connect(&Timer_Disegno, &QTimer::timeout, this, &FinestraOperativa::Disegna_Grafico_Timer);
    connect(&Timer_Agg_RT, &QTimer::timeout, this, &FinestraOperativa::Spegni_Led_Storico_RT);
    connect(&Timer_Indicatori, &QTimer::timeout, this, &FinestraOperativa::Aggiorna_Indicatori_Timer);

    connect(m_quotazioni, &PannelloQuotazioni::Aspetto_Cliccato, this, [this] { Cmd_Aspetto_Click(0); });
    connect(m_quotazioni, &PannelloQuotazioni::Storico_Cliccato, this, [this] { Cmd_Storico_Click(); });
    connect(m_quotazioni->Cmd_Graf_RT, &QPushButton::clicked, this, [this] { Cmd_Graf_RT_Click(); });
    connect(m_quotazioni, &PannelloQuotazioni::Sottostante_Offline_Scelto, this,
            [this](int i) { Imposta_Sottostante_Offline(i); });
    connect(m_quotazioni->Cmb_Sot, &QComboBox::activated, this, [this] {
        Cmb_Sot_Change();
        Cmb_Sot_Click();
    });
    connect(m_caricamento.get(), &Caricamento::Ultime_Barre_Mancanti, this, [this](const QString &m) {
        if (Fallimento)
            Fallimento(m);
        Fine_Cambio();
    });

    Apri_Url = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    Domanda_RT = [this](const QString &titolo, const QString &testo) {
        return QMessageBox::question(&m_form, titolo, testo, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    Fallimento = [this](const QString &messaggio) {
        if (!messaggio.isEmpty())
            Mostra_Avviso(Avviso::Critico, QStringLiteral("Wavelore \u00AE"), messaggio);
        m_form.Chiudi_Programma();
    };
    Avviso_Caricamento = [](const QString &messaggio) {
        Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), messaggio);
    };

    form.Carica_Storici_Avvio = [this] { Carica_Storici_Avvio(); };
    form.Carica_Dati_Avvio = [this] { Carica_Dati_Avvio(); };
    form.installEventFilter(this);
    for (QLabel *l : {form.Frm_Avvio->Lbl_Link_0, form.Lbl_Link_1}) {
        l->installEventFilter(this);
        l->setCursor(Qt::PointingHandCursor);
    }
    form.Lbl_Link_1->setText(QLatin1String(finestra::Indirizzo_Web));
    Prepara_Colonna_Sinistra();
    form.FrmCambioSott->setFrameShape(QFrame::StyledPanel);
    form.FrmCambioSott->setAutoFillBackground(true);
    Piazza(form.FrmCambioSott, 0, 0, Larghezza_Cambio_Sott, Altezza_Cambio_Sott);
    Piazza(form.LblCambioSott, 150, 100, Larghezza_Cambio_Sott - 300, 300);
    Piazza(form.PbCambioSott, 150, 450, Larghezza_Cambio_Sott - 300, 300);
}

FinestraOperativa::~FinestraOperativa() = default;

FinestraOperativa *Prepara_Finestra_Operativa(FormS1 &form)
{
    return new FinestraOperativa(form);
}

void FinestraOperativa::Collega_Sessione(SessioneQuotazioni *sessione) { m_sessione = sessione; }

void FinestraOperativa::Prepara_Colonna_Sinistra()
{
    Piazza(m_form.Frm_Dati_Sot, Left_Colonna, Top_Dati_Sot, PannelloQuotazioni::Larghezza, PannelloQuotazioni::Altezza);
    Piazza(m_form.Frm_Tipo_Ciclo, Left_Colonna, Top_Tipo_Ciclo, PannelloCicli::Larghezza, PannelloCicli::Altezza);
}

double FinestraOperativa::Larghezza_Twips() const
{
    return schermo::PixelInTwips(std::max(m_form.width(), m_form.frameGeometry().width()));
}

double FinestraOperativa::Altezza_Twips() const
{
    return schermo::PixelInTwips(std::max(m_form.height(), m_form.frameGeometry().height()));
}

// ---------------------------------------------------------------- loading

void FinestraOperativa::Esito_Fase(Caricamento::Esito esito)
{
    if (esito != Caricamento::Esito::Fallito)
        return;
    const QString messaggio = m_caricamento->Errore();
    if (Fallimento)
        Fallimento(messaggio);
}

void FinestraOperativa::Carica_Storici_Avvio() { Esito_Fase(m_caricamento->Carica_Storici_Avvio()); }

void FinestraOperativa::Carica_Dati_Avvio()
{
    Esito_Fase(m_caricamento->Carica_Dati_Avvio());
    Fine_Cambio();
}

void FinestraOperativa::Mostra_Avanzamento_Avvio(int passo)
{
    const PassoAvanzamento p = Passo_Avanzamento(passo, m_form.S().shell.Modalita);
    if (p.valido) {
        m_form.Frm_Avvio->Lbl_Avan->setText(p.didascalia);
        m_form.LblCambioSott->setText(m_form.Frm_Avvio->Lbl_Avan->text());
    }
    m_form.Frm_Avvio->PB_Avvio_T->setValue(p.percentuale);
    m_form.PbCambioSott->setValue(p.percentuale);
}

void FinestraOperativa::Pausa(double secondi) { ::Pausa(secondi); }

// ---------------------------------------------------------------- charts

void FinestraOperativa::Disabilita_Finestra()
{
    if (m_disabilitazioni++ == 0)
        m_form.setEnabled(false);
}

void FinestraOperativa::Abilita_Finestra()
{
    if (m_disabilitazioni > 0 && --m_disabilitazioni == 0)
        m_form.setEnabled(true);
}

void FinestraOperativa::Disegna_Grafico(int grafico, int grado)
{
    if (grafico < 0 || grafico > 3)
        return;
    ::Disegna_Grafico(m_form.S(), *m_area, grafico, grado);
}

AmbienteGraficoRT FinestraOperativa::Ambiente_RT()
{
    AmbienteGraficoRT a;
    a.Beep = [] { QApplication::beep(); };
    a.Domanda = [this](const QString &titolo, const QString &testo) { return Domanda_RT && Domanda_RT(titolo, testo); };
    a.Colore_Cmd_Graf_RT = [this](ColoreWin colore) { m_quotazioni->Colore_Graf_RT(colore); };
    a.Disegna_Grafico = [this](int grafico, int grado) { Disegna_Grafico(grafico, grado); };
    a.Salva_Grafico_RT = [this] { return archivio::Salva_Grafico_RT(m_form.S().archivio); };
    a.Graf_Battleplan = [this](int slot) { return m_area->Graf_Battleplan(slot); };
    return a;
}

void FinestraOperativa::Disegna_Grafici() { ::Disegna_Grafici(m_form.S().cicli, Ambiente_RT()); }

void FinestraOperativa::Cmd_Graf_RT_Click()
{
    if (!::Cmd_Graf_RT_Click(m_form.S().archivio, m_form.S().cicli, Ambiente_RT()))
        Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"),
                      QStringLiteral("Impossibile salvare l'impostazione dei Grafici Real Time."));
}

void FinestraOperativa::Text_Last_Change()
{
    const Stato &s = m_form.S();
    ::Text_Last_Change(s.shell, s.archivio, s.cicli, Ambiente_RT());
}

void FinestraOperativa::Cancella_Grafici() { ::Cancella_Grafici(Ambiente_RT()); }

void FinestraOperativa::Imposta_Titoli_Grafici()
{
    const StatoCicli &c = m_form.S().cicli;
    for (int i = 0; i < 4; ++i) {
        GraficoControllo *g = m_area->Graf_Battleplan(i);
        g->Titolo_Grafico(c.Titoli_Grafici[size_t(i)], QStringLiteral("Font=Arial|9|bold|"), c.Colori[81], 2, -5, 1);
        g->Ridisegna_Grafico();
    }
}

void FinestraOperativa::Imposta_Opzione_Grafici()
{
    const StatoCicli &c = m_form.S().cicli;
    const auto modi = finestra::Opzione_Grafici(c.Conf_Grafici, c.Modo_Mouse_Grado);
    for (int i = 0; i < 4; ++i)
        if (modi[size_t(i)])
            m_area->Graf_Battleplan(i)->Modo_Puntatore(*modi[size_t(i)]);
}

void FinestraOperativa::Imposta_Pannelli_Modalita()
{
    if (!finestra::Pannelli_Offline(m_form.S().shell.Modalita))
        return;
    m_form.Frm_Dati_Sot->hide();
    m_quotazioni->Frm_Dati_Sot_Off->setGeometry(m_form.Frm_Dati_Sot->geometry());
    m_quotazioni->Frm_Dati_Sot_Off->show();
}

void FinestraOperativa::Imposta_Titolo_Finestra()
{
    Stato &stato = m_form.S();
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
    m_strumenti->Txt_Cord_Mob->resize(schermo::TwipsInPixel(disegno::Larghezza_Txt_Cord_Mob(stato.shell)),
                                      m_strumenti->Txt_Cord_Mob->height());
    // The duration box shows the duration and answers a double-click; it is not typed into.
    m_controlliCiclo->Text_Dur->setReadOnly(true);
    m_quotazioni->Colore_Graf_RT(stato.archivio.Grafico_RT == 1 ? stato.cicli.Colori[42] : stato.cicli.Colori[41]);
    m_form.Frm_Storico->hide();
    m_storico->Prepara_Griglie();
    m_form.Frm_Avvio->hide();
    m_form.Lbl_Link_1->show();
    m_form.Text_Chat->show();
    m_form.Frm_Dati_Sot->show();
    m_form.Frm_Tipo_Ciclo->show();
    m_form.Frm_Battleplan->show();
}

void FinestraOperativa::Imposta_Colori_Controlli()
{
    const Stato &stato = m_form.S();
    const auto &colori = stato.cicli.Colori;
    const auto colore = [&colori](int i) { return schermo::ColoreWin(colori[size_t(i)]); };

    // The window's own ground and texts, which its frames and labels take on.
    Colora(&m_form, colore(0), colore(1), false);
    m_form.setAutoFillBackground(true);

    for (RiquadroGrafico *r : m_area->Frm_Graf) {
        r->Colore_Sfondo(colori[0]);
        r->Colore_Led(colori[20]);
        r->Colore_Etichetta(colori[20], colori[11]);
    }
    {
        QPalette p = m_area->Text_Coord_Graf->palette();
        p.setColor(QPalette::Base, colore(80));
        m_area->Text_Coord_Graf->setPalette(p);
    }

    // Frames (their labels take the frame's colours on), and the text boxes, combo
    // boxes, options and check boxes in them.
    for (QWidget *cornice : {static_cast<QWidget *>(m_form.Frm_Battleplan), static_cast<QWidget *>(m_form.Frm_Dati_Sot),
                             static_cast<QWidget *>(m_quotazioni->Frm_Dati_Sot_Off),
                             static_cast<QWidget *>(m_form.Frm_Tipo_Ciclo), static_cast<QWidget *>(m_form.Frm_Storico),
                             static_cast<QWidget *>(m_area->Frm_Strumenti)}) {
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
    for (QWidget *w : {static_cast<QWidget *>(m_form.Lbl_Link_1), static_cast<QWidget *>(m_quotazioni->Led_RT)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, colore(0));
        w->setPalette(p);
    }
    m_storico->Colori_Schede(colore(0), colore(1));

    Colora(m_form.Text_Chat, colore(0), colore(14));
    m_cicli->Colore_Linee(colori[2]);

    m_quotazioni->Colore_Graf_RT(stato.archivio.Grafico_RT == 1 ? colori[42] : colori[41]);
    if (!stato.shell.Blocco_Grafici)
        Disegna_Grafici();
}

void FinestraOperativa::Imposta_Layout_Senza_Storico()
{
    const QRect d = m_form.Frm_Dati_Sot->geometry();
    const Rettangolo datiSot{schermo::PixelInTwips(d.x()), schermo::PixelInTwips(d.y()),
                             schermo::PixelInTwips(d.width()), schermo::PixelInTwips(d.height())};
    const Rettangolo r = layout::Layout_Senza_Storico(Larghezza_Twips(), Altezza_Twips(), datiSot);
    Piazza(m_form.Frm_Battleplan, r.Left, r.Top, r.Width, r.Height);
    m_area->setGeometry(m_form.Frm_Battleplan->rect());
}

void FinestraOperativa::Imposta_Layout_Con_Storico()
{
    const QRect d = m_form.Frm_Dati_Sot->geometry();
    const Rettangolo datiSot{schermo::PixelInTwips(d.x()), schermo::PixelInTwips(d.y()),
                             schermo::PixelInTwips(d.width()), schermo::PixelInTwips(d.height())};
    const QRect s = m_form.Frm_Storico->geometry();
    const Rettangolo storico{schermo::PixelInTwips(s.x()), schermo::PixelInTwips(s.y()),
                             schermo::PixelInTwips(s.width()), schermo::PixelInTwips(s.height())};
    const Rettangolo r = layout::Layout_Con_Storico(Altezza_Twips(), datiSot, storico);
    Piazza(m_form.Frm_Battleplan, r.Left, r.Top, r.Width, r.Height);
    m_area->setGeometry(m_form.Frm_Battleplan->rect());
}

void FinestraOperativa::Imposta_Layout_Ridotto()
{
    Imposta_Colonna_Chat();
    m_area->Imposta_Layout_Ridotto();
}

void FinestraOperativa::Imposta_Colonna_Chat()
{
    // The chat box fills the left column down to the window's bottom margin.
    const double altezzaChat = std::max(300.0, Altezza_Twips() - 750 - Top_Chat);
    Piazza(m_form.Text_Chat, Left_Colonna, Top_Chat, PannelloQuotazioni::Larghezza, altezzaChat);
    Piazza(m_form.Text_Desc_Server_Chat, Left_Colonna + 100, Top_Chat - 100, PannelloQuotazioni::Larghezza - 200,
           285);
    m_form.Text_Desc_Server_Chat->raise();
    Piazza(m_form.Lbl_Link_1, Left_Colonna, Top_Chat - 400, PannelloQuotazioni::Larghezza, 250);
}

void FinestraOperativa::Richiesta_Dati_RT_Al_Server()
{
    if (m_sessione) {
        m_sessione->Richiesta_Dati_RT_Al_Server();
        return;
    }
    Stato &stato = m_form.S();
    if (m_form.Sock().State() == Socket::Connesso) {
        m_form.Sock().SendData(Caricamento::Messaggio_Comm(QStringLiteral("COMM30"),
                                                           stato.archivio.Sottostante_Corrente));
        return;
    }
    m_form.Frm_Avvio->Lbl_Stato->setText(QStringLiteral("Non Connesso"));
    m_quotazioni->Text_Stato->setText(QStringLiteral("Non Connesso"));
    m_form.Sock().Close();
}

// ---------------------------------------------------------------- timers

void FinestraOperativa::Arma_Timer_Disegno()
{
    Timer_Disegno.setInterval(5);
    Timer_Disegno.start();
}

void FinestraOperativa::Arma_Timer_Agg_RT()
{
    Timer_Agg_RT.stop();
    Timer_Agg_RT.setInterval(4000);
    Timer_Agg_RT.start();
}

void FinestraOperativa::Arma_Timer_Indicatori()
{
    // The slot whose duration changed is the one recomputed, even if the user has
    // moved to another slot before the tick.
    m_slotIndicatori = m_form.S().cicli.Grafico_Corrente;
    Timer_Indicatori.stop();
    Timer_Indicatori.start();
}

void FinestraOperativa::Disegna_Grafico_Timer()
{
    Timer_Disegno.stop();
    const StatoCicli &c = m_form.S().cicli;
    Disegna_Grafico(c.Grafico_Corrente, c.Grado_Corrente);
}

void FinestraOperativa::Spegni_Led_Storico_RT()
{
    Timer_Agg_RT.stop();
    m_area->Colora_Led(m_form.S().cicli.Colori[20]);
}

void FinestraOperativa::Aggiorna_Indicatori_Timer()
{
    Timer_Indicatori.stop();
    m_motore->Aggiorna_Indicatori(m_slotIndicatori);
}

void FinestraOperativa::Accendi_Led_Storico_RT()
{
    m_area->Colora_Led(m_form.S().cicli.Colori[21]);
    Arma_Timer_Agg_RT();
}

// ---------------------------------------------------------------- colours, link

void FinestraOperativa::Cmd_Aspetto_Click(int)
{
    Stato &stato = m_form.S();
    const int prima = stato.archivio.Aspetto;
    stato.archivio.Aspetto = prima == 1 ? 0 : 1;
    const bool salvato = archivio::Salva_Aspetto(stato.archivio);
    if (!salvato)
        stato.archivio.Aspetto = prima;  // the window keeps the scheme the archive holds
    ciclo::Imposta_Colori(stato.cicli, stato.archivio.Aspetto);
    Imposta_Colori_Controlli();
    if (!salvato)
        Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"),
                      ciclo::Errore_Salvataggio(QString()));
}

void FinestraOperativa::Lbl_Link_Click(int)
{
    Apri_Link(QStringLiteral("http://") + QLatin1String(finestra::Indirizzo_Web));
}

void FinestraOperativa::Apri_Link(const QString &url)
{
    if (Apri_Url)
        Apri_Url(QUrl(url));
}

// ---------------------------------------------------------------- panels

void FinestraOperativa::Cmd_Storico_Click()
{
    Stato &stato = m_form.S();
    if (stato.shell.Blocco_Grafici)
        return;
    // The panel always opens on the 5-minute tab, and is set back to it when closed.
    if (m_form.Frm_Storico->isVisible()) {
        m_form.Frm_Storico->hide();
        m_storico->TabPage->setCurrentIndex(0);  // hidden: nothing is laid out or filled
        Imposta_Layout_Senza_Storico();
    } else {
        m_storico->Imposta_Layout_Storico(0, Larghezza_Twips(), Altezza_Twips(),
                                          schermo::PixelInTwips(m_form.Frm_Battleplan->y()));
        m_storico->Carica_Griglie_Storico(0);
        Imposta_Layout_Con_Storico();
    }
    Ridisponi_Grafici();
}

// ---------------------------------------------------------------- window events

void FinestraOperativa::Form_Resize()
{
    if (m_inResize)
        return;
    const layout::AzioneResize azione = layout::Azione_Resize(
        m_form.S().shell.Blocco_Grafici, m_form.isMinimized(), Larghezza_Twips(), Altezza_Twips());
    if (azione == layout::AzioneResize::Nessuna)
        return;
    m_inResize = true;
    if (azione == layout::AzioneResize::Correggi) {
        m_form.resize(std::max(m_form.width(), schermo::TwipsInPixel(layout::Larghezza_Minima)),
                      std::max(m_form.height(), schermo::TwipsInPixel(layout::Altezza_Minima)));
    }
    if (m_form.Frm_Storico->isVisible()) {
        m_storico->Imposta_Layout_Storico(m_storico->TabPage->currentIndex(), Larghezza_Twips(), Altezza_Twips(),
                                          schermo::PixelInTwips(m_form.Frm_Battleplan->y()));
        Imposta_Layout_Con_Storico();
    } else {
        Imposta_Layout_Senza_Storico();
    }
    Ridisponi_Grafici();
    m_inResize = false;
}

void FinestraOperativa::Form_MouseUp()
{
    if (!m_form.S().shell.Blocco_Aggiornamento)
        m_form.Frm_Battleplan->setEnabled(true);
}

bool FinestraOperativa::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (oggetto == &m_form) {
        if (evento->type() == QEvent::Resize)
            Form_Resize();
        else if (evento->type() == QEvent::MouseButtonRelease)
            Form_MouseUp();
    } else if (evento->type() == QEvent::MouseButtonRelease) {
        if (oggetto == m_form.Frm_Avvio->Lbl_Link_0)
            Lbl_Link_Click(0);
        else if (oggetto == m_form.Lbl_Link_1)
            Lbl_Link_Click(1);
    }
    return QObject::eventFilter(oggetto, evento);
}

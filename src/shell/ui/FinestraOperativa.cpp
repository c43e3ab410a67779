#include "shell/ui/FinestraOperativa.h"

#include "Stato.h"
#include "chart/ui/GraficoWidget.h"
#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "indicators/MotoreIndicatori.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "shell/ComandiGrafico.h"
#include "shell/LayoutGrande.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/ControlliCiclo.h"
#include "shell/ui/ControlloreAspetto.h"
#include "shell/ui/ControlloreCaricamento.h"
#include "shell/ui/ControlloreGradi.h"
#include "shell/ui/ControlloreLayout.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/ControlloreSottostante.h"
#include "shell/ui/ControlloreTempoReale.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/NavigazioneFinestra.h"
#include "shell/ui/PannelliFinestra.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/PannelloStorico.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/ServiziFinestra.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// What one controller asks of the others, passed on by the window.
class Collegamenti : public RichiesteCambio, public RichiesteGradi {
public:
    Collegamenti(BloccoFinestra &blocco, ControlloreCaricamento &caricamento) : m_blocco(blocco), m_caricamento(caricamento) {}
    ControlloreTempoReale *tempoReale = nullptr;
    ControlloreRidisegno *ridisegno = nullptr;
    ControlloreLayout *layout = nullptr;

    bool Caricamento_In_Corso() const override { return m_caricamento.Sequenza().In_Corso(); }
    void Disabilita_Finestra() override { m_blocco.Disabilita_Finestra(); }
    void Abilita_Finestra() override { m_blocco.Abilita_Finestra(); }
    void Ferma_Dati_RT() override
    {
        if (SessioneQuotazioni *sessione = m_caricamento.Sessione()) {
            sessione->Ferma_Watchdog();
            sessione->Blocca_Dati_RT_Dal_Server();
        }
    }
    void Cancella_Grafici() override { tempoReale->Cancella_Grafici(); }
    void Chiudi_Storico() override { layout->Chiudi_Storico(); }
    void Mostra_Pannello_Cambio() override { m_caricamento.Mostra_Pannello_Cambio(); }
    void Carica_Sottostante() override { m_caricamento.Carica_Sottostante(); }
    void Imposta_Layout_Ridotto() override { layout->Imposta_Layout_Ridotto(); }
    void Imposta_Opzione_Grafici() override { ridisegno->Imposta_Opzione_Grafici(); }

private:
    BloccoFinestra &m_blocco;
    ControlloreCaricamento &m_caricamento;
};

// The indicator panel's beep and refused saves, told as the rest of the window tells them.
class AvvisiPannelloIndicatori : public AvvisiIndicatori {
public:
    void Segnale_Acustico() override { QApplication::beep(); }
    void Errore_Salvataggio(const QString &errore) override
    {
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), errore);
    }
};

}  // namespace

// What the window builds: the adapters, the engine, the panels and the controllers
// (QObject children of the window).
struct FinestraOperativa::Parti {
    explicit Parti(FormS1 &form) : dialoghi(std::make_unique<DialoghiUtente>(form)), blocco(form) {}
    DialoghiInoltrati dialoghi;
    BloccoFinestra blocco;
    std::unique_ptr<ServiziFinestra> servizi;
    std::unique_ptr<IndicatoriFinestra> ambienteIndicatori;
    std::unique_ptr<MotoreIndicatori> motore;
    std::unique_ptr<Collegamenti> collegamenti;
    AreaGrafici *area = nullptr;
    PannelloStorico *storico = nullptr;
    PannelloQuotazioni *quotazioni = nullptr;
    PannelloCicli *cicli = nullptr;
    StrumentiFinestra *strumenti = nullptr;
    ControlliCiclo *controlliCiclo = nullptr;
    ControlloreTempoReale *tempoReale = nullptr;
    ControlloreRidisegno *ridisegno = nullptr;
    ControlloreSottostante *sottostante = nullptr;
    ControlloreCaricamento *caricamento = nullptr;
    ControlloreLayout *layout = nullptr;
    ControlloreAspetto *aspetto = nullptr;
};

FinestraOperativa::FinestraOperativa(FormS1 &form)
    : QObject(&form), m_form(form), m_parti(std::make_unique<Parti>(form))
{
    setObjectName(QStringLiteral("FinestraOperativa"));
    Parti &p = *m_parti;
    Stato &stato = form.S();
    p.servizi = std::make_unique<ServiziFinestra>(*this, p.dialoghi);
    p.ambienteIndicatori = std::make_unique<IndicatoriFinestra>(*this);
    p.motore = std::make_unique<MotoreIndicatori>(stato.shell, stato.archivio, stato.mercato, stato.cicli,
                                                  stato.indicatori, p.ambienteIndicatori.get());

    p.area = new AreaGrafici(stato, form.Frm_Battleplan);
    p.storico = new PannelloStorico(stato, form.Frm_Storico);
    p.quotazioni = new PannelloQuotazioni(stato, form.Frm_Dati_Sot, &form);
    p.cicli = new PannelloCicli(stato, form.Frm_Tipo_Ciclo);
    p.ridisegno = new ControlloreRidisegno(stato, *p.area, *p.motore, this);
    {
        // The chart tools: the four charts' mouse and key events, the tool buttons in Frm_Strumenti.
        std::array<GraficoWidget *, 4> grafici{};
        for (int s = 0; s < 4; ++s)
            grafici[size_t(s)] = p.area->Frm_Graf[size_t(s)]->Graf_Battleplan;
        auto *strumenti = new StrumentiFinestra(
            StatoStrumenti{stato.shell, stato.archivio, stato.mercato, stato.cicli, stato.disegno}, *p.area, grafici,
            this);
        strumenti->setObjectName(QStringLiteral("StrumentiFinestra"));
        strumenti->Imposta_Servizi(std::make_unique<ServiziStrumentiFinestra>(*this));
        strumenti->Prepara_Finestra(&form);
        PulsantiStrumenti *pulsanti = strumenti->Crea_Pulsanti(p.area->Frm_Strumenti);
        pulsanti->adjustSize();
        // The grid and price-line buttons switch a setting of the current degree.
        const auto esito = [](const comandi::EsitoComando &e) {
            if (!e.errore.isEmpty())
                finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), e.errore);
        };
        for (int i = 0; i < 2; ++i)
            connect(pulsanti->Cmd_Griglia_Graf[size_t(i)], &QToolButton::clicked, this, [this, i, esito, &p] {
                esito(comandi::Cmd_Griglia_Graf_Click(m_form.S(), *p.area, i));
            });
        connect(pulsanti->Cmd_Linea_Stor, &QToolButton::clicked, this,
                [this, esito, &p] { esito(comandi::Cmd_Linea_Stor_Click(m_form.S(), *p.area)); });
        strumenti->Text_Coord_Graf = p.area->Text_Coord_Graf;
        connect(strumenti, &StrumentiFinestra::Casella_Testo_Aperta, this, [this, &p](bool aperta) {
            const int s = std::clamp(m_form.S().cicli.Grafico_Corrente, 0, 3);
            RiquadroGrafico *r = p.area->Frm_Graf[size_t(s)];
            for (QWidget *w : {static_cast<QWidget *>(r->Cmd_Foto), static_cast<QWidget *>(r->Cmd_GRaf_M),
                               static_cast<QWidget *>(m_form.Frm_Battleplan),
                               static_cast<QWidget *>(p.area->Frm_Strumenti), static_cast<QWidget *>(r),
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
            connect(p.area->Frm_Graf[size_t(s)]->Cmd_Coord, &QPushButton::clicked, this,
                    [strumenti, s] { strumenti->Strumenti().Cmd_Coord_Click(s); });
        p.strumenti = strumenti;
    }
    {
        static_assert(PannelloIndicatori::Altezza <= layout::Altezza_Indicatori);
        auto *pi = new PannelloIndicatori(stato.shell, stato.archivio, stato.cicli, stato.indicatori, *p.motore,
                                          *p.ambienteIndicatori, p.area->Frm_Strumenti);
        pi->move(schermo::TwipsInPixel(0), schermo::TwipsInPixel(layout::Top_Indicatori));
        pi->Imposta_Avvisi(std::make_unique<AvvisiPannelloIndicatori>());
        p.area->Pannello_Indicatori = pi;
    }
    // The panels' scroll bars and the two sliders, and the cycle controls of the tool frame.
    auto *navigazione = new NavigazioneFinestra(stato, *p.area, *p.ridisegno, *p.motore, this);
    p.controlliCiclo = new ControlliCiclo(stato, *p.area, *p.ridisegno, *p.cicli, navigazione->Navigazione(),
                                          p.area->Frm_Strumenti);
    new PannelliFinestra(stato, *p.area, &form);  // the panels' picture and move buttons
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


    p.caricamento = new ControlloreCaricamento(form, *p.quotazioni, *p.servizi, p.dialoghi, this);
    p.collegamenti = std::make_unique<Collegamenti>(p.blocco, *p.caricamento);
    p.tempoReale = new ControlloreTempoReale(stato, *p.area, *p.quotazioni, p.dialoghi, this);
    p.layout = new ControlloreLayout(stato, form, *p.area, *p.storico, *p.quotazioni, *p.controlliCiclo,
                                     *p.strumenti, this);
    p.aspetto = new ControlloreAspetto(stato, form, *p.area, *p.quotazioni, *p.storico, *p.cicli, this);
    p.sottostante = new ControlloreSottostante(stato, form, *p.area, *p.quotazioni, *p.collegamenti, this);
    new ControlloreGradi(stato, *p.cicli, *p.area, *p.motore, *p.collegamenti, this);
    new ControlloreLink(form, p.dialoghi, this);
    p.collegamenti->tempoReale = p.tempoReale;
    p.collegamenti->ridisegno = p.ridisegno;
    p.collegamenti->layout = p.layout;

    connect(p.caricamento, &ControlloreCaricamento::Caricamento_Concluso, p.sottostante,
            &ControlloreSottostante::Caricamento_Concluso);
    connect(p.aspetto, &ControlloreAspetto::Colori_Impostati, p.tempoReale, &ControlloreTempoReale::Nuovi_Colori);
    // The exit has begun: no timer's work and no loading goes on in its waits, and the
    // window stays held whatever else lets go of it.
    connect(&form, &FormS1::Uscita_Iniziata, this, [&p] {
        p.servizi->Ferma_Timer();
        p.caricamento->Sequenza().Annulla();
        p.blocco.Disabilita_Finestra();
    });
}

FinestraOperativa::~FinestraOperativa() = default;

FinestraOperativa *finestra::Prepara_Finestra_Operativa(FormS1 &form)
{
    return new FinestraOperativa(form);
}

MotoreIndicatori &FinestraOperativa::Motore() { return *m_parti->motore; }
Caricamento &FinestraOperativa::Sequenza() { return m_parti->caricamento->Sequenza(); }
BloccoFinestra &FinestraOperativa::Blocco() { return m_parti->blocco; }
AreaGrafici *FinestraOperativa::Area() const { return m_parti->area; }
PannelloStorico *FinestraOperativa::Storico() const { return m_parti->storico; }
PannelloQuotazioni *FinestraOperativa::Quotazioni() const { return m_parti->quotazioni; }
PannelloCicli *FinestraOperativa::Cicli() const { return m_parti->cicli; }
StrumentiFinestra *FinestraOperativa::Strumenti() const { return m_parti->strumenti; }
ControlliCiclo *FinestraOperativa::Controlli_Ciclo() const { return m_parti->controlliCiclo; }
ControlloreTempoReale &FinestraOperativa::Tempo_Reale() { return *m_parti->tempoReale; }
ControlloreRidisegno &FinestraOperativa::Ridisegno() { return *m_parti->ridisegno; }
ControlloreSottostante &FinestraOperativa::Sottostante() { return *m_parti->sottostante; }
ControlloreCaricamento &FinestraOperativa::Caricamento_Avvio() { return *m_parti->caricamento; }
ControlloreLayout &FinestraOperativa::Layout() { return *m_parti->layout; }
ControlloreAspetto &FinestraOperativa::Aspetto() { return *m_parti->aspetto; }

void FinestraOperativa::Collega_Sessione(SessioneQuotazioni *sessione) { m_parti->caricamento->Collega_Sessione(sessione); }

SessioneQuotazioni *FinestraOperativa::Sessione() const { return m_parti->caricamento->Sessione(); }

void FinestraOperativa::Imposta_Dialoghi(std::unique_ptr<DialoghiFinestra> dialoghi)
{
    if (dialoghi)
        m_parti->dialoghi.Imposta(std::move(dialoghi));
}

#include "shell/ui/ControlloreCaricamento.h"

#include "market/ScrittoreStorico.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Schermo.h"
#include "platform/Socket.h"
#include "shell/Avanzamento.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {

// The change-of-underlying panel, its caption and its bar (twips).
constexpr double Larghezza_Cambio_Sott = 4200;
constexpr double Altezza_Cambio_Sott = 900;

}  // namespace

ControlloreCaricamento::ControlloreCaricamento(FormS1 &form, PannelloQuotazioni &quotazioni,
                                               ServiziCaricamento &servizi, DialoghiFinestra &dialoghi,
                                               QObject *parent)
    : QObject(parent), m_form(form), m_quotazioni(quotazioni), m_dialoghi(dialoghi),
      m_caricamento(std::make_unique<Caricamento>(form.S(), servizi))
{
    setObjectName(QStringLiteral("ControlloreCaricamento"));
    connect(m_caricamento.get(), &Caricamento::Ultime_Barre_Mancanti, this, [this](const QString &m) {
        m_dialoghi.Fallimento(m);
        emit Caricamento_Concluso();
    });
    form.Imposta_Fasi_Avvio(this, this);
    form.FrmCambioSott->setFrameShape(QFrame::StyledPanel);
    form.FrmCambioSott->setAutoFillBackground(true);
    finestra::Piazza(form.FrmCambioSott, 0, 0, Larghezza_Cambio_Sott, Altezza_Cambio_Sott);
    finestra::Piazza(form.LblCambioSott, 150, 100, Larghezza_Cambio_Sott - 300, 300);
    finestra::Piazza(form.PbCambioSott, 150, 450, Larghezza_Cambio_Sott - 300, 300);
}

ControlloreCaricamento::~ControlloreCaricamento() = default;

void ControlloreCaricamento::Collega_Sessione(SessioneQuotazioni *sessione) { m_sessione = sessione; }

SessioneQuotazioni *ControlloreCaricamento::Sessione() const { return m_sessione; }

void ControlloreCaricamento::Esito_Fase(Caricamento::Esito esito)
{
    if (esito == Caricamento::Esito::Fallito)
        m_dialoghi.Fallimento(m_caricamento->Errore());
}

void ControlloreCaricamento::Carica_Storici_Avvio() { Esito_Fase(m_caricamento->Carica_Storici_Avvio()); }

void ControlloreCaricamento::Carica_Dati_Avvio()
{
    Esito_Fase(m_caricamento->Carica_Dati_Avvio());
    emit Caricamento_Concluso();
}

void ControlloreCaricamento::Carica_Sottostante()
{
    const Caricamento::Esito e = m_caricamento->Carica_Storici_Avvio();
    Esito_Fase(e);
    if (e == Caricamento::Esito::Completato && m_form.S().shell.Modalita == QLatin1String("OFFLINE"))
        Carica_Dati_Avvio();
}

void ControlloreCaricamento::Storico_Non_Salvato(const QString &testo)
{
    finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), testo);
}

void ControlloreCaricamento::Mostra_Avanzamento_Avvio(int passo)
{
    const PassoAvanzamento p = finestra::Passo_Avanzamento(passo, m_form.S().shell.Modalita);
    if (p.valido) {
        m_form.Frm_Avvio->Lbl_Avan->setText(p.didascalia);
        m_form.LblCambioSott->setText(m_form.Frm_Avvio->Lbl_Avan->text());
    }
    m_form.Frm_Avvio->PB_Avvio_T->setValue(p.percentuale);
    m_form.PbCambioSott->setValue(p.percentuale);
}

void ControlloreCaricamento::Mostra_Pannello_Cambio()
{
    const QRect f = m_form.Frm_Battleplan->geometry();
    const QSize cambio = m_form.FrmCambioSott->size();
    m_form.FrmCambioSott->move(f.x() + f.width() / 2 - cambio.width(), f.y() + f.height() / 2 - cambio.height());
    m_form.FrmCambioSott->show();
    m_form.FrmCambioSott->raise();
}

void ControlloreCaricamento::Richiesta_Dati_RT_Al_Server()
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
    m_quotazioni.Text_Stato->setText(QStringLiteral("Non Connesso"));
    m_form.Sock().Close();
}

#include "shell/ui/GestoreMessaggi.h"

#include "shell/Messaggi.h"
#include "shell/Pausa.h"
#include "shell/StatoShell.h"
#include "shell/ui/FormMsg.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>

namespace {

// Centred on `centro`, then moved in as far as it takes to lie wholly on the free
// area of the screen under centro's middle: a window at the screen's edge that is
// narrower than the message must not push the message's buttons off the screen.
QPoint Posto_Sullo_Schermo(const QWidget *centro, QWidget *finestra)
{
    finestra->winId();  // the frame, where the platform knows it, counts in the size
    const QRect fuori = centro->frameGeometry();
    QRect r(QPoint(), finestra->frameGeometry().size());
    r.moveCenter(fuori.center());
    const QScreen *schermo = QGuiApplication::screenAt(fuori.center());
    if (!schermo)
        schermo = centro->screen();
    if (!schermo)
        return r.topLeft();
    const QRect area = schermo->availableGeometry();
    r.moveRight(std::min(r.right(), area.right()));
    r.moveBottom(std::min(r.bottom(), area.bottom()));
    r.moveLeft(std::max(r.left(), area.left()));
    r.moveTop(std::max(r.top(), area.top()));
    return r.topLeft();
}

}  // namespace

GestoreMessaggi::GestoreMessaggi(StatoShell &shell, QWidget *centro, std::function<void()> chiudiProgramma,
                                 QObject *parent)
    : QObject(parent), m_shell(shell), m_centro(centro), m_chiudiProgramma(std::move(chiudiProgramma))
{
}

bool GestoreMessaggi::Form_Msg_Visibile() const
{
    for (const auto &f : m_aperte)
        if (f && f->isVisible())
            return true;
    return false;
}

FormMsg *GestoreMessaggi::Form_Msg() const
{
    for (auto i = m_aperte.size() - 1; i >= 0; --i)
        if (m_aperte[i])
            return m_aperte[i];
    return nullptr;
}

void GestoreMessaggi::Scarica_Form_Msg()
{
    for (const auto &f : m_aperte) {
        if (!f)
            continue;
        f->disconnect(this);
        f->hide();
        f->done(QDialog::Rejected);
    }
}

void GestoreMessaggi::Ferma()
{
    m_fermo = true;
    Scarica_Form_Msg();
}

void GestoreMessaggi::Mostra_Messaggio(int tipo, const QString &testo)
{
    if (m_fermo)
        return;
    int tipoCorrente = tipo;
    QString testoCorrente = testo;
    for (;;) {
        const messaggi::Preparazione p = messaggi::Prepara_Messaggio(tipoCorrente, testoCorrente);
        FormMsg *f = new FormMsg(nullptr);
        f->setAttribute(Qt::WA_DeleteOnClose, false);
        m_aperte.append(f);
        QApplication::beep();
        m_shell.Tipo_Messaggio = p.Tipo_Messaggio;
        f->Prepara(p);
        // Centred once prepared: a long text makes the window taller.
        if (m_centro)
            f->move(Posto_Sullo_Schermo(m_centro, f));

        messaggi::Azione azione = messaggi::Azione::Nessuna;
        connect(f, &FormMsg::Premuto, f, [this, f, &azione](messaggi::Bottone b) {
            const messaggi::Azione a = messaggi::Azione_Bottone(f->Tipo(), b);
            if (a == messaggi::Azione::Chiudi_Programma) {
                if (m_chiudiProgramma)
                    m_chiudiProgramma();
                return;
            }
            if (a == messaggi::Azione::Chiudi) {
                azione = a;
                f->done(QDialog::Accepted);
            }
        });
        emit Mostrato(f);
        f->exec();
        m_aperte.removeAll(f);
        delete f;

        // Any message closed without ending the program lets the next queued server
        // text through, so a text queued behind a notice is never stranded.
        if (azione != messaggi::Azione::Chiudi)
            return;
        finestra::Pausa(Pausa_Coda);
        const auto prossimo = messaggi::Estrai(m_shell.Coda_Messaggi);
        if (!prossimo)
            return;
        tipoCorrente = 5;
        testoCorrente = *prossimo;
    }
}

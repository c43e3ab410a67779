#include "shell/ui/GestoreMessaggi.h"

#include "shell/Messaggi.h"
#include "shell/Pausa.h"
#include "shell/StatoShell.h"
#include "shell/ui/FormMsg.h"

#include <QApplication>

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

void GestoreMessaggi::Testo_Server(const QString &testo)
{
    if (!Form_Msg_Visibile())
        Mostra_Messaggio(5, testo);
    else
        messaggi::Accoda(m_shell.Coda_Messaggi, testo);
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

void GestoreMessaggi::Mostra_Messaggio(int tipo, const QString &testo)
{
    int tipoCorrente = tipo;
    QString testoCorrente = testo;
    for (;;) {
        const messaggi::Preparazione p = messaggi::Prepara_Messaggio(tipoCorrente, testoCorrente);
        FormMsg *f = new FormMsg(nullptr);
        f->setAttribute(Qt::WA_DeleteOnClose, false);
        m_aperte.append(f);
        if (m_centro) {
            const QRect fuori = m_centro->frameGeometry();
            f->move(fuori.left() + (fuori.width() - f->frameGeometry().width()) / 2,
                    fuori.top() + (fuori.height() - f->frameGeometry().height()) / 2);
        }
        QApplication::beep();
        m_shell.Tipo_Messaggio = p.Tipo_Messaggio;
        f->Prepara(p);

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
        Pausa(Pausa_Coda);
        const auto prossimo = messaggi::Estrai(m_shell.Coda_Messaggi);
        if (!prossimo)
            return;
        tipoCorrente = 5;
        testoCorrente = *prossimo;
    }
}

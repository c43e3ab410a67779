#include "shell/ui/DialoghiFinestra.h"

#include "shell/ui/Avvisi.h"
#include "shell/ui/FormS1.h"

#include <QDesktopServices>
#include <QMessageBox>

bool DialoghiUtente::Domanda_RT(const QString &titolo, const QString &testo)
{
    return QMessageBox::question(&m_form, titolo, testo, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void DialoghiUtente::Fallimento(const QString &messaggio)
{
    if (!messaggio.isEmpty())
        Mostra_Avviso(Avviso::Critico, QStringLiteral("Wavelore \u00AE"), messaggio);
    m_form.Chiudi_Programma();
}

void DialoghiUtente::Avviso_Caricamento(const QString &messaggio)
{
    Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), messaggio);
}

void DialoghiUtente::Apri_Url(const QUrl &url) { QDesktopServices::openUrl(url); }

void BloccoFinestra::Disabilita_Finestra()
{
    if (m_disabilitazioni++ == 0)
        m_finestra.setEnabled(false);
}

void BloccoFinestra::Abilita_Finestra()
{
    if (m_disabilitazioni > 0 && --m_disabilitazioni == 0)
        m_finestra.setEnabled(true);
}

#include "shell/ui/DialoghiFinestra.h"

#include "shell/ui/Avvio.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/FormS1.h"

#include <QCoreApplication>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

bool DialoghiUtente::Domanda_RT(const QString &titolo, const QString &testo)
{
    return finestra::Mostra_Domanda(Avviso::Domanda, titolo, testo, &m_form);
}

void DialoghiUtente::Fallimento(const QString &messaggio)
{
    if (!messaggio.isEmpty())
        finestra::Mostra_Avviso(Avviso::Critico, QStringLiteral("Wavelore \u00AE"), messaggio);
    m_form.Chiudi_Programma();
}

void DialoghiUtente::Avviso_Caricamento(const QString &messaggio)
{
    finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), messaggio);
}

// The desktop's opener starts the user's default browser. The browser is the user's
// program, not ours: it gets the user's own umask back, set in the child alone, since
// another thread may be creating files at that moment. Not waited for; a failure is
// not reported.
void DialoghiUtente::Apri_Url(const QUrl &url)
{
    auto *apri = new QProcess(QCoreApplication::instance());
    apri->setProgram(QStringLiteral("xdg-open"));
    apri->setArguments({url.toString(QUrl::FullyEncoded)});
    apri->setStandardInputFile(QProcess::nullDevice());
    apri->setStandardOutputFile(QProcess::nullDevice());
    apri->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    if (const int maschera = wavelore::Maschera_Utente(); maschera >= 0)
        apri->setChildProcessModifier([maschera] { ::umask(mode_t(maschera)); });
#endif
    QObject::connect(apri, &QProcess::finished, apri, &QObject::deleteLater);
    QObject::connect(apri, &QProcess::errorOccurred, apri, [apri](QProcess::ProcessError errore) {
        if (errore == QProcess::FailedToStart)
            apri->deleteLater();
    });
    apri->start();
}

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

#include "shell/Pausa.h"

#include "market/ScrittoreStorico.h"
#include "platform/Socket.h"
#include "shell/StatoShell.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace finestra {

void Pausa(double secondi)
{
    QElapsedTimer orologio;
    orologio.start();
    const qint64 totale = std::isfinite(secondi) && secondi > 0 ? qint64(std::llround(secondi * 1000.0)) : 0;
    if (!QCoreApplication::instance()) {
        if (totale > 0)
            QThread::msleep(quint64(totale));
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (;;) {
        const qint64 resto = totale - orologio.elapsed();
        if (resto <= 0)
            return;
        QEventLoop ciclo;
        QTimer sveglia;
        sveglia.setSingleShot(true);
        sveglia.setTimerType(Qt::PreciseTimer);
        QObject::connect(&sveglia, &QTimer::timeout, &ciclo, &QEventLoop::quit);
        sveglia.start(int(resto));
        // exec() returns at once once the application is quitting; the clock still rules.
        if (ciclo.exec() != 0)
            QThread::msleep(quint64(resto));
    }
}

void Chiudi_Programma(StatoShell &shell, Socket &socket, Uscita &uscita, ScrittoreStorico *scrittore)
{
    shell.Blocco_Grafici = true;
    shell.Blocco_Aggiornamento = true;
    // A send that fails because the line dropped in between must not stop the exit.
    if (socket.State() == Socket::Connesso)
        socket.SendData(QStringLiteral("COMM18") + QChar(0x00D8));
    Pausa(0.5);
    socket.Close();
    Pausa(0.5);
    // _Exit runs no destructor: a history file still queued would be lost.
    if (scrittore) {
        scrittore->Attendi();
        for (const QString &f : scrittore->Preleva_Fallimenti())
            std::fprintf(stderr, "Storico locale non salvato: %s\n", qUtf8Printable(f));
    }
    uscita.Scarica_Form_Msg();
    uscita.Termina(0);
    Termina_Processo(0);
}

void Chiudi_Programma(StatoShell &shell, Socket &socket)
{
    // No window: nothing to ask or to close.
    struct : Uscita {
        void Richiesta_Chiusura() override {}
        void Scarica_Form_Msg() override {}
        void Termina(int) override {}
    } nessuna;
    Chiudi_Programma(shell, socket, nessuna);
}

void Termina_Processo(int codice)
{
    std::fflush(nullptr);
    std::_Exit(codice);
}

}  // namespace finestra

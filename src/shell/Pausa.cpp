#include "shell/Pausa.h"

#include "archive/ScrittoreArchivio.h"
#include "market/ScrittoreStorico.h"
#include "platform/Socket.h"
#include "shell/StatoShell.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
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

void Chiudi_Programma(StatoShell &shell, Socket &socket, Uscita &uscita, ScrittoreStorico *storici,
                      ScrittoreArchivio *archivio)
{
    QElapsedTimer orologio;
    orologio.start();
    shell.Blocco_Grafici = true;
    shell.Blocco_Aggiornamento = true;
    // Failures from here on are the exit's to tell, not a notice's waiting for an answer.
    if (storici) {
        storici->Trattieni_Fallimenti();
        // A file that failed waits for its next try no more: the exit is its last chance.
        storici->Riprova_Adesso();
    }
    if (archivio) {
        archivio->Trattieni_Fallimenti();
        archivio->Riprova_Adesso();
    }
    const auto inSospeso = [&] {
        return (storici && storici->In_Sospeso() > 0) || (archivio && archivio->In_Sospeso() > 0);
    };
    bool mostrato = false;
    const auto mostra = [&] {
        if (!mostrato && inSospeso()) {
            mostrato = true;
            uscita.Mostra_Salvataggio(true);
        }
    };
    // The writers go on during the pauses: a slow disk is shown from half a second on.
    QTimer avviso;
    avviso.setSingleShot(true);
    QObject::connect(&avviso, &QTimer::timeout, mostra);
    avviso.start(Avviso_Salvataggio_Uscita_ms);
    // A send that fails because the line dropped in between must not stop the exit.
    if (socket.State() == Socket::Connesso)
        socket.SendData(QStringLiteral("COMM18") + QChar(0x00D8));
    Pausa(0.5);
    socket.Close();
    Pausa(0.5);
    // _Exit runs no destructor: what is still queued would be lost.
    while (inSospeso() && orologio.elapsed() < Attesa_Salvataggi_Uscita_ms) {
        if (orologio.elapsed() >= Avviso_Salvataggio_Uscita_ms)
            mostra();
        Pausa(0.05);
    }
    avviso.stop();
    QStringList mancati;
    if (storici)
        for (const QString &f : storici->Preleva_Fallimenti())
            mancati << QStringLiteral("Storico locale non salvato: ") + f;
    if (archivio)
        for (const QString &f : archivio->Preleva_Fallimenti())
            mancati << QStringLiteral("Impostazioni non salvate: ") + f;
    if (inSospeso())
        mancati << QStringLiteral("Salvataggio non concluso in %1 secondi: i file ancora da scrivere "
                                  "restano come prima.")
                       .arg(Attesa_Salvataggi_Uscita_ms / 1000);
    if (mostrato)
        uscita.Mostra_Salvataggio(false);
    if (!mancati.isEmpty()) {
        const QString testo = mancati.join(QLatin1Char('\n'));
        std::fprintf(stderr, "%s\n", qUtf8Printable(testo));
        uscita.Avviso_Uscita(testo);
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
        void Mostra_Salvataggio(bool) override {}
        void Avviso_Uscita(const QString &) override {}
    } nessuna;
    Chiudi_Programma(shell, socket, nessuna);
}

void Termina_Processo(int codice)
{
    std::fflush(nullptr);
    std::_Exit(codice);
}

}  // namespace finestra

#include "shell/Uscita.h"

#include "archive/ScrittoreArchivio.h"
#include "market/ScrittoreStorico.h"
#include "platform/Socket.h"
#include "shell/Pausa.h"
#include "shell/StatoShell.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace finestra {

namespace {

// The exit under way. It lives in the frame of the call that began it, which never
// returns; a later call, made by a handler that runs in one of its waits (a second
// "SI", a signal), carries this one on instead of beginning another.
struct Corsa {
    Corsa(Socket &socket_, Uscita &uscita_, ScrittoreStorico *storici_, ScrittoreArchivio *archivio_, int attesaMs_)
        : socket(socket_), uscita(uscita_), storici(storici_), archivio(archivio_), attesaMs(attesaMs_)
    {
        orologio.start();
    }

    bool In_Sospeso() const
    {
        return (storici && storici->In_Sospeso() > 0) || (archivio && archivio->In_Sospeso() > 0);
    }
    void Mostra()
    {
        if (!mostrato && In_Sospeso()) {
            mostrato = true;
            uscita.Mostra_Salvataggio(true);
        }
    }

    Socket &socket;
    Uscita &uscita;
    ScrittoreStorico *storici;
    ScrittoreArchivio *archivio;
    const int attesaMs;
    QElapsedTimer orologio;
    QTimer avviso;  // saving shown from half a second on
    bool chiuso = false;
    bool mostrato = false;
    bool detto = false;  // what was not saved has been told
};

Corsa *corsa = nullptr;

// The pauses are reckoned from the exit's start, so that a call carrying it on waits
// only what is left of them.
void Pausa_Fino(const Corsa &c, qint64 ms)
{
    if (const qint64 resto = ms - c.orologio.elapsed(); resto > 0)
        Pausa(double(resto) / 1000.0);
}

// "a", "a e b", "a, b e c".
QString Elenco(const QStringList &nomi)
{
    if (nomi.size() < 2)
        return nomi.join(QString());
    return nomi.mid(0, nomi.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" e ") + nomi.last();
}

// Each file that keeps its previous contents, named once: with its cause when its write
// failed, else among those the bound left waiting.
QStringList Non_Salvati(const Corsa &c)
{
    QStringList righe;
    QStringList restanti;
    const auto detto = [&righe](const QString &nome) {
        const QString campo = QStringLiteral(": ") + nome + QStringLiteral(": ");
        return std::any_of(righe.begin(), righe.end(), [&campo](const QString &r) { return r.contains(campo); });
    };
    // The failures first: a file whose write fails after this is still named below.
    if (c.storici)
        for (const QString &f : c.storici->Preleva_Fallimenti())
            righe << QStringLiteral("Storico locale non salvato: ") + f;
    if (c.archivio)
        for (const QString &f : c.archivio->Preleva_Fallimenti())
            righe << QStringLiteral("Impostazioni non salvate: ") + f;
    QStringList daScrivere;
    if (c.storici)
        daScrivere << c.storici->Da_Scrivere();
    if (c.archivio)
        daScrivere << c.archivio->Da_Scrivere();
    for (const QString &nome : std::as_const(daScrivere))
        if (!detto(nome))
            restanti << nome;
    if (!restanti.isEmpty())
        righe << QStringLiteral("Salvataggio non concluso in %1 secondi: %2 %3 come prima.")
                     .arg(c.attesaMs / 1000)
                     .arg(Elenco(restanti), restanti.size() == 1 ? QStringLiteral("resta") : QStringLiteral("restano"));
    return righe;
}

[[noreturn]] void Concludi(Corsa &c)
{
    // Told once: a call carrying the exit on while the notice is open ends it at once.
    if (!std::exchange(c.detto, true)) {
        c.avviso.stop();
        const QStringList mancati = Non_Salvati(c);
        if (c.mostrato)
            c.uscita.Mostra_Salvataggio(false);
        if (!mancati.isEmpty()) {
            const QString testo = mancati.join(QLatin1Char('\n'));
            std::fprintf(stderr, "%s\n", qUtf8Printable(testo));
            std::fflush(stderr);
            c.uscita.Avviso_Uscita(testo);
        }
    }
    c.uscita.Termina(0);
    Termina_Processo(0);
}

// From the logout on, each step once, whichever call gets to it.
[[noreturn]] void Prosegui(Corsa &c)
{
    Pausa_Fino(c, 500);
    if (!std::exchange(c.chiuso, true))
        c.socket.Close();
    Pausa_Fino(c, 1000);
    // _Exit runs no destructor: what is still queued would be lost.
    while (c.In_Sospeso() && c.orologio.elapsed() < c.attesaMs) {
        if (c.orologio.elapsed() >= Avviso_Salvataggio_Uscita_ms)
            c.Mostra();
        Pausa(0.05);
    }
    Concludi(c);
}

}  // namespace

void Chiudi_Programma(StatoShell &shell, Socket &socket, Uscita &uscita, ScrittoreStorico *storici,
                      ScrittoreArchivio *archivio, int attesaMs)
{
    if (corsa)
        Prosegui(*corsa);
    Corsa c(socket, uscita, storici, archivio, attesaMs);
    corsa = &c;
    // Only a test's Termina leaves this frame (it throws): the next exit begins afresh.
    const auto fine = qScopeGuard([] { corsa = nullptr; });
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
    // The closing question goes before anything waits: nobody may answer it again.
    uscita.Scarica_Form_Msg();
    // The writers go on during the pauses: a slow disk is shown from half a second on.
    c.avviso.setSingleShot(true);
    QObject::connect(&c.avviso, &QTimer::timeout, [&c] { c.Mostra(); });
    c.avviso.start(Avviso_Salvataggio_Uscita_ms);
    // A send that fails because the line dropped in between must not stop the exit.
    if (socket.State() == Socket::Connesso)
        socket.SendData(QStringLiteral("COMM18") + QChar(0x00D8));
    Prosegui(c);
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

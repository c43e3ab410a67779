#pragma once

// The writer of the archive files (platform/Scrittore.h: one queue and one policy for
// every writer), on a thread of its own: a commit syncs its journal, the file and the
// folder, and on a busy disk that takes seconds the window must not wait for. Every
// save goes through it, in order: the settings saved on their own (each degree's cycle
// start after a merge, the loader's corrections, the rows a loading frees) and every
// one the trader makes. The window thread takes the values and queues them; the writer
// keeps one value a file, table, row and column (the newest) and commits the values of
// a file in one transaction on its own connection. A read that must see what is queued
// goes through ConnessioneInAttesa.

#include "archive/Archivio.h"
#include "platform/Scrittore.h"

#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// One column of one row a value: a newer value of the same column takes an older one's
// place, whichever batch either came in. The values of one file are written together.
struct PoliticaArchivio {
    struct Voce {
        archivio::FileArchivio file = archivio::FileArchivio::Sistema3;
        QString tabella;
        int id = 0;
        QString colonna;
        QString valore;
    };
    static bool Stessa_Chiave(const Voce &a, const Voce &b)
    {
        return a.file == b.file && a.id == b.id && a.colonna == b.colonna && a.tabella == b.tabella;
    }
    static QString Nome(const Voce &v) { return archivio::NomeArchivio(v.file); }
    static bool Insieme(const Voce &a, const Voce &b) { return a.file == b.file; }
    std::vector<EsitoVoce> Scrivi(const std::vector<Voce> &lotto);
};

class ScrittoreArchivio : public Scrittore<PoliticaArchivio> {
public:
    // Who queued a value: the program on its own, or the trader.
    enum Richiedente { Automatico = 1, Utente = 2 };

    // The newest writer alive is the one the saves go to (the window's).
    explicit ScrittoreArchivio(QObject *parent = nullptr);
    ~ScrittoreArchivio() override;

    void Accoda(archivio::Lotto lotto, Richiedente richiedente = Automatico);

    // The values still to be written to `tabella` of `file` laid over its rows as read:
    // the one being written first, then those waiting and those kept after a failure.
    void Sovrapponi(archivio::FileArchivio file, const QString &tabella, std::map<int, archivio::Riga> &righe) const;

    QString Testo_Avviso(int richiedente, const QString &nome, const QString &causa) const override;

    // The writer saves go to, or null (a tool, a computation test: saves are then written at once).
    static ScrittoreArchivio *Del_Programma();
    // Every writer alive.
    static std::vector<ScrittoreArchivio *> Tutti();
};

namespace archivio {

// A save: to the program's writer, queued after every earlier one and written off this
// thread; without a writer, written now. False, with the reason in `errore`, only for a
// refusal known at once (no writer, and the file refused): a refusal later is the
// writer's to tell, once, and the value stays.
[[nodiscard]] bool Salva(Lotto lotto, QString *errore = nullptr,
                         ScrittoreArchivio::Richiedente richiedente = ScrittoreArchivio::Utente);

// What the writers still hold for `file` (queued or being written) is written before
// this returns; what failed and is kept stays kept. For whoever must read the file
// itself afterwards (a test, a tool): the program's reads lay it over instead.
void Attendi_Scritture(FileArchivio file);

// How long a read waits for a write of the writers in progress on its file.
constexpr int Attesa_Scrittura_In_Corso_ms = 10000;
// A read on the window thread still waiting after this long is told (Imposta_Avviso_Attesa).
constexpr int Avviso_Attesa_Lettura_ms = 300;

// Who tells the trader that a read waits for file `nome` (`inizio` true), and that it no
// longer does: the window. None by default (a tool, a computation test).
using AvvisoAttesa = std::function<void(const QString &nome, bool inizio)>;
void Imposta_Avviso_Attesa(AvvisoAttesa avviso);

// A connection that waits: for the write the archive's writers have in progress on its
// file to end (at most Attesa_Scrittura_In_Corso_ms, the event loop running meanwhile
// when on the window thread: the window answers, and never waits on a sync), and holds
// their next write of that file off while it lives. It reads the file's rows with what
// the writers still hold laid over them: a loading sees the newest values, written or
// not, and never meets the writer's lock. Only for reading.
class ConnessioneInAttesa {
public:
    explicit ConnessioneInAttesa(FileArchivio file);
    ~ConnessioneInAttesa();
    ConnessioneInAttesa(const ConnessioneInAttesa &) = delete;
    ConnessioneInAttesa &operator=(const ConnessioneInAttesa &) = delete;

    bool Aperta() const { return m_connessione->Aperta(); }
    QString Errore() const { return m_connessione->Errore(); }
    bool TabellaEsiste(const QString &tabella) { return m_connessione->TabellaEsiste(tabella); }
    std::map<int, Riga> LeggiTabella(const QString &tabella);

private:
    FileArchivio m_file;
    std::vector<ScrittoreArchivio *> m_scrittori;
    std::optional<Connessione> m_connessione;
};

// The notice of values not written: the trader's own (`automatico` false), or the
// settings the program saves on its own.
QString Testo_Non_Salvato(const QString &nomeFile, const QString &causa, bool automatico);

}  // namespace archivio

#pragma once

// Local history files: one scrambled text file per underlying and timeframe in
// <program folder>/Sistema, S<tf>_<u>.dat, one bar per line, newest first:
// ddmmyy;hhmm;close;volume with character k raised by Tabella_Chiave(k).
// Every line is validated on the way in; a file that fails makes its whole
// underlying unavailable, and a series is only replaced by a fully read one.

#include "market/StatoMercato.h"
#include "platform/Costanti.h"
#include "platform/DataOra.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <array>
#include <optional>

namespace storico {

inline constexpr int Lunghezza_Max_Riga = 56;

// Tabella_Chiave(k) = 80 + ((k * 29) mod 64), k = 1..56. Frozen: files written
// with it must stay readable.
void Inizializza_Tabella_Chiave(StatoMercato &mercato);
int ValoreChiave(int k);

// "5M", "15M", "1H", "1D"; nullptr for any other text.
SerieStorico *SerieDelTimeframe(StatoMercato &mercato, const QString &timeframe);
const SerieStorico *SerieDelTimeframe(const StatoMercato &mercato, const QString &timeframe);
int BarreDelTimeframe(const QString &timeframe);  // 0 when unknown
const std::array<QString, 4> &Timeframes();        // in the order 5M, 15M, 1H, 1D

QString NomeFileStorico(int sottostante, const QString &timeframe);  // "S15M_3.dat"
QString PercorsoFileStorico(int sottostante, const QString &timeframe);

// True only for an existing regular file under <program folder>/Sistema.
bool Verifica_File_Storico(const QString &nomeFile);

// Whether a bar can be written to a history file and read back as the same day
// and time: a valid date whose two-digit year reads back in annoOggi, a time
// within the day, a finite close, a finite volume within the file's range and a
// line of at most 56 characters. The writer, the download and the merges of
// server bars all ask this, so whatever enters a series can be saved.
bool Barra_Registrabile(const BarraStorico &barra, int annoOggi = dataora::AnnoCorrente());

// The plain line of one bar; empty when the bar is not Barra_Registrabile.
QByteArray RigaInChiaro(const BarraStorico &barra, int annoOggi = dataora::AnnoCorrente());
// Character k raised (or lowered) by entry k of the key; empty for a line over 56 characters.
QByteArray Scrambla(const QByteArray &chiaro, const std::array<int, 57> &chiave);
QByteArray Decifra(const QByteArray &scramblata, const std::array<int, 57> &chiave);
// Parses a plain line; nullopt when any field fails.
std::optional<BarraStorico> LeggiRiga(const QByteArray &chiaro, int annoOggi = dataora::AnnoCorrente());

struct Esito {
    bool ok = false;
    QString errore;  // reason in plain words when !ok
};

// What writing a history file asks of the disk, on the thread that writes; tests
// slow it down or stop it midway.
class Disco {
public:
    virtual ~Disco() = default;
    // Half the contents are in the temporary file; the file itself is still the old one.
    virtual void A_Meta_File(const QString &percorso) = 0;
    // Where the temporary file, complete, goes to the disk before it replaces the file:
    // false keeps the old file; errno then holds the cause, as the system leaves it
    // after a failed call, and `errore` may give the system's words for it.
    virtual bool Sincronizza(QFileDevice &file, QString &errore) = 0;
};

// The program's disk: the file's data flushed and synced, so that a disk that
// fails only when the data reach it keeps the old file too.
class DiscoReale : public Disco {
public:
    void A_Meta_File(const QString & /*percorso*/) override {}
    bool Sincronizza(QFileDevice &file, QString &errore) override;
};

// The contents of one timeframe's file of `sottostante` from the series of `mercato`,
// every line formatted and scrambled. Fails, with nothing in `contenuto`, when a bar
// cannot be formatted.
Esito Contenuto_Storico(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                        QByteArray &contenuto, int annoOggi = dataora::AnnoCorrente());

// Replaces the file `percorso` with `contenuto` through QSaveFile, synced before the
// rename: a failed write, or a process killed at any moment, keeps the old file whole.
// A failure's reason is its cause in the trader's words (errori_file::Causa_Scrittura).
Esito Scrivi_File_Storico(const QString &percorso, const QByteArray &contenuto, Disco &disco);

// Contenuto_Storico, then Scrivi_File_Storico on this thread. The program saves through
// ScrittoreStorico instead, off the window thread.
Esito Salva_Storico(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                   int annoOggi = dataora::AnnoCorrente());

// Reads and validates one whole file into a series of the timeframe's size: exactly
// N lines ended by CR LF, nothing after the last. *errore names the file and the reason.
std::optional<SerieStorico> LeggiFileStorico(const QString &percorso, const QString &timeframe,
                                             const std::array<int, 57> &chiave, QString *errore = nullptr,
                                             int annoOggi = dataora::AnnoCorrente());

// The four series of one underlying, read and validated as a set.
struct SetStorico {
    SerieStorico s5M{costanti::Barre_Storico_5M};
    SerieStorico s15M{costanti::Barre_Storico_15M};
    SerieStorico s1H{costanti::Barre_Storico_1H};
    SerieStorico s1D{costanti::Barre_Storico_1D};
};
// The four series of `set` become the session's history.
void CopiaSetStorico(StatoMercato &mercato, const SetStorico &set);
std::optional<SetStorico> LeggiSetStorico(int sottostante, const std::array<int, 57> &chiave, QString *errore = nullptr,
                                          int annoOggi = dataora::AnnoCorrente());

// Removes what an interrupted save left beside the history files (the writer's
// temporary "S<tf>_<u>.dat.XXXXXX" files). Run at start, before anything writes there.
int Rimuovi_Temporanei_Storico();

inline const QString Messaggio_Nessuno_Storico = QStringLiteral(
    "Non esiste nessun file Storico per connettersi Offline.\r\n"
    "Per creare Storici Offline connettersi prima Online al\r\n"
    "Sottostante desiderato.");
inline const QString Titolo_Nessuno_Storico = QStringLiteral("Wavelore \u00AE");

// The notice of a history file left with its old contents: its name ("S1H_5.dat")
// and the cause in the trader's words.
QString Testo_Non_Salvato(const QString &nomeFile, const QString &causa);

// What the window does around the offline load, so that the load stays free of
// widgets.
class AzioniOffline {
public:
    virtual ~AzioniOffline() = default;
    // Loading steps 4..7.
    virtual void Mostra_Avanzamento(int passo) = 0;
    // The message, then the program ends.
    virtual void Nessuno_Storico(const QString &titolo, const QString &testo) = 0;
    // The files of the chosen underlying are all there but one cannot be read: the
    // text names the file and the reason. Called before any other underlying is taken.
    virtual void Storico_Danneggiato(const QString &testo) = 0;
};

// Result of the offline load: per underlying 1..7 the label of its offline option
// (the newest daily date, "" when not available) and whether the load succeeded.
struct EsitoOffline {
    bool caricato = false;
    std::array<QString, costanti::Num_Sottostanti + 1> etichette{};
};

// Finds the underlyings with a complete and valid set of files, labels them, moves
// Sottostante_Corrente to the first available one from the current (not saved) and
// loads its four series. A damaged set of the current underlying is reported through
// Storico_Danneggiato. With none, calls Nessuno_Storico and returns !caricato; the
// series are then left as they were.
EsitoOffline Carica_Storico_Offline(StatoMercato &mercato, int &sottostanteCorrente, const QString &formatoLocale,
                                    AzioniOffline &azioni, int annoOggi = dataora::AnnoCorrente());
EsitoOffline Carica_Storico_Offline(StatoMercato &mercato, int &sottostanteCorrente, const QString &formatoLocale);

}  // namespace storico

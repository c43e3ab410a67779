#pragma once

// The one writer of the local history files, on a thread of its own: a busy disk
// (a sync can take seconds while other programs sync) never holds the window. The
// caller's thread formats a file's contents, a snapshot of the series, and queues
// them; the writer never sees the series. Files are replaced in the order queued,
// each through storico::Scrivi_File_Storico (old or new after any crash, never
// half); of a file still waiting only the newest contents are kept.
// A file that fails keeps its old contents on disk and its newest ones here, and is
// tried again: at once when another write succeeds (the disk works again), else
// after a wait that grows up to Riprova_Massima. A failing disk is told once, on the
// owner's thread, when the first file fails (Scrittura_Fallita), and its end once
// every file is written again (Scrittura_Ripresa).

#include "market/StoricoLocale.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class ScrittoreStorico : public QObject {
    Q_OBJECT
public:
    // Who queued a file: each reports its own failures.
    enum Richiedente { Caricamento = 1, Tempo_Reale = 2 };

    explicit ScrittoreStorico(QObject *parent = nullptr);
    // Writes what is still queued, failed files tried once more, then stops.
    ~ScrittoreStorico() override;

    // The file of `timeframe` of `sottostante`, formatted now from the series of
    // `mercato` and queued. Fails at once, queueing nothing, when a bar cannot be written.
    storico::Esito Salva(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                         Richiedente richiedente, int annoOggi = dataora::AnnoCorrente());

    // Returns once every file queued so far is written or has failed; files that
    // failed before are tried once more first.
    void Attendi();
    // Files queued and not yet written.
    int In_Sospeso() const;
    // The names ("S5M_2.dat") of the files whose newest contents are not on disk yet:
    // queued, being written, or failed and kept. Each once.
    QStringList Da_Scrivere() const;
    // Files written, and contents dropped for newer ones of the same file before being written.
    quint64 Scritti() const;
    quint64 Sostituiti() const;
    // The files still not written, each with its cause ("S5M_2.dat: il disco è pieno"):
    // what the exit tells.
    QStringList Preleva_Fallimenti();
    // The files that failed queued again now, without waiting for the next try.
    void Riprova_Adesso();
    // From now on failures are only kept for Preleva_Fallimenti: the exit tells them itself.
    void Trattieni_Fallimenti();

    // How the files reach the disk, from the next file on; null puts back the default.
    void Imposta_Disco(std::shared_ptr<storico::Disco> disco);
    // The wait before a failed file is tried again: `prima` after the first failure,
    // doubled at each try up to `massima`.
    void Imposta_Riprova(std::chrono::milliseconds prima, std::chrono::milliseconds massima);
    static constexpr std::chrono::milliseconds Riprova_Iniziale{1000};
    static constexpr std::chrono::milliseconds Riprova_Massima{30000};

    // On the owner's thread: whoever tells a failure holds this while its notice is
    // open, so that one notice at a time is shown, whoever queued the file.
    bool Avviso_Aperto() const { return m_avvisoAperto; }
    void Imposta_Avviso_Aperto(bool aperto) { m_avvisoAperto = aperto; }

signals:
    // On the owner's thread. The first file that failed since every file was last
    // written (`nome` "S5M_2.dat", `causa` in the trader's words, Italian): the
    // file keeps its old contents and is tried again.
    void Scrittura_Fallita(int richiedente, const QString &nome, const QString &causa);
    // Every file that had failed is now written with its newest contents.
    void Scrittura_Ripresa();

private:
    struct Voce {
        QString percorso;
        QString nome;  // "S5M_2.dat"
        QByteArray contenuto;
        Richiedente richiedente = Tempo_Reale;
        bool fallita = false;  // the file's last write failed
        QString causa;         // why, when it failed
    };
    // A change between "every file written" and "some file failing", to tell.
    struct Evento {
        bool fallita = true;
        Richiedente richiedente = Tempo_Reale;
        QString nome;
        QString causa;
    };
    using Orologio = std::chrono::steady_clock;

    void Ciclo();
    // Under the lock. The failed files back in the queue, for one more try.
    void Riprova_Falliti();
    // What one write changes: counts, the failed files, what is to be told.
    void Esito_Scrittura(Voce &&v, const storico::Esito &e);
    bool Qualcuno_Fallito() const;
    void Consegna_Evento();

    mutable std::mutex m_mutex;
    std::condition_variable m_lavoro;  // something queued, or the end
    std::condition_variable m_fatto;   // a file done
    std::deque<Voce> m_coda;
    // Files whose last write failed and not queued again: their newest contents.
    std::vector<Voce> m_falliti;
    bool m_inCorsoFallita = false;  // the file being written had failed before
    bool m_fallimentoDetto = false;  // told, and not every file written since
    Orologio::time_point m_prossimaRiprova;
    std::chrono::milliseconds m_riprovaPrima = Riprova_Iniziale;
    std::chrono::milliseconds m_riprovaMassima = Riprova_Massima;
    std::chrono::milliseconds m_riprova = Riprova_Iniziale;
    bool m_inCorso = false;
    QString m_nomeInCorso;
    bool m_fine = false;
    bool m_trattieni = false;
    quint64 m_scritti = 0;
    quint64 m_sostituiti = 0;
    std::shared_ptr<storico::Disco> m_disco;
    std::vector<Evento> m_eventi;
    bool m_avvisoAperto = false;  // owner's thread only
    std::thread m_thread;
};

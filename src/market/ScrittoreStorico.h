#pragma once

// The one writer of the local history files, on a thread of its own: a busy disk
// (a sync can take seconds while other programs sync) never holds the window. The
// caller's thread formats a file's contents, a snapshot of the series, and queues
// them; the writer never sees the series. Files are replaced in the order queued,
// each through storico::Scrivi_File_Storico (old or new after any crash, never
// half); of a file still waiting only the newest contents are kept. A failed write
// keeps the old file and is told on the owner's thread by Scrittura_Fallita.

#include "market/StoricoLocale.h"

#include <QObject>
#include <QString>
#include <QStringList>
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
    // Writes what is still queued, then stops.
    ~ScrittoreStorico() override;

    // The file of `timeframe` of `sottostante`, formatted now from the series of
    // `mercato` and queued. Fails at once, queueing nothing, when a bar cannot be written.
    storico::Esito Salva(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                         Richiedente richiedente, int annoOggi = dataora::AnnoCorrente());

    // Returns once every file queued so far is written or has failed.
    void Attendi();
    // Files queued and not yet written.
    int In_Sospeso() const;
    // Files written, and contents dropped for newer ones of the same file before being written.
    quint64 Scritti() const;
    quint64 Sostituiti() const;
    // Failures not yet told, taken away: what the exit can still print.
    QStringList Preleva_Fallimenti();
    // From now on failures are only kept for Preleva_Fallimenti: the exit tells them itself.
    void Trattieni_Fallimenti();

    // How the files reach the disk, from the next file on; null puts back the default.
    void Imposta_Disco(std::shared_ptr<storico::Disco> disco);

signals:
    // On the owner's thread: `timeframe`'s file kept its old contents.
    void Scrittura_Fallita(int richiedente, const QString &timeframe, const QString &errore);

private:
    struct Voce {
        QString percorso;
        QString nome;  // "S5M_2.dat"
        QString timeframe;
        QByteArray contenuto;
        Richiedente richiedente = Tempo_Reale;
    };
    struct Fallimento {
        Richiedente richiedente;
        QString timeframe;
        QString nome;
        QString errore;
    };

    void Ciclo();
    void Consegna_Fallimenti();

    mutable std::mutex m_mutex;
    std::condition_variable m_lavoro;  // something queued, or the end
    std::condition_variable m_fatto;   // a file done
    std::deque<Voce> m_coda;
    bool m_inCorso = false;
    bool m_fine = false;
    bool m_trattieni = false;
    quint64 m_scritti = 0;
    quint64 m_sostituiti = 0;
    std::shared_ptr<storico::Disco> m_disco;
    std::vector<Fallimento> m_fallimenti;
    std::thread m_thread;
};

#pragma once

// The writer of the settings saved on their own (each degree's cycle start after a
// merge, the loader's corrections), on a thread of its own: a commit syncs its journal,
// the file and the folder, and on a busy disk that takes seconds the window must not
// wait for. The window thread takes the values and queues them as one batch; the
// writer commits a batch in one transaction on its own connection. A batch still
// waiting takes in the next one (newer values win), so a slow disk leaves one batch
// waiting at most. Every other connection to a file waits for what is queued for it
// (archivio::Attendi_Scritture): a save the trader starts is never overtaken by an
// older batch nor refused for the writer's lock, and a read sees what was queued.

#include "archive/Archivio.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class ScrittoreArchivio : public QObject {
    Q_OBJECT
public:
    explicit ScrittoreArchivio(QObject *parent = nullptr);
    // Writes what is still queued, then stops.
    ~ScrittoreArchivio() override;

    void Accoda(archivio::Lotto lotto);
    // Returns once every batch queued so far is written or has failed.
    void Attendi();
    // Batches queued and not yet written.
    int In_Sospeso() const;
    // The names ("Sistema3.dat") of the files a batch queued or being written still has
    // to change, each once. A batch that failed is not kept: its failure names its file.
    QStringList Da_Scrivere() const;
    // Batches written, and batches taken into one still waiting.
    quint64 Scritti() const;
    quint64 Uniti() const;
    // Failures not yet told, taken away: what the exit tells itself.
    QStringList Preleva_Fallimenti();
    // From now on failures are only kept for Preleva_Fallimenti: the exit waits for
    // nobody's answer.
    void Trattieni_Fallimenti();

signals:
    // On the owner's thread: a batch was not written, `file` kept what it held.
    void Salvataggio_Fallito(const QString &file, const QString &motivo);
    // On the owner's thread: a batch was written after one that failed.
    void Salvataggio_Ripreso();

private:
    friend void archivio::Attendi_Scritture(archivio::FileArchivio file);

    struct Fallimento {
        quint64 numero;
        QString file;
        QString motivo;
    };

    void Ciclo();
    void Attendi_File(archivio::FileArchivio file);
    void Consegna(quint64 numero);
    bool Tocca(archivio::FileArchivio file) const;  // with m_mutex held

    mutable std::mutex m_mutex;
    std::condition_variable m_lavoro;  // something queued, or the end
    std::condition_variable m_fatto;   // a batch done
    std::deque<archivio::Lotto> m_coda;
    archivio::Lotto m_inCorso;
    bool m_scrive = false;
    bool m_fine = false;
    bool m_ultimoFallito = false;
    bool m_trattieni = false;
    quint64 m_scritti = 0;
    quint64 m_uniti = 0;
    quint64 m_numeroFallimento = 0;
    std::deque<Fallimento> m_fallimenti;
    std::thread m_thread;
};

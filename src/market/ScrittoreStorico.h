#pragma once

// The writer of the local history files (platform/Scrittore.h: one queue and one
// policy for every writer), on a thread of its own: a busy disk (a sync can take
// seconds while other programs sync) never holds the window. The caller's thread
// formats a file's contents, a snapshot of the series, and queues them; the writer
// never sees the series. Each file is replaced through storico::Scrivi_File_Storico
// (old or new after any crash, never half); of a file still waiting only the newest
// contents are kept.

#include "market/StoricoLocale.h"
#include "platform/Scrittore.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>

// One file a write, its contents whole.
struct PoliticaStorico {
    struct Voce {
        QString percorso;
        QString nome;  // "S5M_2.dat"
        QByteArray contenuto;
    };
    static bool Stessa_Chiave(const Voce &a, const Voce &b) { return a.percorso == b.percorso; }
    static QString Nome(const Voce &v) { return v.nome; }
    static bool Insieme(const Voce &, const Voce &) { return false; }
    std::vector<EsitoVoce> Scrivi(const std::vector<Voce> &lotto);

    std::mutex mutexDisco;
    std::shared_ptr<storico::Disco> disco = std::make_shared<storico::DiscoReale>();
};

class ScrittoreStorico : public Scrittore<PoliticaStorico> {
public:
    // Who queued a file.
    enum Richiedente { Caricamento = 1, Tempo_Reale = 2 };

    using Scrittore::Scrittore;

    // The file of `timeframe` of `sottostante`, formatted now from the series of
    // `mercato` and queued. Fails at once, queueing nothing, when a bar cannot be written.
    storico::Esito Salva(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                         Richiedente richiedente, int annoOggi = dataora::AnnoCorrente());

    // How the files reach the disk, from the next file on; null puts back the default.
    void Imposta_Disco(std::shared_ptr<storico::Disco> disco);

    QString Testo_Avviso(int richiedente, const QString &nome, const QString &causa) const override;
};

#pragma once

// The program's one way of saving off the window thread: a queue of items, written in
// order on a thread of its own, with one policy for every kind of file.
// - An item queued while another of the same key still waits replaces it and goes last:
//   the newest value always wins, and a slow disk leaves one item a key at most waiting.
// - A failed item keeps the file as it was and stays here, and is tried again: at once
//   after any write that succeeds (the disk works again), else after a wait doubling from
//   `prima` to `massima`, in Attendi and at the end. What is queued for its key meanwhile
//   takes its place.
// - A failing period is told once, on the owner's thread, when its first item fails
//   (Scrittura_Fallita), and its end once every item is written (Scrittura_Ripresa).
// - A reader of a file (Inizia_Lettura) holds the next write of that file off until it is
//   done, and reads what is still here laid over the file (Per_Ogni_In_Sospeso).
// A Politica says what an item is and how a group of them is written:
//   using Voce = ...;                                   the item
//   static bool Stessa_Chiave(const Voce &, const Voce &);
//   static QString Nome(const Voce &);                  the file, as told ("S5M_2.dat")
//   static bool Insieme(const Voce &primo, const Voce &altra);   written by one call
//   std::vector<EsitoVoce> Scrivi(const std::vector<Voce> &);    on the writer's thread

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// What one item's write gave: nothing when written, else the cause in the trader's words.
struct EsitoVoce {
    bool ok = true;
    QString causa;
};

// What the window needs of every writer: its news, on its owner's thread, and the words for it.
class ScrittoreBase : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Failures are kept for the exit, told by nobody else (Trattieni_Fallimenti).
    virtual bool Fallimenti_Trattenuti() const = 0;
    // The notice of a failing period that began with an item of `richiedente` for `nome`.
    virtual QString Testo_Avviso(int richiedente, const QString &nome, const QString &causa) const = 0;

signals:
    // The first item that failed since every item was last written: `nome` the file,
    // `causa` in the trader's words (Italian), `richiedente` who queued it. The file
    // keeps what it held and the item is tried again.
    void Scrittura_Fallita(int richiedente, const QString &nome, const QString &causa);
    // Every item that had failed is now written with its newest value.
    void Scrittura_Ripresa();
};

template <typename Politica>
class Scrittore : public ScrittoreBase {
public:
    using Voce = typename Politica::Voce;
    static constexpr std::chrono::milliseconds Riprova_Iniziale{1000};
    static constexpr std::chrono::milliseconds Riprova_Massima{30000};

    explicit Scrittore(QObject *parent = nullptr) : ScrittoreBase(parent) {}
    // Writes what is still queued, the failed items tried once more, then stops.
    ~Scrittore() override
    {
        {
            std::lock_guard blocco(m_mutex);
            m_fine = true;
            Riprova_Falliti();
        }
        m_lavoro.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    Scrittore(const Scrittore &) = delete;
    Scrittore &operator=(const Scrittore &) = delete;

    // Returns once every item queued so far is written or has failed; the items that
    // failed before are tried once more first.
    void Attendi()
    {
        std::unique_lock blocco(m_mutex);
        if (!m_falliti.empty()) {
            Riprova_Falliti();
            m_lavoro.notify_one();
        }
        m_fatto.wait(blocco, [this] { return m_coda.empty() && m_inCorso.empty(); });
    }
    // Returns once nothing queued for file `nome` waits or is being written.
    void Attendi_File(const QString &nome)
    {
        std::unique_lock blocco(m_mutex);
        m_fatto.wait(blocco, [&] { return !Tocca(nome); });
    }
    // Items queued and not yet written (those being written included).
    int In_Sospeso() const
    {
        std::lock_guard blocco(m_mutex);
        return int(m_coda.size() + m_inCorso.size());
    }
    // Items written, and items dropped for a newer one of the same key before being written.
    quint64 Scritti() const
    {
        std::lock_guard blocco(m_mutex);
        return m_scritti;
    }
    quint64 Sostituiti() const
    {
        std::lock_guard blocco(m_mutex);
        return m_sostituiti;
    }
    // The files whose queued contents are not yet on disk (queued, being written, or
    // failed and kept), each once: what the exit waits for.
    QStringList Da_Scrivere() const
    {
        std::lock_guard blocco(m_mutex);
        QStringList nomi;
        Per_Ogni([&](const Elemento &e) {
            const QString n = Politica::Nome(e.voce);
            if (!nomi.contains(n))
                nomi << n;
        });
        return nomi;
    }
    // The files still not written after a failure, each once with its cause
    // ("S5M_2.dat: il disco è pieno"): what the exit tells. The failures not yet told go.
    QStringList Preleva_Fallimenti()
    {
        std::lock_guard blocco(m_mutex);
        QStringList nomi, testi;
        Per_Ogni([&](const Elemento &e) {
            const QString n = Politica::Nome(e.voce);
            if (e.fallita && !nomi.contains(n)) {
                nomi << n;
                testi << QStringLiteral("%1: %2").arg(n, e.causa);
            }
        });
        std::erase_if(m_eventi, [](const Evento &ev) { return ev.fallita; });
        return testi;
    }
    // The failed items queued again now, without waiting for their next try.
    void Riprova_Adesso()
    {
        {
            std::lock_guard blocco(m_mutex);
            if (m_falliti.empty())
                return;
            Riprova_Falliti();
        }
        m_lavoro.notify_one();
    }
    // From now on failures are only kept for Preleva_Fallimenti: the exit tells them itself.
    void Trattieni_Fallimenti()
    {
        std::lock_guard blocco(m_mutex);
        m_trattieni = true;
    }
    bool Fallimenti_Trattenuti() const override
    {
        std::lock_guard blocco(m_mutex);
        return m_trattieni;
    }
    // The wait before a failed item is tried again: `prima` after the first failure,
    // doubled at each try up to `massima`.
    void Imposta_Riprova(std::chrono::milliseconds prima, std::chrono::milliseconds massima)
    {
        {
            std::lock_guard blocco(m_mutex);
            m_riprovaPrima = m_riprova = prima;
            m_riprovaMassima = std::max(prima, massima);
            m_prossimaRiprova = std::min(m_prossimaRiprova, Orologio::now() + prima);
        }
        m_lavoro.notify_one();
    }
    // The wait the next failure starts.
    std::chrono::milliseconds Attesa_Riprova() const
    {
        std::lock_guard blocco(m_mutex);
        return m_riprova;
    }

    // A reader of file `nome` on its way: no write of that file starts until Fine_Lettura;
    // true while one is being written (the reader waits for it to end: Scrive).
    void Inizia_Lettura(const QString &nome)
    {
        std::lock_guard blocco(m_mutex);
        ++m_letture[nome];
    }
    void Fine_Lettura(const QString &nome)
    {
        {
            std::lock_guard blocco(m_mutex);
            if (const auto l = m_letture.find(nome); l != m_letture.end() && --l->second <= 0)
                m_letture.erase(l);
        }
        m_lavoro.notify_one();
    }
    bool Scrive(const QString &nome) const
    {
        std::lock_guard blocco(m_mutex);
        return std::any_of(m_inCorso.begin(), m_inCorso.end(),
                           [&](const Elemento &e) { return Politica::Nome(e.voce) == nome; });
    }
    // Every item not yet on disk, oldest first: the one being written, then those waiting
    // (the failed ones kept among them). A reader lays their values over the file's.
    template <typename F>
    void Per_Ogni_In_Sospeso(F &&f) const
    {
        std::lock_guard blocco(m_mutex);
        Per_Ogni([&](const Elemento &e) { f(e.voce); });
    }

protected:
    void Accoda(std::vector<Voce> voci, int richiedente)
    {
        if (voci.empty())
            return;
        {
            std::lock_guard blocco(m_mutex);
            for (Voce &v : voci)
                Accoda_Una({std::move(v), richiedente, false, {}});
            if (!m_thread.joinable())
                m_thread = std::thread([this] { Ciclo(); });
        }
        m_lavoro.notify_one();
    }
    // How the items are written; its state is the derived class's to guard.
    Politica &Politica_Scrittura() { return m_politica; }

private:
    struct Elemento {
        Voce voce;
        int richiedente = 0;
        bool fallita = false;  // its last write failed
        QString causa;         // why, when it failed
    };
    // A change between "every item written" and "some item failing", to tell.
    struct Evento {
        bool fallita = true;
        int richiedente = 0;
        QString nome;
        QString causa;
    };
    using Orologio = std::chrono::steady_clock;

    // Under the lock, in the order a reader lays them over the file.
    template <typename F>
    void Per_Ogni(F &&f) const
    {
        for (const Elemento &e : m_inCorso)
            f(e);
        for (const Elemento &e : m_falliti)
            f(e);
        for (const Elemento &e : m_coda)
            f(e);
    }
    bool Tocca(const QString &nome) const
    {
        const auto del_file = [&](const Elemento &e) { return Politica::Nome(e.voce) == nome; };
        return std::any_of(m_coda.begin(), m_coda.end(), del_file) ||
               std::any_of(m_inCorso.begin(), m_inCorso.end(), del_file);
    }

    void Accoda_Una(Elemento &&e)
    {
        const auto stessa = [&](const Elemento &x) { return Politica::Stessa_Chiave(x.voce, e.voce); };
        // A failed item waiting for its next try goes with the newer value, still told as failing.
        if (const auto f = std::find_if(m_falliti.begin(), m_falliti.end(), stessa); f != m_falliti.end()) {
            e.fallita = true;
            e.causa = f->causa;
            m_falliti.erase(f);
        }
        if (const auto v = std::find_if(m_coda.begin(), m_coda.end(), stessa); v != m_coda.end()) {
            if (v->fallita) {
                e.fallita = true;
                e.causa = v->causa;
            }
            m_coda.erase(v);
            ++m_sostituiti;
        }
        m_coda.push_back(std::move(e));
    }

    void Riprova_Falliti()
    {
        for (Elemento &e : m_falliti)
            m_coda.push_back(std::move(e));
        m_falliti.clear();
    }

    bool Qualcuno_Fallito() const
    {
        const auto fallita = [](const Elemento &e) { return e.fallita; };
        return !m_falliti.empty() || std::any_of(m_coda.begin(), m_coda.end(), fallita) ||
               std::any_of(m_inCorso.begin(), m_inCorso.end(), fallita);
    }

    // Under the lock: the first item no reader holds off, or end().
    typename std::deque<Elemento>::iterator Prossima()
    {
        return std::find_if(m_coda.begin(), m_coda.end(),
                            [this](const Elemento &e) { return !m_letture.count(Politica::Nome(e.voce)); });
    }

    // Under the lock: waits for an item no reader holds off, taking the failed ones back on
    // their turn; end() once the writer is to end and nothing is queued.
    typename std::deque<Elemento>::iterator Attendi_Prossima(std::unique_lock<std::mutex> &blocco)
    {
        auto primo = Prossima();
        while (primo == m_coda.end()) {
            if (m_fine && m_coda.empty())
                return m_coda.end();
            // Once the exit holds the failures, its own last try is the only one left.
            const bool attesa = !m_falliti.empty() && !m_fine && !m_trattieni;
            if (attesa && Orologio::now() >= m_prossimaRiprova) {
                m_riprova = std::min(2 * m_riprova, m_riprovaMassima);
                Riprova_Falliti();
            } else if (attesa) {
                m_lavoro.wait_until(blocco, m_prossimaRiprova);
            } else {
                m_lavoro.wait(blocco);
            }
            primo = Prossima();
        }
        return primo;
    }

    // Under the lock: `primo` and the items written together with it, in the queue's order,
    // moved to those being written.
    std::vector<Voce> Prendi_Lotto(typename std::deque<Elemento>::iterator primo)
    {
        const std::size_t ip = std::size_t(primo - m_coda.begin());
        const Voce capo = primo->voce;
        std::deque<Elemento> resto;
        for (std::size_t i = 0; i < m_coda.size(); ++i) {
            Elemento &e = m_coda[i];
            const bool insieme =
                i == ip || (Politica::Insieme(capo, e.voce) && !m_letture.count(Politica::Nome(e.voce)));
            if (insieme)
                m_inCorso.push_back(std::move(e));
            else
                resto.push_back(std::move(e));
        }
        m_coda = std::move(resto);
        std::vector<Voce> lotto;
        for (const Elemento &e : m_inCorso)
            lotto.push_back(e.voce);
        return lotto;
    }

    void Ciclo()
    {
        for (;;) {
            std::vector<Voce> lotto;
            {
                std::unique_lock blocco(m_mutex);
                const auto primo = Attendi_Prossima(blocco);
                if (primo == m_coda.end())
                    return;
                lotto = Prendi_Lotto(primo);
            }
            std::vector<EsitoVoce> esiti = m_politica.Scrivi(lotto);
            esiti.resize(lotto.size(), EsitoVoce{false, QString()});
            {
                std::lock_guard blocco(m_mutex);
                const std::size_t eventi = m_eventi.size();
                Esito_Scrittura(esiti);
                // Posted before anyone waiting hears the items are done: what waits, then
                // lets events run, finds the news there. One call for each, in order.
                for (std::size_t i = eventi; i < m_eventi.size(); ++i)
                    QMetaObject::invokeMethod(this, [this] { Consegna_Evento(); }, Qt::QueuedConnection);
            }
            m_fatto.notify_all();
        }
    }

    // Under the lock: what one write changes (counts, the failed items, what is to be told).
    void Esito_Scrittura(const std::vector<EsitoVoce> &esiti)
    {
        std::vector<Elemento> lotto = std::move(m_inCorso);
        m_inCorso.clear();
        std::vector<Elemento> falliti;
        bool riuscita = false;
        for (std::size_t i = 0; i < lotto.size(); ++i) {
            if (esiti[i].ok) {
                ++m_scritti;
                riuscita = true;
                continue;
            }
            lotto[i].fallita = true;
            lotto[i].causa = esiti[i].causa;
            falliti.push_back(std::move(lotto[i]));
        }
        if (riuscita) {
            m_riprova = m_riprovaPrima;
            // The disk takes writes again: what failed before need not wait for its turn.
            Riprova_Falliti();
        }
        if (!falliti.empty()) {
            m_prossimaRiprova = Orologio::now() + m_riprova;
            if (!m_detto) {
                m_detto = true;
                const Elemento &e = falliti.front();
                m_eventi.push_back({true, e.richiedente, Politica::Nome(e.voce), e.causa});
            }
        }
        for (Elemento &f : falliti) {
            // A newer value queued meanwhile takes this one's place, failing as it did.
            const auto nuova = std::find_if(m_coda.begin(), m_coda.end(), [&](const Elemento &q) {
                return Politica::Stessa_Chiave(q.voce, f.voce);
            });
            if (nuova != m_coda.end()) {
                nuova->fallita = true;
                nuova->causa = f.causa;
            } else {
                m_falliti.push_back(std::move(f));
            }
        }
        if (m_detto && !Qualcuno_Fallito()) {
            m_detto = false;
            m_eventi.push_back({false, 0, {}, {}});
        }
    }

    void Consegna_Evento()
    {
        // One event a call, one call posted for each: a notice that runs the event loop
        // while it is open lets the later ones come, still in their order.
        Evento ev;
        {
            std::lock_guard blocco(m_mutex);
            // The exit tells what is left itself, with no box waiting for an answer.
            if (m_trattieni || m_eventi.empty())
                return;
            ev = std::move(m_eventi.front());
            m_eventi.pop_front();
        }
        if (ev.fallita)
            emit Scrittura_Fallita(ev.richiedente, ev.nome, ev.causa);
        else
            emit Scrittura_Ripresa();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_lavoro;  // something queued, a reader gone, or the end
    std::condition_variable m_fatto;   // a write done
    std::deque<Elemento> m_coda;
    std::vector<Elemento> m_inCorso;  // being written
    std::vector<Elemento> m_falliti;  // failed, not queued again: their newest values
    std::map<QString, int> m_letture;  // files whose readers hold the next write off
    Orologio::time_point m_prossimaRiprova{};
    std::chrono::milliseconds m_riprovaPrima = Riprova_Iniziale;
    std::chrono::milliseconds m_riprovaMassima = Riprova_Massima;
    std::chrono::milliseconds m_riprova = Riprova_Iniziale;
    bool m_fine = false;
    bool m_trattieni = false;
    bool m_detto = false;  // a failure told, and not every item written since
    quint64 m_scritti = 0;
    quint64 m_sostituiti = 0;
    std::deque<Evento> m_eventi;
    Politica m_politica;
    std::thread m_thread;
};

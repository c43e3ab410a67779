#include "market/ScrittoreStorico.h"

#include <algorithm>

ScrittoreStorico::ScrittoreStorico(QObject *parent)
    : QObject(parent), m_disco(std::make_shared<storico::DiscoReale>())
{
}

ScrittoreStorico::~ScrittoreStorico()
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

storico::Esito ScrittoreStorico::Salva(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                                       Richiedente richiedente, int annoOggi)
{
    QByteArray contenuto;
    const storico::Esito e = storico::Contenuto_Storico(mercato, sottostante, timeframe, contenuto, annoOggi);
    if (!e.ok)
        return e;
    // The path is taken here: the program folder is the caller's to read.
    const QString percorso = storico::PercorsoFileStorico(sottostante, timeframe);
    {
        std::lock_guard blocco(m_mutex);
        const auto stesso = [&](const Voce &v) { return v.percorso == percorso; };
        // A failed file waiting for its next try goes with these contents, in the queue's order.
        bool fallita = false;
        if (const auto f = std::find_if(m_falliti.begin(), m_falliti.end(), stesso); f != m_falliti.end()) {
            fallita = true;
            m_falliti.erase(f);
        }
        if (const auto v = std::find_if(m_coda.begin(), m_coda.end(), stesso); v != m_coda.end()) {
            v->contenuto = std::move(contenuto);
            v->richiedente = richiedente;
            ++m_sostituiti;
        } else {
            m_coda.push_back({percorso, storico::NomeFileStorico(sottostante, timeframe), std::move(contenuto),
                              richiedente, fallita});
        }
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Ciclo(); });
    }
    m_lavoro.notify_one();
    return {true, {}};
}

void ScrittoreStorico::Riprova_Falliti()
{
    for (Voce &v : m_falliti)
        m_coda.push_back(std::move(v));
    m_falliti.clear();
}

bool ScrittoreStorico::Qualcuno_Fallito() const
{
    return m_inCorsoFallita || !m_falliti.empty() ||
           std::any_of(m_coda.begin(), m_coda.end(), [](const Voce &v) { return v.fallita; });
}

void ScrittoreStorico::Ciclo()
{
    for (;;) {
        Voce v;
        std::shared_ptr<storico::Disco> disco;
        {
            std::unique_lock blocco(m_mutex);
            while (m_coda.empty()) {
                if (m_fine)
                    return;
                if (m_falliti.empty()) {
                    m_lavoro.wait(blocco);
                } else if (Orologio::now() >= m_prossimaRiprova) {
                    m_riprova = std::min(2 * m_riprova, m_riprovaMassima);
                    Riprova_Falliti();
                } else {
                    m_lavoro.wait_until(blocco, m_prossimaRiprova);
                }
            }
            v = std::move(m_coda.front());
            m_coda.pop_front();
            m_inCorso = true;
            m_nomeInCorso = v.nome;
            m_inCorsoFallita = v.fallita;
            disco = m_disco;
        }
        const storico::Esito e = storico::Scrivi_File_Storico(v.percorso, v.contenuto, *disco);
        {
            std::lock_guard blocco(m_mutex);
            const std::size_t eventi = m_eventi.size();
            Esito_Scrittura(std::move(v), e);
            // Posted before anyone waiting hears the file is done: what waits, then lets
            // events run, finds the news there.
            if (m_eventi.size() != eventi)
                QMetaObject::invokeMethod(this, &ScrittoreStorico::Consegna_Evento, Qt::QueuedConnection);
        }
        m_fatto.notify_all();
    }
}

void ScrittoreStorico::Esito_Scrittura(Voce &&v, const storico::Esito &e)
{
    m_inCorso = false;
    m_inCorsoFallita = false;
    if (e.ok) {
        ++m_scritti;
        m_riprova = m_riprovaPrima;
        // The disk takes files again: those that failed need not wait for their turn.
        Riprova_Falliti();
        if (m_fallimentoDetto && !Qualcuno_Fallito()) {
            m_fallimentoDetto = false;
            m_eventi.push_back({false, v.richiedente, v.nome, {}});
        }
        return;
    }
    if (!m_fallimentoDetto) {
        m_fallimentoDetto = true;
        m_eventi.push_back({true, v.richiedente, v.nome, e.errore});
    }
    m_prossimaRiprova = Orologio::now() + m_riprova;
    // Newer contents queued meanwhile take this file's place; else these wait for the next try.
    const auto nuova =
        std::find_if(m_coda.begin(), m_coda.end(), [&](const Voce &q) { return q.percorso == v.percorso; });
    if (nuova != m_coda.end()) {
        nuova->fallita = true;
        return;
    }
    v.fallita = true;
    v.causa = e.errore;
    m_falliti.push_back(std::move(v));
}

void ScrittoreStorico::Consegna_Evento()
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
        m_eventi.erase(m_eventi.begin());
    }
    if (ev.fallita)
        emit Scrittura_Fallita(ev.richiedente, ev.nome, ev.causa);
    else
        emit Scrittura_Ripresa();
}

void ScrittoreStorico::Attendi()
{
    std::unique_lock blocco(m_mutex);
    if (!m_falliti.empty()) {
        Riprova_Falliti();
        m_lavoro.notify_one();
    }
    m_fatto.wait(blocco, [this] { return m_coda.empty() && !m_inCorso; });
}

int ScrittoreStorico::In_Sospeso() const
{
    std::lock_guard blocco(m_mutex);
    return int(m_coda.size()) + (m_inCorso ? 1 : 0);
}

QStringList ScrittoreStorico::Da_Scrivere() const
{
    std::lock_guard blocco(m_mutex);
    QStringList nomi;
    if (m_inCorso)
        nomi << m_nomeInCorso;
    for (const Voce &v : m_coda)
        nomi << v.nome;
    for (const Voce &v : m_falliti)
        nomi << v.nome;
    nomi.removeDuplicates();
    return nomi;
}

quint64 ScrittoreStorico::Scritti() const
{
    std::lock_guard blocco(m_mutex);
    return m_scritti;
}

quint64 ScrittoreStorico::Sostituiti() const
{
    std::lock_guard blocco(m_mutex);
    return m_sostituiti;
}

QStringList ScrittoreStorico::Preleva_Fallimenti()
{
    std::lock_guard blocco(m_mutex);
    // Every file still not written, whether its failure was told already or not.
    QStringList testi;
    for (const Voce &v : m_falliti)
        testi << QStringLiteral("%1: %2").arg(v.nome, v.causa);
    std::erase_if(m_eventi, [](const Evento &ev) { return ev.fallita; });
    return testi;
}

void ScrittoreStorico::Riprova_Adesso()
{
    {
        std::lock_guard blocco(m_mutex);
        if (m_falliti.empty())
            return;
        Riprova_Falliti();
    }
    m_lavoro.notify_one();
}

void ScrittoreStorico::Trattieni_Fallimenti()
{
    std::lock_guard blocco(m_mutex);
    m_trattieni = true;
}

void ScrittoreStorico::Imposta_Disco(std::shared_ptr<storico::Disco> disco)
{
    std::lock_guard blocco(m_mutex);
    m_disco = disco ? std::move(disco) : std::make_shared<storico::DiscoReale>();
}

void ScrittoreStorico::Imposta_Riprova(std::chrono::milliseconds prima, std::chrono::milliseconds massima)
{
    {
        std::lock_guard blocco(m_mutex);
        m_riprovaPrima = m_riprova = prima;
        m_riprovaMassima = std::max(prima, massima);
        m_prossimaRiprova = std::min(m_prossimaRiprova, Orologio::now() + prima);
    }
    m_lavoro.notify_one();
}

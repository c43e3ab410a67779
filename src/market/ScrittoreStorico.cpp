#include "market/ScrittoreStorico.h"

ScrittoreStorico::ScrittoreStorico(QObject *parent)
    : QObject(parent), m_disco(std::make_shared<storico::DiscoReale>())
{
}

ScrittoreStorico::~ScrittoreStorico()
{
    {
        std::lock_guard blocco(m_mutex);
        m_fine = true;
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
        bool sostituito = false;
        for (Voce &v : m_coda) {
            if (v.percorso == percorso) {
                v.contenuto = std::move(contenuto);
                v.richiedente = richiedente;
                ++m_sostituiti;
                sostituito = true;
                break;
            }
        }
        if (!sostituito)
            m_coda.push_back({percorso, storico::NomeFileStorico(sottostante, timeframe), timeframe, std::move(contenuto),
                              richiedente});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Ciclo(); });
    }
    m_lavoro.notify_one();
    return {true, {}};
}

void ScrittoreStorico::Ciclo()
{
    for (;;) {
        Voce v;
        std::shared_ptr<storico::Disco> disco;
        {
            std::unique_lock blocco(m_mutex);
            m_lavoro.wait(blocco, [this] { return !m_coda.empty() || m_fine; });
            if (m_coda.empty())
                return;
            v = std::move(m_coda.front());
            m_coda.pop_front();
            m_inCorso = true;
            disco = m_disco;
        }
        const storico::Esito e = storico::Scrivi_File_Storico(v.percorso, v.contenuto, *disco);
        {
            std::lock_guard blocco(m_mutex);
            m_inCorso = false;
            if (e.ok)
                ++m_scritti;
            else
                m_fallimenti.push_back({v.richiedente, v.timeframe, v.nome, e.errore});
        }
        m_fatto.notify_all();
        if (!e.ok)
            QMetaObject::invokeMethod(this, &ScrittoreStorico::Consegna_Fallimenti, Qt::QueuedConnection);
    }
}

void ScrittoreStorico::Consegna_Fallimenti()
{
    std::vector<Fallimento> fallimenti;
    {
        std::lock_guard blocco(m_mutex);
        if (m_trattieni)
            return;
        fallimenti.swap(m_fallimenti);
    }
    for (const Fallimento &f : fallimenti)
        emit Scrittura_Fallita(f.richiedente, f.timeframe, f.errore);
}

void ScrittoreStorico::Attendi()
{
    std::unique_lock blocco(m_mutex);
    m_fatto.wait(blocco, [this] { return m_coda.empty() && !m_inCorso; });
}

int ScrittoreStorico::In_Sospeso() const
{
    std::lock_guard blocco(m_mutex);
    return int(m_coda.size()) + (m_inCorso ? 1 : 0);
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
    QStringList testi;
    for (const Fallimento &f : m_fallimenti)
        testi << QStringLiteral("%1: %2").arg(f.nome, f.errore);
    m_fallimenti.clear();
    return testi;
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

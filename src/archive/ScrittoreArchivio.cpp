#include "archive/ScrittoreArchivio.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Every writer alive, for the connections that must wait for them. Writers are made and
// dropped on the window thread, which is also the one that waits.
std::mutex registroMutex;
std::vector<ScrittoreArchivio *> registro;

// A writer's own connections wait for nobody.
thread_local bool threadScrittore = false;

void Unisci(archivio::Lotto &in, archivio::Lotto &&nuovo)
{
    for (archivio::Aggiornamento &a : nuovo) {
        const auto stessa = std::find_if(in.begin(), in.end(), [&a](const archivio::Aggiornamento &b) {
            return b.file == a.file && b.tabella == a.tabella && b.id == a.id;
        });
        if (stessa == in.end()) {
            in.push_back(std::move(a));
            continue;
        }
        for (auto &[colonna, valore] : a.valori) {
            const auto c = std::find_if(stessa->valori.begin(), stessa->valori.end(),
                                        [&colonna](const auto &v) { return v.first == colonna; });
            if (c == stessa->valori.end())
                stessa->valori.emplace_back(colonna, std::move(valore));
            else
                c->second = std::move(valore);
        }
    }
}

}  // namespace

namespace archivio {

void Attendi_Scritture(FileArchivio file)
{
    if (threadScrittore)
        return;
    std::lock_guard blocco(registroMutex);
    for (ScrittoreArchivio *s : registro)
        s->Attendi_File(file);
}

}  // namespace archivio

ScrittoreArchivio::ScrittoreArchivio(QObject *parent) : QObject(parent)
{
    std::lock_guard blocco(registroMutex);
    registro.push_back(this);
}

ScrittoreArchivio::~ScrittoreArchivio()
{
    {
        std::lock_guard blocco(m_mutex);
        m_fine = true;
    }
    m_lavoro.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard blocco(registroMutex);
    registro.erase(std::remove(registro.begin(), registro.end(), this), registro.end());
}

void ScrittoreArchivio::Accoda(archivio::Lotto lotto)
{
    if (lotto.empty())
        return;
    {
        std::lock_guard blocco(m_mutex);
        if (m_coda.empty()) {
            m_coda.push_back(std::move(lotto));
        } else {
            Unisci(m_coda.back(), std::move(lotto));
            ++m_uniti;
        }
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Ciclo(); });
    }
    m_lavoro.notify_one();
}

void ScrittoreArchivio::Ciclo()
{
    threadScrittore = true;
    for (;;) {
        archivio::Lotto lotto;
        {
            std::unique_lock blocco(m_mutex);
            m_lavoro.wait(blocco, [this] { return !m_coda.empty() || m_fine; });
            if (m_coda.empty())
                return;
            m_inCorso = std::move(m_coda.front());
            m_coda.pop_front();
            m_scrive = true;
            lotto = m_inCorso;
        }
        const archivio::EsitoLotto e = archivio::Scrivi_Lotto(lotto);
        {
            std::lock_guard blocco(m_mutex);
            m_scrive = false;
            m_inCorso.clear();
            // Posted before anyone waiting hears the batch is done: what waits, then lets
            // events run, finds the news there. One call each, in order: a failure and the
            // success after it reach the owner as they happened.
            if (e.ok) {
                ++m_scritti;
                if (std::exchange(m_ultimoFallito, false))
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            if (!m_trattieni)
                                emit Salvataggio_Ripreso();
                        },
                        Qt::QueuedConnection);
            } else {
                m_ultimoFallito = true;
                const quint64 numero = ++m_numeroFallimento;
                m_fallimenti.push_back({numero, archivio::NomeArchivio(e.file), e.motivo});
                QMetaObject::invokeMethod(this, [this, numero] { Consegna(numero); }, Qt::QueuedConnection);
            }
        }
        m_fatto.notify_all();
    }
}

void ScrittoreArchivio::Consegna(quint64 numero)
{
    Fallimento f;
    {
        std::lock_guard blocco(m_mutex);
        if (m_trattieni)
            return;
        const auto it = std::find_if(m_fallimenti.begin(), m_fallimenti.end(),
                                     [numero](const Fallimento &x) { return x.numero == numero; });
        if (it == m_fallimenti.end())
            return;  // taken by the exit
        f = *it;
        m_fallimenti.erase(it);
    }
    emit Salvataggio_Fallito(f.file, f.motivo);
}

bool ScrittoreArchivio::Tocca(archivio::FileArchivio file) const
{
    const auto tocca = [file](const archivio::Lotto &l) {
        return std::any_of(l.begin(), l.end(), [file](const archivio::Aggiornamento &a) { return a.file == file; });
    };
    return (m_scrive && tocca(m_inCorso)) || std::any_of(m_coda.begin(), m_coda.end(), tocca);
}

void ScrittoreArchivio::Attendi_File(archivio::FileArchivio file)
{
    std::unique_lock blocco(m_mutex);
    m_fatto.wait(blocco, [this, file] { return !Tocca(file); });
}

void ScrittoreArchivio::Attendi()
{
    std::unique_lock blocco(m_mutex);
    m_fatto.wait(blocco, [this] { return m_coda.empty() && !m_scrive; });
}

int ScrittoreArchivio::In_Sospeso() const
{
    std::lock_guard blocco(m_mutex);
    return int(m_coda.size()) + (m_scrive ? 1 : 0);
}

QStringList ScrittoreArchivio::Da_Scrivere() const
{
    std::lock_guard blocco(m_mutex);
    QStringList nomi;
    for (const auto file : {archivio::FileArchivio::Sistema1, archivio::FileArchivio::Sistema2,
                            archivio::FileArchivio::Sistema3})
        if (Tocca(file))
            nomi << archivio::NomeArchivio(file);
    return nomi;
}

quint64 ScrittoreArchivio::Scritti() const
{
    std::lock_guard blocco(m_mutex);
    return m_scritti;
}

quint64 ScrittoreArchivio::Uniti() const
{
    std::lock_guard blocco(m_mutex);
    return m_uniti;
}

QStringList ScrittoreArchivio::Preleva_Fallimenti()
{
    std::lock_guard blocco(m_mutex);
    QStringList testi;
    for (const Fallimento &f : m_fallimenti)
        testi << QStringLiteral("%1: %2").arg(f.file, f.motivo);
    m_fallimenti.clear();
    return testi;
}

void ScrittoreArchivio::Trattieni_Fallimenti()
{
    std::lock_guard blocco(m_mutex);
    m_trattieni = true;
}

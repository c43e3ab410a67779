#include "archive/ScrittoreArchivio.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>

namespace {

// Every writer alive, newest last. Writers are made and dropped on the window thread.
std::mutex registroMutex;
std::vector<ScrittoreArchivio *> registro;

}  // namespace

std::vector<EsitoVoce> PoliticaArchivio::Scrivi(const std::vector<Voce> &lotto)
{
    std::vector<EsitoVoce> esiti(lotto.size());
    if (lotto.empty())
        return esiti;
    // One statement a row, its columns in the order queued.
    archivio::Lotto righe;
    std::vector<std::size_t> rigaDi(lotto.size());
    for (std::size_t i = 0; i < lotto.size(); ++i) {
        const Voce &v = lotto[i];
        const auto r = std::find_if(righe.begin(), righe.end(), [&v](const archivio::Aggiornamento &a) {
            return a.id == v.id && a.tabella == v.tabella;
        });
        rigaDi[i] = std::size_t(r - righe.begin());
        if (r == righe.end())
            righe.push_back({v.file, v.tabella, v.id, {}});
        righe[rigaDi[i]].valori.emplace_back(v.colonna, v.valore);
    }
    const archivio::EsitoFile e = archivio::Scrivi_File(lotto.front().file, righe);
    for (std::size_t i = 0; i < lotto.size(); ++i) {
        if (!e.ok)
            esiti[i] = {false, e.motivo};
        else if (std::find(e.mancanti.begin(), e.mancanti.end(), rigaDi[i]) != e.mancanti.end())
            esiti[i] = {false, archivio::Motivo_Riga_Mancante()};
    }
    return esiti;
}

ScrittoreArchivio::ScrittoreArchivio(QObject *parent) : Scrittore(parent)
{
    std::lock_guard blocco(registroMutex);
    registro.push_back(this);
}

ScrittoreArchivio::~ScrittoreArchivio()
{
    std::lock_guard blocco(registroMutex);
    std::erase(registro, this);
}

ScrittoreArchivio *ScrittoreArchivio::Del_Programma()
{
    std::lock_guard blocco(registroMutex);
    return registro.empty() ? nullptr : registro.back();
}

std::vector<ScrittoreArchivio *> ScrittoreArchivio::Tutti()
{
    std::lock_guard blocco(registroMutex);
    return registro;
}

void ScrittoreArchivio::Accoda(archivio::Lotto lotto, Richiedente richiedente)
{
    std::vector<PoliticaArchivio::Voce> voci;
    for (archivio::Aggiornamento &a : lotto)
        for (auto &[colonna, valore] : a.valori)
            voci.push_back({a.file, a.tabella, a.id, std::move(colonna), std::move(valore)});
    Scrittore::Accoda(std::move(voci), richiedente);
}

void ScrittoreArchivio::Sovrapponi(archivio::FileArchivio file, const QString &tabella,
                                   std::map<int, archivio::Riga> &righe) const
{
    Per_Ogni_In_Sospeso([&](const PoliticaArchivio::Voce &v) {
        if (v.file != file || v.tabella.compare(tabella, Qt::CaseInsensitive) != 0)
            return;
        // A row the file lacks stays missing: nothing written can make it.
        if (const auto r = righe.find(v.id); r != righe.end())
            r->second.insert_or_assign(v.colonna, v.valore);
    });
}

QString ScrittoreArchivio::Testo_Avviso(int richiedente, const QString &nome, const QString &causa) const
{
    return archivio::Testo_Non_Salvato(nome, causa, richiedente == Automatico);
}

namespace archivio {

bool Salva(Lotto lotto, QString *errore, ScrittoreArchivio::Richiedente richiedente)
{
    if (ScrittoreArchivio *s = ScrittoreArchivio::Del_Programma()) {
        s->Accoda(std::move(lotto), richiedente);
        return true;
    }
    const EsitoLotto e = Scrivi_Lotto(lotto);
    if (!e.ok && errore)
        *errore = e.motivo;
    return e.ok;
}

void Attendi_Scritture(FileArchivio file)
{
    for (ScrittoreArchivio *s : ScrittoreArchivio::Tutti())
        s->Attendi_File(NomeArchivio(file));
}

namespace {

AvvisoAttesa avvisoAttesa;  // set and used on the window thread only

}  // namespace

void Imposta_Avviso_Attesa(AvvisoAttesa avviso) { avvisoAttesa = std::move(avviso); }

namespace {

// Until no writer of `scrittori` writes `nome`, or the bound: with the event loop running
// on the window thread (told from Avviso_Attesa_Lettura_ms on), else looking every few
// milliseconds.
void attendiScrittura(const std::vector<ScrittoreArchivio *> &scrittori, const QString &nome)
{
    const auto scrive = [&] {
        return std::any_of(scrittori.begin(), scrittori.end(), [&](const ScrittoreArchivio *s) { return s->Scrive(nome); });
    };
    if (!scrive())
        return;
    const QDeadlineTimer scadenza(Attesa_Scrittura_In_Corso_ms);
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        QEventLoop ciclo;
        QTimer sonda;
        bool detto = false;
        QObject::connect(&sonda, &QTimer::timeout, &ciclo, [&] {
            if (!scrive() || scadenza.hasExpired()) {
                ciclo.quit();
            } else if (!detto && avvisoAttesa &&
                       Attesa_Scrittura_In_Corso_ms - scadenza.remainingTime() >= Avviso_Attesa_Lettura_ms) {
                detto = true;
                avvisoAttesa(nome, true);
            }
        });
        sonda.start(5);
        ciclo.exec();
        if (detto && avvisoAttesa)
            avvisoAttesa(nome, false);
        return;
    }
    while (scrive() && !scadenza.hasExpired())
        QThread::msleep(5);
}

}  // namespace

ConnessioneInAttesa::ConnessioneInAttesa(FileArchivio file) : m_file(file), m_scrittori(ScrittoreArchivio::Tutti())
{
    const QString nome = NomeArchivio(file);
    for (ScrittoreArchivio *s : m_scrittori)
        s->Inizia_Lettura(nome);
    attendiScrittura(m_scrittori, nome);
    m_connessione.emplace(file);
}

ConnessioneInAttesa::~ConnessioneInAttesa()
{
    m_connessione.reset();
    for (ScrittoreArchivio *s : m_scrittori)
        s->Fine_Lettura(NomeArchivio(m_file));
}

std::map<int, Riga> ConnessioneInAttesa::LeggiTabella(const QString &tabella)
{
    std::map<int, Riga> righe = m_connessione->LeggiTabella(tabella);
    for (const ScrittoreArchivio *s : m_scrittori)
        s->Sovrapponi(m_file, tabella, righe);
    return righe;
}

QString Testo_Non_Salvato(const QString &nomeFile, const QString &causa, bool automatico)
{
    if (automatico)
        return QStringLiteral("Impostazioni salvate automaticamente non scritte (%1): %2.\nSono quelle che "
                              "Wavelore salva da s\u00E9 (l'inizio dei cicli, le correzioni del caricamento): "
                              "restano in uso, e il salvataggio riprende da solo appena possibile.")
            .arg(nomeFile, causa);
    return QStringLiteral("Impostazione non salvata (%1): %2.\nIl valore scelto resta in uso, e il salvataggio "
                          "riprende da solo appena possibile.")
        .arg(nomeFile, causa);
}

}  // namespace archivio

// A whole history file of the 5-minute timeframe: a file that reads saves and
// reads back as the same series, and saving that again writes the same bytes.

#include "market/StoricoLocale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr int AnnoOggi = 2026;
const QString Timeframe = QStringLiteral("5M");  // the shortest file: 1500 lines

bool stesseSerie(const SerieStorico &a, const SerieStorico &b)
{
    if (a.capacita() != b.capacita())
        return false;
    for (int r = 1; r <= a.capacita(); ++r) {
        const BarraStorico &x = a.barra(r), &y = b.barra(r);
        if (x.data != y.data || x.minuti != y.minuti || x.volume != y.volume
            || std::fabs(x.chiusura - y.chiusura) > 1e-14 * std::fabs(x.chiusura))
            return false;
    }
    return true;
}

QByteArray contenuto(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    static QTemporaryDir cartella;
    static const bool pronta = [] {
        qputenv("WAVELORE_HOME", QFile::encodeName(cartella.path()));
        return cartella.isValid();
    }();
    if (!pronta)
        std::abort();
    // Built once: the whole market state is large.
    static StatoMercato &m = [] () -> StatoMercato & {
        static auto stato = std::make_unique<StatoMercato>();
        storico::Inizializza_Tabella_Chiave(*stato);
        return *stato;
    }();
    static const QString percorso = storico::PercorsoFileStorico(1, Timeframe);
    {
        QFile f(percorso);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || f.write(reinterpret_cast<const char *>(dati), qint64(dimensione)) != qint64(dimensione))
            std::abort();
    }
    const auto serie = storico::LeggiFileStorico(percorso, Timeframe, m.Tabella_Chiave, nullptr, AnnoOggi);
    if (!serie)
        return 0;
    m.Storico_5M = *serie;
    if (!storico::Salva_Storico(m, 1, Timeframe, AnnoOggi).ok)
        std::abort();
    const QByteArray salvato = contenuto(percorso);
    const auto riletta = storico::LeggiFileStorico(percorso, Timeframe, m.Tabella_Chiave, nullptr, AnnoOggi);
    if (!riletta || !stesseSerie(*serie, *riletta))
        std::abort();
    m.Storico_5M = *riletta;
    if (!storico::Salva_Storico(m, 1, Timeframe, AnnoOggi).ok || contenuto(percorso) != salvato)
        std::abort();
    return 0;
}

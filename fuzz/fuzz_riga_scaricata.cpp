// One row of a downloaded history table: a row the download accepts is a bar the
// history files hold, read back the same. The input is the four cells, DATA, ORA,
// CHIUSURA and VOLUME, split at line ends; a fifth part, when present, is the row
// before it, whose fields an empty cell repeats.

#include "market/ScaricoStorico.h"
#include "market/StoricoLocale.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int AnnoOggi = 2026;

scarico::Riga riga(const QList<QByteArray> &parti, qsizetype da)
{
    auto cella = [&](qsizetype i) { return QString::fromUtf8(parti.value(da + i)).trimmed(); };
    return {cella(0), cella(1), cella(2), cella(3)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    const QList<QByteArray> parti =
        QByteArray(reinterpret_cast<const char *>(dati), qsizetype(dimensione)).split('\n');
    std::optional<BarraStorico> precedente;
    if (parti.size() > 4) {
        precedente = scarico::BarraDaRiga(riga(parti, 4), nullptr, AnnoOggi);
        if (!precedente)
            return 0;
    }
    QString campo;
    const auto barra = scarico::BarraDaRiga(riga(parti, 0), precedente ? &*precedente : nullptr, AnnoOggi, &campo);
    if (!barra)
        return 0;
    if (!campo.isEmpty() || !storico::Barra_Registrabile(*barra, AnnoOggi))
        std::abort();
    const QByteArray scritta = storico::RigaInChiaro(*barra, AnnoOggi);
    const auto riletta = storico::LeggiRiga(scritta, AnnoOggi);
    if (!riletta || riletta->data != barra->data || riletta->minuti != barra->minuti
        || riletta->volume != barra->volume
        || std::fabs(riletta->chiusura - barra->chiusura) > 1e-14 * std::fabs(barra->chiusura))
        std::abort();
    return 0;
}

// One plain line of a history file: a line that reads is a bar the writer can write,
// and its written line reads back as the same bar (closes keep the 15 significant
// digits the files always held, so the written line is then a fixed point).

#include "market/StoricoLocale.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr int AnnoOggi = 2026;

bool stessaBarra(const BarraStorico &a, const BarraStorico &b)
{
    return a.data == b.data && a.minuti == b.minuti && a.volume == b.volume
        && std::fabs(a.chiusura - b.chiusura) <= 1e-14 * std::fabs(a.chiusura);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    const QByteArray riga(reinterpret_cast<const char *>(dati), qsizetype(dimensione));
    static const std::array<int, 57> chiave = [] {
        auto m = std::make_unique<StatoMercato>();
        storico::Inizializza_Tabella_Chiave(*m);
        return m->Tabella_Chiave;
    }();
    if (riga.size() <= storico::Lunghezza_Max_Riga && storico::Decifra(storico::Scrambla(riga, chiave), chiave) != riga)
        std::abort();

    const auto barra = storico::LeggiRiga(riga, AnnoOggi);
    if (!barra)
        return 0;
    const QByteArray scritta = storico::RigaInChiaro(*barra, AnnoOggi);
    if (scritta.isEmpty() || !storico::Barra_Registrabile(*barra, AnnoOggi))
        std::abort();
    const auto riletta = storico::LeggiRiga(scritta, AnnoOggi);
    if (!riletta || !stessaBarra(*barra, *riletta) || storico::RigaInChiaro(*riletta, AnnoOggi) != scritta)
        std::abort();
    return 0;
}

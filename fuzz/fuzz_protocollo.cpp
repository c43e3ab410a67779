// The quote-protocol decoder: however the bytes of a stream are cut, the same
// messages come out. The first input byte picks the direction and seeds the cuts.

#include "market/Protocollo.h"

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

using protocollo::Decodificatore;
using protocollo::Messaggio;

namespace {

struct Esito {
    std::vector<Messaggio> messaggi;
    bool traboccato = false;
};

bool uguali(const Esito &a, const Esito &b)
{
    if (a.messaggi.size() != b.messaggi.size() || a.traboccato != b.traboccato)
        return false;
    for (size_t i = 0; i < a.messaggi.size(); ++i) {
        const Messaggio &x = a.messaggi[i], &y = b.messaggi[i];
        if (x.Codice != y.Codice || x.Campi() != y.Campi() || x.Completo != y.Completo)
            return false;
    }
    return true;
}

// Feeds `flusso` in chunks of the sizes `pezzo` returns.
template <typename Pezzo>
Esito decodifica(protocollo::Verso verso, const QByteArray &flusso, Pezzo pezzo)
{
    Decodificatore d(verso);
    Esito e;
    qint64 pezzi = 0;
    for (qsizetype i = 0; i < flusso.size(); ++pezzi) {
        const qsizetype n = std::min(pezzo(), flusso.size() - i);
        for (Messaggio &m : d.Aggiungi(flusso.mid(i, n)))
            e.messaggi.push_back(std::move(m));
        i += n;
    }
    e.traboccato = d.Traboccato();
    // Each byte is looked at a bounded number of times, however the stream is cut.
    if (d.ByteEsaminati() > 2 * flusso.size() + 8 * pezzi)
        std::abort();
    return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dati, size_t dimensione)
{
    if (dimensione == 0)
        return 0;
    const auto verso = dati[0] & 1 ? protocollo::Verso::DalClient : protocollo::Verso::DalServer;
    const QByteArray flusso(reinterpret_cast<const char *>(dati + 1), qsizetype(dimensione - 1));

    const Esito intero = decodifica(verso, flusso, [&] { return flusso.size(); });
    const Esito aByte = decodifica(verso, flusso, [] { return qsizetype(1); });
    std::minstd_rand caso(dati[0]);
    const Esito aPezzi = decodifica(verso, flusso, [&] { return qsizetype(1 + caso() % 40); });
    if (!uguali(intero, aByte) || !uguali(intero, aPezzi))
        std::abort();
    // A complete message travels as it was decoded.
    for (const Messaggio &m : intero.messaggi) {
        if (m.Completo && m.Campi().size() != protocollo::CampiAttesi(verso, m.Codice))
            std::abort();
    }
    return 0;
}

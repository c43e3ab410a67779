#include "drawing/ArchivioComune.h"

#include "archive/ScrittoreArchivio.h"
#include "platform/VbRuntime.h"

namespace disegno::tabelle {

using namespace archivio;

int CodiceColoreOggetto(const QString &testo)
{
    const auto colore = vb::LeggiNumero(testo);
    const auto codice = colore ? vb::CIntChecked(*colore) : std::nullopt;
    return codice.value_or(0);
}

PuntoLetto LeggiPunto(int grado, const QString &data, const QString &ora, const MappaTempi &mappa, int annoOggi)
{
    if (data.size() != 6 || ora.size() != 4)
        return {};
    const auto t = LeggiTempoArchivio(grado, data, ora, annoOggi);
    if (!t)
        return {};
    const auto x = mappa.XDaTempo(grado, t->first, t->second);
    if (!x)
        return {Collocazione::FuoriPortata, 0};
    return {Collocazione::Collocato, *x};
}

bool AggiungiPunto(ColonneOggetto &colonne, int prima, const MappaTempi &mappa, int grado, int x, double prezzo)
{
    const auto t = TempoDaPosizione(mappa, grado, x);
    if (!t)
        return false;
    colonne.emplace_back(QStringLiteral("C%1").arg(prima), t->data);
    colonne.emplace_back(QStringLiteral("C%1").arg(prima + 1), t->ora);
    colonne.emplace_back(QStringLiteral("C%1").arg(prima + 2), vb::TestoNumero(prezzo));
    return true;
}

bool ScriviSlot(const QString &tabella, int id, const ColonneOggetto *colonne, const RigaLibera &libera,
                QString &errore)
{
    return Salva({{FileArchivio::Sistema1, tabella, id, colonne ? *colonne : ValoriLiberi(libera)}}, &errore);
}

}  // namespace disegno::tabelle

#include "drawing/ArchivioDistanze.h"

#include "drawing/ArchivioComune.h"
#include "platform/VbRuntime.h"

namespace disegno::tabelle {

using namespace archivio;

namespace {

const QString prefissoDistanze = QStringLiteral("Dati_Dista_S");
const RigaLibera rigaLiberaDistanze = ValoriRigaLibera(11, 11);

OggettoLetto<Distanza> leggiDistanza(int grado, const Riga &riga, const MappaTempi &mappa, int annoOggi)
{
    const auto campo = [&riga](const char *nome) { return CampoRiga(riga, QLatin1String(nome)); };
    const QString durata = campo("C11");
    if (durata.isEmpty() || durata == QLatin1String("@"))
        return {};
    const auto p1 = vb::LeggiNumero(campo("C3"));
    const auto p2 = vb::LeggiNumero(campo("C6"));
    const auto pe = vb::LeggiNumero(campo("C10"));
    if (!p1 || !p2 || !pe || *pe == 0)
        return {};
    const PuntoLetto a = LeggiPunto(grado, campo("C1"), campo("C2"), mappa, annoOggi);
    const PuntoLetto b = LeggiPunto(grado, campo("C4"), campo("C5"), mappa, annoOggi);
    const PuntoLetto e = LeggiPunto(grado, campo("C8"), campo("C9"), mappa, annoOggi);
    for (const PuntoLetto &p : {a, b, e})
        if (p.esito == Collocazione::NonValida)
            return {};
    for (const PuntoLetto &p : {a, b, e})
        if (p.esito != Collocazione::Collocato)
            return {Collocazione::FuoriPortata, {}};
    return {Collocazione::Collocato,
            Distanza{true, true, a.x, *p1, b.x, *p2, CodiceColoreOggetto(campo("C7")), e.x, *pe, durata}};
}

}  // namespace

EsitoCaricaOggetti Carica_Distanze(int sottostante, SlotOggetti<Distanza> &Distanze, const MappaTempi &mappa,
                              SlotOggetti<::RigaOggetto> *inAttesa)
{
    return CaricaOggetti(
        prefissoDistanze, sottostante, rigaLiberaDistanze, Distanze,
        [&mappa](int grado, const Riga &riga, int annoOggi) { return leggiDistanza(grado, riga, mappa, annoOggi); },
        inAttesa);
}

int Colloca_Distanze_In_Attesa(SlotOggetti<Distanza> &Distanze, SlotOggetti<::RigaOggetto> &inAttesa, int grado,
                        const MappaTempi &mappa)
{
    return CollocaInAttesa(Distanze, inAttesa, grado, [&mappa](int g, const Riga &riga, int annoOggi) {
        return leggiDistanza(g, riga, mappa, annoOggi);
    });
}

bool Salva_Distanza(int sottostante, const SlotOggetti<Distanza> &Distanze, int grado, int slot,
                    const MappaTempi &mappa, QString *errore)
{
    static const MessaggiOggetto messaggi{
        QStringLiteral("Distanza fuori dai limiti dell'archivio."),
        QStringLiteral("La distanza non ha una posizione sul grafico."),
        QStringLiteral("La distanza cade fuori dallo storico e dall'asse dei tempi futuri."),
        QStringLiteral("Impossibile salvare la distanza nell'archivio (Sistema1.dat): %1")};
    return SalvaSlot(prefissoDistanze, sottostante, Distanze, grado, slot, costanti::Max_Distanze,
                     rigaLiberaDistanze, messaggi,
                     [&](const Distanza &d) -> std::optional<ColonneOggetto> {
                         ColonneOggetto c{{QStringLiteral("C0"), QStringLiteral("1")}};
                         if (!AggiungiPunto(c, 1, mappa, grado, d.barra_inizio, d.prezzo_inizio) ||
                             !AggiungiPunto(c, 4, mappa, grado, d.barra_fine, d.prezzo_fine))
                             return std::nullopt;
                         c.emplace_back(QStringLiteral("C7"), QString::number(d.colore));
                         if (!AggiungiPunto(c, 8, mappa, grado, d.barra_etichetta, d.prezzo_etichetta))
                             return std::nullopt;
                         c.emplace_back(QStringLiteral("C11"), d.durata);
                         return c;
                     },
                     errore);
}

}  // namespace disegno::tabelle

#include "drawing/ArchivioLinee.h"

#include "drawing/ArchivioComune.h"
#include "platform/VbRuntime.h"

namespace disegno::tabelle {

using namespace archivio;

namespace {

const QString prefissoLinee = QStringLiteral("Dati_Linee_S");
const RigaLibera rigaLiberaLinee = ValoriRigaLibera(7);

// Every check of a used row (the digits must also form a real date and time), then
// the search of both points. The colour is no check: a line is kept whatever its
// code, as texts and distances are.
OggettoLetto<Linea> leggiLinea(int grado, const Riga &riga, const MappaTempi &mappa, int annoOggi)
{
    const auto campo = [&riga](const char *nome) { return CampoRiga(riga, QLatin1String(nome)); };
    const auto p1 = vb::LeggiNumero(campo("C3"));
    const auto p2 = vb::LeggiNumero(campo("C6"));
    if (!p1 || !p2)
        return {};
    const PuntoLetto a = LeggiPunto(grado, campo("C1"), campo("C2"), mappa, annoOggi);
    const PuntoLetto b = LeggiPunto(grado, campo("C4"), campo("C5"), mappa, annoOggi);
    if (a.esito == Collocazione::NonValida || b.esito == Collocazione::NonValida)
        return {};
    if (a.esito != Collocazione::Collocato || b.esito != Collocazione::Collocato)
        return {Collocazione::FuoriPortata, {}};
    return {Collocazione::Collocato, Linea{true, true, a.x, *p1, b.x, *p2, CodiceColoreOggetto(campo("C7"))}};
}

}  // namespace

EsitoCaricaOggetti Carica_Linee(int sottostante, SlotOggetti<Linea> &Linee, const MappaTempi &mappa,
                              SlotOggetti<::RigaOggetto> *inAttesa)
{
    return CaricaOggetti(
        prefissoLinee, sottostante, rigaLiberaLinee, Linee,
        [&mappa](int grado, const Riga &riga, int annoOggi) { return leggiLinea(grado, riga, mappa, annoOggi); },
        inAttesa);
}

int Colloca_Linee_In_Attesa(SlotOggetti<Linea> &Linee, SlotOggetti<::RigaOggetto> &inAttesa, int grado,
                        const MappaTempi &mappa)
{
    return CollocaInAttesa(Linee, inAttesa, grado, [&mappa](int g, const Riga &riga, int annoOggi) {
        return leggiLinea(g, riga, mappa, annoOggi);
    });
}

bool Salva_Linea(int sottostante, const SlotOggetti<Linea> &Linee, int grado, int slot, const MappaTempi &mappa,
                 QString *errore)
{
    static const MessaggiOggetto messaggi{
        QStringLiteral("Linea fuori dai limiti dell'archivio."),
        QStringLiteral("La linea non ha una posizione sul grafico."),
        QStringLiteral("La linea cade fuori dallo storico e dall'asse dei tempi futuri."),
        QStringLiteral("Impossibile salvare la linea nell'archivio: %1")};
    return SalvaSlot(prefissoLinee, sottostante, Linee, grado, slot, costanti::Max_Linee, rigaLiberaLinee, messaggi,
                     [&](const Linea &l) -> std::optional<ColonneOggetto> {
                         ColonneOggetto c{{QStringLiteral("C0"), QStringLiteral("1")}};
                         if (!AggiungiPunto(c, 1, mappa, grado, l.barra_inizio, l.prezzo_inizio) ||
                             !AggiungiPunto(c, 4, mappa, grado, l.barra_fine, l.prezzo_fine))
                             return std::nullopt;
                         c.emplace_back(QStringLiteral("C7"), QString::number(l.colore));
                         return c;
                     },
                     errore);
}

}  // namespace disegno::tabelle

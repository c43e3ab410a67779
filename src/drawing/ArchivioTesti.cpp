#include "drawing/ArchivioTesti.h"

#include "drawing/ArchivioComune.h"
#include "platform/VbRuntime.h"

namespace disegno::tabelle {

using namespace archivio;

namespace {

const QString prefissoTesti = QStringLiteral("Dati_Testo_S");
const RigaLibera rigaLiberaTesti = ValoriRigaLibera(5, 4);

OggettoLetto<Testo> leggiTesto(int grado, const Riga &riga, const MappaTempi &mappa, int annoOggi)
{
    const auto campo = [&riga](const char *nome) { return CampoRiga(riga, QLatin1String(nome)); };
    const QString testo = campo("C4");
    if (testo.isEmpty() || testo == QLatin1String("@"))
        return {};
    const auto prezzo = vb::LeggiNumero(campo("C3"));
    if (!prezzo || *prezzo == 0)
        return {};
    const PuntoLetto p = LeggiPunto(grado, campo("C1"), campo("C2"), mappa, annoOggi);
    if (p.esito != Collocazione::Collocato)
        return {p.esito, {}};
    return {Collocazione::Collocato, Testo{true, true, p.x, *prezzo, CodiceColoreOggetto(campo("C5")), testo}};
}

}  // namespace

EsitoCaricaOggetti Carica_Testi(int sottostante, SlotOggetti<Testo> &Testi, const MappaTempi &mappa,
                              SlotOggetti<::RigaOggetto> *inAttesa)
{
    return CaricaOggetti(
        prefissoTesti, sottostante, rigaLiberaTesti, Testi,
        [&mappa](int grado, const Riga &riga, int annoOggi) { return leggiTesto(grado, riga, mappa, annoOggi); },
        inAttesa);
}

int Colloca_Testi_In_Attesa(SlotOggetti<Testo> &Testi, SlotOggetti<::RigaOggetto> &inAttesa, int grado,
                        const MappaTempi &mappa)
{
    return CollocaInAttesa(Testi, inAttesa, grado, [&mappa](int g, const Riga &riga, int annoOggi) {
        return leggiTesto(g, riga, mappa, annoOggi);
    });
}

bool Salva_Testo(int sottostante, const SlotOggetti<Testo> &Testi, int grado, int slot, const MappaTempi &mappa,
                 QString *errore)
{
    static const MessaggiOggetto messaggi{
        QStringLiteral("Testo fuori dai limiti dell'archivio."),
        QStringLiteral("Il testo non ha una posizione sul grafico."),
        QStringLiteral("Il testo cade fuori dallo storico e dall'asse dei tempi futuri."),
        QStringLiteral("Impossibile salvare il testo nell'archivio (Sistema1.dat): %1")};
    return SalvaSlot(prefissoTesti, sottostante, Testi, grado, slot, costanti::Max_Testi, rigaLiberaTesti, messaggi,
                     [&](const Testo &t) -> std::optional<ColonneOggetto> {
                         ColonneOggetto c{{QStringLiteral("C0"), QStringLiteral("1")}};
                         if (!AggiungiPunto(c, 1, mappa, grado, t.barra, t.prezzo))
                             return std::nullopt;
                         c.emplace_back(QStringLiteral("C4"), t.testo);
                         c.emplace_back(QStringLiteral("C5"), QString::number(t.colore));
                         return c;
                     },
                     errore);
}

}  // namespace disegno::tabelle

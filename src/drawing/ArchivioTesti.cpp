#include "drawing/ArchivioTesti.h"

#include "platform/VbRuntime.h"

namespace archivio {

namespace {

const QString prefissoTesti = QStringLiteral("Dati_Testo_S");
const RigaLibera rigaLiberaTesti = ValoriRigaLibera(5, 4);

OggettoLetto<Testo> leggiTesto(int grado, const Riga &riga, const MappaTempi &mappa)
{
    const auto campo = [&riga](const char *nome) { return CampoRiga(riga, QLatin1String(nome)); };
    const QString c1 = campo("C1"), c2 = campo("C2"), c4 = campo("C4");
    if (c1.size() != 6 || c2.size() != 4 || c4.isEmpty() || c4 == QLatin1String("@"))
        return {};
    const auto prezzo = vb::LeggiNumero(campo("C3"));
    const auto colore = vb::LeggiNumero(campo("C5"));
    if (!prezzo || *prezzo == 0 || !colore || *colore == 0)
        return {};
    const auto codice = vb::CIntChecked(*colore);
    if (!codice || *codice < 1 || *codice >= costanti::Num_Colori)
        return {};
    const auto t = LeggiTempoArchivio(grado, c1, c2);
    if (!t)
        return {};
    const auto x = mappa.XDaTempo(grado, t->first, t->second);
    if (!x)
        return {Collocazione::FuoriPortata, {}};
    return {Collocazione::Collocato, Testo{true, true, *x, *prezzo, *codice, c4}};
}

}  // namespace

EsitoCaricaOggetti Carica_Testi(int sottostante, SlotOggetti<Testo> &Testi, const MappaTempi &mappa)
{
    return CaricaOggetti(prefissoTesti, sottostante, rigaLiberaTesti, Testi,
                         [&mappa](int grado, const Riga &riga) { return leggiTesto(grado, riga, mappa); });
}

bool Salva_Testo(int sottostante, const SlotOggetti<Testo> &Testi, int grado, int slot, const MappaTempi &mappa,
                 QString *errore)
{
    auto fallisce = [errore](const QString &testo) {
        if (errore)
            *errore = testo;
        return false;
    };
    const QString tabella = NomeTabellaOggetti(prefissoTesti, sottostante);
    if (tabella.isEmpty() || grado < 0 || grado > costanti::Max_Grado || slot < 1 || slot > costanti::Max_Testi)
        return fallisce(QStringLiteral("Testo fuori dai limiti dell'archivio."));
    const Testo &t = Testi[size_t(grado)][size_t(slot)];
    if (t.in_uso && !t.trovato)
        return fallisce(QStringLiteral("Il testo non ha una posizione sul grafico."));

    std::vector<std::pair<QString, QString>> valori;
    if (t.in_uso) {
        const auto tempo = TempoDaPosizione(mappa, grado, t.barra);
        if (!tempo)
            return fallisce(QStringLiteral("Il testo cade fuori dallo storico e dall'asse dei tempi futuri."));
        valori = {{QStringLiteral("C0"), QStringLiteral("1")},
                  {QStringLiteral("C1"), tempo->data},
                  {QStringLiteral("C2"), tempo->ora},
                  {QStringLiteral("C3"), vb::TestoNumero(t.prezzo)},
                  {QStringLiteral("C4"), t.testo},
                  {QStringLiteral("C5"), QString::number(t.colore)}};
    }
    Connessione c(FileArchivio::Sistema1);
    const int id = IdRigaOggetto(grado, slot);
    const bool ok =
        c.Aperta() && (t.in_uso ? c.AggiornaRiga(tabella, id, valori) : LiberaRiga(c, tabella, id, rigaLiberaTesti));
    if (!ok)
        return fallisce(QStringLiteral("Impossibile salvare il testo nell'archivio: %1").arg(c.Errore()));
    return true;
}

}  // namespace archivio

#include "drawing/ArchivioDistanze.h"

#include "platform/VbRuntime.h"

namespace archivio {

namespace {

const QString prefissoDistanze = QStringLiteral("Dati_Dista_S");
const RigaLibera rigaLiberaDistanze = ValoriRigaLibera(11, 11);

OggettoLetto<Distanza> leggiDistanza(int grado, const Riga &riga, const MappaTempi &mappa)
{
    const auto campo = [&riga](const char *nome) { return CampoRiga(riga, QLatin1String(nome)); };
    const QString c1 = campo("C1"), c2 = campo("C2"), c4 = campo("C4"), c5 = campo("C5"), c8 = campo("C8"),
                  c9 = campo("C9"), c11 = campo("C11");
    if (c1.size() != 6 || c4.size() != 6 || c8.size() != 6 || c2.size() != 4 || c5.size() != 4 || c9.size() != 4)
        return {};
    if (c11.isEmpty() || c11 == QLatin1String("@"))
        return {};
    const auto p1 = vb::LeggiNumero(campo("C3"));
    const auto p2 = vb::LeggiNumero(campo("C6"));
    const auto pe = vb::LeggiNumero(campo("C10"));
    const auto colore = vb::LeggiNumero(campo("C7"));
    if (!p1 || !p2 || !pe || *pe == 0 || !colore || *colore == 0)
        return {};
    const auto codice = vb::CIntChecked(*colore);
    if (!codice || *codice < 1 || *codice >= costanti::Num_Colori)
        return {};
    const auto t1 = LeggiTempoArchivio(grado, c1, c2);
    const auto t2 = LeggiTempoArchivio(grado, c4, c5);
    const auto te = LeggiTempoArchivio(grado, c8, c9);
    if (!t1 || !t2 || !te)
        return {};
    const auto x1 = mappa.XDaTempo(grado, t1->first, t1->second);
    const auto x2 = mappa.XDaTempo(grado, t2->first, t2->second);
    const auto xe = mappa.XDaTempo(grado, te->first, te->second);
    if (!x1 || !x2 || !xe)
        return {Collocazione::FuoriPortata, {}};
    return {Collocazione::Collocato, Distanza{true, true, *x1, *p1, *x2, *p2, *codice, *xe, *pe, c11}};
}

}  // namespace

EsitoCaricaOggetti Carica_Distanze(int sottostante, SlotOggetti<Distanza> &Distanze, const MappaTempi &mappa)
{
    return CaricaOggetti(prefissoDistanze, sottostante, rigaLiberaDistanze, Distanze,
                         [&mappa](int grado, const Riga &riga) { return leggiDistanza(grado, riga, mappa); });
}

bool Salva_Distanza(int sottostante, const SlotOggetti<Distanza> &Distanze, int grado, int slot,
                    const MappaTempi &mappa, QString *errore)
{
    auto fallisce = [errore](const QString &testo) {
        if (errore)
            *errore = testo;
        return false;
    };
    const QString tabella = NomeTabellaOggetti(prefissoDistanze, sottostante);
    if (tabella.isEmpty() || grado < 0 || grado > costanti::Max_Grado || slot < 1 || slot > costanti::Max_Distanze)
        return fallisce(QStringLiteral("Distanza fuori dai limiti dell'archivio."));
    const Distanza &di = Distanze[size_t(grado)][size_t(slot)];
    if (di.in_uso && !di.trovata)
        return fallisce(QStringLiteral("La distanza non ha una posizione sul grafico."));

    std::vector<std::pair<QString, QString>> valori;
    if (di.in_uso) {
        const auto t1 = TempoDaPosizione(mappa, grado, di.barra_inizio);
        const auto t2 = TempoDaPosizione(mappa, grado, di.barra_fine);
        const auto te = TempoDaPosizione(mappa, grado, di.barra_etichetta);
        if (!t1 || !t2 || !te)
            return fallisce(QStringLiteral("La distanza cade fuori dallo storico e dall'asse dei tempi futuri."));
        valori = {{QStringLiteral("C0"), QStringLiteral("1")},
                  {QStringLiteral("C1"), t1->data},
                  {QStringLiteral("C2"), t1->ora},
                  {QStringLiteral("C3"), vb::TestoNumero(di.prezzo_inizio)},
                  {QStringLiteral("C4"), t2->data},
                  {QStringLiteral("C5"), t2->ora},
                  {QStringLiteral("C6"), vb::TestoNumero(di.prezzo_fine)},
                  {QStringLiteral("C7"), QString::number(di.colore)},
                  {QStringLiteral("C8"), te->data},
                  {QStringLiteral("C9"), te->ora},
                  {QStringLiteral("C10"), vb::TestoNumero(di.prezzo_etichetta)},
                  {QStringLiteral("C11"), di.durata}};
    }
    Connessione c(FileArchivio::Sistema1);
    const int id = IdRigaOggetto(grado, slot);
    const bool ok = c.Aperta() && (di.in_uso ? c.AggiornaRiga(tabella, id, valori)
                                             : LiberaRiga(c, tabella, id, rigaLiberaDistanze));
    if (!ok)
        return fallisce(QStringLiteral("Impossibile salvare la distanza nell'archivio: %1").arg(c.Errore()));
    return true;
}

}  // namespace archivio

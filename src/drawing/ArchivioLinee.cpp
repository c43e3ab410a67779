#include "drawing/ArchivioLinee.h"

#include "platform/VbRuntime.h"

namespace archivio {

namespace {

const QString prefissoLinee = QStringLiteral("Dati_Linee_S");
const RigaLibera rigaLiberaLinee = ValoriRigaLibera(7);

// Every check of a used row (the digits must also form a real date and time), then
// the search of both points.
OggettoLetto<Linea> leggiLinea(int grado, const Riga &riga, const MappaTempi &mappa)
{
    const auto campo = [&riga](const char *nome) { return CampoRiga(riga, QLatin1String(nome)); };
    const QString c1 = campo("C1"), c2 = campo("C2"), c4 = campo("C4"), c5 = campo("C5");
    if (c1.size() != 6 || c4.size() != 6 || c2.size() != 4 || c5.size() != 4)
        return {};
    const auto p1 = vb::LeggiNumero(campo("C3"));
    const auto p2 = vb::LeggiNumero(campo("C6"));
    const auto colore = vb::LeggiNumero(campo("C7"));
    if (!p1 || !p2 || !colore || *colore == 0)
        return {};
    const auto codice = vb::CIntChecked(*colore);
    if (!codice || *codice < 1 || *codice >= costanti::Num_Colori)
        return {};
    const auto t1 = LeggiTempoArchivio(grado, c1, c2);
    const auto t2 = LeggiTempoArchivio(grado, c4, c5);
    if (!t1 || !t2)
        return {};
    const auto x1 = mappa.XDaTempo(grado, t1->first, t1->second);
    const auto x2 = mappa.XDaTempo(grado, t2->first, t2->second);
    if (!x1 || !x2)
        return {Collocazione::FuoriPortata, {}};
    return {Collocazione::Collocato, Linea{true, true, *x1, *p1, *x2, *p2, *codice}};
}

}  // namespace

EsitoCaricaOggetti Carica_Linee(int sottostante, SlotOggetti<Linea> &Linee, const MappaTempi &mappa)
{
    return CaricaOggetti(prefissoLinee, sottostante, rigaLiberaLinee, Linee,
                         [&mappa](int grado, const Riga &riga) { return leggiLinea(grado, riga, mappa); });
}

bool Salva_Linea(int sottostante, const SlotOggetti<Linea> &Linee, int grado, int slot, const MappaTempi &mappa,
                 QString *errore)
{
    auto fallisce = [errore](const QString &testo) {
        if (errore)
            *errore = testo;
        return false;
    };
    const QString tabella = NomeTabellaOggetti(prefissoLinee, sottostante);
    if (tabella.isEmpty() || grado < 0 || grado > costanti::Max_Grado || slot < 1 || slot > costanti::Max_Linee)
        return fallisce(QStringLiteral("Linea fuori dai limiti dell'archivio."));
    const Linea &l = Linee[size_t(grado)][size_t(slot)];
    if (l.in_uso && !l.trovata)
        return fallisce(QStringLiteral("La linea non ha una posizione sul grafico."));

    std::vector<std::pair<QString, QString>> valori;
    if (l.in_uso) {
        const auto t1 = TempoDaPosizione(mappa, grado, l.barra_inizio);
        const auto t2 = TempoDaPosizione(mappa, grado, l.barra_fine);
        if (!t1 || !t2)
            return fallisce(QStringLiteral("La linea cade fuori dallo storico e dall'asse dei tempi futuri."));
        valori = {{QStringLiteral("C0"), QStringLiteral("1")},
                  {QStringLiteral("C1"), t1->data},
                  {QStringLiteral("C2"), t1->ora},
                  {QStringLiteral("C3"), vb::TestoNumero(l.prezzo_inizio)},
                  {QStringLiteral("C4"), t2->data},
                  {QStringLiteral("C5"), t2->ora},
                  {QStringLiteral("C6"), vb::TestoNumero(l.prezzo_fine)},
                  {QStringLiteral("C7"), QString::number(l.colore)}};
    }
    Connessione c(FileArchivio::Sistema1);
    const bool ok = c.Aperta() && (l.in_uso ? c.AggiornaRiga(tabella, IdRigaOggetto(grado, slot), valori)
                                            : LiberaRiga(c, tabella, IdRigaOggetto(grado, slot), rigaLiberaLinee));
    if (!ok)
        return fallisce(QStringLiteral("Impossibile salvare la linea nell'archivio: %1").arg(c.Errore()));
    return true;
}

}  // namespace archivio

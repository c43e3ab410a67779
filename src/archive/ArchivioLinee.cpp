#include "archive/ArchivioLinee.h"

#include "platform/VbRuntime.h"

namespace archivio {

namespace {

const QString prefissoLinee = QStringLiteral("Dati_Linee_S");
constexpr int ultimaColonnaLinee = 7;

QString campo(const Riga &riga, const QString &nome)
{
    for (const auto &[chiave, valore] : riga)
        if (chiave.compare(nome, Qt::CaseInsensitive) == 0)
            return valore;
    return {};
}

bool rigaGiaLibera(const Riga &riga)
{
    for (int i = 0; i <= ultimaColonnaLinee; ++i)
        if (campo(riga, QStringLiteral("C%1").arg(i)) != QLatin1String("0"))
            return false;
    return true;
}

struct LineaLetta {
    std::pair<QDate, int> inizio, fine;
    double prezzoInizio = 0, prezzoFine = 0;
    int colore = 0;
};

// Every check of a used row; the digits must also form a real date and time.
std::optional<LineaLetta> leggiRigaUsata(int grado, const Riga &riga)
{
    const QString c1 = campo(riga, QStringLiteral("C1")), c2 = campo(riga, QStringLiteral("C2"));
    const QString c4 = campo(riga, QStringLiteral("C4")), c5 = campo(riga, QStringLiteral("C5"));
    if (c1.size() != 6 || c4.size() != 6 || c2.size() != 4 || c5.size() != 4)
        return std::nullopt;
    const auto p1 = vb::LeggiNumero(campo(riga, QStringLiteral("C3")));
    const auto p2 = vb::LeggiNumero(campo(riga, QStringLiteral("C6")));
    const auto colore = vb::LeggiNumero(campo(riga, QStringLiteral("C7")));
    if (!p1 || !p2 || !colore || *colore == 0)
        return std::nullopt;
    const auto codice = vb::CIntChecked(*colore);
    if (!codice || *codice < 1 || *codice >= costanti::Num_Colori)
        return std::nullopt;
    const auto t1 = LeggiTempoArchivio(grado, c1, c2);
    const auto t2 = LeggiTempoArchivio(grado, c4, c5);
    if (!t1 || !t2)
        return std::nullopt;
    return LineaLetta{*t1, *t2, *p1, *p2, *codice};
}

}  // namespace

EsitoCaricaOggetti Carica_Linee(int sottostante, SlotOggetti<Linea> &Linee, const MappaTempi &mappa)
{
    EsitoCaricaOggetti esito;
    Linee = {};
    const QString tabella = NomeTabellaOggetti(prefissoLinee, sottostante);
    if (tabella.isEmpty()) {
        esito.ok = false;
        esito.errore = QStringLiteral("Sottostante non valido: %1").arg(sottostante);
        return esito;
    }
    Connessione c(FileArchivio::Sistema1);
    if (!c.Aperta() || !c.TabellaEsiste(tabella)) {
        esito.ok = false;
        esito.errore = QStringLiteral("Archivio delle linee non leggibile (%1): %2").arg(tabella, c.Errore());
        return esito;
    }
    const std::map<int, Riga> righe = c.LeggiTabella(tabella);
    c.IniziaTransazione();
    bool scritturaOk = true;
    for (int d = 0; d <= costanti::Max_Grado; ++d) {
        for (int s = 1; s <= costanti::Max_Linee; ++s) {
            const int id = IdRigaOggetto(d, s);
            const auto it = righe.find(id);
            if (it == righe.end())
                continue;
            const Riga &riga = it->second;
            if (!RigaInUso(campo(riga, QStringLiteral("C0")))) {
                if (!rigaGiaLibera(riga))
                    scritturaOk &= LiberaRiga(c, tabella, id, ultimaColonnaLinee);
                continue;
            }
            const auto letta = leggiRigaUsata(d, riga);
            if (!letta) {
                scritturaOk &= LiberaRiga(c, tabella, id, ultimaColonnaLinee);
                ++esito.liberati;
                continue;
            }
            Linea &l = Linee[size_t(d)][size_t(s)];
            l.in_uso = true;
            l.prezzo_inizio = letta->prezzoInizio;
            l.prezzo_fine = letta->prezzoFine;
            l.colore = letta->colore;
            const auto x1 = mappa.XDaTempo(d, letta->inizio.first, letta->inizio.second);
            const auto x2 = mappa.XDaTempo(d, letta->fine.first, letta->fine.second);
            if (x1 && x2) {
                l.trovata = true;
                l.barra_inizio = *x1;
                l.barra_fine = *x2;
                ++esito.collocati;
            } else {
                ++esito.non_collocati;
            }
        }
    }
    if (scritturaOk) {
        scritturaOk = c.ConfermaTransazione();
    } else {
        c.AnnullaTransazione();
    }
    if (!scritturaOk) {
        esito.ok = false;
        esito.errore = QStringLiteral("Impossibile liberare le righe non valide di %1: %2").arg(tabella, c.Errore());
    }
    return esito;
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
        return true;

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
                                            : LiberaRiga(c, tabella, IdRigaOggetto(grado, slot), ultimaColonnaLinee));
    if (!ok)
        return fallisce(QStringLiteral("Impossibile salvare la linea nell'archivio: %1").arg(c.Errore()));
    return true;
}

}  // namespace archivio

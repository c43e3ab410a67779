#include "drawing/OggettiGrafici.h"

#include "archive/StatoArchivio.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/PosizioneBarra.h"
#include "platform/StatoProgramma.h"

namespace disegno {

std::optional<double> PrezzoDaY(const AssiGrafico &assi, double y)
{
    const double altezza = assi.hi1 - assi.lo1;
    if (altezza == 0.0 || !std::isfinite(altezza) || !std::isfinite(y))
        return std::nullopt;
    return (y - assi.lo1) / altezza * (assi.hi2 - assi.lo2) + assi.lo2;
}

int SlotLiberoLinee(const StatoDisegno &disegno, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return 0;
    return PrimoSlotLibero(disegno.Linee[size_t(grado)], costanti::Max_Linee);
}

int SlotLiberoDistanze(const StatoDisegno &disegno, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return 0;
    return PrimoSlotLibero(disegno.Distanze[size_t(grado)], costanti::Max_Distanze);
}

namespace {
// [v - 1 %, 1.01 w] with the lower end taken from the smaller of the two.
void finestra(double inizio, double fine, double &basso, double &alto)
{
    if (fine > inizio) {
        basso = inizio - (1.01 * inizio - inizio);
        alto = 1.01 * fine;
    } else {
        basso = fine - (1.01 * fine - fine);
        alto = 1.01 * inizio;
    }
}
}  // namespace

bool LineaColpita(const Linea &l, double cx, double cp)
{
    const double sx = l.barra_inizio, sp = l.prezzo_inizio, ex = l.barra_fine, ep = l.prezzo_fine;
    double bx0, bx1, bp0, bp1;
    finestra(sx, ex, bx0, bx1);
    finestra(sp, ep, bp0, bp1);
    if (!(cx >= bx0 && cx <= bx1 && cp >= bp0 && cp <= bp1))
        return false;
    const double mx = (cx + sx) / 2.0;
    const double my = (sp + cp) / 2.0;
    const double sxy = (sx - mx) * (sp - my) + (cx - mx) * (cp - my);
    const double sxx = (cx - mx) * (cx - mx) + (sx - mx) * (sx - mx);
    if (sxx == 0.0)
        return false;
    const double pendenza = sxy / sxx;
    const double e = pendenza * ex + (my - pendenza * mx);
    const double basso = e < 0 ? 1.03 * e : e - (1.03 * e - e);
    const double alto = e < 0 ? e - (1.03 * e - e) : 1.03 * e;
    return ep > basso && ep < alto;
}

bool DistanzaColpita(const Distanza &d, double cx, double cp)
{
    return LineaColpita(Linea{true, true, d.barra_inizio, d.prezzo_inizio, d.barra_fine, d.prezzo_fine, d.colore},
                        cx, cp);
}

std::optional<Distanza> NuovaDistanza(int x1, double p1, int x2, double p2, int colore, const QString &durata)
{
    const int n = std::abs(x1 - x2);
    if (n < 2)
        return std::nullopt;
    const double basso = std::min(p1, p2);
    return Distanza{true, true, x1, p1, x2, p2, colore, std::min(x1, x2) + n / 2, basso + std::fabs(p1 - p2) / 2.0,
                    durata};
}

void Sposta_Disegni_Grado(StatoDisegno &disegno, int grado, int delta)
{
    if (grado < 0 || grado > costanti::Max_Grado || delta == 0)
        return;
    const size_t d = size_t(grado);
    for (int k = 1; k <= costanti::Max_Linee; ++k) {
        Linea &l = disegno.Linee[d][size_t(k)];
        if (l.in_uso && l.trovata) {
            l.barra_inizio += delta;
            l.barra_fine += delta;
        }
    }
    for (int k = 1; k <= costanti::Max_Testi; ++k) {
        Testo &t = disegno.Testi[d][size_t(k)];
        if (t.in_uso && t.trovato)
            t.barra += delta;
    }
    for (int k = 1; k <= costanti::Max_Distanze; ++k) {
        Distanza &di = disegno.Distanze[d][size_t(k)];
        if (di.in_uso && di.trovata) {
            di.barra_inizio += delta;
            di.barra_fine += delta;
            di.barra_etichetta += delta;
        }
    }
}

void Sposta_Disegni_AsseX(const StatoProgramma &programma, const StatoCicli &cicli, StatoDisegno &disegno,
                          ControlliGrafici &controlli)
{
    if (programma.Blocco_Grafici)
        return;
    const int g = cicli.Grado_Corrente;
    BarraScorrimento *hsc = controlli.Hsc_Graf(cicli.Grafico_Corrente);
    if (!hsc || g < 0 || g > costanti::Max_Grado)
        return;
    Sposta_Disegni_Grado(disegno, g, hsc->Valore() - cicli.Barre_Ciclo[size_t(g)]);
    disegno.Barre_Ciclo_Oggetti[size_t(g)] = hsc->Valore();
}

void Riallinea_Disegni(const StatoCicli &cicli, StatoDisegno &disegno,
                       const std::array<int, costanti::Num_Gradi> &nuoveBarre)
{
    for (int g = 0; g <= costanti::Max_Grado; ++g) {
        const size_t d = size_t(g);
        const int barre = cicli.Barre_Ciclo[d];
        Sposta_Disegni_Grado(disegno, g, (barre - disegno.Barre_Ciclo_Oggetti[d]) - nuoveBarre[d]);
        disegno.Barre_Ciclo_Oggetti[d] = barre;
    }
}

std::optional<int> MappaTempiStato::XDaTempo(int grado, const QDate &data, int minuti) const
{
    if (grado < 0 || grado > costanti::Max_Grado || !data.isValid())
        return std::nullopt;
    const bool giornaliero = posizione::GradoGiornaliero(grado);
    const SerieStorico &serie = posizione::SerieDelGrado(m_mercato, grado);
    for (int k = 1; k <= serie.capacita(); ++k) {
        const BarraStorico &b = serie.barra(k);
        if (b.data == data && (giornaliero || b.minuti == minuti))
            return posizione::XDaRiga(m_cicli, grado, k);
    }
    const auto &futuri = m_cicli.Tempi_Futuri[size_t(grado)];
    for (size_t j = 0; j < futuri.size(); ++j) {
        if (futuri[j].data == data && (giornaliero || futuri[j].minuti == minuti))
            return posizione::XDaFuturo(m_cicli, grado, int(j) + 1);
    }
    return std::nullopt;
}

bool MappaTempiStato::TempoDaX(int grado, int x, QDate &data, int &minuti) const
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return false;
    const int riga = posizione::RigaDaX(m_cicli, grado, x);
    if (riga >= 1) {
        const SerieStorico &serie = posizione::SerieDelGrado(m_mercato, grado);
        if (!serie.valida(riga))
            return false;
        data = serie.barra(riga).data;
        minuti = serie.barra(riga).minuti;
        return data.isValid();
    }
    const auto &futuri = m_cicli.Tempi_Futuri[size_t(grado)];
    const int entrata = x - m_cicli.Barre_Ciclo[size_t(grado)];
    if (entrata < 1 || entrata > int(futuri.size()))
        return false;
    data = futuri[size_t(entrata - 1)].data;
    minuti = futuri[size_t(entrata - 1)].minuti;
    return data.isValid();
}

archivio::EsitoCaricaOggetti Carica_Linee(const StatoArchivio &archivio, const StatoMercato &mercato,
                                          const StatoCicli &cicli, StatoDisegno &disegno)
{
    const MappaTempiStato mappa(mercato, cicli);
    disegno.Barre_Ciclo_Oggetti = cicli.Barre_Ciclo;
    return archivio::Carica_Linee(archivio.Sottostante_Corrente, disegno.Linee, mappa);
}

bool Salva_Linea(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                 const StatoDisegno &disegno, int grado, int slot, QString *errore)
{
    const MappaTempiStato mappa(mercato, cicli);
    return archivio::Salva_Linea(archivio.Sottostante_Corrente, disegno.Linee, grado, slot, mappa, errore);
}

archivio::EsitoCaricaOggetti Carica_Testi(const StatoArchivio &archivio, const StatoMercato &mercato,
                                          const StatoCicli &cicli, StatoDisegno &disegno)
{
    const MappaTempiStato mappa(mercato, cicli);
    disegno.Barre_Ciclo_Oggetti = cicli.Barre_Ciclo;
    return archivio::Carica_Testi(archivio.Sottostante_Corrente, disegno.Testi, mappa);
}

bool Salva_Testo(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                 const StatoDisegno &disegno, int grado, int slot, QString *errore)
{
    const MappaTempiStato mappa(mercato, cicli);
    return archivio::Salva_Testo(archivio.Sottostante_Corrente, disegno.Testi, grado, slot, mappa, errore);
}

archivio::EsitoCaricaOggetti Carica_Distanze(const StatoArchivio &archivio, const StatoMercato &mercato,
                                             const StatoCicli &cicli, StatoDisegno &disegno)
{
    const MappaTempiStato mappa(mercato, cicli);
    disegno.Barre_Ciclo_Oggetti = cicli.Barre_Ciclo;
    return archivio::Carica_Distanze(archivio.Sottostante_Corrente, disegno.Distanze, mappa);
}

bool Salva_Distanza(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                    const StatoDisegno &disegno, int grado, int slot, QString *errore)
{
    const MappaTempiStato mappa(mercato, cicli);
    return archivio::Salva_Distanza(archivio.Sottostante_Corrente, disegno.Distanze, grado, slot, mappa, errore);
}

}  // namespace disegno

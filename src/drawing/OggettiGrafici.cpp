#include "drawing/OggettiGrafici.h"

#include "archive/StatoArchivio.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/PosizioneBarra.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"

#include <algorithm>
#include <limits>

namespace disegno {

std::optional<double> PrezzoDaY(const AssiGrafico &assi, double y)
{
    const double altezza = assi.hi1 - assi.lo1;
    if (altezza == 0.0 || !std::isfinite(altezza) || !std::isfinite(y))
        return std::nullopt;
    return (y - assi.lo1) / altezza * (assi.hi2 - assi.lo2) + assi.lo2;
}

namespace {
using Chiave = std::pair<qint64, int>;  // an invalid date sorts as the oldest
Chiave chiave(const QDate &data, int minuti, bool giornaliero)
{
    return {data.isValid() ? data.toJulianDay() : std::numeric_limits<qint64>::min(), giornaliero ? 0 : minuti};
}

// The stored date column of each point of a kind: start, end, label.
std::vector<int> colonnePunti(int tipo)
{
    return tipo == 1 ? std::vector<int>{1, 4} : tipo == 2 ? std::vector<int>{1} : std::vector<int>{1, 4, 8};
}
}  // namespace

bool Non_Tornera(const StatoMercato &mercato, int grado, int tipo, const ::RigaOggetto &riga)
{
    if (grado < 0 || grado > costanti::Max_Grado || tipo < 1 || tipo > 3 || riga.empty())
        return false;
    const bool giornaliero = posizione::GradoGiornaliero(grado);
    const auto &barre = posizione::SerieDelGrado(mercato, grado).barre();
    std::optional<Chiave> ultimaBarra;
    for (const BarraStorico &b : barre)
        if (b.data.isValid() && (!ultimaBarra || chiave(b.data, b.minuti, giornaliero) > *ultimaBarra))
            ultimaBarra = chiave(b.data, b.minuti, giornaliero);
    if (!ultimaBarra)
        return false;  // no history yet: nothing is known of any bar
    const auto suUnaBarra = [&](const Chiave &punto) {
        return std::any_of(barre.begin(), barre.end(), [&](const BarraStorico &b) {
            return b.data.isValid() && chiave(b.data, b.minuti, giornaliero) == punto;
        });
    };
    const int anno = dataora::AnnoCorrente();
    for (int c : colonnePunti(tipo)) {
        const auto campo = [&riga](int n) { return archivio::CampoRiga(riga, QStringLiteral("C%1").arg(n)); };
        const auto tempo = archivio::LeggiTempoArchivio(grado, campo(c), campo(c + 1), anno);
        if (!tempo)
            continue;
        const Chiave punto = chiave(tempo->first, tempo->second, giornaliero);
        if (punto <= *ultimaBarra && !suUnaBarra(punto))
            return true;
    }
    return false;
}

OggettiInAttesa Oggetti_In_Attesa(const StatoMercato &mercato, const StatoDisegno &d, int tipo, int grado)
{
    OggettiInAttesa quanti;
    if (grado < 0 || grado > costanti::Max_Grado || tipo < 1 || tipo > 3)
        return quanti;
    const SlotOggetti<::RigaOggetto> &attesa =
        tipo == 1 ? d.Linee_In_Attesa : tipo == 2 ? d.Testi_In_Attesa : d.Distanze_In_Attesa;
    for (const ::RigaOggetto &r : attesa[size_t(grado)])
        if (!r.empty())
            ++(Non_Tornera(mercato, grado, tipo, r) ? quanti.non_torneranno : quanti.possono_tornare);
    return quanti;
}

QString Testo_Limite_In_Attesa(int tipo, const OggettiInAttesa &quanti)
{
    const QString aCapo = QStringLiteral("\r\n\r\n");
    const bool maschile = tipo == 2;
    const QString nome = tipo == 1   ? QStringLiteral("Linee")
                         : tipo == 2 ? QStringLiteral("Testi")
                                     : QStringLiteral("Distanze");
    const QString nuovo = tipo == 1   ? QStringLiteral("una nuova Linea bisogna prima cancellarne almeno una")
                          : tipo == 2 ? QStringLiteral("un nuovo Testo bisogna prima cancellarne almeno uno")
                                      : QStringLiteral("una nuova Distanza bisogna prima cancellarne almeno una");
    // "una attende" / "3 attendono", agreeing with the kind.
    const auto quante = [maschile](int n, const QString &uno, const QString &molti) {
        return n == 1 ? (maschile ? QStringLiteral("uno ") : QStringLiteral("una ")) + uno
                      : QString::number(n) + QLatin1Char(' ') + molti;
    };
    QStringList parti;
    if (quanti.possono_tornare > 0)
        parti << quante(quanti.possono_tornare, QStringLiteral("attende barre non ancora sul grafico"),
                         QStringLiteral("attendono barre non ancora sul grafico"));
    if (quanti.non_torneranno > 0) {
        const QString pronome = maschile ? QStringLiteral("i") : QStringLiteral("e");
        parti << quante(quanti.non_torneranno,
                         QStringLiteral("\u00E8 fuori dalle barre dello storico e non torner\u00E0: cancellandol%1 nel "
                                        "pannello Oggetti Grafico se ne libera la posizione")
                             .arg(maschile ? QStringLiteral("o") : QStringLiteral("a")),
                         QStringLiteral("sono fuori dalle barre dello storico e non torneranno: cancellandol%1 nel "
                                        "pannello Oggetti Grafico se ne liberano le posizioni")
                             .arg(pronome));
    }
    const QString testo = QStringLiteral("E' stato raggiunto il limite massimo di %1 inseribili.").arg(nome) + aCapo +
                          (maschile ? QStringLiteral("Di questi, ") : QStringLiteral("Di queste, ")) +
                          parti.join(QStringLiteral("; "));
    if (quanti.non_torneranno > 0)
        return testo + QLatin1Char('.');
    return testo + QStringLiteral(" (pannello Oggetti Grafico).") + aCapo + QStringLiteral("Per inserire ") + nuovo +
           QLatin1Char('.');
}

bool TestoAccettabile(const QString &testo)
{
    return testo.size() <= 20 && !testo.endsWith(QLatin1Char('@'));
}

bool TestoColpito(const Testo &t, double cx, double cp)
{
    const auto dentro = [](double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    return dentro(t.barra, cx - (cx * 1.02 - cx), cx * 1.05) && dentro(t.prezzo, cp - (cp * 1.001 - cp), cp * 1.05);
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
        if (t.in_uso && t.trovata)
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

// The history runs from the newest bar down and the future axis up from the first
// future bar, so both are searched by halving; a history that is not in order is
// still searched bar by bar within its dates.
std::optional<int> MappaTempiStato::XDaTempo(int grado, const QDate &data, int minuti) const
{
    if (grado < 0 || grado > costanti::Max_Grado || !data.isValid())
        return std::nullopt;
    const bool giornaliero = posizione::GradoGiornaliero(grado);
    const Chiave cercata = chiave(data, minuti, giornaliero);
    const SerieStorico &serie = posizione::SerieDelGrado(m_mercato, grado);
    const auto diBarra = [&](int k) { return chiave(serie.barra(k).data, serie.barra(k).minuti, giornaliero); };
    int lo = 1, hi = serie.capacita();
    while (lo <= hi) {
        const int mezzo = lo + (hi - lo) / 2;
        const Chiave c = diBarra(mezzo);
        if (c == cercata)
            return posizione::XDaRiga(m_cicli, grado, mezzo);
        if (c > cercata)
            lo = mezzo + 1;
        else
            hi = mezzo - 1;
    }
    if (serie.capacita() > 0 && cercata <= diBarra(1)) {
        for (int k = 1; k <= serie.capacita(); ++k)
            if (diBarra(k) == cercata)
                return posizione::XDaRiga(m_cicli, grado, k);
    }
    const auto &futuri = m_cicli.Tempi_Futuri[size_t(grado)];
    const auto it = std::lower_bound(futuri.begin(), futuri.end(), cercata, [giornaliero](const TempoFuturo &f, const Chiave &c) {
        return chiave(f.data, f.minuti, giornaliero) < c;
    });
    if (it != futuri.end() && chiave(it->data, it->minuti, giornaliero) == cercata)
        return posizione::XDaFuturo(m_cicli, grado, int(it - futuri.begin()) + 1);
    for (size_t j = 0; j < futuri.size(); ++j)  // an axis out of order, as before
        if (chiave(futuri[j].data, futuri[j].minuti, giornaliero) == cercata)
            return posizione::XDaFuturo(m_cicli, grado, int(j) + 1);
    return std::nullopt;
}

bool MappaTempiStato::TempoDaX(int grado, int x, QDate &data, int &minuti) const
{
    return posizione::TempoDaX(m_cicli, m_mercato, grado, x, data, minuti);
}

namespace {
// Every store is read and written through the state's bar mapping; a load also
// records the cycle positions the objects are aligned with.
template <typename Tabella, typename Carica>
archivio::EsitoCaricaOggetti carica(const StatoArchivio &archivio, const StatoMercato &mercato,
                                    const StatoCicli &cicli, StatoDisegno &disegno, Tabella &tabella,
                                    SlotOggetti<RigaOggetto> &inAttesa, Carica leggi)
{
    const MappaTempiStato mappa(mercato, cicli);
    disegno.Barre_Ciclo_Oggetti = cicli.Barre_Ciclo;
    return leggi(archivio.Sottostante_Corrente, tabella, mappa, &inAttesa);
}
}  // namespace

archivio::EsitoCaricaOggetti Carica_Linee(const StatoArchivio &archivio, const StatoMercato &mercato,
                                          const StatoCicli &cicli, StatoDisegno &disegno)
{
    return carica(archivio, mercato, cicli, disegno, disegno.Linee, disegno.Linee_In_Attesa, tabelle::Carica_Linee);
}

archivio::EsitoCaricaOggetti Carica_Testi(const StatoArchivio &archivio, const StatoMercato &mercato,
                                          const StatoCicli &cicli, StatoDisegno &disegno)
{
    return carica(archivio, mercato, cicli, disegno, disegno.Testi, disegno.Testi_In_Attesa, tabelle::Carica_Testi);
}

archivio::EsitoCaricaOggetti Carica_Distanze(const StatoArchivio &archivio, const StatoMercato &mercato,
                                             const StatoCicli &cicli, StatoDisegno &disegno)
{
    return carica(archivio, mercato, cicli, disegno, disegno.Distanze, disegno.Distanze_In_Attesa,
                  tabelle::Carica_Distanze);
}

int Colloca_Oggetti_In_Attesa(const StatoMercato &mercato, const StatoCicli &cicli, StatoDisegno &disegno, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return 0;
    // Positions count from the cycle position the placed objects follow.
    if (disegno.Barre_Ciclo_Oggetti[size_t(grado)] != cicli.Barre_Ciclo[size_t(grado)])
        return 0;
    const MappaTempiStato mappa(mercato, cicli);
    return tabelle::Colloca_Linee_In_Attesa(disegno.Linee, disegno.Linee_In_Attesa, grado, mappa) +
           tabelle::Colloca_Testi_In_Attesa(disegno.Testi, disegno.Testi_In_Attesa, grado, mappa) +
           tabelle::Colloca_Distanze_In_Attesa(disegno.Distanze, disegno.Distanze_In_Attesa, grado, mappa);
}

bool Salva_Linea(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                 const StatoDisegno &disegno, int grado, int slot, QString *errore)
{
    return tabelle::Salva_Linea(archivio.Sottostante_Corrente, disegno.Linee, grado, slot,
                                MappaTempiStato(mercato, cicli), errore);
}

bool Salva_Testo(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                 const StatoDisegno &disegno, int grado, int slot, QString *errore)
{
    return tabelle::Salva_Testo(archivio.Sottostante_Corrente, disegno.Testi, grado, slot,
                                MappaTempiStato(mercato, cicli), errore);
}

bool Salva_Distanza(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                    const StatoDisegno &disegno, int grado, int slot, QString *errore)
{
    return tabelle::Salva_Distanza(archivio.Sottostante_Corrente, disegno.Distanze, grado, slot,
                                   MappaTempiStato(mercato, cicli), errore);
}

}  // namespace disegno

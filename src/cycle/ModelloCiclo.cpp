#include "cycle/ModelloCiclo.h"

#include "archive/StatoArchivio.h"
#include "cycle/PosizioneBarra.h"
#include "cycle/SalvaParametro.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <cmath>

namespace ciclo {

namespace {

constexpr double Nominale[] = {2048, 1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1, 0.5};
constexpr double Minima[] = {1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1, 0.5, 0.3};
constexpr double Massima[] = {2600, 2048, 1024, 512, 256, 128, 64, 32, 16, 8, 4, 2, 1};
constexpr double Fattore_Compressione[] = {30, 90, 90, 90, 100, 50, 100, 50, 25, 25, 70, 70, 35};

double numero(const QString &testo) { return vb::CDbl(testo, 0.0); }
int intero(const QString &testo) { return vb::CInt(numero(testo)); }

// Bars of `giorni` trading days for the degree, in the order of operations the
// stored bounds were always computed with.
double barreDiGiorni(const StatoArchivio &archivio, const StatoCicli &cicli, int grado, double giorni)
{
    const double b15 = cicli.Barre_15M_Giorno;
    if (grado <= 3)
        return b15 * giorni / b15;
    if (grado <= 5)
        return giorni * archivio.Tab_Sottostanti[size_t(archivio.Sottostante_Corrente)].Barre_1H_Giorno;
    if (grado <= 9)
        return b15 * giorni;
    return b15 * giorni * 3;
}

// Into the batch when there is one; else at once, the first refusal kept in `errore`.
void salva(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
           archivio::Codice_Modifica codice, int grado, QString &errore, archivio::Lotto *lotto)
{
    if (lotto) {
        if (auto voce = Voce_Parametro(programma, archivio, cicli, codice, grado))
            lotto->push_back(std::move(*voce));
        return;
    }
    QString e;
    if (!Salva_Parametro(programma, archivio, cicli, codice, grado, &e) && errore.isEmpty())
        errore = e;
}

}  // namespace

void Inizializza_Tabelle_Cicli(StatoCicli &cicli)
{
    for (size_t d = 0; d < size_t(costanti::Num_Gradi); ++d) {
        cicli.Durata_Nominale_Grado[d] = Nominale[d];
        cicli.Durata_Min_Grado[d] = Minima[d];
        cicli.Durata_Max_Grado[d] = Massima[d];
        cicli.Compressione_Grado[d] = Fattore_Compressione[d];
    }
    cicli.Fase_Battleplan = -1.5708;
}

double BarrePerGiorno(const StatoArchivio &archivio, const StatoCicli &cicli, int grado)
{
    return barreDiGiorni(archivio, cicli, grado, 1.0);
}

void Calcola_Data_Inizio_Ciclo(StatoCicli &cicli, const StatoMercato &mercato, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return;
    const auto d = size_t(grado);
    const SerieStorico &serie = posizione::SerieDelGrado(mercato, grado);
    const bool intraday = !posizione::GradoGiornaliero(grado);
    const int p = cicli.Barre_Ciclo[d];
    if (p < 1)
        return;  // no bar there; callers keep the position at 1 or more
    if (p >= serie.capacita() || !serie.barra(p).data.isValid()) {
        cicli.Data_Inizio_Ciclo[d] = DataZero();
        if (intraday)
            cicli.Ora_Inizio_Ciclo[d] = 0;
        return;
    }
    cicli.Data_Inizio_Ciclo[d] = serie.barra(p).data;
    if (intraday)
        cicli.Ora_Inizio_Ciclo[d] = serie.barra(p).minuti;
}

QString Carica_Impostazioni_Sottostante(const StatoProgramma &programma, StatoArchivio &a, StatoMercato &mercato,
                                        StatoCicli &c, archivio::Lotto *salvataggi)
{
    QString errore;
    int u = a.Sottostante_Corrente;
    if (u < 1 || u > costanti::Num_Sottostanti)
        u = a.Sottostante_Corrente = 1;
    const RigaSottostante &riga = a.Tab_Sottostanti[size_t(u)];
    const auto &tab = a.Tab_Cicli[size_t(u)];
    auto campo = [&](int posizione, size_t d) -> const QString & { return tab[size_t(posizione)][d + 1]; };
    const QString &formatoData = programma.Formato_Data;
    const QString &formatoOra = programma.Formato_Ora;

    // 1. The underlying's row.
    c.Sottostante = riga.Nome;
    c.Barre_15M_Giorno = riga.Barre_15M_Giorno;
    c.Fattore_Durata = riga.Fattore_Durata;
    c.Inizio_Sessione = riga.Inizio_Sessione;
    mercato.Fine_Sessione = riga.Fine_Sessione;
    c.Durata_Sessione = riga.Durata_Sessione;
    mercato.Formato_Prezzo = riga.Formato_Prezzo;

    // 2-4. Zoom, duration bounds, compression.
    for (size_t d = 0; d < size_t(costanti::Num_Gradi); ++d) {
        const int g = int(d);
        c.Zoom[d] = numero(campo(10, d));
        c.Durata_Minima[d] = vb::Int(barreDiGiorni(a, c, g, c.Durata_Min_Grado[d]));
        c.Barre_Calcolo[d] = vb::Int(barreDiGiorni(a, c, g, c.Durata_Max_Grado[d]));
        c.Durata_Standard[d] = vb::Int(barreDiGiorni(a, c, g, c.Durata_Nominale_Grado[d]));
        c.Compressione[d] = intero(campo(5, d));
        c.Scostamento_Ciclo[d] = c.Compressione[d] * c.Compressione_Grado[d];
    }

    // 5. Tuning settings and duration.
    for (size_t d = 0; d < size_t(costanti::Num_Gradi); ++d) {
        c.Sottocicli[d] = intero(campo(1, d));
        c.Tempi[d] = intero(campo(11, d));
        c.Tendenza[d] = numero(campo(3, d));
        c.Posizione_Asse_Y[d] = intero(campo(16, d));
        const double prop = numero(campo(15, d));
        c.Prop_Battleplan[d] = prop < 1.1 ? 1.0 : prop;
        const double durata = numero(campo(2, d));
        if (durata < c.Durata_Minima[d] || durata > c.Barre_Calcolo[d]) {
            c.Durata[d] = c.Durata_Standard[d];
            salva(programma, a, c, archivio::Codice_Modifica::Durata, int(d), errore, salvataggi);
        } else {
            c.Durata[d] = durata;
        }
    }

    // 6. Cycle position from the stored start.
    for (size_t d = 0; d < size_t(costanti::Num_Gradi); ++d) {
        const int g = int(d);
        const SerieStorico &serie = posizione::SerieDelGrado(mercato, g);
        const QString &testoData = campo(17, d);
        const QString &testoOra = campo(18, d);
        const auto dataSalvata = dataora::LeggiData(testoData, formatoData);
        const auto oraSalvata = dataora::LeggiOra(testoOra);
        const bool dataPresente = dataSalvata && *dataSalvata != DataZero();
        const bool oraPresente = oraSalvata && *oraSalvata != 0;

        c.Barre_Ciclo[d] = 10;
        if (posizione::GradoGiornaliero(g)) {
            if (dataPresente) {
                for (int i = 1; i <= serie.capacita(); ++i) {
                    if (serie.barra(i).data == *dataSalvata) {
                        c.Barre_Ciclo[d] = i;
                        break;
                    }
                }
            }
        } else if (dataPresente && oraPresente) {
            for (int i = 1; i <= serie.capacita(); ++i) {
                const BarraStorico &b = serie.barra(i);
                if (b.data == *dataSalvata && b.minuti == *oraSalvata) {
                    c.Barre_Ciclo[d] = i;
                    break;
                }
            }
        }
        if (c.Durata[d] + c.Scostamento_Ciclo[d] < c.Barre_Ciclo[d])
            c.Barre_Ciclo[d] = vb::CInt(c.Durata[d]);
        Calcola_Data_Inizio_Ciclo(c, mercato, g);

        const QString dataPrima = dataSalvata ? dataora::ScriviData(*dataSalvata, formatoData) : testoData;
        const QString oraPrima = oraSalvata ? dataora::ScriviOra(*oraSalvata, formatoOra) : testoOra;
        if (dataPrima != dataora::ScriviData(c.Data_Inizio_Ciclo[d], formatoData)
            || oraPrima != dataora::ScriviOra(c.Ora_Inizio_Ciclo[d], formatoOra))
            salva(programma, a, c, archivio::Codice_Modifica::Inizio_Ciclo, g, errore, salvataggi);
    }

    // 7-9. Chart slots. A degree shown by two slots in use switches both off; a
    // free slot keeping an old degree conflicts with nothing.
    for (size_t s = 0; s < size_t(costanti::Num_Slot); ++s) {
        c.Conf_Grafici[s].in_uso = intero(tab[12][s + 1]);
        c.Conf_Grafici[s].grado = intero(tab[13][s + 1]);
        c.Conf_Grafici[s].posizione = intero(tab[14][s + 1]);
    }
    std::array<bool, costanti::Num_Slot> spento{};
    for (size_t s = 0; s < size_t(costanti::Num_Slot); ++s) {
        if (c.Conf_Grafici[s].in_uso != 1)
            continue;
        for (size_t t = 0; t < size_t(costanti::Num_Slot); ++t)
            if (t != s && c.Conf_Grafici[t].in_uso == 1 && c.Conf_Grafici[t].grado == c.Conf_Grafici[s].grado)
                spento[s] = true;
    }
    for (size_t s = 0; s < size_t(costanti::Num_Slot); ++s) {
        if (spento[s])
            c.Conf_Grafici[s].in_uso = 0;
        if (c.Conf_Grafici[s].grado < 0 || c.Conf_Grafici[s].grado > costanti::Max_Grado)
            c.Conf_Grafici[s].grado = 5;
    }
    bool posizioniValide = true;
    std::array<bool, costanti::Num_Slot> usata{};
    for (const SlotGrafico &slot : c.Conf_Grafici) {
        if (slot.posizione < 0 || slot.posizione >= costanti::Num_Slot || usata[size_t(slot.posizione)])
            posizioniValide = false;
        else
            usata[size_t(slot.posizione)] = true;
    }
    if (!posizioniValide)
        for (size_t s = 0; s < size_t(costanti::Num_Slot); ++s)
            c.Conf_Grafici[s].posizione = int(s);

    // 10. Display switches.
    for (size_t d = 0; d < size_t(costanti::Num_Gradi); ++d) {
        c.Modo_Mouse_Grado[d] = intero(campo(19, d));
        c.Griglia_1[d] = intero(campo(20, d));
        c.Griglia_2[d] = intero(campo(21, d));
        c.Modo_Linea_Storico[d] = intero(campo(22, d));
        c.Mostra_Coordinate[d] = intero(campo(23, d));
    }
    return errore;
}

void Avanza_Barre_Ciclo(StatoCicli &c, const fusione::EsitoFusioneRT &esito)
{
    for (int d = 0; d <= costanti::Max_Grado; ++d) {
        if (!esito.Nuova[size_t(fusione::TimeframeGrado(d))])
            continue;
        if (double(c.Barre_Ciclo[size_t(d)]) < c.Durata[size_t(d)] + c.Scostamento_Ciclo[size_t(d)])
            ++c.Barre_Ciclo[size_t(d)];
    }
}

}  // namespace ciclo

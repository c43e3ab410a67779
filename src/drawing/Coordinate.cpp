#include "drawing/Coordinate.h"

#include "cycle/PosizioneBarra.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <cmath>

namespace disegno {

QString TestoPrezzo(const StatoProgramma &programma, const StatoMercato &mercato, double prezzo)
{
    const bool ue = programma.Formato_Locale == QLatin1String("UE");
    const QString formato = mercato.Formato_Prezzo.isEmpty() ? QStringLiteral("0.00") : mercato.Formato_Prezzo;
    return vb::Format(prezzo, formato, ue ? QLatin1Char(',') : QLatin1Char('.'),
                      ue ? QLatin1Char('.') : QLatin1Char(','));
}

Lettura Leggi_Coordinate(const StatoProgramma &programma, const StatoMercato &mercato, const StatoCicli &cicli,
                         int grado, double x, std::optional<double> prezzo)
{
    Lettura l;
    if (grado < 0 || grado > costanti::Max_Grado)
        return l;
    const auto &colori = cicli.Colori;
    const int barre = cicli.Barre_Ciclo[size_t(grado)];
    const double posizione = std::floor(x);
    if (!std::isfinite(posizione) || std::fabs(posizione) > 1e6)
        return l;
    int px = int(posizione);
    const double estensione = cicli.Durata[size_t(grado)] + cicli.Scostamento_Ciclo[size_t(grado)];
    const bool futuro = px > barre;
    l.colore = futuro && estensione > barre ? colori[13] : colori[12];
    l.colore_mobile = l.colore == colori[13] ? colori[10] : l.colore;
    if (!futuro) {
        px = std::max(px, 1);  // left of the cycle start: the cycle-start bar
    } else if (px > estensione) {
        if (!(estensione > barre))
            return l;
        px = barre + int(vb::CLng(estensione - barre));  // right of the span: its last bar
    }

    const posizione::Barra b = posizione::DaX(cicli, mercato, grado, px);
    QDate data;
    int minuti = 0;
    if (b.dove == posizione::Dove::Storico) {
        const BarraStorico &s = posizione::SerieDelGrado(mercato, grado).barra(b.indice);
        data = s.data;
        minuti = s.minuti;
    } else if (b.dove == posizione::Dove::Futuro) {
        const TempoFuturo &f = cicli.Tempi_Futuri[size_t(grado)][size_t(b.indice - 1)];
        data = f.data;
        minuti = f.minuti;
    }
    if (!data.isValid() || !prezzo || !std::isfinite(*prezzo))
        return l;
    QString testo = dataora::ScriviData(data, programma.Formato_Data);
    if (b.dove == posizione::Dove::Futuro || !posizione::GradoGiornaliero(grado))
        testo += QLatin1Char(' ') + dataora::ScriviOra(minuti, programma.Formato_Ora);
    l.testo = testo + QStringLiteral("  ") + TestoPrezzo(programma, mercato, std::max(0.0, *prezzo));
    return l;
}

// Wide enough for the widest reading of any market: a future bar's date and two-digit
// hour ("10:05 PM" in US) with five digits and two decimals ("20940,68").
double Larghezza_Text_Coord_Graf(const StatoProgramma &programma)
{
    return programma.Formato_Locale == QLatin1String("UE") ? 2000 : 2300;
}

double Larghezza_Txt_Cord_Mob(const StatoProgramma &programma)
{
    return programma.Formato_Locale == QLatin1String("UE") ? 2000 : 2300;
}

}  // namespace disegno

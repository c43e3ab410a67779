#include "cycle/PosizioneBarra.h"

namespace posizione {

namespace {
bool gradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }
}

const SerieStorico &SerieDelGrado(const StatoMercato &mercato, int grado)
{
    if (grado <= 3)
        return mercato.Storico_1D;
    if (grado <= 5)
        return mercato.Storico_1H;
    if (grado <= 9)
        return mercato.Storico_15M;
    return mercato.Storico_5M;
}

SerieStorico &SerieDelGrado(StatoMercato &mercato, int grado)
{
    return const_cast<SerieStorico &>(SerieDelGrado(std::as_const(mercato), grado));
}

bool GradoGiornaliero(int grado) { return grado <= 3; }

Barra DaX(const StatoCicli &cicli, const StatoMercato &mercato, int grado, int x)
{
    if (!gradoValido(grado))
        return {};
    const int barreCiclo = cicli.Barre_Ciclo[size_t(grado)];
    if (x <= barreCiclo) {
        const int riga = barreCiclo + 1 - x;
        if (!SerieDelGrado(mercato, grado).valida(riga))
            return {};
        return {Dove::Storico, riga};
    }
    const int entrata = x - barreCiclo;
    if (entrata > int(cicli.Tempi_Futuri[size_t(grado)].size()))
        return {};
    return {Dove::Futuro, entrata};
}

int XDaRiga(const StatoCicli &cicli, int grado, int riga) { return cicli.Barre_Ciclo[size_t(grado)] + 1 - riga; }

int RigaDaX(const StatoCicli &cicli, int grado, int x) { return cicli.Barre_Ciclo[size_t(grado)] + 1 - x; }

int XDaFuturo(const StatoCicli &cicli, int grado, int entrata) { return cicli.Barre_Ciclo[size_t(grado)] + entrata; }

bool TempoDaX(const StatoCicli &cicli, const StatoMercato &mercato, int grado, int x, QDate &data, int &minuti)
{
    const Barra b = DaX(cicli, mercato, grado, x);
    switch (b.dove) {
    case Dove::Storico: {
        const BarraStorico &s = SerieDelGrado(mercato, grado).barra(b.indice);
        data = s.data;
        minuti = s.minuti;
        return data.isValid();
    }
    case Dove::Futuro: {
        const TempoFuturo &f = cicli.Tempi_Futuri[size_t(grado)][size_t(b.indice - 1)];
        data = f.data;
        minuti = f.minuti;
        return data.isValid();
    }
    case Dove::Nessuna:
        break;
    }
    return false;
}

}  // namespace posizione

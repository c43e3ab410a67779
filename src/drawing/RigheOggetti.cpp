#include "drawing/RigheOggetti.h"

#include "drawing/Coordinate.h"
#include "drawing/DateOggetti.h"
#include "drawing/StatoDisegno.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"

namespace disegno {

namespace {

void punto(QStringList &celle, const StatoProgramma &programma, const StatoMercato &mercato, const DataPunto &p,
           double prezzo)
{
    celle << (p.valida ? dataora::ScriviData(p.data, programma.Formato_Data) : QString())
          << (p.valida && p.con_ora ? dataora::ScriviOra(p.minuti, programma.Formato_Ora) : QString())
          << TestoPrezzo(programma, mercato, prezzo);
}

// The rows of one kind: `riga(slot, oggetto)` gives the cells of an object in use.
template <typename T, typename Riga>
std::vector<RigaOggetto> righe(const std::array<T, 16> &oggetti, int limite, Riga riga)
{
    std::vector<RigaOggetto> r;
    for (int k = 1; k <= limite && k < int(oggetti.size()); ++k) {
        const T &o = oggetti[size_t(k)];
        if (o.in_uso && o.trovata)
            r.push_back(RigaOggetto{k, o.colore, riga(k, o)});
    }
    return r;
}

bool gradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }

}  // namespace

std::vector<RigaOggetto> Righe_Linee(const StatoProgramma &programma, const StatoMercato &mercato,
                                     const StatoCicli &cicli, const StatoDisegno &disegno, int grado)
{
    if (!gradoValido(grado))
        return {};
    return righe(disegno.Linee[size_t(grado)], costanti::Max_Linee, [&](int k, const Linea &l) {
        const DateOggetto d = Calcola_Date_Linea(mercato, cicli, disegno, grado, k);
        QStringList c;
        punto(c, programma, mercato, d.inizio, l.prezzo_inizio);
        c << QString();
        punto(c, programma, mercato, d.fine, l.prezzo_fine);
        return c;
    });
}

std::vector<RigaOggetto> Righe_Testi(const StatoProgramma &programma, const StatoMercato &mercato,
                                     const StatoCicli &cicli, const StatoDisegno &disegno, int grado)
{
    if (!gradoValido(grado))
        return {};
    return righe(disegno.Testi[size_t(grado)], costanti::Max_Testi, [&](int k, const Testo &t) {
        QStringList c;
        punto(c, programma, mercato, Calcola_Date_Testo(mercato, cicli, disegno, grado, k).inizio, t.prezzo);
        c << t.testo;
        return c;
    });
}

std::vector<RigaOggetto> Righe_Distanze(const StatoProgramma &programma, const StatoMercato &mercato,
                                        const StatoCicli &cicli, const StatoDisegno &disegno, int grado)
{
    if (!gradoValido(grado))
        return {};
    return righe(disegno.Distanze[size_t(grado)], costanti::Max_Distanze, [&](int k, const Distanza &di) {
        const DateOggetto d = Calcola_Date_Distanza(mercato, cicli, disegno, grado, k);
        QStringList c;
        punto(c, programma, mercato, d.inizio, di.prezzo_inizio);
        c << QString();
        punto(c, programma, mercato, d.fine, di.prezzo_fine);
        c << QString() << di.durata;
        return c;
    });
}

}  // namespace disegno

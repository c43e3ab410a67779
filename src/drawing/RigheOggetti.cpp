#include "drawing/RigheOggetti.h"

#include "archive/ArchivioOggetti.h"
#include "drawing/ArchivioComune.h"
#include "drawing/Coordinate.h"
#include "drawing/DateOggetti.h"
#include "drawing/OggettiGrafici.h"
#include "drawing/StatoDisegno.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

namespace disegno {

namespace {

void punto(QStringList &celle, const StatoProgramma &programma, const StatoMercato &mercato, const DataPunto &p,
           double prezzo)
{
    celle << (p.valida ? dataora::ScriviData(p.data, programma.Formato_Data) : QString())
          << (p.valida && p.con_ora ? dataora::ScriviOra(p.minuti, programma.Formato_Ora) : QString())
          << TestoPrezzo(programma, mercato, prezzo);
}

// A waiting object's bar is not on the chart: its point is shown from the stored
// columns C<prima> (date), C<prima+1> (time), C<prima+2> (price) as a placed one's.
class PuntiSalvati {
public:
    PuntiSalvati(const StatoProgramma &programma, const StatoMercato &mercato, int grado)
        : m_programma(programma), m_mercato(mercato), m_grado(grado), m_anno(dataora::AnnoCorrente())
    {
    }
    QString campo(const ::RigaOggetto &riga, int colonna) const
    {
        return archivio::CampoRiga(riga, QStringLiteral("C%1").arg(colonna));
    }
    void punto(QStringList &celle, const ::RigaOggetto &riga, int prima) const
    {
        const auto t = archivio::LeggiTempoArchivio(m_grado, campo(riga, prima), campo(riga, prima + 1), m_anno);
        const QString prezzo = campo(riga, prima + 2);
        const auto numero = vb::LeggiNumero(prezzo);
        const bool conOra = t && !archivio::GradoGiornalieroArchivio(m_grado);
        celle << (t ? dataora::ScriviData(t->first, m_programma.Formato_Data) : QString())
              << (conOra ? dataora::ScriviOra(t->second, m_programma.Formato_Ora) : QString())
              << (numero ? TestoPrezzo(m_programma, m_mercato, *numero) : prezzo);
    }

private:
    const StatoProgramma &m_programma;
    const StatoMercato &m_mercato;
    int m_grado;
    int m_anno;
};

// The rows of one kind (tipo 1 lines, 2 texts, 3 distances) in slot order:
// `riga(slot, oggetto)` gives the cells of a placed object, `attesa(riga)` those of
// one waiting for its bars, colonnaColore the column of its stored colour code.
template <typename T, typename Riga, typename Attesa>
std::vector<RigaOggetto> righe(const StatoMercato &mercato, int grado, int tipo, const std::array<T, 16> &oggetti,
                               const std::array<::RigaOggetto, 16> &inAttesa, int limite, int colonnaColore, Riga riga,
                               Attesa attesa)
{
    std::vector<RigaOggetto> r;
    for (int k = 1; k <= limite && k < int(oggetti.size()); ++k) {
        const T &o = oggetti[size_t(k)];
        const ::RigaOggetto &salvata = inAttesa[size_t(k)];
        if (o.in_uso && o.trovata)
            r.push_back(RigaOggetto{k, o.colore, riga(k, o), false});
        else if (!salvata.empty())
            r.push_back(RigaOggetto{
                k, tabelle::CodiceColoreOggetto(archivio::CampoRiga(salvata, QStringLiteral("C%1").arg(colonnaColore))),
                attesa(salvata), true, Non_Tornera(mercato, grado, tipo, salvata)});
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
    const PuntiSalvati salvati(programma, mercato, grado);
    return righe(
        mercato, grado, 1, disegno.Linee[size_t(grado)], disegno.Linee_In_Attesa[size_t(grado)], costanti::Max_Linee, 7,
        [&](int k, const Linea &l) {
            const DateOggetto d = Calcola_Date_Linea(mercato, cicli, disegno, grado, k);
            QStringList c;
            punto(c, programma, mercato, d.inizio, l.prezzo_inizio);
            c << QString();
            punto(c, programma, mercato, d.fine, l.prezzo_fine);
            return c;
        },
        [&](const ::RigaOggetto &riga) {
            QStringList c;
            salvati.punto(c, riga, 1);
            c << QString();
            salvati.punto(c, riga, 4);
            return c;
        });
}

std::vector<RigaOggetto> Righe_Testi(const StatoProgramma &programma, const StatoMercato &mercato,
                                     const StatoCicli &cicli, const StatoDisegno &disegno, int grado)
{
    if (!gradoValido(grado))
        return {};
    const PuntiSalvati salvati(programma, mercato, grado);
    return righe(
        mercato, grado, 2, disegno.Testi[size_t(grado)], disegno.Testi_In_Attesa[size_t(grado)], costanti::Max_Testi, 5,
        [&](int k, const Testo &t) {
            QStringList c;
            punto(c, programma, mercato, Calcola_Date_Testo(mercato, cicli, disegno, grado, k).inizio, t.prezzo);
            c << t.testo;
            return c;
        },
        [&](const ::RigaOggetto &riga) {
            QStringList c;
            salvati.punto(c, riga, 1);
            c << salvati.campo(riga, 4);
            return c;
        });
}

std::vector<RigaOggetto> Righe_Distanze(const StatoProgramma &programma, const StatoMercato &mercato,
                                        const StatoCicli &cicli, const StatoDisegno &disegno, int grado)
{
    if (!gradoValido(grado))
        return {};
    const PuntiSalvati salvati(programma, mercato, grado);
    return righe(
        mercato, grado, 3, disegno.Distanze[size_t(grado)], disegno.Distanze_In_Attesa[size_t(grado)],
        costanti::Max_Distanze, 7,
        [&](int k, const Distanza &di) {
            const DateOggetto d = Calcola_Date_Distanza(mercato, cicli, disegno, grado, k);
            QStringList c;
            punto(c, programma, mercato, d.inizio, di.prezzo_inizio);
            c << QString();
            punto(c, programma, mercato, d.fine, di.prezzo_fine);
            c << QString() << di.durata;
            return c;
        },
        [&](const ::RigaOggetto &riga) {
            QStringList c;
            salvati.punto(c, riga, 1);
            c << QString();
            salvati.punto(c, riga, 4);
            c << QString() << salvati.campo(riga, 11);
            return c;
        });
}

}  // namespace disegno

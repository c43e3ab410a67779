#include "archive/StatoArchivio.h"
#include "cycle/DurataTesto.h"
#include "cycle/PosizioneBarra.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/TestiCiclo.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

namespace ciclo {

namespace {

// Date and time of history row `riga` as the series shows them; empty when missing.
bool testoBarra(const StatoProgramma &programma, const StatoMercato &mercato, int grado, int riga, QString &testo)
{
    const SerieStorico &serie = posizione::SerieDelGrado(mercato, grado);
    if (!serie.valida(riga) || !serie.barra(riga).data.isValid())
        return false;
    const BarraStorico &b = serie.barra(riga);
    testo = dataora::ScriviData(b.data, programma.Formato_Data) + QLatin1Char(' ')
            + dataora::ScriviOra(b.minuti, programma.Formato_Ora);
    return true;
}

bool testoFuturo(const StatoProgramma &programma, const StatoCicli &cicli, int grado, int entrata, QString &testo)
{
    const auto &tempi = cicli.Tempi_Futuri[size_t(grado)];
    if (entrata < 1 || entrata > int(tempi.size()) || !tempi[size_t(entrata - 1)].data.isValid())
        return false;
    const TempoFuturo &t = tempi[size_t(entrata - 1)];
    // The daily future axis holds dates only.
    const QString ora = posizione::GradoGiornaliero(grado) ? QString()
                                                           : dataora::ScriviOra(t.minuti, programma.Formato_Ora);
    testo = dataora::ScriviData(t.data, programma.Formato_Data) + QLatin1Char(' ') + ora;
    return true;
}

}  // namespace

TestiCiclo Componi_Testi_Ciclo(const StatoProgramma &programma, const StatoArchivio &archivio,
                               const StatoMercato &mercato, const StatoCicli &cicli, int grado)
{
    TestiCiclo t;
    if (grado < 0 || grado > costanti::Max_Grado)
        return t;
    const size_t g = size_t(grado);
    const double durata = cicli.Durata[g];
    const int barre = cicli.Barre_Ciclo[g];
    auto durataTesto = [&](int n) { return ciclo::Converti_Durata_Testo(cicli, archivio, grado, n); };

    t.durata = durataTesto(vb::CInt(durata));

    t.inizio = QStringLiteral(" Data Inizio Ciclo: ")
               + dataora::ScriviData(cicli.Data_Inizio_Ciclo[g], programma.Formato_Data) + QLatin1Char(' ')
               + dataora::ScriviOra(cicli.Ora_Inizio_Ciclo[g], programma.Formato_Ora);

    QString quando;
    if (durata > barre) {
        // A fractional duration less than half a bar ahead ends on the newest bar.
        const int n = vb::CInt(durata - barre);
        t.fineValida = n <= 0 ? testoBarra(programma, mercato, grado, 1, quando)
                              : testoFuturo(programma, cicli, grado, n, quando);
    } else if (durata < barre) {
        t.fineValida = testoBarra(programma, mercato, grado, vb::CInt(barre - durata + 1), quando);
    } else {
        t.fineValida = testoBarra(programma, mercato, grado, 1, quando);
    }
    if (t.fineValida)
        t.fine = QStringLiteral("Data Fine Ciclo: ") + quando;

    if (barre > durata)
        t.trascorso = QStringLiteral(" Ciclo Iniziato da: Terminato");
    else
        t.trascorso = QStringLiteral(" Ciclo Iniziato da: ") + durataTesto(barre) + QStringLiteral("  ");

    const int residuo = vb::CInt(durata - barre);
    if (residuo <= 0)
        t.residuo = QStringLiteral("Termine al Ciclo: Terminato");
    else
        t.residuo = QStringLiteral("Termine al Ciclo: -") + durataTesto(residuo);
    return t;
}

void Scrivi_Testi_Ciclo(ContestoGrafico &c)
{
    const TestiCiclo t = Componi_Testi_Ciclo(c.programma, c.archivio, c.mercato, c.cicli, c.grado);
    const QString font = QStringLiteral("Font=Arial|8|bold|");
    const double E = c.Estensione_Grafico;
    // Kept clear of one another: on a narrow chart a pair sharing a line would meet.
    auto scrivi = [&](const QString &testo, double x, double y, int allineamento, int colore, bool valido = true) {
        c.ctl.Nuova_Serie(QString());
        if (valido)
            c.ctl.Aggiungi_Testo(testo, x, y, allineamento, font, c.Colore(colore), 0, 2);
    };
    scrivi(t.durata, c.cicli.Durata[size_t(c.grado)], 9, 2, 81);
    scrivi(t.inizio, 1, 28, 0, 81);
    scrivi(t.fine, E, 28, 2, 81, t.fineValida);
    scrivi(t.trascorso, 1, 26.5, 0, 12);
    scrivi(t.residuo, E, 26.5, 2, 82);
}

}  // namespace ciclo

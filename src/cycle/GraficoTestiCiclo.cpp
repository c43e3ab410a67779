#include "Stato.h"
#include "cycle/DurataTesto.h"
#include "cycle/PosizioneBarra.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/TestiCiclo.h"
#include "platform/DataOra.h"
#include "platform/VbRuntime.h"

namespace {

// Date and time of history row `riga` as the series shows them; empty when missing.
bool testoBarra(const Stato &stato, int grado, int riga, QString &testo)
{
    const SerieStorico &serie = posizione::SerieDelGrado(stato.mercato, grado);
    if (!serie.valida(riga) || !serie.barra(riga).data.isValid())
        return false;
    const BarraStorico &b = serie.barra(riga);
    testo = dataora::ScriviData(b.data, stato.shell.Formato_Data) + QLatin1Char(' ')
            + dataora::ScriviOra(b.minuti, stato.shell.Formato_Ora);
    return true;
}

bool testoFuturo(const Stato &stato, int grado, int entrata, QString &testo)
{
    const auto &tempi = stato.cicli.Tempi_Futuri[size_t(grado)];
    if (entrata < 1 || entrata > int(tempi.size()) || !tempi[size_t(entrata - 1)].data.isValid())
        return false;
    const TempoFuturo &t = tempi[size_t(entrata - 1)];
    // The daily future axis holds dates only.
    const QString ora = posizione::GradoGiornaliero(grado) ? QString()
                                                           : dataora::ScriviOra(t.minuti, stato.shell.Formato_Ora);
    testo = dataora::ScriviData(t.data, stato.shell.Formato_Data) + QLatin1Char(' ') + ora;
    return true;
}

}  // namespace

TestiCiclo Componi_Testi_Ciclo(const Stato &stato, int grado)
{
    TestiCiclo t;
    if (grado < 0 || grado > costanti::Max_Grado)
        return t;
    const size_t g = size_t(grado);
    const StatoCicli &cicli = stato.cicli;
    const double durata = cicli.Durata[g];
    const int barre = cicli.Barre_Ciclo[g];
    auto durataTesto = [&](int n) { return ciclo::Converti_Durata_Testo(cicli, stato.archivio, grado, n); };

    t.durata = durataTesto(vb::CInt(durata));

    t.inizio = QStringLiteral(" Data Inizio Ciclo: ")
               + dataora::ScriviData(cicli.Data_Inizio_Ciclo[g], stato.shell.Formato_Data) + QLatin1Char(' ')
               + dataora::ScriviOra(cicli.Ora_Inizio_Ciclo[g], stato.shell.Formato_Ora);

    QString quando;
    if (durata > barre) {
        // A fractional duration less than half a bar ahead ends on the newest bar.
        const int n = vb::CInt(durata - barre);
        t.fineValida = n <= 0 ? testoBarra(stato, grado, 1, quando) : testoFuturo(stato, grado, n, quando);
    } else if (durata < barre) {
        t.fineValida = testoBarra(stato, grado, vb::CInt(barre - durata + 1), quando);
    } else {
        t.fineValida = testoBarra(stato, grado, 1, quando);
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
    const TestiCiclo t = Componi_Testi_Ciclo(c.stato, c.grado);
    const QString font = QStringLiteral("Font=Arial|8|bold|");
    const double E = c.Estensione_Grafico;
    auto scrivi = [&](const QString &testo, double x, double y, int allineamento, int colore, bool valido = true) {
        c.ctl.Nuova_Serie(QString());
        if (valido)
            c.ctl.Aggiungi_Testo(testo, x, y, allineamento, font, c.Colore(colore), 0, 0);
    };
    scrivi(t.durata, c.stato.cicli.Durata[size_t(c.grado)], 9, 2, 81);
    scrivi(t.inizio, 1, 28, 0, 81);
    scrivi(t.fine, E, 28, 2, 81, t.fineValida);
    scrivi(t.trascorso, 1, 26.5, 0, 12);
    scrivi(t.residuo, E, 26.5, 2, 82);
}

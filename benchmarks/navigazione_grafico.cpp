// One step of a cycle-position scroll bar, as a drag through the chart makes
// many: the drawing objects' shift, the cycle start, the future axis, the save of
// the start into the archive and the chart build. Also the step alone without the
// chart build, to show what the save costs.

#include "Bench.h"
#include "GraficoBench.h"

#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "chart/ModelloGrafico.h"
#include "cycle/BarreGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/Colori.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/NavigazioneGrafico.h"
#include "cycle/SalvaParametro.h"
#include "cycle/TempiFuturi.h"
#include "drawing/OggettiGrafici.h"
#include "shell/DisegnaGrafico.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

class Ambiente : public AmbienteNavigazione {
public:
    explicit Ambiente(Stato &s) : stato(s) {}
    ControlliGrafici &Controlli() override { return controlli; }
    BarraScorrimento *Sld_Zoom() override { return nullptr; }
    BarraScorrimento *Sld_Compr() override { return nullptr; }
    void Disegna_Grafico(int grafico, int grado) override
    {
        if (disegna)
            finestra::Disegna_Grafico(stato, controlli, grafico, grado);
    }
    void Sposta_Disegni_AsseX() override
    {
        disegno::Sposta_Disegni_AsseX(stato.shell, stato.cicli, stato.disegno, controlli);
    }
    bool Profilo_Volumi_Attivo(int grado) const override { return stato.indicatori.Ind_Attivo[size_t(grado)][19] == 1; }
    void Calcola_Profilo_Volumi(int, int) override {}
    void Mostra_Caricamento_Indicatore(int, int) override {}
    bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
                         archivio::Codice_Modifica codice, int grado, QString &errore) override
    {
        return ciclo::Salva_Parametro(programma, archivio, cicli, codice, grado, &errore);
    }
    void Mostra_Errore(const QString &testo) override { std::fprintf(stderr, "%s\n", qPrintable(testo)); }

    Stato &stato;
    ControlliBench controlli;
    bool disegna = true;
};


}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());
    if (!archivio::Crea_Archivi().ok) {
        std::fprintf(stderr, "archive files not created\n");
        return 1;
    }

    auto stato = std::make_unique<Stato>();
    Stato &s = *stato;
    s.shell.Blocco_Grafici = false;
    s.archivio.Sottostante_Corrente = 2;
    StatoCicli &c = s.cicli;
    ciclo::Inizializza_Tabelle_Cicli(c);
    PreparaSessioneBench(s);
    const int grado = 4;
    c.Durata[grado] = 1000;
    c.Compressione[grado] = 10;
    c.Scostamento_Ciclo[grado] = 10 * c.Compressione_Grado[grado];
    c.Barre_Ciclo[grado] = 1000;
    c.Tempi[grado] = 20;
    c.Sottocicli[grado] = 6;
    c.Prop_Battleplan[grado] = 1.5;
    c.Zoom[grado] = 7;
    c.Posizione_Asse_Y[grado] = 50;
    c.Griglia_1[grado] = 1;
    c.Griglia_2[grado] = 1;
    c.Conf_Grafici[0] = {1, grado, 0};
    ciclo::Calcola_Battleplan(c, grado);
    ciclo::Calcola_Data_Inizio_Ciclo(c, s.mercato, grado);
    ciclo::Calcola_Tempi_Futuri_Grado(c, s.mercato, grado);

    Ambiente ambiente(s);
    NavigazioneGrafico nav(s.shell, s.archivio, s.mercato, s.cicli, ambiente);
    ciclo::Imposta_Barre_Grafico(s.shell, s.cicli, ambiente.controlli, 0, grado);
    s.disegno.Barre_Ciclo_Oggetti[grado] = c.Barre_Ciclo[grado];

    int passo = 0;
    const auto unPasso = [&] {
        ambiente.controlli.x.Imposta_Valore(1000 + (passo++ % 2 == 0 ? -1 : 0));
        nav.Hsc_Graf_Change(0);
    };
    MisuraMediana(QStringLiteral("navigazione_passo_ciclo"), unPasso);
    ambiente.disegna = false;
    MisuraMediana(QStringLiteral("navigazione_passo_ciclo_senza_disegno"), unPasso);
    return 0;
}

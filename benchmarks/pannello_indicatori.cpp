// A tick in the indicator panel of the real window, from the click to the
// repainted chart: the item computed, its switch saved, the chart drawn again.
// The enlarged chart is the one with the widest X extent of the underlying,
// its cycle start as far back as it goes and every other item already on;
// each item is ticked in turn.

#include "Bench.h"
#include "DialoghiBench.h"
#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "indicators/ui/PannelloIndicatori.h"
#include "chart/ui/GraficoWidget.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/RiquadroGrafico.h"
#include "simulatore/GeneratoreStorico.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<FormS1> avvia(FinestraOperativa *&op)
{
    auto form = std::make_unique<FormS1>();
    op = finestra::Prepara_Finestra_Operativa(*form);
    op->Sequenza().Fattore_Pause = 0;
    op->Imposta_Dialoghi(std::make_unique<FallimentiStampati>());
    if (!form->Form_Load())
        return nullptr;
    form->show();
    form->Cmd_OffLine_Click();
    if (form->S().shell.Blocco_Grafici)
        return nullptr;
    return form;
}

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("WAVELORE_AVVISI_AUTOMATICI", "1");
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());
    QApplication app(argc, argv);

    archivio::Crea_Archivi();
    StatoArchivio tab;
    archivio::Inizializza_Tab_Sottostanti(tab);
    for (int u = 1; u <= 7; ++u) {
        generatore::Parametri p;
        p.sottostante = tab.Tab_Sottostanti[size_t(u)];
        p.seme = quint64(u);
        generatore::ScriviFileLocali(generatore::Genera(p), u);
    }

    // A first start finds the widest chart and puts it in a slot.
    int grado = 0;
    int slot = 0;
    {
        FinestraOperativa *op = nullptr;
        auto form = avvia(op);
        if (!form)
            return 1;
        const Stato &s = form->S();
        double massimo = -1;
        for (int d = 0; d <= 12; ++d) {
            const double estensione = s.cicli.Durata[size_t(d)] + s.cicli.Scostamento_Ciclo[size_t(d)];
            if (estensione > massimo) {
                massimo = estensione;
                grado = d;
            }
        }
        const int u = s.archivio.Sottostante_Corrente;
        for (int k = 0; k < 4; ++k)
            if (s.cicli.Conf_Grafici[size_t(k)].grado == grado)
                slot = k;
        archivio::Connessione c3(archivio::FileArchivio::Sistema3);
        if (s.cicli.Conf_Grafici[size_t(slot)].grado != grado)
            (void)c3.Aggiorna(QStringLiteral("TABGRAF"), QStringLiteral("C5"), u, QString::number(grado));
        archivio::Connessione c2(archivio::FileArchivio::Sistema2);
        for (int n = 1; n <= 23; ++n)
            (void)c2.Aggiorna(QStringLiteral("TAB%1").arg(grado), QStringLiteral("C%1").arg(n), u,
                        n == 7 ? QStringLiteral("50") : n == 8 ? QStringLiteral("200") : QStringLiteral("1"));
    }

    FinestraOperativa *op = nullptr;
    auto form = avvia(op);
    if (!form || form->S().cicli.Conf_Grafici[size_t(slot)].grado != grado)
        return 1;
    op->Layout().Cmd_GRaf_P_Click(slot);
    // The cycle start as far back as it goes: every line spans the whole extent.
    QScrollBar *hsc = op->Area()->Frm_Graf[size_t(slot)]->Hsc_Graf;
    hsc->setValue(hsc->maximum());
    PannelloIndicatori *pannello = op->Area()->Pannello_Indicatori;
    GraficoWidget *grafico = op->Area()->Frm_Graf[size_t(slot)]->Graf_Battleplan;
    struct Avvisi : AvvisiIndicatori {
        void Segnale_Acustico() override {}
        void Errore_Salvataggio(const QString &e) override { std::fprintf(stderr, "%s\n", qPrintable(e)); }
    };
    pannello->Imposta_Avvisi(std::make_unique<Avvisi>());

    std::vector<double> tempi;
    for (int giro = 0; giro < 3; ++giro)
        for (int k = 0; k < 20; ++k) {
            QCheckBox *c = pannello->Chk_Ind_Adattivi[size_t(k)];
            if (!c->isChecked())
                return 1;
            c->click();  // off, not timed
            QElapsedTimer t;
            t.start();
            c->click();
            grafico->repaint();
            const double ms = double(t.nsecsElapsed()) / 1e6;
            if (giro > 0)
                tempi.push_back(ms);
        }
    std::sort(tempi.begin(), tempi.end());
    StampaBench(QStringLiteral("pannello_indicatori_spunta"), tempi[tempi.size() / 2], QStringLiteral("ms"));
    size_t punti = 0;
    for (const SerieGrafico &s : grafico->serie())
        punti += s.punti.size();
    std::printf("# degree %d, %d bars in the cycle, %zu points drawn, slowest tick %.3f ms\n", grado,
                form->S().cicli.Barre_Ciclo[size_t(grado)], punti, tempi.back());
    return 0;
}

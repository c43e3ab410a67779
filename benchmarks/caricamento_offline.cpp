// The OFFLINE load of the working window without the sequence's fixed pauses:
// local files read, cycle model, indicators, four charts drawn, window set up.

#include "Bench.h"
#include "DialoghiBench.h"
#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "simulatore/GeneratoreStorico.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelliFinestra.h"
#include "shell/ui/PannelloQuotazioni.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("WAVELORE_AVVISI_AUTOMATICI", "1");
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());
    QApplication app(argc, argv);

    archivio::Crea_Archivi();
    // Every indicator switched on, so the load computes and draws them all.
    {
        archivio::Connessione c(archivio::FileArchivio::Sistema2);
        for (int d = 0; d <= 12; ++d)
            for (int u = 1; u <= 7; ++u)
                for (int n = 1; n <= 23; ++n)
                    (void)c.Aggiorna(QStringLiteral("TAB%1").arg(d), QStringLiteral("C%1").arg(n), u,
                                     n == 7 || n == 8 ? QStringLiteral("20") : QStringLiteral("1"));
    }
    StatoArchivio tab;
    archivio::Inizializza_Tab_Sottostanti(tab);
    for (int u : {2, 3}) {
        generatore::Parametri p;
        p.sottostante = tab.Tab_Sottostanti[size_t(u)];
        p.seme = quint64(u);
        generatore::ScriviFileLocali(generatore::Genera(p), u);
    }

    // First start: a fresh window each time, timed from the OFFLINE click to the working window.
    std::vector<double> avvio;
    for (int i = 0; i < 8; ++i) {
        auto form = std::make_unique<FormS1>();
        FinestraOperativa *op = finestra::Prepara_Finestra_Operativa(*form);
        op->Sequenza().Fattore_Pause = 0;
        op->Imposta_Dialoghi(std::make_unique<FallimentiStampati>());
        if (!form->Form_Load())
            return 1;
        form->show();
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        form->Cmd_OffLine_Click();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        if (form->S().shell.Blocco_Grafici)
            return 1;
        if (i >= 2)
            avvio.push_back(ms);
    }
    std::sort(avvio.begin(), avvio.end());
    StampaBench(QStringLiteral("caricamento_offline"), avvio[avvio.size() / 2], QStringLiteral("ms"));

    // A change of underlying on the working window: the same sequence without the window set-up.
    FormS1 form;
    FinestraOperativa *op = finestra::Prepara_Finestra_Operativa(form);
    op->Sequenza().Fattore_Pause = 0;
    if (!form.Form_Load())
        return 1;
    form.show();
    form.Cmd_OffLine_Click();
    int prossimo = 2;
    bool completo = true;
    MisuraMediana(QStringLiteral("caricamento_offline_cambio"), [&] {
        op->Sottostante().Imposta_Sottostante_Offline(prossimo);
        completo = completo && !form.S().shell.Blocco_Grafici && form.S().archivio.Sottostante_Corrente == prossimo + 1;
        prossimo = prossimo == 2 ? 1 : 2;
    });
    if (!completo)
        return 1;

    // The picture of the enlarged chart, from the button to the file written.
    op->Layout().Cmd_GRaf_P_Click(0);
    auto *pannelli = form.findChild<PannelliFinestra *>(QStringLiteral("PannelliFinestra"));
    if (!pannelli)
        return 1;
    const QString file = cartella.filePath(QStringLiteral("grafico.bmp"));
    struct Dialoghi : DialoghiPannelli {
        const QString &file;
        explicit Dialoghi(const QString &f) : file(f) {}
        QString Scegli_File(const QString &) override { return file; }
        void Errore(const QString &t) override { std::fprintf(stderr, "%s\n", qPrintable(t)); }
    };
    pannelli->Imposta_Dialoghi(std::make_unique<Dialoghi>(file));
    MisuraMediana(QStringLiteral("immagine_grafico_grande"), [&] { pannelli->Cmd_Foto_Click(0); });
    return QFile::exists(file) ? 0 : 1;
}

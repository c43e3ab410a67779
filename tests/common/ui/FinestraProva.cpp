#include "FinestraProva.h"

#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

QPoint PuntoCasella(const QAbstractButton *casella)
{
    QStyleOptionButton opzione;
    opzione.initFrom(casella);
    const bool opzioneRadio = qobject_cast<const QRadioButton *>(casella) != nullptr;
    return casella->style()
        ->subElementRect(opzioneRadio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opzione, casella)
        .center();
}

bool GeneraStoricoLocale(int sottostante)
{
    StatoArchivio a;
    archivio::Inizializza_Tab_Sottostanti(a);
    generatore::Parametri p;
    p.sottostante = a.Tab_Sottostanti[size_t(sottostante)];
    p.seme = quint64(sottostante);
    return generatore::ScriviFileLocali(generatore::Genera(p), sottostante).ok;
}

FinestraProva::FinestraProva() : form(std::make_unique<FormS1>())
{
    op = Prepara_Finestra_Operativa(*form);
    sessione = Prepara_Sessione_Online(*form, *op);
    op->Sequenza().Fattore_Pause = 0;
    op->Fallimento = [this](const QString &m) { fallimenti << m; };
    op->Avviso_Caricamento = [this](const QString &m) { avvisi << m; };
    form->uscita.Termina = [](int) {};
}

FinestraProva::~FinestraProva() = default;

bool FinestraProva::Carica()
{
    if (!form->Form_Load())
        return false;
    form->show();
    return true;
}

bool FinestraProva::AvviaOffline()
{
    if (!Carica())
        return false;
    QTest::mouseClick(form->Frm_Avvio->Cmd_OffLine, Qt::LeftButton);
    return fallimenti.isEmpty();
}

#include "shell/ui/PannelloCicli.h"

#include "Stato.h"
#include "cycle/DurataTesto.h"
#include "platform/Schermo.h"
#include "shell/SceltaGradi.h"
#include "shell/ui/PannelloAvvio.h"

#include <QCheckBox>
#include <QMetaMethod>
#include <QFrame>

PannelloCicli::PannelloCicli(Stato &stato, QFrame *frmTipoCiclo)
    : QObject(frmTipoCiclo), Frm_Tipo_Ciclo(frmTipoCiclo), m_stato(stato)
{
    setObjectName(QStringLiteral("PannelloCicli"));
    Frm_Tipo_Ciclo->setFrameShape(QFrame::StyledPanel);
    double top = 120;
    size_t linea = 0;
    for (int d = 0; d < 13; ++d) {
        auto *c = new QCheckBox(Frm_Tipo_Ciclo);
        c->setObjectName(QStringLiteral("Chk_Battl_%1").arg(d));
        finestra::Piazza(c, 100, top, 2700, 270);
        top += Passo;
        if (nomi_gradi::Linea_Dopo(d) && linea < LineChkBattl.size()) {
            auto *l = new QFrame(Frm_Tipo_Ciclo);
            l->setObjectName(QStringLiteral("LineChkBattl_%1").arg(linea));
            l->setFrameShape(QFrame::NoFrame);
            l->setAutoFillBackground(true);
            l->setGeometry(schermo::TwipsInPixel(100), schermo::TwipsInPixel(top + (Spazio_Linea - 10) / 2),
                           schermo::TwipsInPixel(2700), 1);
            LineChkBattl[linea++] = l;
            top += Spazio_Linea;
        }
        connect(c, &QCheckBox::clicked, this, [this, d] {
            if (isSignalConnected(QMetaMethod::fromSignal(&PannelloCicli::Chk_Battl_Cliccato)))
                emit Chk_Battl_Cliccato(d);
            else
                Inizializza_Chk_Battl();
        });
        Chk_Battl[size_t(d)] = c;
    }
}

void PannelloCicli::Inizializza_Chk_Battl()
{
    for (QCheckBox *c : Chk_Battl) {
        const QSignalBlocker blocco(c);
        c->setEnabled(true);
        c->setChecked(false);
    }
    for (const SlotGrafico &s : m_stato.cicli.Conf_Grafici)
        if (s.in_uso == 1 && s.grado >= 0 && s.grado <= 12) {
            const QSignalBlocker blocco(Chk_Battl[size_t(s.grado)]);
            Chk_Battl[size_t(s.grado)]->setChecked(true);
        }
    Regola_Quattro_Gradi();
}

void PannelloCicli::Regola_Quattro_Gradi()
{
    std::array<bool, costanti::Num_Gradi> spuntati{};
    for (size_t d = 0; d < spuntati.size(); ++d)
        spuntati[d] = Chk_Battl[d]->isChecked();
    const auto abilitati = gradi::Chk_Abilitati(spuntati);
    for (size_t d = 0; d < abilitati.size(); ++d)
        if (!abilitati[d])
            Chk_Battl[d]->setEnabled(false);
}

void PannelloCicli::Aggiorna_Etichette_Gradi()
{
    for (int d = 0; d < 13; ++d)
        Chk_Battl[size_t(d)]->setText(ciclo::Didascalia_Grado(m_stato.cicli, m_stato.archivio, d));
}

void PannelloCicli::Colore_Linee(std::uint32_t coloreWin)
{
    for (QFrame *l : LineChkBattl) {
        QPalette p = l->palette();
        p.setColor(QPalette::Window, schermo::ColoreWin(coloreWin));
        l->setPalette(p);
    }
}

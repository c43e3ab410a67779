#pragma once

// The degree panel Frm_Tipo_Ciclo: one check box per cycle degree, ticked for
// the degrees the four chart slots show.

#include "platform/NomiGradi.h"

#include <QObject>
#include <array>
#include <cstdint>

struct Stato;
class QCheckBox;
class QFrame;

class PannelloCicli : public QObject {
    Q_OBJECT
public:
    PannelloCicli(Stato &stato, QFrame *frmTipoCiclo);

    QFrame *Frm_Tipo_Ciclo;
    std::array<QCheckBox *, 13> Chk_Battl{};
    // Separator lines under the boxes nomi_gradi::Linea_Dopo names, top down.
    std::array<QFrame *, nomi_gradi::Numero_Linee> LineChkBattl{};

    static constexpr double Passo = 280;        // one box row
    static constexpr double Spazio_Linea = 60;  // extra room for each line
    static constexpr double Larghezza = 2900;
    static constexpr double Altezza = 13 * Passo + nomi_gradi::Numero_Linee * Spazio_Linea + 250;

    // Values from Conf_Grafici without raising the boxes' click: all enabled and
    // cleared, the shown degrees ticked, the others disabled when four are ticked.
    void Inizializza_Chk_Battl();
    // Captions: degree label and cycle duration.
    void Aggiorna_Etichette_Gradi();
    // With exactly four degrees ticked, the unticked ones are disabled.
    void Regola_Quattro_Gradi();
    void Colore_Linee(std::uint32_t coloreWin);

signals:
    // The user ticked or cleared the box of a degree. Unanswered, a click puts the
    // box back to what the slots show.
    void Chk_Battl_Cliccato(int grado);

private:
    Stato &m_stato;
};

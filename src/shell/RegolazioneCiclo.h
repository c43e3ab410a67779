#pragma once

// The cycle controls of the tool frame, apart from their widgets: the Battleplan
// proportion, trend, sub-cycle and "Tempi" counts and the duration of the
// current degree. Each change stays within the degree's bounds, is saved at once
// with its letter code, recomputes what depends on it and redraws the slots that
// show the degree. A control at its bound does nothing at all.

#include "archive/ParametriCicli.h"

#include <QString>
#include <optional>

struct Stato;
class ControlliGrafici;

// What the handlers need of the window. Mostra_* write the display boxes
// Text_Prop_Battl, Text_Tend and Text_Dur.
class AmbienteRegolazione {
public:
    virtual ~AmbienteRegolazione() = default;
    // The slots' scroll bars.
    virtual ControlliGrafici &Controlli() = 0;
    virtual void Disegna_Grafico(int grafico, int grado) = 0;
    // The thirteen degree captions, which carry the durations.
    virtual void Aggiorna_Etichette_Gradi() = 0;
    // Timer_Indicatori switched off, and started again from its full interval.
    virtual void Ferma_Timer_Indicatori() = 0;
    virtual void Arma_Timer_Indicatori() = 0;
    // The resets by double-click first give the current chart the focus.
    virtual void Fuoco_Grafico(int grafico) = 0;
    virtual void Mostra_Prop_Battl(const QString &testo) = 0;
    virtual void Mostra_Tend(const QString &testo) = 0;
    virtual void Mostra_Dur(const QString &testo) = 0;
    // A setting the archive did not take; the controls then show the stored values again.
    virtual void Mostra_Errore(const QString &testo) = 0;
};

namespace regolazione {

inline constexpr int Max_Sottocicli = 6;
inline constexpr int Max_Tempi = 20;
inline constexpr double Max_Prop = 1.7;
inline constexpr double Min_Tendenza = -10;
inline constexpr double Max_Tendenza = 10;

enum class PassoDurata { M1, M2, M3, P1, P2, P3 };

// The duration a button gives from D for degree `grado`, within the degree's
// bounds [minimo, massimo]; nullopt when the button does nothing (M1 at the
// minimum, P1 at the maximum, M3 and P3 on the 5-minute degrees).
// primoSottostante: the first underlying, whose hourly steps are 9 and 90 bars.
std::optional<double> Durata_Passo(PassoDurata passo, int grado, double durata, double minimo, double massimo,
                                   bool primoSottostante, int barre15MGiorno);

// The proportion one step down or up; nullopt at the end. Kept on one decimal,
// so a value read back from the archive steps like the one saved.
std::optional<double> Prop_Passo(double proporzione, int passo);

// The text a combo box keeps after typing: `testo` when it is a number within
// 1..massimo, otherwise the current value.
QString Testo_Combo_Valido(const QString &testo, int attuale, int massimo);

}  // namespace regolazione

class RegolazioneCiclo {
public:
    RegolazioneCiclo(Stato &stato, AmbienteRegolazione &ambiente) : m_stato(stato), m_ambiente(ambiente) {}

    void Cmd_Prop_Battl_M1_Click();
    void Cmd_Prop_Battl_P1_Click();
    void Text_Prop_Battl_DblClick();
    void Cmd_Tend_M_Click();
    void Cmd_Tend_P_Click();
    void Text_Tend_DblClick();
    // An entry chosen from the list; a text that is not an entry changes nothing.
    void Cmb_Sottocicli_Click(const QString &testo);
    void Cmb_Tempi_Click(const QString &testo);
    // Typed text: what the box must show. Never stored by itself.
    QString Cmb_Sottocicli_Change(const QString &testo) const;
    QString Cmb_Tempi_Change(const QString &testo) const;

    void Cmd_Dur_Click(regolazione::PassoDurata passo);
    // Double-click on Text_Dur: the degree's standard duration.
    void Text_Dur_Reimposta();

private:
    // Grado_Corrente, or -1 when it or Grafico_Corrente is out of range.
    int Grado() const;
    // False, with the text to report, when the archive did not take it.
    bool Salva(archivio::Codice_Modifica codice, int grado, QString &errore);
    // `valore` becomes `nuovo` and is saved, the curve recomputed and the slots of the
    // degree redrawn; a value the archive refuses is put back.
    template <typename T>
    void Applica(T &valore, T nuovo, archivio::Codice_Modifica codice, int grado);
    void Ridisegna(int grado);
    // `prima`: the duration before the change.
    void Applica_Durata(int grado, bool minore, double prima);
    void Ricalcola_Durata(int grado);

    Stato &m_stato;
    AmbienteRegolazione &m_ambiente;
};

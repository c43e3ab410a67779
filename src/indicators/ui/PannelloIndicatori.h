#pragma once

// The indicator panel of the tool frame: the duration mode of the current
// degree's indicators, one switch per item beside its colour swatch, and the
// periods of the two user averages. Each change is saved at once and the
// current chart recomputed or redrawn; what the layout writes into the panel
// runs no handler and saves nothing.

#include "indicators/TabellaIndicatori.h"

#include <QFrame>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

struct StatoArchivio;
struct StatoCicli;
struct StatoIndicatori;
struct StatoProgramma;
class AmbienteIndicatori;
class MotoreIndicatori;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// What the panel tells the user (a beep and a warning unless replaced).
class AvvisiIndicatori {
public:
    virtual ~AvvisiIndicatori() = default;
    // A refused character in a period box.
    virtual void Segnale_Acustico() = 0;
    // A setting the archive did not take.
    virtual void Errore_Salvataggio(const QString &errore) = 0;
};

class PannelloIndicatori : public QFrame {
    Q_OBJECT
public:
    PannelloIndicatori(StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
                       StatoIndicatori &indicatori, MotoreIndicatori &motore, AmbienteIndicatori &ambiente,
                       QWidget *parent = nullptr);

    // (0) "Standard", (1) "Adattivi".
    std::array<QRadioButton *, 2> Opt_Val_Indicatori{};
    std::array<QCheckBox *, indicatori::Num_Item> Chk_Ind_Adattivi{};
    std::array<QLabel *, indicatori::Num_Item> Lbl_Color_ind{};
    // The periods of items 4 and 5, each on its item's row followed by "per.".
    std::array<QLineEdit *, 2> Text_Val_Ind{};
    std::array<QLabel *, 2> Lbl_Desc_Val_Ind{};

    void Opt_Val_Indicatori_Click(int index);
    void Chk_Ind_Adattivi_Click(int index);
    void Text_Val_Ind_Change(int index);

    // The degree's values as the one-chart layout shows them: the selected mode
    // option, whether item 19 is offered, the switches, the two periods and the
    // swatch colours (Windows colour values).
    void Riempi(int opzione, bool item19Visibile, const std::array<int, indicatori::Num_Item> &attivi,
                const std::array<QString, 2> &periodi, const std::array<std::uint32_t, indicatori::Num_Item> &colori);

    // Until given (or given none): the platform's beep and a warning over the window.
    void Imposta_Avvisi(std::unique_ptr<AvvisiIndicatori> avvisi);

    // The longest user period: no series has more bars.
    static constexpr int Periodo_Massimo = 5000;
    // Design size in twips: the mode options, then one row per item.
    static constexpr double Passo = 220;
    static constexpr double Larghezza = 3000;
    static constexpr double Altezza = 300 + indicatori::Num_Item * Passo + 60;

    // Whether a period box may hold `testo`, given the text it held before and the
    // caret after the edit: empty, or a whole number of bars 1..Periodo_Massimo
    // that was not lengthened by a character typed in front.
    static bool Periodo_Accettabile(const QString &testo, const QString &prima, int cursore);

private:
    void salva(int grado, int chiave);
    bool salvato(int grado, int chiave, QString &errore);
    void segnala(const QString &errore);

    StatoProgramma &m_programma;
    const StatoArchivio &m_archivio;
    const StatoCicli &m_cicli;
    StatoIndicatori &m_indicatori;
    MotoreIndicatori &m_motore;
    AmbienteIndicatori &m_ambiente;
    // The text each period box held after its last accepted change or fill.
    std::array<QString, 2> m_accettato;
    std::unique_ptr<AvvisiIndicatori> m_avvisi;
    bool m_inCorrezione = false;
};

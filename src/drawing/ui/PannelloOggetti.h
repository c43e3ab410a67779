#pragma once

// The objects panel Frm_Ogg_Graf: the lines, texts and distances of a degree in
// three grids, each object with its dates, prices and colour and a delete button
// over its row; those waiting for bars beyond the chart too, in grey. The panel
// keeps the degree it was opened on, so a delete button always acts on the object
// its row shows.

#include "drawing/RigheOggetti.h"
#include "drawing/StatoDisegno.h"
#include "drawing/ui/ServiziStrumenti.h"

#include <QFrame>
#include <array>

class AmbienteStrumenti;
class QStyle;
class QTableWidget;
class QToolButton;

class PannelloOggetti : public QFrame {
    Q_OBJECT
public:
    PannelloOggetti(StatoStrumenti stato, AmbienteStrumenti &ambiente, QWidget *parent);

    QTableWidget *Msf_Linee;
    QTableWidget *Msf_Testi;
    QTableWidget *Msf_Dist;
    std::array<QToolButton *, 15> Cmd_Canc_Linee{};
    std::array<QToolButton *, 15> Cmd_Canc_Testi{};
    std::array<QToolButton *, 15> Cmd_Canc_Distanze{};
    QToolButton *Cmd_Esci_Ogg_Graf;

    void Imposta_Layout_Oggetti_Graf();
    void Aggiorna_Griglia_Linee();
    void Aggiorna_Griglia_Testi();
    void Aggiorna_Griglia_Distanze();
    void Cmd_Oggetti_Graf_Click();
    void Cmd_Esci_Ogg_Graf_Click();
    void Cmd_Canc_Linee_Click(int indice);
    void Cmd_Canc_Testi_Click(int indice);
    void Cmd_Canc_Distanze_Click(int indice);
    int Grado() const { return m_grado; }

signals:
    // Opened (true: the window holds the underlying and degree frames and the
    // chat) or closing (false: it gives them back); once closed the current
    // chart is redrawn through AmbienteStrumenti.
    void Aperto(bool aperto);

private:
    using Pulsanti = std::array<QToolButton *, 15>;
    // Header groups: first and last column, text.
    struct Intestazione {
        int da, a;
        QString testo;
    };
    QTableWidget *creaGriglia(const QString &nome, const QString &nomePulsanti, Pulsanti &pulsanti,
                              void (PannelloOggetti::*cancella)(int));
    void disponi(QTableWidget *g, Pulsanti &pulsanti, double top, double left, double width,
                 const std::vector<int> &larghezze, const std::vector<Intestazione> &intestazioni);
    void riempi(QTableWidget *g, Pulsanti &pulsanti, const std::vector<int> &spaziatori,
                const std::vector<disegno::RigaOggetto> &righe);
    void svuota(QTableWidget *g, Pulsanti &pulsanti, const std::vector<int> &spaziatori);
    void riempiRiga(QTableWidget *g, int r, const std::vector<int> &spaziatori, const disegno::RigaOggetto &o);
    template <typename T>
    void cancella(QTableWidget *g, int indice, SlotOggetti<T> &tabella, SlotOggetti<::RigaOggetto> &inAttesa,
                  bool (AmbienteStrumenti::*salva)(int, int, QString &), void (PannelloOggetti::*aggiorna)(),
                  const QString &nonCancellato);

    StatoStrumenti m_stato;
    AmbienteStrumenti &m_ambiente;
    QStyle *m_stile = nullptr;  // the grids' narrow cell margins
    int m_grado = 0;
};

#pragma once

// What the working window shows, computed apart from the widgets: its title,
// the history grids' cells, and which charts get the pointer mode.

#include "platform/Costanti.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

struct Stato;
struct SlotGrafico;

namespace finestra {

using costanti::Indirizzo_Web;

// Any mode but exactly "ONLINE" counts as offline.
QString Titolo_Finestra(const QString &modalita, const QString &versione);

// Per slot 0..3: the pointer mode to give its chart (1 on, 0 off), or nothing
// for a slot not in use or showing a degree outside 0..12.
std::array<std::optional<int>, 4> Opzione_Grafici(const std::array<SlotGrafico, 4> &confGrafici,
                                                   const std::array<int, 13> &modoMouseGrado);

inline bool Pannelli_Offline(const QString &modalita) { return modalita == QLatin1String("OFFLINE"); }

// History tabs: 0 = 5 minutes, 1 = 15 minutes, 2 = 1 hour, 3 = 1 day.
int Barre_Tab(int tab);
inline const QStringList &Intestazioni()
{
    static const QStringList h{QString(), QStringLiteral("Data"), QStringLiteral("Ora"), QStringLiteral("Close")};
    return h;
}

// One history grid: column 0 empty (width 0), then date, time, close; the header
// row is bold and centred. Row r of the model is bar r + 1 of the series.
class ModelloGrigliaStorico : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModelloGrigliaStorico(QObject *parent = nullptr);

    // The grid is given its rows once (bar count + 1 with the header).
    void Imposta_Righe(int barre);
    // Carica_Griglie_Storico: cells of rows 1..N from the series of `tab`.
    void Carica(const Stato &stato, int tab);

    QString Cella(int riga, int colonna) const;  // 1-based rows as the grid numbers them

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<std::array<QString, 3>> m_righe;
};

}  // namespace finestra

#include "shell/FinestraLavoro.h"

#include "Stato.h"
#include "platform/DataOra.h"
#include "platform/VbRuntime.h"

#include <QFont>

namespace finestra {

QString Titolo_Finestra(const QString &modalita, const QString &versione)
{
    const QString modo = modalita == QLatin1String("ONLINE") ? QStringLiteral("    - OnLine -     ")
                                                             : QStringLiteral("    - OffLine -    ");
    return QStringLiteral("Wavelore \u00AE  v.") + versione + modo + QLatin1String(Indirizzo_Web)
           + QStringLiteral("  ");
}

std::array<std::optional<int>, 4> Opzione_Grafici(const std::array<SlotGrafico, 4> &confGrafici,
                                                   const std::array<int, 13> &modoMouseGrado)
{
    std::array<std::optional<int>, 4> r{};
    for (size_t i = 0; i < 4; ++i) {
        if (confGrafici[i].in_uso != 1)
            continue;
        const int d = confGrafici[i].grado;
        if (d < 0 || d > 12)
            continue;
        r[i] = modoMouseGrado[size_t(d)] == 1 ? 1 : 0;
    }
    return r;
}

int Barre_Tab(int tab)
{
    switch (tab) {
    case 0: return costanti::Barre_Storico_5M;
    case 1: return costanti::Barre_Storico_15M;
    case 2: return costanti::Barre_Storico_1H;
    case 3: return costanti::Barre_Storico_1D;
    default: return 0;
    }
}

namespace {

const SerieStorico &Serie(const StatoMercato &m, int tab)
{
    switch (tab) {
    case 0: return m.Storico_5M;
    case 1: return m.Storico_15M;
    case 2: return m.Storico_1H;
    default: return m.Storico_1D;
    }
}

}  // namespace

ModelloGrigliaStorico::ModelloGrigliaStorico(QObject *parent) : QAbstractTableModel(parent) {}

void ModelloGrigliaStorico::Imposta_Righe(int barre)
{
    beginResetModel();
    m_righe.assign(size_t(std::max(0, barre)), {});
    endResetModel();
}

void ModelloGrigliaStorico::Carica(const Stato &stato, int tab)
{
    if (tab < 0 || tab > 3)
        return;
    const SerieStorico &serie = Serie(stato.mercato, tab);
    const bool ue = stato.shell.Formato_Locale == QLatin1String("UE");
    const QChar decimale = ue ? QLatin1Char(',') : QLatin1Char('.');
    const QChar migliaia = ue ? QLatin1Char('.') : QLatin1Char(',');
    const int sott = stato.archivio.Sottostante_Corrente;
    QString oraFine;
    if (tab == 3 && sott >= 1 && sott <= costanti::Num_Sottostanti) {
        const QTime fine = stato.archivio.Tab_Sottostanti[size_t(sott)].Fine_Sessione;
        if (fine.isValid())
            oraFine = dataora::ScriviOra(fine.hour() * 60 + fine.minute(), stato.shell.Formato_Ora);
    }
    const QString &formatoPrezzo = stato.mercato.Formato_Prezzo.isEmpty() ? QStringLiteral("0.00")
                                                                        : stato.mercato.Formato_Prezzo;

    const int n = std::min(int(m_righe.size()), Barre_Tab(tab));
    for (int r = 1; r <= n; ++r) {
        auto &riga = m_righe[size_t(r - 1)];
        if (!serie.valida(r) || !serie.barra(r).data.isValid()) {
            riga = {};
            continue;
        }
        const BarraStorico &b = serie.barra(r);
        riga[0] = dataora::ScriviData(b.data, stato.shell.Formato_Data);
        riga[1] = tab == 3 ? oraFine : dataora::ScriviOra(b.minuti, stato.shell.Formato_Ora);
        riga[2] = vb::Format(b.chiusura, formatoPrezzo, decimale, migliaia);
    }
    if (n > 0)
        emit dataChanged(index(0, 1), index(n - 1, 3));
}

QString ModelloGrigliaStorico::Cella(int riga, int colonna) const
{
    if (riga == 0)
        return colonna >= 0 && colonna < 4 ? Intestazioni()[colonna] : QString();
    if (riga < 1 || riga > int(m_righe.size()) || colonna < 1 || colonna > 3)
        return {};
    return m_righe[size_t(riga - 1)][size_t(colonna - 1)];
}

int ModelloGrigliaStorico::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_righe.size());
}

int ModelloGrigliaStorico::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant ModelloGrigliaStorico::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return Cella(index.row() + 1, index.column());
    if (role == Qt::TextAlignmentRole && index.column() == 3)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModelloGrigliaStorico::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section >= 0 && section < 4 ? Intestazioni()[section] : QString();
    if (role == Qt::FontRole) {
        QFont f;
        f.setBold(true);
        return f;
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignHCenter | Qt::AlignTop);
    return {};
}

}  // namespace finestra

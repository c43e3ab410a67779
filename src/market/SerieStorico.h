#pragma once

#include "platform/DataOra.h"

#include <QDate>
#include <QString>
#include <vector>

// One bar of a history series. Times are minutes since midnight; daily bars use 0.
struct BarraStorico {
    QDate data;
    int minuti = 0;
    double chiusura = 0.0;
    double volume = 0.0;

    bool operator==(const BarraStorico &) const = default;
};

// A history series of fixed capacity with 1-based access, bar 1 the newest.
class SerieStorico {
public:
    explicit SerieStorico(int capacita = 0) : m_barre(capacita) {}

    int capacita() const { return int(m_barre.size()); }
    // i in 1..capacita()
    BarraStorico &barra(int i) { return m_barre[size_t(i - 1)]; }
    const BarraStorico &barra(int i) const { return m_barre[size_t(i - 1)]; }
    bool valida(int i) const { return i >= 1 && i <= capacita(); }

    // The date and time of bar i as shown and stored: formatted with the active
    // regional patterns ("DD/MM/YY", "h:mm" ...); "" outside the series or without a date.
    QString TestoData(int i, const QString &formatoData) const
    {
        return valida(i) ? dataora::ScriviData(barra(i).data, formatoData) : QString();
    }
    QString TestoOra(int i, const QString &formatoOra) const
    {
        return valida(i) && barra(i).data.isValid() ? dataora::ScriviOra(barra(i).minuti, formatoOra) : QString();
    }

    std::vector<BarraStorico> &barre() { return m_barre; }
    const std::vector<BarraStorico> &barre() const { return m_barre; }

private:
    std::vector<BarraStorico> m_barre;
};

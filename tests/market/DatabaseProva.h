#pragma once

// Small SQLite history databases for the market tests: the four tables with
// DATA ddmmyy, ORA hhmm, CHIUSURA, VOLUME as texts, newest bar first.

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <array>

namespace prova {

inline const std::array<const char *, 4> TabelleProva = {"TF5M", "TF15M", "TF1H", "TF1D"};
inline const std::array<int, 4> BarreProva = {1500, 5000, 5000, 3000};
inline const std::array<int, 4> PassiMinuti = {5, 15, 60, 0};

// The newest bar of every intraday table is at `ultimo`; daily bars end on its date.
// `mancanti`[k] rows are left out at the end of table k; `ritocco` may change rows.
template <typename Ritocco>
bool ScriviDatabase(const QString &percorso, const QDateTime &ultimo, std::array<int, 4> mancanti, Ritocco ritocco)
{
    QFile::remove(percorso);
    const QString nome = QStringLiteral("prova_%1").arg(quintptr(&percorso));
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(percorso);
        ok = db.open();
        for (int k = 0; ok && k < 4; ++k) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("CREATE TABLE %1 (DATA VARCHAR(16), ORA VARCHAR(16), CHIUSURA VARCHAR(16), VOLUME VARCHAR(16))")
                            .arg(QLatin1String(TabelleProva[size_t(k)])));
            db.transaction();
            q.prepare(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(QLatin1String(TabelleProva[size_t(k)])));
            const int n = BarreProva[size_t(k)] - mancanti[size_t(k)];
            for (int r = 1; ok && r <= n; ++r) {
                QDateTime t = PassiMinuti[size_t(k)] ? ultimo.addSecs(-qint64(r - 1) * 60 * PassiMinuti[size_t(k)])
                                                     : QDateTime(ultimo.date().addDays(-(r - 1)), QTime(0, 0));
                QString data = t.toString(QStringLiteral("ddMMyy"));
                QString ora = t.toString(QStringLiteral("hhmm"));
                QString chiusura = QString::number(1000.0 + k * 100 + (r % 97) * 0.25);
                QString volume = QString::number(10 + r % 13);
                ritocco(k + 1, r, data, ora, chiusura, volume);
                q.addBindValue(data);
                q.addBindValue(ora);
                q.addBindValue(chiusura);
                q.addBindValue(volume);
                ok = q.exec();
            }
            ok = db.commit() && ok;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
    return ok;
}

inline bool ScriviDatabase(const QString &percorso, const QDateTime &ultimo, std::array<int, 4> mancanti = {})
{
    return ScriviDatabase(percorso, ultimo, mancanti, [](int, int, QString &, QString &, QString &, QString &) {});
}

// The ODBC string the tests use: one SQLite file per database in `cartella`.
inline QString StringaOdbc(const QString &cartella)
{
    return QStringLiteral("DRIVER={SQLite3};Database=%1/{db}.db;").arg(cartella);
}

}  // namespace prova

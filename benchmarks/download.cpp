// The history download over ODBC (SQLite3 driver) and its copy into the four
// series: 14,500 rows.

#include "Bench.h"

#include "Stato.h"
#include "market/ScaricoStorico.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

namespace {

// `colonne`: the column declarations; the ODBC driver sizes its buffers from them.
bool Database(const QString &percorso, const QString &colonne)
{
    const char *tabelle[] = {"TF5M", "TF15M", "TF1H", "TF1D"};
    const int barre[] = {1500, 5000, 5000, 3000};
    const int passi[] = {5, 15, 60, 1440};
    const QDateTime ultimo(QDate(2025, 12, 5), QTime(17, 25));
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("genera"));
        db.setDatabaseName(percorso);
        ok = db.open();
        for (int k = 0; ok && k < 4; ++k) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(tabelle[k]), colonne));
            db.transaction();
            q.prepare(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(tabelle[k]));
            for (int r = 0; r < barre[k]; ++r) {
                const QDateTime t = ultimo.addSecs(-qint64(r) * 60 * passi[k]);
                q.addBindValue(t.toString(QStringLiteral("ddMMyy")));
                q.addBindValue(k == 3 ? QStringLiteral("0000") : t.toString(QStringLiteral("hhmm")));
                q.addBindValue(QString::number(20000.0 + r % 113 * 2.5));
                q.addBindValue(QString::number(r % 50));
                ok = q.exec() && ok;
            }
            db.commit();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("genera"));
    return ok;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir cartella;
    bool ok = true;
    const struct {
        const char *nome;
        const char *colonne;
    } varianti[] = {
        {"download_14500_righe", "DATA VARCHAR(6), ORA VARCHAR(4), CHIUSURA VARCHAR(16), VOLUME VARCHAR(16)"},
        {"download_14500_righe_colonne_text", "DATA TEXT, ORA TEXT, CHIUSURA TEXT, VOLUME TEXT"},
    };
    for (const auto &v : varianti) {
        const QString file = cartella.filePath(QLatin1String(v.nome) + QStringLiteral(".db"));
        if (!Database(file, QLatin1String(v.colonne)))
            return 1;
        const QString stringa = QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(file);
        Stato s;
        MisuraMediana(QLatin1String(v.nome), [&] {
            const auto t = scarico::Scarica_Storico_Dal_Server(stringa);
            ok = scarico::Carica_Storico_Da_Server(s.mercato, t) && ok;
        }, 5, 1);
    }
    return ok ? 0 : 1;
}

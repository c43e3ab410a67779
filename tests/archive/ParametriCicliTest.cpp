#include "ArchivioProva.h"
#include "CartellaTemporanea.h"

#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/ParametriCicli.h"
#include "cycle/SalvaParametro.h"

#include <QFile>
#include <QSqlQuery>
#include <QtTest>

using namespace archivio;

namespace {

// The code of a letter as the tables give it; any other character too, which the writer must refuse.
Codice_Modifica Codice(const QString &lettera)
{
    return static_cast<Codice_Modifica>(lettera.isEmpty() ? '\0' : lettera.at(0).toLatin1());
}

QString valore(const QString &tabella, const QString &colonna, int id)
{
    return ValoreArchivio(FileArchivio::Sistema3, tabella, colonna, id);
}

void imposta(const QString &tabella, const QString &colonna, int id, const QString &testo)
{
    Connessione c(FileArchivio::Sistema3);
    QVERIFY(c.Aggiorna(tabella, colonna, id, testo));
}

// Every stored text of Sistema3, to show that a refused save changed nothing.
QStringList istantanea()
{
    Connessione c(FileArchivio::Sistema3);
    QStringList tutto;
    QStringList tabelle{QStringLiteral("TABAVV"), QStringLiteral("TABGRAF")};
    for (int d = 0; d <= 12; ++d)
        tabelle << QStringLiteral("TAB%1").arg(d);
    for (const QString &t : tabelle)
        for (const auto &[id, riga] : c.LeggiTabella(t))
            for (const auto &[col, v] : riga)
                tutto << t + QLatin1Char('.') + QString::number(id) + QLatin1Char('.') + col + QLatin1Char('=') + v;
    return tutto;
}

// Distinct values in every setting so that a wrong column shows.
void riempi(Stato &s)
{
    s.archivio.Sottostante_Corrente = 2;
    auto &c = s.cicli;
    for (size_t d = 0; d < 13; ++d) {
        c.Sottocicli[d] = 3;
        c.Durata[d] = 62.5;
        c.Tendenza[d] = -3;
        c.Tempi[d] = 7;
        c.Compressione[d] = 4;
        c.Zoom[d] = 6.5;
        c.Prop_Battleplan[d] = 1.2000000000000002;
        c.Posizione_Asse_Y[d] = 77;
        c.Modo_Mouse_Grado[d] = 0;
        c.Griglia_1[d] = 0;
        c.Griglia_2[d] = 1;
        c.Modo_Linea_Storico[d] = 2;
        c.Mostra_Coordinate[d] = 1;
        c.Data_Inizio_Ciclo[d] = QDate(2009, 3, 25);
        c.Ora_Inizio_Ciclo[d] = 15 * 60 + 30;
    }
    c.Conf_Grafici = {SlotGrafico{1, 4, 3}, SlotGrafico{0, 9, 2}, SlotGrafico{1, 11, 1}, SlotGrafico{1, 12, 0}};
}

}  // namespace

class ParametriCicliTest : public QObject {
    Q_OBJECT

    QByteArray m_sistema3;

    // A complete Sistema3.dat in the current program folder, copied from one made once.
    bool archivioNuovo(const CartellaTemporanea &cartella)
    {
        QFile f(cartella.sistema() + QStringLiteral("/Sistema3.dat"));
        return f.open(QIODevice::WriteOnly) && f.write(m_sistema3) == m_sistema3.size();
    }

private slots:
    void initTestCase()
    {
        CartellaTemporanea cartella;
        QVERIFY(Crea_Archivio(FileArchivio::Sistema3).ok);
        QFile f(cartella.sistema() + QStringLiteral("/Sistema3.dat"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        m_sistema3 = f.readAll();
        QVERIFY(!m_sistema3.isEmpty());
    }

    void destinazioni_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("colonna");
        const char *lettere = "CDTKBZHALMNPFI";
        const int colonne[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15};
        for (int i = 0; lettere[i]; ++i)
            QTest::addRow("%c", lettere[i]) << QString(QLatin1Char(lettere[i])) << 6 << "TAB6"
                                            << QStringLiteral("C%1").arg(colonne[i]);
        QTest::newRow("S") << "S" << 99 << "TABAVV" << "C1";
        QTest::newRow("O slot 3") << "O" << 3 << "TABGRAF" << "C4";
        QTest::newRow("E slot 3") << "E" << 3 << "TABGRAF" << "C8";
        QTest::newRow("E slot 0") << "E" << 0 << "TABGRAF" << "C5";
        QTest::newRow("G") << "G" << 12 << "TABGRAF" << "C9";
        QTest::newRow("p minuscola") << "p" << 1 << "" << "";
        QTest::newRow("lettera ignota") << "X" << 1 << "" << "";
        QTest::newRow("grado 13") << "D" << 13 << "" << "";
        QTest::newRow("grado -1") << "C" << -1 << "" << "";
        QTest::newRow("slot 4") << "O" << 4 << "" << "";
    }

    void destinazioni()
    {
        QFETCH(QString, codice);
        QFETCH(int, indice);
        QFETCH(QString, tabella);
        QFETCH(QString, colonna);
        const DestinazioneCodice d = Destinazione(Codice(codice), indice);
        QCOMPARE(d.tabella, tabella);
        QCOMPARE(d.colonna, colonna);
    }

    void scrittura_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<int>("riga");
        QTest::addColumn<QStringList>("colonne");
        QTest::addColumn<QStringList>("attesi");
        auto r = [](const char *nome, const char *codice, int indice, const char *tabella, int riga, QStringList colonne,
                    QStringList attesi) {
            QTest::newRow(nome) << QString::fromLatin1(codice) << indice << QString::fromLatin1(tabella) << riga
                                << colonne << attesi;
        };
        r("S riga 1", "S", 5, "TABAVV", 1, {"C1"}, {"2"});
        r("C", "C", 4, "TAB4", 2, {"C1"}, {"3"});
        r("D decimale con punto", "D", 4, "TAB4", 2, {"C2"}, {"62.5"});
        r("T", "T", 0, "TAB0", 2, {"C3"}, {"-3"});
        r("K", "K", 12, "TAB12", 2, {"C4"}, {"7"});
        r("B", "B", 4, "TAB4", 2, {"C5"}, {"4"});
        r("Z", "Z", 4, "TAB4", 2, {"C6"}, {"6.5"});
        r("H", "H", 4, "TAB4", 2, {"C7"}, {"1.2"});
        r("A", "A", 4, "TAB4", 2, {"C8"}, {"77"});
        r("L", "L", 4, "TAB4", 2, {"C9"}, {"0"});
        r("M", "M", 4, "TAB4", 2, {"C10"}, {"0"});
        r("N", "N", 4, "TAB4", 2, {"C11"}, {"1"});
        r("P", "P", 5, "TAB5", 2, {"C12", "C13"}, {"25/03/09", "15:30"});
        r("F", "F", 4, "TAB4", 2, {"C14"}, {"2"});
        r("I", "I", 4, "TAB4", 2, {"C15"}, {"1"});
        r("O slot 3", "O", 3, "TABGRAF", 2, {"C4"}, {"1"});
        r("O slot 1", "O", 1, "TABGRAF", 2, {"C2"}, {"0"});
        r("E slot 3", "E", 3, "TABGRAF", 2, {"C8"}, {"12"});
        r("G tutte e quattro", "G", 7, "TABGRAF", 2, {"C9", "C10", "C11", "C12"}, {"3", "2", "1", "0"});
    }

    void scrittura()
    {
        QFETCH(QString, codice);
        QFETCH(int, indice);
        QFETCH(QString, tabella);
        QFETCH(int, riga);
        QFETCH(QStringList, colonne);
        QFETCH(QStringList, attesi);
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        Stato s;
        riempi(s);
        const QStringList prima = istantanea();
        QVERIFY(ciclo::Salva_Parametro(s.shell, s.archivio, s.cicli, Codice(codice), indice));
        for (int i = 0; i < colonne.size(); ++i)
            QCOMPARE(valore(tabella, colonne[i], riga), attesi[i]);
        // Only the named columns of the named row changed.
        QStringList cambiate;
        const QStringList dopo = istantanea();
        for (const QString &v : dopo)
            if (!prima.contains(v))
                cambiate << v.section(QLatin1Char('='), 0, 0);
        for (const QString &c : cambiate)
            QVERIFY2(colonne.contains(c.section(QLatin1Char('.'), 2)) && c.startsWith(tabella + QLatin1Char('.') + QString::number(riga) + QLatin1Char('.')),
                     qPrintable(c));
    }

    void inizioCicloUS()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        Stato s;
        riempi(s);
        s.shell.Formato_Data = QStringLiteral("MM/DD/YY");
        s.shell.Formato_Ora = QStringLiteral("h:mm AM/PM");
        QVERIFY(ciclo::Salva_Parametro(s.shell, s.archivio, s.cicli, Codice(QStringLiteral("P")), 5));
        QCOMPARE(valore(QStringLiteral("TAB5"), QStringLiteral("C12"), 2), QStringLiteral("03/25/09"));
        QCOMPARE(valore(QStringLiteral("TAB5"), QStringLiteral("C13"), 2), QStringLiteral("3:30 PM"));
    }

    void nienteScritto_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<int>("indice");
        QTest::addColumn<int>("sottostante");
        QTest::newRow("p minuscola") << "p" << 1 << 2;
        QTest::newRow("vuoto") << "" << 1 << 2;
        QTest::newRow("lettera ignota") << "Q" << 1 << 2;
        QTest::newRow("grado 13") << "D" << 13 << 2;
        QTest::newRow("slot -1") << "E" << -1 << 2;
        QTest::newRow("sottostante 0") << "D" << 1 << 0;
        QTest::newRow("sottostante 8") << "G" << 0 << 8;
        QTest::newRow("S con sottostante 9") << "S" << 0 << 9;
    }

    void nienteScritto()
    {
        QFETCH(QString, codice);
        QFETCH(int, indice);
        QFETCH(int, sottostante);
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        Stato s;
        riempi(s);
        s.archivio.Sottostante_Corrente = sottostante;
        const QStringList prima = istantanea();
        QVERIFY(!ciclo::Salva_Parametro(s.shell, s.archivio, s.cicli, Codice(codice), indice));
        QCOMPARE(istantanea(), prima);
    }

    void limitiCaricamento_data()
    {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("memorizzato");
        QTest::addColumn<int>("posizione");
        QTest::addColumn<QString>("atteso");
        auto r = [](const char *nome, const char *col, const char *mem, int pos, const char *att) {
            QTest::newRow(nome) << QString::fromLatin1(col) << QString::fromLatin1(mem) << pos << QString::fromLatin1(att);
        };
        r("sottocicli 7", "C1", "7", 1, "2");
        r("sottocicli 6", "C1", "6", 1, "6");
        r("sottocicli 0", "C1", "0", 1, "2");
        r("durata 0", "C2", "0", 2, "100");
        r("durata negativa", "C2", "-5", 2, "100");
        r("durata 0.5", "C2", "0.5", 2, "0.5");
        r("durata con virgola", "C2", "62,5", 2, "62,5");
        r("durata testo", "C2", "abc", 2, "100");
        r("tendenza -10", "C3", "-10", 3, "-10");
        r("tendenza 10", "C3", "10", 3, "10");
        r("tendenza -11", "C3", "-11", 3, "0");
        r("tempi 20", "C4", "20", 11, "20");
        r("tempi 21", "C4", "21", 11, "2");
        r("compressione 11", "C5", "11", 5, "0");
        r("zoom vuoto", "C6", "", 10, "5");
        r("zoom 5", "C6", "5", 10, "5");
        r("zoom 10.5", "C6", "10.5", 10, "5");
        r("proporzione 2", "C7", "2", 15, "2");
        r("proporzione 2.5", "C7", "2.5", 15, "1");
        r("proporzione 1.3", "C7", "1.3", 15, "1.3");
        r("asse Y 0", "C8", "0", 16, "50");
        r("asse Y 100", "C8", "100", 16, "100");
        r("puntatore 2", "C9", "2", 19, "1");
        r("griglia 1 vuota", "C10", "", 20, "1");
        r("griglia 2 2", "C11", "2", 21, "0");
        r("linea 2", "C14", "2", 22, "2");
        r("linea 0", "C14", "0", 22, "0");
        r("linea 1", "C14", "1", 22, "1");
        r("linea 1.5", "C14", "1.5", 22, "0");
        r("linea 3", "C14", "3", 22, "0");
        r("linea -1", "C14", "-1", 22, "0");
        r("linea abc", "C14", "abc", 22, "0");
        r("coordinate 1", "C15", "1", 23, "1");
        r("coordinate 0.5", "C15", "0.5", 23, "0");
        r("data vuota", "C12", "", 17, "28/02/26");
        r("data illeggibile", "C12", "31/02/09", 17, "28/02/26");
        r("data letta", "C12", "25/03/09", 17, "25/03/09");
        r("ora vuota", "C13", "", 18, "10.00.00");
        r("ora illeggibile", "C13", "25:00", 18, "10.00.00");
        r("ora letta", "C13", "15:30", 18, "15:30");
    }

    void limitiCaricamento()
    {
        QFETCH(QString, colonna);
        QFETCH(QString, memorizzato);
        QFETCH(int, posizione);
        QFETCH(QString, atteso);
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        imposta(QStringLiteral("TAB4"), colonna, 3, memorizzato);
        StatoArchivio a;
        QVERIFY(Carica_Parametri(a, QStringLiteral("DD/MM/YY"), QDate(2026, 3, 1)));
        QCOMPARE(a.Tab_Cicli[3][size_t(posizione)][5], atteso);
        // The same column of the other degrees and underlyings is untouched by it.
        QCOMPARE(a.Tab_Cicli[3][size_t(posizione)][4], a.Tab_Cicli[2][size_t(posizione)][5]);
    }

    void dataPredefinitaUS()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        StatoArchivio a;
        QVERIFY(Carica_Parametri(a, QStringLiteral("MM/DD/YY"), QDate(2026, 3, 1)));
        QCOMPARE(a.Tab_Cicli[1][17][1], QStringLiteral("02/28/26"));
        QCOMPARE(a.Tab_Cicli[7][18][13], QStringLiteral("10.00.00"));
    }

    void slotGrafici_data()
    {
        QTest::addColumn<QString>("inUso");
        QTest::addColumn<QString>("grado");
        QTest::addColumn<QString>("posizione");
        QTest::addColumn<QStringList>("attesi");
        QTest::newRow("in uso, grado 9, posizione vuota") << "1" << "9" << "" << QStringList{"1", "9", "0"};
        QTest::newRow("in uso 2") << "2" << "3" << "1" << QStringList{"0", "3", "1"};
        QTest::newRow("grado non numerico") << "1" << "x" << "2" << QStringList{"1", "5", "2"};
        QTest::newRow("grado 13") << "1" << "13" << "2" << QStringList{"1", "5", "2"};
        QTest::newRow("grado 2.5") << "1" << "2.5" << "2" << QStringList{"1", "5", "2"};
        QTest::newRow("posizione 7") << "1" << "0" << "7" << QStringList{"1", "0", "0"};
        QTest::newRow("posizione -1") << "0" << "12" << "-1" << QStringList{"0", "12", "0"};
    }

    void slotGrafici()
    {
        QFETCH(QString, inUso);
        QFETCH(QString, grado);
        QFETCH(QString, posizione);
        QFETCH(QStringList, attesi);
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        imposta(QStringLiteral("TABGRAF"), QStringLiteral("C3"), 6, inUso);
        imposta(QStringLiteral("TABGRAF"), QStringLiteral("C7"), 6, grado);
        imposta(QStringLiteral("TABGRAF"), QStringLiteral("C11"), 6, posizione);
        StatoArchivio a;
        QVERIFY(Carica_Parametri(a, QStringLiteral("DD/MM/YY")));
        QCOMPARE(a.Tab_Cicli[6][12][3], attesi[0]);
        QCOMPARE(a.Tab_Cicli[6][13][3], attesi[1]);
        QCOMPARE(a.Tab_Cicli[6][14][3], attesi[2]);
    }

    // Rows missing or numbered outside 1..7 never stop the load: defaults take their place.
    void righeMancanti()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        imposta(QStringLiteral("TAB0"), QStringLiteral("C1"), 6, QStringLiteral("5"));
        {
            Connessione c(FileArchivio::Sistema3);
            QSqlQuery q(c.Database());
            QVERIFY(q.exec(QStringLiteral("DELETE FROM TAB0 WHERE ID = 5")));
            QVERIFY(q.exec(QStringLiteral("DELETE FROM TABGRAF WHERE ID = 5")));
            QVERIFY(q.exec(QStringLiteral("UPDATE TAB0 SET ID = 9 WHERE ID = 6")));
        }
        StatoArchivio a;
        QVERIFY(Carica_Parametri(a, QStringLiteral("DD/MM/YY"), QDate(2026, 3, 1)));
        QCOMPARE(a.Tab_Cicli[5][1][1], QStringLiteral("2"));
        QCOMPARE(a.Tab_Cicli[5][2][1], QStringLiteral("100"));
        QCOMPARE(a.Tab_Cicli[5][17][1], QStringLiteral("28/02/26"));
        QCOMPARE(a.Tab_Cicli[6][1][1], QStringLiteral("2"));
        QCOMPARE(a.Tab_Cicli[5][12][2], QStringLiteral("0"));
        QCOMPARE(a.Tab_Cicli[5][13][2], QStringLiteral("5"));
    }

    // What the writer stores the loader reads back as the same setting.
    void andataERitorno()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivioNuovo(cartella));
        Stato s;
        riempi(s);
        for (const char *c : {"C", "D", "T", "K", "B", "Z", "H", "A", "P", "F"}) {
            QVERIFY(ciclo::Salva_Parametro(s.shell, s.archivio, s.cicli, Codice(QString::fromLatin1(c)), 8));
        }
        StatoArchivio a;
        QVERIFY(Carica_Parametri(a, s.shell.Formato_Data));
        const auto &t = a.Tab_Cicli[2];
        QCOMPARE(t[1][9], QStringLiteral("3"));
        QCOMPARE(t[2][9], QStringLiteral("62.5"));
        QCOMPARE(t[3][9], QStringLiteral("-3"));
        QCOMPARE(t[11][9], QStringLiteral("7"));
        QCOMPARE(t[5][9], QStringLiteral("4"));
        QCOMPARE(t[10][9], QStringLiteral("6.5"));
        QCOMPARE(t[15][9], QStringLiteral("1.2"));
        QCOMPARE(t[16][9], QStringLiteral("77"));
        QCOMPARE(t[17][9], QStringLiteral("25/03/09"));
        QCOMPARE(t[18][9], QStringLiteral("15:30"));
        QCOMPARE(t[22][9], QStringLiteral("2"));
    }
};

QTEST_GUILESS_MAIN(ParametriCicliTest)
#include "ParametriCicliTest.moc"

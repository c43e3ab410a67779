#include "ArchivioProva.h"
#include "CartellaTemporanea.h"

#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/ParametriCicli.h"
#include "archive/TabSottostanti.h"
#include "cycle/ModelloCiclo.h"
#include "indicators/ImpostazioniIndicatori.h"
#include "market/StoricoLocale.h"
#include "platform/DataOra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QFile>
#include <QtTest>

using namespace ciclo;

namespace {

QString salvato(int grado, const QString &colonna, int sottostante)
{
    return ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB%1").arg(grado), colonna, sottostante);
}

}  // namespace

class ModelloCicloTest : public QObject {
    Q_OBJECT

    QByteArray m_sistema3;
    storico::SetStorico m_set;

    // A session of underlying u with the generated history and every setting at its
    // stored default, and an archive to save into.
    void prepara(Stato &s, const CartellaTemporanea &cartella, int u)
    {
        QFile f(cartella.sistema() + QStringLiteral("/Sistema3.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(m_sistema3);
        f.close();
        s.archivio.Sottostante_Corrente = u;
        archivio::Inizializza_Tab_Sottostanti(s.archivio);
        Inizializza_Tabelle_Cicli(s.cicli);
        QVERIFY(archivio::Carica_Parametri(s.archivio, s.shell.Formato_Data, QDate(2026, 12, 5)));
        storico::CopiaSetStorico(s.mercato, m_set);
    }

    static QString &campo(Stato &s, int posizione, int grado)
    {
        return s.archivio.Tab_Cicli[size_t(s.archivio.Sottostante_Corrente)][size_t(posizione)][size_t(grado + 1)];
    }

    static void inizioSalvato(Stato &s, int grado, const BarraStorico &b)
    {
        campo(s, 17, grado) = dataora::ScriviData(b.data, s.shell.Formato_Data);
        campo(s, 18, grado) = dataora::ScriviOra(b.minuti, s.shell.Formato_Ora);
    }

private slots:
    void initTestCase()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema3).ok);
        QFile f(cartella.sistema() + QStringLiteral("/Sistema3.dat"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        m_sistema3 = f.readAll();
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        generatore::Parametri p;
        p.sottostante = a.Tab_Sottostanti[1];
        p.ultimoGiorno = QDate(2026, 12, 4);
        m_set = generatore::Genera(p);
    }

    void limitiDurata_data()
    {
        QTest::addColumn<int>("u");
        QTest::addColumn<int>("grado");
        QTest::addColumn<double>("minima");
        QTest::addColumn<double>("standard");
        QTest::addColumn<double>("massima");
        QTest::newRow("u1 grado 0") << 1 << 0 << 1024.0 << 2048.0 << 2600.0;
        QTest::newRow("u1 grado 3") << 1 << 3 << 128.0 << 256.0 << 512.0;
        QTest::newRow("u1 grado 4 orario") << 1 << 4 << 704.0 << 1408.0 << 2816.0;
        QTest::newRow("u1 grado 5") << 1 << 5 << 352.0 << 704.0 << 1408.0;
        QTest::newRow("u1 grado 8") << 1 << 8 << 184.0 << 368.0 << 736.0;
        QTest::newRow("u1 grado 10") << 1 << 10 << 138.0 << 276.0 << 552.0;
        QTest::newRow("u1 grado 12 (41.4)") << 1 << 12 << 41.0 << 69.0 << 138.0;
        QTest::newRow("u2 grado 4") << 2 << 4 << 896.0 << 1792.0 << 3584.0;
        QTest::newRow("u2 grado 6") << 2 << 6 << 896.0 << 1792.0 << 3584.0;
        QTest::newRow("u7 grado 12") << 7 << 12 << 50.0 << 84.0 << 168.0;
    }

    void limitiDurata()
    {
        QFETCH(int, u);
        QFETCH(int, grado);
        QFETCH(double, minima);
        QFETCH(double, standard);
        QFETCH(double, massima);
        CartellaTemporanea cartella;
        Stato s;
        prepara(s, cartella, u);
        QVERIFY(Carica_Impostazioni_Sottostante(s.shell, s.archivio, s.mercato, s.cicli).isEmpty());
        const auto d = size_t(grado);
        QCOMPARE(s.cicli.Durata_Minima[d], minima);
        QCOMPARE(s.cicli.Durata_Standard[d], standard);
        QCOMPARE(s.cicli.Barre_Calcolo[d], massima);
        QVERIFY(s.cicli.Durata[d] >= minima && s.cicli.Durata[d] <= massima);
    }

    void durataAiLimiti_data()
    {
        QTest::addColumn<QString>("memorizzata");
        QTest::addColumn<double>("attesa");
        QTest::addColumn<bool>("salvata");
        // Degree 9 of underlying 1: 92 / 184 / 368.
        QTest::newRow("minima") << "92" << 92.0 << false;
        QTest::newRow("massima") << "368" << 368.0 << false;
        QTest::newRow("sotto la minima") << "91" << 184.0 << true;
        QTest::newRow("sopra la massima") << "369" << 184.0 << true;
        QTest::newRow("frazione con virgola") << "100,5" << 100.5 << false;
    }

    void durataAiLimiti()
    {
        QFETCH(QString, memorizzata);
        QFETCH(double, attesa);
        QFETCH(bool, salvata);
        CartellaTemporanea cartella;
        Stato s;
        prepara(s, cartella, 1);
        campo(s, 2, 9) = memorizzata;
        QVERIFY(Carica_Impostazioni_Sottostante(s.shell, s.archivio, s.mercato, s.cicli).isEmpty());
        QCOMPARE(s.cicli.Durata[9], attesa);
        QCOMPARE(salvato(9, QStringLiteral("C2"), 1), salvata ? QStringLiteral("184") : QStringLiteral("100"));
        // Degree 12 keeps its stored 100 (41..138): nothing saved there.
        QCOMPARE(s.cicli.Durata[12], 100.0);
        QCOMPARE(salvato(12, QStringLiteral("C2"), 1), QStringLiteral("100"));
        // Degree 10 stored 100 is below 138: replaced and saved for underlying 1 only.
        QCOMPARE(salvato(10, QStringLiteral("C2"), 1), QStringLiteral("276"));
        QCOMPARE(salvato(10, QStringLiteral("C2"), 2), QStringLiteral("100"));
    }

    void impostazioniCopiate()
    {
        CartellaTemporanea cartella;
        Stato s;
        prepara(s, cartella, 2);
        campo(s, 15, 3) = QStringLiteral("1.05");
        campo(s, 15, 4) = QStringLiteral("1.1");
        campo(s, 15, 5) = QStringLiteral("1,7");
        campo(s, 1, 6) = QStringLiteral("4");
        campo(s, 11, 6) = QStringLiteral("12");
        campo(s, 3, 6) = QStringLiteral("-7");
        campo(s, 5, 6) = QStringLiteral("3");
        campo(s, 10, 6) = QStringLiteral("2.5");
        campo(s, 22, 6) = QStringLiteral("2");
        QVERIFY(Carica_Impostazioni_Sottostante(s.shell, s.archivio, s.mercato, s.cicli).isEmpty());
        const StatoCicli &c = s.cicli;
        QCOMPARE(c.Prop_Battleplan[3], 1.0);
        QCOMPARE(c.Prop_Battleplan[4], 1.1);
        QCOMPARE(c.Prop_Battleplan[5], 1.7);
        QCOMPARE(c.Sottocicli[6], 4);
        QCOMPARE(c.Tempi[6], 12);
        QCOMPARE(c.Tendenza[6], -7.0);
        QCOMPARE(c.Compressione[6], 3);
        QCOMPARE(c.Scostamento_Ciclo[6], 300.0);
        QCOMPARE(c.Zoom[6], 2.5);
        QCOMPARE(c.Modo_Linea_Storico[6], 2);
        QCOMPARE(c.Modo_Mouse_Grado[6], 1);
        QCOMPARE(c.Griglia_1[6], 1);
        QCOMPARE(c.Griglia_2[6], 0);
        QCOMPARE(c.Posizione_Asse_Y[6], 50);
        QCOMPARE(c.Sottostante, QStringLiteral("Dax"));
        QCOMPARE(c.Barre_15M_Giorno, 56);
        QCOMPARE(c.Fattore_Durata, 15.0);
        QCOMPARE(c.Inizio_Sessione, QTime(8, 0));
        QCOMPARE(s.mercato.Fine_Sessione, QTime(22, 0));
        QCOMPARE(c.Durata_Sessione, QStringLiteral("14h"));
        QCOMPARE(s.mercato.Formato_Prezzo, QStringLiteral("0.0"));
    }

    void inizioCiclo_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("riga");      // bar whose start is stored; 0 none
        QTest::addColumn<int>("caso");      // 0 as stored, 1 time 00:00, 2 date not in history, 3 newest duplicate
        QTest::addColumn<int>("posizione");
        QTest::newRow("giornaliero per data") << 2 << 37 << 0 << 37;
        QTest::newRow("giornaliero, la piu' recente vince") << 2 << 37 << 3 << 37;
        QTest::newRow("5 minuti per data e ora") << 10 << 50 << 0 << 50;
        QTest::newRow("orario per data e ora") << 5 << 400 << 0 << 400;
        QTest::newRow("ora 00:00 vale nessun inizio") << 10 << 50 << 1 << 10;
        QTest::newRow("non nello storico") << 8 << 50 << 2 << 10;
        QTest::newRow("oltre la durata") << 10 << 300 << 0 << 276;
        QTest::newRow("entro durata + compressione") << 10 << 300 << 4 << 300;
    }

    void inizioCiclo()
    {
        QFETCH(int, grado);
        QFETCH(int, riga);
        QFETCH(int, caso);
        QFETCH(int, posizione);
        CartellaTemporanea cartella;
        Stato s;
        prepara(s, cartella, 1);
        SerieStorico &serie = grado <= 3 ? s.mercato.Storico_1D : grado <= 5 ? s.mercato.Storico_1H
                                         : grado <= 9                       ? s.mercato.Storico_15M
                                                                            : s.mercato.Storico_5M;
        BarraStorico b = serie.barra(riga);
        if (caso == 1)
            b.minuti = 0;
        if (caso == 2)
            b.data = QDate(1999, 1, 4);
        if (caso == 3)
            serie.barra(riga + 1).data = b.data;
        if (caso == 4)
            campo(s, 5, grado) = QStringLiteral("1");
        inizioSalvato(s, grado, b);
        if (grado <= 3)  // a daily start keeps the time the previous load left
            campo(s, 18, grado) = QStringLiteral("0:00");
        QVERIFY(Carica_Impostazioni_Sottostante(s.shell, s.archivio, s.mercato, s.cicli).isEmpty());
        QCOMPARE(s.cicli.Barre_Ciclo[size_t(grado)], posizione);
        const BarraStorico &inizio = serie.barra(posizione);
        QCOMPARE(s.cicli.Data_Inizio_Ciclo[size_t(grado)], inizio.data);
        const bool spostato = posizione != riga || caso == 1 || caso == 2;
        const QString dataSalvata = salvato(grado, QStringLiteral("C12"), 1);
        if (spostato) {
            QCOMPARE(dataSalvata, dataora::ScriviData(inizio.data, s.shell.Formato_Data));
            if (grado > 3)
                QCOMPARE(salvato(grado, QStringLiteral("C13"), 1), dataora::ScriviOra(inizio.minuti, s.shell.Formato_Ora));
        } else {
            QCOMPARE(dataSalvata, QString());  // nothing to save: still as created
        }
    }

    void dataInizioDallaPosizione_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("posizione");
        QTest::addColumn<bool>("zero");
        QTest::newRow("p = 1") << 11 << 1 << false;
        QTest::newRow("p = N - 1") << 11 << 1499 << false;
        QTest::newRow("p = N") << 11 << 1500 << true;
        QTest::newRow("giornaliero p = N") << 0 << 3000 << true;
        QTest::newRow("orario") << 4 << 4999 << false;
    }

    void dataInizioDallaPosizione()
    {
        QFETCH(int, grado);
        QFETCH(int, posizione);
        QFETCH(bool, zero);
        StatoCicli c;
        StatoMercato m;
        m.Storico_5M = m_set.s5M;
        m.Storico_1H = m_set.s1H;
        m.Storico_1D = m_set.s1D;
        c.Ora_Inizio_Ciclo[size_t(grado)] = 777;
        c.Barre_Ciclo[size_t(grado)] = posizione;
        Calcola_Data_Inizio_Ciclo(c, m, grado);
        const SerieStorico &serie = grado <= 3 ? m.Storico_1D : grado <= 5 ? m.Storico_1H : m.Storico_5M;
        const int oraAttesa = grado <= 3 ? 777 : zero ? 0 : serie.barra(posizione).minuti;
        QCOMPARE(c.Data_Inizio_Ciclo[size_t(grado)], zero ? DataZero() : serie.barra(posizione).data);
        QCOMPARE(c.Ora_Inizio_Ciclo[size_t(grado)], oraAttesa);
    }

    void slotGrafici_data()
    {
        QTest::addColumn<QList<int>>("inUso");
        QTest::addColumn<QList<int>>("gradi");
        QTest::addColumn<QList<int>>("posizioni");
        QTest::addColumn<QList<int>>("inUsoAttesi");
        QTest::addColumn<QList<int>>("posizioniAttese");
        QTest::newRow("grado doppio in uso") << QList<int>{1, 1, 1, 1} << QList<int>{4, 4, 6, 7} << QList<int>{0, 1, 2, 3}
                                             << QList<int>{0, 0, 1, 1} << QList<int>{0, 1, 2, 3};
        // A free slot still carrying an old degree must not switch off the chart now showing it.
        QTest::newRow("grado doppio in uno slot libero") << QList<int>{0, 1, 1, 1} << QList<int>{4, 4, 6, 7}
                                                         << QList<int>{0, 1, 2, 3} << QList<int>{0, 1, 1, 1}
                                                         << QList<int>{0, 1, 2, 3};
        QTest::newRow("posizioni doppie") << QList<int>{1, 1, 1, 1} << QList<int>{5, 6, 7, 8} << QList<int>{0, 0, 2, 3}
                                          << QList<int>{1, 1, 1, 1} << QList<int>{0, 1, 2, 3};
        QTest::newRow("posizioni permutate") << QList<int>{1, 0, 1, 1} << QList<int>{5, 6, 7, 8}
                                             << QList<int>{1, 0, 3, 2} << QList<int>{1, 0, 1, 1} << QList<int>{1, 0, 3, 2};
    }

    void slotGrafici()
    {
        QFETCH(QList<int>, inUso);
        QFETCH(QList<int>, gradi);
        QFETCH(QList<int>, posizioni);
        QFETCH(QList<int>, inUsoAttesi);
        QFETCH(QList<int>, posizioniAttese);
        CartellaTemporanea cartella;
        Stato s;
        prepara(s, cartella, 3);
        for (int j = 0; j < 4; ++j) {
            campo(s, 12, j) = QString::number(inUso[j]);
            campo(s, 13, j) = QString::number(gradi[j]);
            campo(s, 14, j) = QString::number(posizioni[j]);
        }
        QVERIFY(Carica_Impostazioni_Sottostante(s.shell, s.archivio, s.mercato, s.cicli).isEmpty());
        for (int j = 0; j < 4; ++j) {
            QCOMPARE(s.cicli.Conf_Grafici[size_t(j)].in_uso, inUsoAttesi[j]);
            QCOMPARE(s.cicli.Conf_Grafici[size_t(j)].grado, gradi[j]);
            QCOMPARE(s.cicli.Conf_Grafici[size_t(j)].posizione, posizioniAttese[j]);
        }
    }

    void indicatori()
    {
        CartellaTemporanea cartella;
        Stato s;
        prepara(s, cartella, 4);
        auto &t = s.archivio.Tab_Indicatori[4];
        for (auto &campoInd : t)
            campoInd.fill(QStringLiteral("1"));
        t[6][3] = QStringLiteral("0");  // degree 2, first user period 0
        t[7][3] = QStringLiteral("21");
        t[10][3] = QStringLiteral("0");
        t[22][3] = QStringLiteral("0");
        QVERIFY(Carica_Impostazioni_Sottostante(s.shell, s.archivio, s.mercato, s.cicli).isEmpty());
        indicatori::Carica_Impostazioni_Indicatori(s.archivio, s.indicatori);
        const auto &att = s.indicatori.Ind_Attivo[2];
        QCOMPARE(att[4], 0);
        QCOMPARE(att[5], 1);
        QCOMPARE(s.indicatori.Periodo_Utente_2[2].toString(), QStringLiteral("21"));
        QCOMPARE(s.indicatori.Modo_Adattivo[2], 0);
        QCOMPARE(att[19], 0);
        QCOMPARE(att[20], 0);
        QCOMPARE(s.indicatori.Ind_Attivo[3][4], 1);
        QCOMPARE(s.indicatori.Modo_Adattivo[3], 1);
    }
};

QTEST_GUILESS_MAIN(ModelloCicloTest)
#include "ModelloCicloTest.moc"

// The login panel and the quote messaggi->testi of the real main window, driven by keys
// and clicks against our own quote server.

#include "CartellaTemporanea.h"
#include "FinestraProva.h"
#include "InterfacceVuoteUi.h"
#include "Stato.h"
#include "cycle/Colori.h"
#include "market/RigaChat.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Codec1252.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/ServerQuotazioni.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class SessioneFinestraTest : public QObject {
    Q_OBJECT

    CartellaTemporanea cartella;
    std::unique_ptr<ServerQuotazioni> server;
    QStringList ricevuti;
    std::unique_ptr<MessaggiCatturati> messaggi;

private slots:
    void init()
    {
        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("luca"), {QStringLiteral("Pw!"), QStringLiteral("3"), QStringLiteral("Luca"),
                                                   QStringLiteral("Verdi")});
        cfg.Percorso_Database = cartella.percorso() + QStringLiteral("/{db}.db");
        server = std::make_unique<ServerQuotazioni>(cfg);
        QVERIFY(server->Avvia());
        qputenv("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server->Porta()));
        ricevuti.clear();
        messaggi = std::make_unique<MessaggiCatturati>();
        connect(server.get(), &ServerQuotazioni::Ricevuto, this,
                [this](const QString &c, const QStringList &campi) { ricevuti << c + '|' + campi.join('|'); });
    }
    void cleanup()
    {
        server.reset();
        messaggi.reset();
    }

    void invio_nella_password_rifiutata_poi_caselle_e_chat()
    {
        FinestraProva prova;
        FormS1 &form = *prova.form;
        QVERIFY(prova.sessione);
        form.show();
        PannelloAvvio *avvio = form.Frm_Avvio;
        QTest::keyClicks(avvio->Text_ID, QStringLiteral("LuCa"));
        QTest::keyClicks(avvio->Text_Password, QStringLiteral("sbagliata"));
        QTest::keyClick(avvio->Text_Password, Qt::Key_Return);
        QCOMPARE(avvio->Text_Password->text(), QStringLiteral("sbagliata"));  // Enter adds nothing
        QTRY_COMPARE(avvio->Lbl_Stato->text(), QStringLiteral("Non Autenticato"));
        QTRY_VERIFY(avvio->Cmd_OnLine->isEnabled());
        QVERIFY(avvio->Cmd_OffLine->isEnabled());
        QCOMPARE(ricevuti.first(), QStringLiteral("COMM11|luca|sbagliata|2.52"));
        QCOMPARE(messaggi->testi, QStringList{QStringLiteral("Wavelore \u00AE|Autenticazione Non Riuscita, UserId o Password Errati.|testo")});

        // The connection stays open after a refusal: quotes and chat still reach the window.
        form.S().mercato.Formato_Prezzo = QStringLiteral("0.00");
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral(
            "COMM31\u00D817/03/2012 15:30:05\u00D820.150,5\u00D81,5\u00D8987\u00D8COMM25\u00D8<i>ciao</i> COMM31\u00D8")));
        PannelloQuotazioni *q = prova.op->Quotazioni();
        QTRY_COMPARE(q->Text_Last->text(), QStringLiteral("20150,50"));
        QCOMPARE(q->Text_Data_Ora->text(), QStringLiteral("17/03/12 15:30:05"));
        QCOMPARE(q->Text_Var->text(), QStringLiteral("1,50 %"));
        QCOMPARE(q->Text_Volume->text(), QStringLiteral("987"));
        QTRY_VERIFY(form.Text_Chat->toPlainText().contains(QStringLiteral("<i>ciao</i> ")));
        QVERIFY(!form.Text_Chat->toPlainText().contains(QStringLiteral("COMM31")));

        // A new attempt with the right password reconnects and logs in.
        FasiAvvioVuote nessuna;  // the loading is not what this checks
        form.Imposta_Fasi_Avvio(&nessuna);
        avvio->Text_Password->clear();
        QTest::keyClicks(avvio->Text_Password, QStringLiteral("Pw!"));
        QTest::mouseClick(avvio->Cmd_OnLine, Qt::LeftButton);
        QTRY_COMPARE(avvio->Lbl_Stato->text(), QStringLiteral("Connesso"));
        QCOMPARE(q->Text_Stato->text(), QStringLiteral("Connesso"));
        auto *codice = form.findChild<QLabel *>(QStringLiteral("Lbl_Cod_Utente"));
        auto *nome = form.findChild<QLabel *>(QStringLiteral("Lbl_Desc_Utente"));
        QVERIFY(codice && nome);
        QCOMPARE(codice->text(), QStringLiteral("3"));
        QCOMPARE(nome->text(), QStringLiteral("Luca Verdi"));
        QVERIFY(!avvio->Cmd_OnLine->isEnabled());
        QCOMPARE(ricevuti.filter(QStringLiteral("COMM11|")).size(), 2);
    }

    // The chat box keeps the newest lines only, whether they come one per message or many in
    // one, and each line cut: what it holds stays bounded whatever the server sends.
    void chat_tiene_le_ultime_righe_data()
    {
        QTest::addColumn<int>("perMessaggio");
        QTest::addColumn<int>("lunghezza");
        QTest::newRow("una riga per messaggio") << 1 << 0;
        QTest::newRow("molte righe in un messaggio") << 3 * finestra::Righe_Chat << 0;
        QTest::newRow("righe lunghe") << 1 << int(16 * protocollo::Caratteri_Riga_Chat);
        QTest::newRow("righe lunghe in un messaggio") << 50 << int(2 * protocollo::Caratteri_Riga_Chat);
    }
    void chat_tiene_le_ultime_righe()
    {
        QFETCH(int, perMessaggio);
        QFETCH(int, lunghezza);
        FinestraProva prova;
        FormS1 &form = *prova.form;
        const int totale = finestra::Righe_Chat + 20;
        const QString coda(lunghezza, QLatin1Char('x'));
        QStringList righe;
        for (int i = 0; i < totale; ++i) {
            righe << QStringLiteral("riga %1 ").arg(i) + coda;
            if (righe.size() == perMessaggio || i == totale - 1) {
                prova.sessione->Azioni().Mostra_Messaggio_Chat(righe.join(QStringLiteral("\r\n")));
                righe.clear();
            }
        }
        const QString testo = form.Text_Chat->toPlainText();
        QVERIFY(testo.size() <= finestra::Righe_Chat * (protocollo::Caratteri_Riga_Chat + 1));
        const QStringList mostrate = testo.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(mostrate.size(), finestra::Righe_Chat);
        QCOMPARE(mostrate.first().section(QLatin1Char(' '), 0, 1), QStringLiteral("riga 20"));
        QCOMPARE(mostrate.last().section(QLatin1Char(' '), 0, 1), QStringLiteral("riga %1").arg(totale - 1));
        for (const QString &riga : mostrate)
            QVERIFY(riga.size() <= protocollo::Caratteri_Riga_Chat);
    }

    // Ticks stop: the question, then on Yes the notice over the charts, the window
    // disabled and a new login with the same credentials.
    void watchdog_si_riconnette()
    {
        FinestraProva prova;
        FormS1 &form = *prova.form;
        FasiAvvioVuote nessuna;  // the loading is not what this checks
        form.Imposta_Fasi_Avvio(&nessuna);
        prova.sessione->Intervallo_Watchdog_ms = 100;
        form.show();
        form.Frm_Avvio->Text_ID->setText(QStringLiteral("luca"));
        form.Frm_Avvio->Text_Password->setText(QStringLiteral("Pw!"));
        QTest::mouseClick(form.Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
        QTRY_COMPARE(form.Frm_Avvio->Lbl_Stato->text(), QStringLiteral("Connesso"));
        form.S().shell.Blocco_Grafici = false;
        prova.sessione->Richiesta_Dati_RT_Al_Server();
        QTRY_VERIFY(prova.sessione->Watchdog_Attivo());
        messaggi->risposta = QMessageBox::Yes;
        server->Sospendi_Tick(true);
        QTRY_COMPARE(messaggi->testi.size(), 1);
        QCOMPARE(messaggi->testi.first(), QStringLiteral("- Perdita Connessione con il Server - |Wavelore ha perso la connessione con il "
                                               "Server.\r\n\r\nPremere Si per provare a riconnettersi al Server.|testo"));
        QTRY_COMPARE(ricevuti.filter(QStringLiteral("COMM11|luca|Pw!")).size(), 2);
        auto *avviso = form.findChild<QLabel *>(QStringLiteral("FrmRiconnessione"));
        QVERIFY(avviso && avviso->isVisible());
        QVERIFY(!form.isEnabled());
    }

    // A merged bar lights the lamps of the slots in use only; the timer puts them out.
    void lampade_solo_dei_grafici_in_uso()
    {
        FinestraProva prova;
        FormS1 &form = *prova.form;
        Stato &s = form.S();
        ciclo::Imposta_Colori(s.cicli, 0);
        QVERIFY(s.cicli.Colori[20] != s.cicli.Colori[21]);
        AreaGrafici *area = prova.op->Area();
        for (int slot = 0; slot < 4; ++slot) {
            s.cicli.Conf_Grafici[size_t(slot)].in_uso = slot % 2 == 0 ? 1 : 0;
            area->Frm_Graf[size_t(slot)]->Colore_Led(s.cicli.Colori[20]);
        }
        prova.sessione->Azioni().Accendi_Led_Storico_RT();
        for (int slot = 0; slot < 4; ++slot)
            QCOMPARE(area->Frm_Graf[size_t(slot)]->Colore_Led(), s.cicli.Colori[slot % 2 == 0 ? 21 : 20]);
        QVERIFY(prova.op->Tempo_Reale().Timer_Agg_RT.isActive());
        QCOMPARE(prova.op->Tempo_Reale().Timer_Agg_RT.interval(), 4000);
        prova.op->Tempo_Reale().Timer_Agg_RT.start(1);
        QTRY_COMPARE(area->Frm_Graf[0]->Colore_Led(), s.cicli.Colori[20]);
    }

    void id_vuoto()
    {
        FinestraProva prova;
        FormS1 &form = *prova.form;
        QTest::mouseClick(form.Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
        QTRY_COMPARE(messaggi->testi.size(), 1);
        QCOMPARE(messaggi->testi.first(), QStringLiteral(" Wavelore \u00AE|Inserire UserId per avviare OnLine.    |testo"));
        QVERIFY(form.Frm_Avvio->Cmd_OnLine->isEnabled());
        QVERIFY(ricevuti.isEmpty());
    }
};

QTEST_MAIN(SessioneFinestraTest)
#include "SessioneFinestraTest.moc"

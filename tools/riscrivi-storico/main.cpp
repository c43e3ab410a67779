// Rewrites the four history files of one underlying in a loop, with the sets of two
// others in turn, through the client's own writer: the peer of the crash test, which
// kills it. Prints "PRONTO" when both sets are read, then "." after each file written.
// With --pausa-al-file K the K-th file (from 1) stops half written, its temporary file
// holding half the contents and the file itself untouched: it prints "META" there and
// waits to be killed.
//   riscrivi-storico VECCHIO NUOVO DESTINAZIONE [VOLTE] [--pausa-al-file K]   (VOLTE 0 or absent: for ever)

#include "market/ScrittoreStorico.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <cstdio>

namespace {

class DiscoInPausa : public storico::DiscoReale {
public:
    explicit DiscoInPausa(long file) : m_file(file) {}
    void A_Meta_File(const QString &) override
    {
        if (++m_contati != m_file)
            return;
        std::printf("META\n");
        std::fflush(stdout);
        QThread::sleep(60);
    }

private:
    const long m_file;
    std::atomic<long> m_contati = 0;
};

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList a = QCoreApplication::arguments();
    long pausa = 0;
    const qsizetype opzione = a.indexOf(QStringLiteral("--pausa-al-file"));
    if (opzione > 0 && opzione + 1 < a.size()) {
        pausa = a[opzione + 1].toLong();
        a.remove(opzione, 2);
    }
    if (a.size() < 4) {
        std::fprintf(stderr, "uso: riscrivi-storico VECCHIO NUOVO DESTINAZIONE [VOLTE] [--pausa-al-file K]\n");
        return 2;
    }
    const int destinazione = a[3].toInt();
    const long volte = a.size() > 4 ? a[4].toLong() : 0;
    StatoMercato m;
    storico::Inizializza_Tabella_Chiave(m);
    storico::SetStorico set[2];
    for (int i = 0; i < 2; ++i) {
        QString errore;
        const auto letto = storico::LeggiSetStorico(a[1 + i].toInt(), m.Tabella_Chiave, &errore);
        if (!letto) {
            std::fprintf(stderr, "%s\n", qPrintable(errore));
            return 1;
        }
        set[i] = *letto;
    }
    ScrittoreStorico scrittore;
    if (pausa > 0)
        scrittore.Imposta_Disco(std::make_shared<DiscoInPausa>(pausa));
    QString fallito;
    QObject::connect(&scrittore, &ScrittoreStorico::Scrittura_Fallita, &app,
                     [&](int, const QString &, const QString &errore) { fallito = errore; });
    std::printf("PRONTO\n");
    std::fflush(stdout);
    for (long giro = 0; volte == 0 || giro < volte; ++giro) {
        storico::CopiaSetStorico(m, set[(giro + 1) % 2]);
        for (const QString &tf : storico::Timeframes()) {
            const storico::Esito e = scrittore.Salva(m, destinazione, tf, ScrittoreStorico::Tempo_Reale);
            scrittore.Attendi();
            QCoreApplication::sendPostedEvents(&scrittore);
            if (!e.ok || !fallito.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(e.ok ? fallito : e.errore));
                return 1;
            }
            std::printf(".\n");
            std::fflush(stdout);
        }
    }
    return 0;
}

// Decoding 100,000 ticks arriving in 4 KiB reads, and one message as long as the
// decoder accepts arriving in 1 KiB reads.

#include "Bench.h"

#include "market/Protocollo.h"
#include "platform/Codec1252.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QByteArray flusso;
    for (int i = 0; i < 100000; ++i) {
        flusso += codec1252::Codifica(protocollo::Componi(
            QStringLiteral("COMM31"),
            {QStringLiteral("17/03/2012 15:%1:%2").arg(i / 60 % 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0')),
             QStringLiteral("20.150,%1").arg(i % 100), QStringLiteral("0,25"), QString::number(1000 + i)}));
    }
    size_t contati = 0;
    MisuraMediana(QStringLiteral("protocollo_100000_tick"), [&] {
        protocollo::Decodificatore d;
        contati = 0;
        for (qsizetype i = 0; i < flusso.size(); i += 4096)
            contati += d.Aggiungi(flusso.mid(i, 4096)).size();
    });
    const QByteArray lungo = "COMM25\xD8" + QByteArray(protocollo::Limite_Messaggio - 8, 'x') + "\xD8";
    size_t lunghi = 0;
    MisuraMediana(QStringLiteral("protocollo_messaggio_1MiB_a_pezzi_1KiB"), [&] {
        protocollo::Decodificatore d;
        lunghi = 0;
        for (qsizetype i = 0; i < lungo.size(); i += 1024)
            lunghi += d.Aggiungi(lungo.mid(i, 1024)).size();
    });
    return contati == 100000 && lunghi == 1 ? 0 : 1;
}

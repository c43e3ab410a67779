// Decoding 100,000 ticks arriving in 4 KiB reads.

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
    return contati == 100000 ? 0 : 1;
}

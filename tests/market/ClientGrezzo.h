#pragma once

// A bare client of the quote-server simulator: raw messages out, decoded messages
// in, reads counted. Tests use it to speak the protocol by hand, or to watch the
// same stream a session receives.

#include "market/Protocollo.h"
#include "platform/Codec1252.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <algorithm>
#include <vector>

namespace prova {

struct ClientGrezzo {
    QTcpSocket socket;
    protocollo::Decodificatore decodificatore;
    std::vector<protocollo::Messaggio> ricevuti;
    int letture = 0;

    explicit ClientGrezzo(quint16 porta)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            ++letture;
            for (auto &m : decodificatore.Aggiungi(socket.readAll()))
                ricevuti.push_back(std::move(m));
        });
        socket.connectToHost(QHostAddress::LocalHost, porta);
        socket.waitForConnected(3000);
    }
    void Invia(const QString &codice, const QStringList &campi = {})
    {
        socket.write(codec1252::Codifica(protocollo::Componi(codice, campi)));
        socket.flush();
    }
    int Conta(const QString &codice) const
    {
        return int(std::count_if(ricevuti.begin(), ricevuti.end(), [&](const auto &m) { return m.Codice == codice; }));
    }
    const protocollo::Messaggio *Ultimo(const QString &codice) const
    {
        for (auto it = ricevuti.rbegin(); it != ricevuti.rend(); ++it)
            if (it->Codice == codice)
                return &*it;
        return nullptr;
    }
};

}  // namespace prova

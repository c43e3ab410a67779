#pragma once

// Windows-1252, the encoding of every text exchanged with the quote server.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace codec1252 {

QString Decodifica(QByteArrayView byte);
// Characters with no Windows-1252 byte become '?'; *ok tells whether all were encodable.
QByteArray Codifica(const QString &testo, bool *ok = nullptr);
bool Codificabile(const QString &testo);

}  // namespace codec1252

#pragma once

// The fifteen tool pointers: 1-4 line, 5 delete line, 6-9 text, 10 delete text,
// 11-14 distance, 15 delete distance. They are pictures of our own, written as
// Windows cursor files (.CUR) into the "Sistema" folder when missing and read back
// from there, so a user may replace them with cursors of his own.

#include <QImage>
#include <QPoint>
#include <QString>

namespace puntatori {

inline constexpr int Numero_Puntatori = 15;

// "line1.CUR" .. "c_dist.CUR"; empty outside 1..15.
QString NomeFile(int numero);
// <program folder>/Sistema/<file>, exactly one separator between the parts.
QString Percorso(const QString &cartellaProgramma, const QString &cartellaSistema, int numero);

// Our picture of pointer `numero` (32 x 32, ARGB) and its hot spot.
QImage Immagine(int numero, QPoint &puntoAttivo);

// A .CUR file with one 32-bit image; empty for a null image.
QByteArray ScriviCur(const QImage &immagine, QPoint puntoAttivo);
// The first image of a .CUR (or .ICO) file and its hot spot; a null image when the
// data is no cursor we can read.
QImage LeggiCur(const QByteArray &dati, QPoint &puntoAttivo);

// Writes every missing pointer file; the number of files that could not be written.
int Crea_File_Puntatori(const QString &cartellaProgramma, const QString &cartellaSistema);

}  // namespace puntatori

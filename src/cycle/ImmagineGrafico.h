#pragma once

// Saving the chart of one slot as a picture: the title gets the product line for
// the picture, the user picks the file, the chart is written and the title goes
// back to what the drawing made it, whatever the user chose.

#include <QDateTime>
#include <QString>
#include <functional>

struct StatoProgramma;
struct StatoCicli;
class ControlliGrafici;

namespace ciclo {

// The pictures' folder: "<program folder>/Immagini", one trailing separator of
// the program folder dropped.
QString Cartella_Immagini(const StatoProgramma &programma);

// "<pictures' folder>/DD.MM.YY HH.MM <sottostante>", without extension.
QString Nome_Immagine_Proposto(const StatoProgramma &programma, const QDateTime &adesso, const QString &sottostante);

// The title the saved picture carries: the slot's own title, then the product line.
QString Titolo_Con_Marchio(const QString &titolo);

// The file the picture is written to, whose content is always BMP: a name that
// does not end in ".bmp" gets it, another extension kept before it ("x.png" ->
// "x.png.bmp"), so the name says what the file holds and none of the trader's name
// is lost.
QString Nome_Con_Estensione(const QString &file);

struct EsitoImmagine {
    bool scritto = false;
    QString file;     // the file written to, extension added; empty when the user cancelled
    QString errore;   // set when the file could not be written: which file, and why
};

// `scegli` shows the save dialog with the proposed name and returns the chosen
// file, or an empty text when the user cancelled: then nothing is written.
EsitoImmagine Salva_Immagine_Grafico(const StatoProgramma &programma, const StatoCicli &cicli,
                                     ControlliGrafici &controlli, int slot, const QDateTime &adesso,
                                     const std::function<QString(const QString &proposto)> &scegli);

}  // namespace ciclo

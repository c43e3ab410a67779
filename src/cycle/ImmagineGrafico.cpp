#include "cycle/ImmagineGrafico.h"

#include "cycle/ControlliGrafici.h"
#include "cycle/StatoCicli.h"
#include "platform/Costanti.h"
#include "platform/StatoProgramma.h"

#include <QDir>
#include <QFileInfo>

namespace ciclo {

QString Cartella_Immagini(const StatoProgramma &programma)
{
    QString cartella = programma.Cartella_Programma;
    if (cartella.endsWith(QLatin1Char('/')) || cartella.endsWith(QLatin1Char('\\')))
        cartella.chop(1);
    return cartella + QLatin1Char('/') + programma.Cartella_Immagini;
}

QString Nome_Immagine_Proposto(const StatoProgramma &programma, const QDateTime &adesso, const QString &sottostante)
{
    return Cartella_Immagini(programma) + QLatin1Char('/') + adesso.toString(QStringLiteral("dd.MM.yy HH.mm")) +
           QLatin1Char(' ') + sottostante;
}

QString Titolo_Con_Marchio(const QString &titolo)
{
    return titolo + QStringLiteral("\r\nWavelore \u00AE - ") + QLatin1String(costanti::Indirizzo_Web);
}

QString Nome_Con_Estensione(const QString &file)
{
    if (file.isEmpty() || file.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return file;
    return file + (file.endsWith(QLatin1Char('.')) ? QStringLiteral("bmp") : QStringLiteral(".bmp"));
}

namespace {

// Why a picture could not be written, as far as the folder tells.
QString motivoErrore(const QString &file)
{
    const QFileInfo cartella(QFileInfo(file).absolutePath());
    const QString nome = QDir::toNativeSeparators(cartella.absoluteFilePath());
    if (!cartella.exists())
        return QStringLiteral("la cartella %1 non esiste").arg(nome);
    if (!cartella.isDir())
        return QStringLiteral("%1 non \u00E8 una cartella").arg(nome);
    if (!cartella.isWritable())
        return QStringLiteral("la cartella %1 \u00E8 in sola lettura").arg(nome);
    return QStringLiteral("il file non pu\u00F2 essere scritto (disco pieno o file protetto)");
}

}  // namespace

EsitoImmagine Salva_Immagine_Grafico(const StatoProgramma &programma, const StatoCicli &cicli,
                                     ControlliGrafici &controlli, int slot, const QDateTime &adesso,
                                     const std::function<QString(const QString &proposto)> &scegli)
{
    EsitoImmagine e;
    GraficoControllo *g = slot >= 0 && slot < costanti::Num_Slot ? controlli.Graf_Battleplan(slot) : nullptr;
    if (!g)
        return e;
    const QString &titolo = cicli.Titoli_Grafici[size_t(slot)];
    g->Titolo_Grafico(Titolo_Con_Marchio(titolo), QString(), GraficoControllo::Colore_Predefinito, 0, -2, 1);
    g->Ridisegna_Grafico();

    const QString proposto = Nome_Immagine_Proposto(programma, adesso, cicli.Sottostante);
    e.file = Nome_Con_Estensione(scegli ? scegli(proposto) : QString());
    if (!e.file.isEmpty()) {
        e.scritto = g->Salva_Immagine(e.file);
        if (!e.scritto)
            e.errore = QStringLiteral("Impossibile salvare l'immagine del grafico in %1: %2.")
                           .arg(QDir::toNativeSeparators(e.file), motivoErrore(e.file));
    }

    g->Titolo_Grafico(titolo, QStringLiteral("Font=Arial|9|bold|"), cicli.Colori[81], 2, -5, 1);
    g->Ridisegna_Grafico();
    return e;
}

}  // namespace ciclo

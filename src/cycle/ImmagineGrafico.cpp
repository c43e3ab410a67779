#include "cycle/ImmagineGrafico.h"

#include "cycle/ControlliGrafici.h"
#include "cycle/StatoCicli.h"
#include "platform/Costanti.h"
#include "platform/StatoProgramma.h"

#include <QDir>

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
    e.file = scegli ? scegli(proposto) : QString();
    if (!e.file.isEmpty()) {
        e.scritto = g->Salva_Immagine(e.file);
        if (!e.scritto)
            e.errore = QStringLiteral("Impossibile salvare l'immagine del grafico in ") + QDir::toNativeSeparators(e.file);
    }

    g->Titolo_Grafico(titolo, QStringLiteral("Font=Arial|9|bold|"), cicli.Colori[81], 2, -5, 1);
    g->Ridisegna_Grafico();
    return e;
}

}  // namespace ciclo

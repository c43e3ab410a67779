#include "shell/Messaggi.h"

#include "platform/Schermo.h"

namespace messaggi {

namespace {
const QString aCapo = QStringLiteral("\r\n");
}

Preparazione Prepara_Messaggio(int tipo, const QString &testo)
{
    Preparazione p;
    p.tipo = (tipo >= 1 && tipo <= 6) ? tipo : 5;
    p.Tipo_Messaggio = QString::number(p.tipo);
    const std::uint32_t oro = schermo::Rgb(255, 215, 0);
    p.colore = p.tipo == 4 ? schermo::Rgb(0, 191, 255) : oro;
    p.domanda = p.tipo == 4;
    switch (p.tipo) {
    case 1:
        p.testo = QStringLiteral("E' stato raggiunto il limite massimo di Linee inseribili.") + aCapo + aCapo
                  + QStringLiteral("Per inserire una nuova Linea bisogna prima cancellarne almeno una.");
        break;
    case 2:
        p.testo = QStringLiteral("E' stato raggiunto il limite massimo di Testi inseribili.") + aCapo + aCapo
                  + QStringLiteral("Per inserire un nuovo Testoa bisogna prima cancellarne almeno uno.");
        break;
    case 3:
        p.testo = QStringLiteral("E' stato raggiunto il limite massimo di Distanze inseribili.") + aCapo + aCapo
                  + QStringLiteral("Per inserire una nuova Distanza bisogna prima cancellarne almeno una.");
        break;
    case 4:
        p.testo = aCapo + QStringLiteral("Confermi la chiusura di Wavelore ®") + aCapo + aCapo
                  + QStringLiteral("Premere SI per chiudere, NO per annullare.");
        break;
    case 5:
        p.testo = testo;
        break;
    case 6: {
        // code, flag, a field and the text; a shorter message shows no text rather than failing
        const QStringList pezzi = testo.split(QChar(0x00D8));
        p.testo = pezzi.size() > 3 ? pezzi.at(3) : QString();
        break;
    }
    }
    if (p.tipo == 4 || p.tipo == 6)
        p.si = p.no = true;
    else
        p.ok = true;
    return p;
}

Azione Azione_Bottone(int tipo, Bottone bottone)
{
    switch (bottone) {
    case Bottone::Ok:
        return (tipo >= 1 && tipo <= 3) || tipo == 5 ? Azione::Chiudi : Azione::Nessuna;
    case Bottone::Si:
        return tipo == 4 || tipo == 6 ? Azione::Chiudi_Programma : Azione::Nessuna;
    case Bottone::No:
        if (tipo == 4)
            return Azione::Chiudi;
        return tipo == 6 ? Azione::Chiudi_Programma : Azione::Nessuna;
    }
    return Azione::Nessuna;
}

}  // namespace messaggi

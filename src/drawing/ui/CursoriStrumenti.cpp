#include "drawing/ui/CursoriStrumenti.h"

#include "drawing/Puntatori.h"

#include <QFile>
#include <QPixmap>

CursoriStrumenti::CursoriStrumenti(const QString &cartellaProgramma, const QString &cartellaSistema)
{
    m_nonScritti = puntatori::Crea_File_Puntatori(cartellaProgramma, cartellaSistema);
    for (int n = 1; n <= puntatori::Numero_Puntatori; ++n) {
        QFile f(puntatori::Percorso(cartellaProgramma, cartellaSistema, n));
        QPoint punto;
        QImage immagine;
        if (f.open(QIODevice::ReadOnly))
            immagine = puntatori::LeggiCur(f.readAll(), punto);
        if (immagine.isNull()) {
            ++m_nonLetti;
            immagine = puntatori::Immagine(n, punto);
        }
        m_cursori[size_t(n)] = QCursor(QPixmap::fromImage(immagine), punto.x(), punto.y());
    }
}

const QCursor *CursoriStrumenti::Cursore(int numero) const
{
    if (numero < 1 || numero > puntatori::Numero_Puntatori || !m_cursori[size_t(numero)])
        return nullptr;
    return &*m_cursori[size_t(numero)];
}

#include "chart/RiduzioneColonne.h"

#include "chart/GeometriaSerie.h"

#include <cstddef>

namespace render_grafico {

namespace {

void riduciPerColonna(const std::vector<QPointF> &punti, const Trasformazione &t, double scala,
                      std::vector<QPointF> &v)
{
    std::size_t i = 0;
    while (i < punti.size()) {
        const QPointF primo = t(punti[i].x(), punti[i].y());
        const int colonna = ColonnaDi(primo.x() * scala);
        QPointF basso = primo, alto = primo;
        std::size_t iBasso = i, iAlto = i;
        std::size_t j = i + 1;
        for (; j < punti.size(); ++j) {
            const QPointF q = t(punti[j].x(), punti[j].y());
            if (ColonnaDi(q.x() * scala) != colonna)
                break;
            if (q.y() < alto.y()) {
                alto = q;
                iAlto = j;
            }
            if (q.y() > basso.y()) {
                basso = q;
                iBasso = j;
            }
        }
        if (iBasso == iAlto) {
            v.push_back(basso);
        } else if (iBasso < iAlto) {
            v.push_back(basso);
            v.push_back(alto);
        } else {
            v.push_back(alto);
            v.push_back(basso);
        }
        i = j;
    }
}

}  // namespace

void MappaPunti(const std::vector<QPointF> &punti, const Trasformazione &t, double scala, bool perColonna,
                std::vector<QPointF> &v)
{
    v.clear();
    if (perColonna) {
        riduciPerColonna(punti, t, scala, v);
        return;
    }
    for (const QPointF &q : punti)
        v.push_back(t(q.x(), q.y()));
}

}  // namespace render_grafico

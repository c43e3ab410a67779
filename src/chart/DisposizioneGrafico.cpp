#include "chart/DisposizioneGrafico.h"

#include "chart/ModelloGrafico.h"
#include "platform/Schermo.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace render_grafico {

namespace {

bool finito(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

Intervallo daDati(const ModelloGrafico &m, bool suX, int numero, bool includiX1Liberi)
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const SerieGrafico &s : m.serie()) {
        const int asse = suX ? s.asseX : s.asseY;
        bool conta = asse == numero;
        if (!conta && suX && includiX1Liberi && asse != 1) {
            const AsseGrafico &a = m.asseX(asse);
            conta = !(a.fissa && finito(a.minimo, a.massimo) && a.massimo > a.minimo);
        }
        if (!conta)
            continue;
        for (const QPointF &p : s.punti) {
            const double v = suX ? p.x() : p.y();
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    if (suX && m.etichette().asseX != 0 && std::isfinite(m.etichette().fine) && m.etichette().fine >= 1) {
        lo = std::min(lo, 1.0);
        hi = std::max(hi, m.etichette().fine);
    }
    Intervallo r;
    if (!finito(lo, hi))
        return r;
    if (hi == lo) {
        lo -= 1;
        hi += 1;
    } else if (!suX) {
        const double margine = (hi - lo) * 0.05;
        lo -= margine;
        hi += margine;
    }
    r = {lo, hi, true};
    return r;
}

Intervallo intervalloX(const ModelloGrafico &m, int numero)
{
    const AsseGrafico &a = m.asseX(numero);
    if (a.esiste && a.fissa && finito(a.minimo, a.massimo)) {
        if (a.massimo > a.minimo)
            return {a.minimo, a.massimo, true};
        if (a.massimo == a.minimo)
            return {a.minimo - 1, a.massimo + 1, true};
    }
    if (numero != 1)
        return intervalloX(m, 1);
    Intervallo r = daDati(m, true, 1, true);
    if (!r.valido)
        r = {0.0, 1.0, true};
    return r;
}

Intervallo intervalloY(const ModelloGrafico &m, int numero)
{
    const AsseGrafico &a = m.asseY(numero);
    if (!a.esiste)
        return {};
    if (a.fissa) {
        if (!finito(a.minimo, a.massimo) || a.massimo < a.minimo)
            return {};
        if (a.massimo > a.minimo)
            return {a.minimo, a.massimo, true};
        // A flat price still shows its line in the middle; a flat pane shows nothing.
        if (numero <= 2)
            return {a.minimo - 1, a.massimo + 1, true};
        return {};
    }
    return daDati(m, false, numero, false);
}

int decimali(const QString &formato)
{
    const int punto = formato.indexOf(QLatin1Char('.'));
    return punto < 0 ? 0 : int(formato.size()) - punto - 1;
}

QStringList righe(const QString &testo)
{
    QString t = testo;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

// Labels of the price axis: a round step giving a label every 40 pixels or so.
std::vector<double> tacche(const Intervallo &i, double altezza)
{
    std::vector<double> r;
    if (!i.valido || altezza < 20)
        return r;
    const double grezzo = (i.massimo - i.minimo) / std::max(2.0, altezza / 40.0);
    if (!(grezzo > 0) || !std::isfinite(grezzo))
        return r;
    const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
    double passo = potenza;
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        passo = f * potenza;
        if (passo >= grezzo)
            break;
    }
    const double primo = std::ceil(i.minimo / passo) * passo;
    for (double v = primo; v <= i.massimo + passo * 1e-9 && r.size() < 200; v += passo)
        r.push_back(std::fabs(v) < passo * 1e-9 ? 0.0 : v);
    return r;
}

// Lines laid out from `alto` down, each centred on `centro` and the block kept
// inside [sinistra, destra]; a line wider than that is shortened.
Etichetta centrata(Etichetta::Tipo tipo, const QStringList &testi, const QFontMetricsF &fm, double centro,
                   double alto, double sinistra, double destra)
{
    Etichetta e;
    e.tipo = tipo;
    const double spazio = std::max(0.0, destra - sinistra);
    std::vector<double> larghezze;
    double larghezza = 0;
    QStringList r;
    for (const QString &riga : testi) {
        QString t = riga;
        double w = fm.horizontalAdvance(t);
        if (w > spazio) {
            t = fm.elidedText(t, Qt::ElideRight, spazio);
            w = fm.horizontalAdvance(t);
        }
        r << t;
        larghezze.push_back(w);
        larghezza = std::max(larghezza, w);
    }
    const double x0 = std::clamp(centro - larghezza / 2, sinistra, std::max(sinistra, destra - larghezza));
    double y = alto;
    for (qsizetype i = 0; i < r.size(); ++i) {
        e.righe.push_back({r[i], QPointF(x0 + (larghezza - larghezze[size_t(i)]) / 2, y)});
        y += fm.lineSpacing();
    }
    const double altezza = r.isEmpty() ? 0 : fm.lineSpacing() * double(r.size() - 1) + fm.height();
    e.rettangolo = QRectF(x0, alto, larghezza, altezza);
    return e;
}

void etichettePrezzo(const ModelloGrafico &m, Disposizione &d)
{
    if (!d.y[1].valido)
        return;
    const AsseGrafico &a = m.asseY(2);
    const QFontMetricsF fm(FontDaTesto(a.font));
    const int dec = decimali(a.formato);
    const Trasformazione t = Mappa(d, 1, 2);
    if (!t.valida)
        return;
    const QRectF &v = d.visibile;
    for (double valore : tacche(d.y[1], d.piano.height())) {
        Etichetta e;
        e.tipo = Etichetta::Tipo::Prezzo;
        const QString testo = QString::number(valore, 'f', dec);
        const double w = fm.horizontalAdvance(testo);
        // Centred on its value, but never out of sight at the plot's ends.
        // A font taller than the visible part keeps the label at its top.
        const double alto = std::clamp(t(0, valore).y() - fm.height() / 2, v.top(),
                                       std::max(v.top(), v.bottom() - fm.height()));
        e.rettangolo = QRectF(d.piano.right() + 4, alto, w, fm.height());
        if (e.rettangolo.right() > v.right())
            continue;
        e.righe.push_back({testo, e.rettangolo.topLeft()});
        d.etichette.push_back(std::move(e));
    }
}

// Text labels under the plot, dropped where they would run into the previous one.
void etichetteAsseX(const ModelloGrafico &m, Disposizione &d)
{
    if (m.etichette().asseX == 0)
        return;
    const AsseGrafico &a = m.asseX(m.etichette().asseX);
    const QFontMetricsF fm(FontDaTesto(a.font));
    const Trasformazione t = Mappa(d, m.etichette().asseX, 1);
    if (!t.valida)
        return;
    const QRectF &v = d.visibile;
    double fineUltima = -std::numeric_limits<double>::infinity();
    for (const EtichettaAsse &voce : m.etichette().voci) {
        const double x = t(voce.x, 0).x();
        if (x < d.piano.left() - 1 || x > d.piano.right() + 1)
            continue;
        Etichetta e = centrata(Etichetta::Tipo::AsseX, righe(voce.testo), fm, x, d.piano.bottom() + 3, v.left(),
                               v.right());
        if (e.rettangolo.left() < fineUltima + 4 || e.rettangolo.bottom() > v.bottom())
            continue;
        fineUltima = e.rettangolo.right();
        d.etichette.push_back(std::move(e));
    }
}

}  // namespace

QString Etichetta::testo() const
{
    QStringList r;
    for (const RigaEtichetta &riga : righe)
        r << riga.testo;
    return r.join(QLatin1Char('\n'));
}

QFont FontDaTesto(const QString &testo)
{
    QFont f = schermo::Carattere(8);
    QString t = testo.trimmed();
    if (t.startsWith(QLatin1String("font="), Qt::CaseInsensitive))
        t = t.mid(5);
    const QStringList parti = t.split(QLatin1Char('|'));
    if (parti.size() == 1) {
        // A bare weight keeps the default face and size.
        f.setBold(parti[0].compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0);
        return f;
    }
    // The drawing code names Arial: the program's own face has its metrics.
    const QString famiglia = parti[0].trimmed();
    if (!famiglia.isEmpty() && famiglia.compare(QLatin1String("Arial"), Qt::CaseInsensitive) != 0)
        f.setFamily(famiglia);
    bool ok = false;
    const double dimensione = parti.value(1).trimmed().toDouble(&ok);
    if (ok && dimensione >= 1 && dimensione <= 200)
        f.setPointSizeF(dimensione);
    f.setBold(parti.value(2).trimmed().compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0);
    return f;
}

Disposizione Calcola(const ModelloGrafico &m, const QRectF &area, const Vista &vista)
{
    Disposizione d;
    d.area = area;
    d.visibile = area.marginsRemoved(vista.coperta).intersected(area);
    if (d.visibile.width() < 80 || d.visibile.height() < 60)
        d.visibile = area;
    else
        d.testata = QRectF(QPointF(area.left() + vista.testata.left(), area.top() + vista.testata.top()),
                           QPointF(area.right() - vista.testata.right(), d.visibile.top()))
                        .intersected(area);
    const QRectF &v = d.visibile;
    for (int n = 1; n <= 3; ++n)
        d.x[size_t(n - 1)] = intervalloX(m, n);
    for (int n = 1; n <= 7; ++n)
        d.y[size_t(n - 1)] = intervalloY(m, n);

    // Title on top, X labels below, price labels on the right: each band as
    // deep or as wide as what it holds.
    double alto = 4, basso = 6, destra = 6;
    const double sinistra = 6;
    const QStringList titolo = m.titolo().testo.isEmpty() ? QStringList() : righe(m.titolo().testo);
    const QFontMetricsF fmTitolo(FontDaTesto(m.titolo().font));
    bool titoloInTestata = false;
    if (!titolo.isEmpty()) {
        double larghezza = 0;
        for (const QString &riga : titolo)
            larghezza = std::max(larghezza, fmTitolo.horizontalAdvance(riga));
        const double altezza = fmTitolo.lineSpacing() * double(titolo.size() - 1) + fmTitolo.height();
        titoloInTestata = d.testata.width() >= larghezza + 4 && d.testata.height() >= altezza;
        if (!titoloInTestata)
            alto = 4 + fmTitolo.lineSpacing() * double(titolo.size()) + 2;
    }
    if (m.etichette().asseX != 0) {
        const QFontMetricsF fm(FontDaTesto(m.asseX(m.etichette().asseX).font));
        qsizetype massimo = 1;
        for (const EtichettaAsse &e : m.etichette().voci)
            massimo = std::max(massimo, righe(e.testo).size());
        basso = 4 + fm.lineSpacing() * double(massimo) + 2;
    }
    if (d.y[1].valido) {
        const AsseGrafico &a = m.asseY(2);
        const QFontMetricsF fm(FontDaTesto(a.font));
        const int dec = decimali(a.formato);
        double w = 0;
        for (double valore : tacche(d.y[1], v.height() - alto - basso))
            w = std::max(w, fm.horizontalAdvance(QString::number(valore, 'f', dec)));
        destra = 8 + std::min(w, v.width() / 4);
    }
    d.piano = v.adjusted(sinistra, alto, -destra, -basso);
    if (d.piano.width() < 10 || d.piano.height() < 10)
        d.piano = v.adjusted(1, 1, -1, -1);

    etichettePrezzo(m, d);
    etichetteAsseX(m, d);
    if (titoloInTestata) {
        const double altezza = fmTitolo.lineSpacing() * double(titolo.size() - 1) + fmTitolo.height();
        d.etichette.push_back(centrata(Etichetta::Tipo::Titolo, titolo, fmTitolo, d.piano.center().x(),
                                       d.testata.top() + (d.testata.height() - altezza) / 2, d.testata.left() + 2,
                                       d.testata.right() - 2));
    } else if (!titolo.isEmpty()) {
        d.etichette.push_back(centrata(Etichetta::Tipo::Titolo, titolo, fmTitolo, d.piano.center().x(), v.top() + 3,
                                       v.left() + 2, v.right() - 2));
    }
    return d;
}

Trasformazione Mappa(const Disposizione &d, int asseX, int asseY)
{
    Trasformazione t;
    if (asseX < 1 || asseX > 3 || asseY < 1 || asseY > 7)
        return t;
    const Intervallo &ix = d.x[size_t(asseX - 1)];
    const Intervallo &iy = d.y[size_t(asseY - 1)];
    if (!ix.valido || !iy.valido || !(ix.massimo > ix.minimo) || !(iy.massimo > iy.minimo))
        return t;
    t.sx = d.piano.width() / (ix.massimo - ix.minimo);
    t.ox = d.piano.left() - ix.minimo * t.sx;
    t.sy = -d.piano.height() / (iy.massimo - iy.minimo);
    t.oy = d.piano.bottom() - iy.minimo * t.sy;
    t.valida = std::isfinite(t.sx) && std::isfinite(t.sy) && std::isfinite(t.ox) && std::isfinite(t.oy);
    return t;
}

QPointF InUnita(const Disposizione &d, QPointF pixel)
{
    const Intervallo &ix = d.x[0];
    const Intervallo &iy = d.y[0];
    if (!ix.valido || !iy.valido || d.piano.width() <= 0 || d.piano.height() <= 0)
        return {};
    return {ix.minimo + (pixel.x() - d.piano.left()) / d.piano.width() * (ix.massimo - ix.minimo),
            iy.minimo + (d.piano.bottom() - pixel.y()) / d.piano.height() * (iy.massimo - iy.minimo)};
}

QPointF InPixel(const Disposizione &d, int asseX, int asseY, QPointF valore)
{
    const Trasformazione t = Mappa(d, asseX, asseY);
    return t.valida ? t(valore.x(), valore.y()) : QPointF(qQNaN(), qQNaN());
}

Etichetta DisponiTesto(const Disposizione &d, const TestoGrafico &t, const QFont &font)
{
    Etichetta e;
    e.tipo = Etichetta::Tipo::Testo;
    if (t.testo.isEmpty())
        return e;
    QPointF ancora;
    if (t.modo == 1) {
        ancora = QPointF(d.piano.left() + t.x / 100.0 * d.piano.width(),
                         d.piano.bottom() - t.y / 100.0 * d.piano.height());
    } else {
        const Trasformazione tr = Mappa(d, t.asseX, t.asseY);
        if (!tr.valida)
            return e;
        ancora = tr(t.x, t.y);
    }
    if (!finito(ancora.x(), ancora.y()) || std::fabs(ancora.x()) > Limite_Sicuro
        || std::fabs(ancora.y()) > Limite_Sicuro)
        return e;

    // The block hangs down from its anchor, each line aligned on its own.
    const QFontMetricsF fm(font);
    double y = ancora.y();
    for (const QString &riga : righe(t.testo)) {
        const double larghezza = fm.horizontalAdvance(riga);
        double x = ancora.x();
        if (t.allineamento == 1)
            x -= larghezza / 2;
        else if (t.allineamento == 2)
            x -= larghezza;
        e.righe.push_back({riga, QPointF(x, y)});
        e.rettangolo |= QRectF(x, y, larghezza, fm.height());
        y += fm.lineSpacing();
    }
    return e;
}

std::vector<Etichetta> DisponiTesti(const ModelloGrafico &m, const Disposizione &d)
{
    std::vector<Etichetta> r;
    r.reserve(m.testi().size());
    std::vector<QRectF> distinti;
    for (const TestoGrafico &t : m.testi()) {
        Etichetta e = DisponiTesto(d, t, FontDaTesto(t.font));
        if (t.modo == 2 && !e.righe.empty()) {
            QPointF spinta(std::max(0.0, d.piano.left() - e.rettangolo.left()), 0.0);
            // Each step clears one rectangle; as many steps as rectangles clear them all.
            for (size_t passo = 0; passo <= distinti.size(); ++passo) {
                const QRectF qui = e.rettangolo.translated(spinta);
                const auto urtato = std::find_if(distinti.begin(), distinti.end(),
                                                 [&](const QRectF &altro) { return altro.intersects(qui); });
                if (urtato == distinti.end())
                    break;
                spinta.ry() += urtato->bottom() - qui.top();
            }
            e.rettangolo.translate(spinta);
            for (RigaEtichetta &riga : e.righe)
                riga.origine += spinta;
            distinti.push_back(e.rettangolo);
        }
        r.push_back(std::move(e));
    }
    return r;
}

std::vector<Etichetta> Etichette(const ModelloGrafico &m, const Disposizione &d)
{
    std::vector<Etichetta> r = d.etichette;
    for (Etichetta &e : DisponiTesti(m, d))
        if (!e.righe.empty())
            r.push_back(std::move(e));
    return r;
}

}  // namespace render_grafico

#include "drawing/Puntatori.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <array>

namespace puntatori {

namespace {

const std::array<const char *, Numero_Puntatori + 1> nomi = {
    "",          "line1.CUR", "line2.CUR", "line3.CUR", "line4.CUR", "c_line.CUR", "abc1.CUR", "abc2.CUR",
    "abc3.CUR",  "abc4.CUR",  "c_abc.CUR", "dist1.CUR", "dist2.CUR", "dist3.CUR", "dist4.CUR", "c_dist.CUR"};

// The four tool colours in button order: red, cyan, green, yellow.
const std::array<QColor, 4> coloriStrumento = {QColor(255, 0, 0), QColor(0, 255, 255), QColor(0, 255, 0),
                                               QColor(249, 214, 22)};

constexpr int lato = 32;

// A cross-hair with its centre on the hot spot, white with a dark outline so it
// shows on both chart backgrounds.
void croce(QPainter &p, QPoint c)
{
    p.setPen(QPen(QColor(20, 20, 20), 3));
    p.drawLine(c.x() - 7, c.y(), c.x() + 7, c.y());
    p.drawLine(c.x(), c.y() - 7, c.x(), c.y() + 7);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(c.x() - 6, c.y(), c.x() + 6, c.y());
    p.drawLine(c.x(), c.y() - 6, c.x(), c.y() + 6);
}

// A stroke letter T for the text tools: no fonts needed.
void lettera(QPainter &p, const QColor &colore)
{
    for (int passo = 0; passo < 2; ++passo) {
        p.setPen(QPen(passo ? colore : QColor(20, 20, 20), passo ? 2 : 4, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(16, 15, 28, 15);
        p.drawLine(22, 15, 22, 28);
    }
}

void segmento(QPainter &p, const QColor &colore)
{
    for (int passo = 0; passo < 2; ++passo) {
        p.setPen(QPen(passo ? colore : QColor(20, 20, 20), passo ? 2 : 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(15, 28, 29, 14);
    }
}

void freccia(QPainter &p, const QColor &colore)
{
    for (int passo = 0; passo < 2; ++passo) {
        p.setPen(QPen(passo ? colore : QColor(20, 20, 20), passo ? 2 : 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(15, 22, 29, 22);
        p.drawLine(15, 22, 19, 18);
        p.drawLine(15, 22, 19, 26);
        p.drawLine(29, 22, 25, 18);
        p.drawLine(29, 22, 25, 26);
    }
}

void croceCancella(QPainter &p)
{
    for (int passo = 0; passo < 2; ++passo) {
        p.setPen(QPen(passo ? QColor(255, 40, 40) : QColor(20, 20, 20), passo ? 2 : 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(24, 20, 30, 26);
        p.drawLine(30, 20, 24, 26);
    }
}

void scrivi16(QDataStream &s, int v) { s << quint16(v); }
void scrivi32(QDataStream &s, qint64 v) { s << quint32(v); }

}  // namespace

QString NomeFile(int numero)
{
    if (numero < 1 || numero > Numero_Puntatori)
        return {};
    return QString::fromLatin1(nomi[size_t(numero)]);
}

QString Percorso(const QString &cartellaProgramma, const QString &cartellaSistema, int numero)
{
    QString base = cartellaProgramma;
    // The root folder loses its separator too, so exactly one stands before the system folder.
    while (!base.isEmpty() && (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\'))))
        base.chop(1);
    return base + QLatin1Char('/') + cartellaSistema + QLatin1Char('/') + NomeFile(numero);
}

QImage Immagine(int numero, QPoint &puntoAttivo)
{
    puntoAttivo = QPoint(8, 8);
    QImage img(lato, lato, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    if (numero < 1 || numero > Numero_Puntatori)
        return img;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    croce(p, puntoAttivo);
    const int gruppo = (numero - 1) / 5;   // 0 line, 1 text, 2 distance
    const int voce = (numero - 1) % 5;     // 0..3 colours, 4 delete
    const QColor colore = voce < 4 ? coloriStrumento[size_t(voce)] : QColor(230, 230, 230);
    if (gruppo == 0)
        segmento(p, colore);
    else if (gruppo == 1)
        lettera(p, colore);
    else
        freccia(p, colore);
    if (voce == 4)
        croceCancella(p);
    p.end();
    return img;
}

QByteArray ScriviCur(const QImage &immagine, QPoint puntoAttivo)
{
    if (immagine.isNull() || immagine.width() > 256 || immagine.height() > 256)
        return {};
    const QImage img = immagine.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int rigaMaschera = ((w + 31) / 32) * 4;
    const qint64 dimColori = qint64(w) * h * 4;
    const qint64 dimMaschera = qint64(rigaMaschera) * h;
    const qint64 dimImmagine = 40 + dimColori + dimMaschera;

    QByteArray dati;
    QDataStream s(&dati, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    // Directory: reserved, type 2 (cursor), one entry.
    scrivi16(s, 0);
    scrivi16(s, 2);
    scrivi16(s, 1);
    s << quint8(w == 256 ? 0 : w) << quint8(h == 256 ? 0 : h) << quint8(0) << quint8(0);
    scrivi16(s, puntoAttivo.x());
    scrivi16(s, puntoAttivo.y());
    scrivi32(s, dimImmagine);
    scrivi32(s, 6 + 16);
    // Device-independent bitmap, twice the height for the colour and the mask rows.
    scrivi32(s, 40);
    scrivi32(s, w);
    scrivi32(s, 2 * h);
    scrivi16(s, 1);
    scrivi16(s, 32);
    scrivi32(s, 0);
    scrivi32(s, dimColori + dimMaschera);
    for (int i = 0; i < 4; ++i)
        scrivi32(s, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *riga = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            s << quint8(qBlue(riga[x])) << quint8(qGreen(riga[x])) << quint8(qRed(riga[x])) << quint8(qAlpha(riga[x]));
    }
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *riga = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        QByteArray maschera(rigaMaschera, 0);
        for (int x = 0; x < w; ++x)
            if (qAlpha(riga[x]) == 0)
                maschera[x / 8] = char(uchar(maschera[x / 8]) | (0x80 >> (x % 8)));
        s.writeRawData(maschera.constData(), int(maschera.size()));
    }
    return dati;
}

QImage LeggiCur(const QByteArray &dati, QPoint &puntoAttivo)
{
    puntoAttivo = QPoint();
    if (dati.size() < 6 + 16 + 40)
        return {};
    QDataStream s(dati);
    s.setByteOrder(QDataStream::LittleEndian);
    quint16 riservato, tipo, numero;
    s >> riservato >> tipo >> numero;
    if (riservato != 0 || (tipo != 1 && tipo != 2) || numero < 1)
        return {};
    quint8 w8, h8, nColori, r8;
    quint16 hx, hy;
    quint32 dimensione, inizio;
    s >> w8 >> h8 >> nColori >> r8 >> hx >> hy >> dimensione >> inizio;
    const int w = w8 ? w8 : 256, h = h8 ? h8 : 256;
    if (qint64(inizio) + qint64(dimensione) > dati.size() || dimensione < 40)
        return {};
    const QByteArray immagine = dati.mid(qsizetype(inizio), qsizetype(dimensione));
    QDataStream b(immagine);
    b.setByteOrder(QDataStream::LittleEndian);
    quint32 dimIntestazione;
    qint32 bw, bh;
    quint16 piani, bit;
    quint32 compressione;
    b >> dimIntestazione >> bw >> bh >> piani >> bit >> compressione;
    if (dimIntestazione != 40 || bit != 32 || compressione != 0 || bw != w || (bh != 2 * h && bh != h)) {
        // Another depth or an embedded PNG: let the image readers try.
        QImage altra = QImage::fromData(dati);
        if (!altra.isNull())
            puntoAttivo = tipo == 2 ? QPoint(hx, hy) : QPoint(0, 0);
        return altra;
    }
    const qint64 necessari = 40 + qint64(w) * h * 4;
    if (immagine.size() < necessari)
        return {};
    QImage img(w, h, QImage::Format_ARGB32);
    const uchar *pixel = reinterpret_cast<const uchar *>(immagine.constData()) + 40;
    for (int y = 0; y < h; ++y) {
        QRgb *riga = reinterpret_cast<QRgb *>(img.scanLine(h - 1 - y));
        for (int x = 0; x < w; ++x, pixel += 4)
            riga[x] = qRgba(pixel[2], pixel[1], pixel[0], pixel[3]);
    }
    puntoAttivo = tipo == 2 ? QPoint(qMin<int>(hx, w - 1), qMin<int>(hy, h - 1)) : QPoint(0, 0);
    return img;
}

int Crea_File_Puntatori(const QString &cartellaProgramma, const QString &cartellaSistema)
{
    int falliti = 0;
    for (int n = 1; n <= Numero_Puntatori; ++n) {
        const QString percorso = Percorso(cartellaProgramma, cartellaSistema, n);
        if (QFile::exists(percorso))
            continue;
        QDir().mkpath(QFileInfo(percorso).absolutePath());
        QPoint punto;
        const QByteArray dati = ScriviCur(Immagine(n, punto), punto);
        QSaveFile f(percorso);
        if (!f.open(QIODevice::WriteOnly) || f.write(dati) != dati.size() || !f.commit())
            ++falliti;
    }
    return falliti;
}

}  // namespace puntatori

#include "drawing/ui/PulsantiStrumenti.h"

#include "drawing/Puntatori.h"
#include "drawing/StrumentiGrafici.h"

#include <QGridLayout>
#include <QPainter>
#include <QToolButton>

namespace {

QToolButton *pulsante(QWidget *genitore, const QString &nome, const QIcon &icona, const QString &aiuto)
{
    auto *b = new QToolButton(genitore);
    b->setObjectName(nome);
    b->setIcon(icona);
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    b->setToolTip(aiuto);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QIcon iconaPuntatore(int numero)
{
    QPoint punto;
    return QIcon(QPixmap::fromImage(puntatori::Immagine(numero, punto)));
}

QIcon iconaMirino()
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QPen(QColor(128, 128, 128), 2));
    g.drawLine(16, 3, 16, 29);
    g.drawLine(3, 16, 29, 16);
    g.drawEllipse(QPoint(16, 16), 8, 8);
    return QIcon(p);
}

// The grid buttons: subdivision lines across the plot, or one line per trading day.
QIcon iconaGriglia(int indice)
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QPen(QColor(128, 128, 128), 1, indice == 0 ? Qt::SolidLine : Qt::DashLine));
    for (int x = 6; x < 32; x += indice == 0 ? 7 : 10)
        g.drawLine(x, 3, x, 29);
    if (indice == 0)
        g.drawLine(3, 16, 29, 16);
    return QIcon(p);
}

QIcon iconaLineaStorico()
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QPen(QColor(128, 128, 128), 2));
    const QPoint punti[] = {{3, 24}, {10, 14}, {16, 19}, {22, 8}, {29, 12}};
    g.drawPolyline(punti, 5);
    for (const QPoint &q : punti)
        g.drawRect(q.x() - 1, q.y() - 1, 2, 2);
    return QIcon(p);
}

}  // namespace

PulsantiStrumenti::PulsantiStrumenti(StrumentiGrafici &strumenti, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Pulsanti_Strumenti"));
    auto *griglia = new QGridLayout(this);
    griglia->setContentsMargins(2, 2, 2, 2);
    griglia->setSpacing(2);
    static const char *colori[4] = {"rosso", "ciano", "verde", "giallo"};
    for (int i = 0; i < 4; ++i) {
        const QString colore = QString::fromLatin1(colori[i]);
        Cmd_Line[size_t(i)] = pulsante(this, QStringLiteral("Cmd_Line_%1").arg(i), iconaPuntatore(1 + i),
                                       QStringLiteral("Linea ") + colore);
        Cmd_Testo[size_t(i)] = pulsante(this, QStringLiteral("Cmd_Testo_%1").arg(i), iconaPuntatore(6 + i),
                                        QStringLiteral("Testo ") + colore);
        Cmd_Distanza[size_t(i)] = pulsante(this, QStringLiteral("Cmd_Distanza_%1").arg(i), iconaPuntatore(11 + i),
                                           QStringLiteral("Distanza ") + colore);
        griglia->addWidget(Cmd_Line[size_t(i)], 0, i);
        griglia->addWidget(Cmd_Testo[size_t(i)], 1, i);
        griglia->addWidget(Cmd_Distanza[size_t(i)], 2, i);
        connect(Cmd_Line[size_t(i)], &QToolButton::clicked, this, [&strumenti, i] { strumenti.Cmd_Line_Click(i); });
        connect(Cmd_Testo[size_t(i)], &QToolButton::clicked, this, [&strumenti, i] { strumenti.Cmd_Testo_Click(i); });
        connect(Cmd_Distanza[size_t(i)], &QToolButton::clicked, this,
                [&strumenti, i] { strumenti.Cmd_Distanza_Click(i); });
    }
    Cmd_Cancella_Linea = pulsante(this, QStringLiteral("Cmd_Cancella_Linea"), iconaPuntatore(5),
                                  QStringLiteral("Cancella linea"));
    Cmd_Cancella_Testo = pulsante(this, QStringLiteral("Cmd_Cancella_Testo"), iconaPuntatore(10),
                                  QStringLiteral("Cancella testo"));
    Cmd_Cancella_Distanza = pulsante(this, QStringLiteral("Cmd_Cancella_Distanza"), iconaPuntatore(15),
                                     QStringLiteral("Cancella distanza"));
    Cmd_Punt_Graf = pulsante(this, QStringLiteral("Cmd_Punt_Graf"), iconaMirino(), QStringLiteral("Mirino"));
    griglia->addWidget(Cmd_Cancella_Linea, 0, 4);
    griglia->addWidget(Cmd_Cancella_Testo, 1, 4);
    griglia->addWidget(Cmd_Cancella_Distanza, 2, 4);
    griglia->addWidget(Cmd_Punt_Graf, 3, 0);
    for (int i = 0; i < 2; ++i) {
        Cmd_Griglia_Graf[size_t(i)] = pulsante(this, QStringLiteral("Cmd_Griglia_Graf_%1").arg(i), iconaGriglia(i),
                                               i == 0 ? QStringLiteral("Suddivisioni del ciclo")
                                                      : QStringLiteral("Separatori dei giorni"));
        griglia->addWidget(Cmd_Griglia_Graf[size_t(i)], 3, 1 + i);
    }
    Cmd_Linea_Stor = pulsante(this, QStringLiteral("Cmd_Linea_Stor"), iconaLineaStorico(),
                              QStringLiteral("Aspetto della linea dei prezzi"));
    griglia->addWidget(Cmd_Linea_Stor, 3, 3);
    Cmd_Oggetti_Graf = new QToolButton(this);
    Cmd_Oggetti_Graf->setObjectName(QStringLiteral("Cmd_Oggetti_Graf"));
    Cmd_Oggetti_Graf->setText(QStringLiteral("Ogg"));
    Cmd_Oggetti_Graf->setToolTip(QStringLiteral("Oggetti Grafico"));
    Cmd_Oggetti_Graf->setFocusPolicy(Qt::NoFocus);
    griglia->addWidget(Cmd_Oggetti_Graf, 3, 4);
    connect(Cmd_Cancella_Linea, &QToolButton::clicked, this, [&strumenti] { strumenti.Cmd_Cancella_Linea_Click(); });
    connect(Cmd_Cancella_Testo, &QToolButton::clicked, this, [&strumenti] { strumenti.Cmd_Cancella_Testo_Click(); });
    connect(Cmd_Cancella_Distanza, &QToolButton::clicked, this,
            [&strumenti] { strumenti.Cmd_Cancella_Distanza_Click(); });
    connect(Cmd_Punt_Graf, &QToolButton::clicked, this, [&strumenti] { strumenti.Cmd_Punt_Graf_Click(); });
}

#include "shell/ui/Avvisi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace {

QMessageBox::Icon Icona(Avviso tipo)
{
    switch (tipo) {
    case Avviso::Critico:
        return QMessageBox::Critical;
    case Avviso::Attenzione:
        return QMessageBox::Warning;
    case Avviso::Informazione:
        return QMessageBox::Information;
    case Avviso::Domanda:
        return QMessageBox::Question;
    case Avviso::Nessuna:
        break;
    }
    return QMessageBox::NoIcon;
}

// In a test run of the whole process (WAVELORE_AVVISI_AUTOMATICI) a box prints itself
// and is closed by its caller: true then.
bool automatico(const QString &titolo, const QString &testo, const QString &dettaglio)
{
    if (!qEnvironmentVariableIsSet("WAVELORE_AVVISI_AUTOMATICI"))
        return false;
    std::fprintf(stdout, "AVVISO %s\n%s\n", titolo.toUtf8().constData(), testo.toUtf8().constData());
    if (!dettaglio.isEmpty())
        std::fprintf(stdout, "%s\n", dettaglio.toUtf8().constData());
    std::fflush(stdout);
    return true;
}

}  // namespace

namespace finestra {

void Mostra_Avviso(Avviso tipo, const QString &titolo, const QString &testo, const QString &dettaglio,
                   QWidget *padre)
{
    QMessageBox box(Icona(tipo), titolo, testo, QMessageBox::Ok, padre);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(dettaglio);
    if (automatico(titolo, testo, dettaglio))
        QTimer::singleShot(0, &box, &QMessageBox::accept);
    box.exec();
}

bool Mostra_Domanda(Avviso tipo, const QString &titolo, const QString &testo, QWidget *padre)
{
    QMessageBox box(Icona(tipo), titolo, testo, QMessageBox::Yes | QMessageBox::No, padre);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

bool Mostra_Riprova(Avviso tipo, const QString &titolo, const QString &testo, const QString &dettaglio,
                    QWidget *padre)
{
    QMessageBox box(Icona(tipo), titolo, testo, QMessageBox::Retry | QMessageBox::Close, padre);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(dettaglio);
    box.button(QMessageBox::Retry)->setText(QStringLiteral("Riprova"));
    box.button(QMessageBox::Close)->setText(QStringLiteral("Esci"));
    box.setDefaultButton(QMessageBox::Retry);
    if (automatico(titolo, testo, dettaglio)) {
        std::fprintf(stdout, "RISPOSTA Esci\n");
        std::fflush(stdout);
        QTimer::singleShot(0, &box, [&box] { box.done(QMessageBox::Close); });
    }
    return box.exec() == QMessageBox::Retry;
}

void Chiudi_Finestre_Modali()
{
    for (QWidget *p = QApplication::activePopupWidget(), *prima = nullptr; p && p != prima;
         prima = p, p = QApplication::activePopupWidget())
        p->close();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->isModal() || w->windowModality() != Qt::NonModal))
            w->hide();
}

}  // namespace finestra

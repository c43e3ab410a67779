#include "shell/ui/Avvisi.h"

#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace finestra {

void Mostra_Avviso(Avviso tipo, const QString &titolo, const QString &testo, const QString &dettaglio)
{
    QMessageBox box;
    box.setIcon(tipo == Avviso::Critico       ? QMessageBox::Critical
                : tipo == Avviso::Attenzione  ? QMessageBox::Warning
                                              : QMessageBox::Information);
    box.setWindowTitle(titolo);
    box.setTextFormat(Qt::PlainText);
    box.setText(testo);
    box.setInformativeText(dettaglio);
    box.setStandardButtons(QMessageBox::Ok);
    if (qEnvironmentVariableIsSet("WAVELORE_AVVISI_AUTOMATICI")) {
        std::fprintf(stdout, "AVVISO %s\n%s\n", titolo.toUtf8().constData(), testo.toUtf8().constData());
        if (!dettaglio.isEmpty())
            std::fprintf(stdout, "%s\n", dettaglio.toUtf8().constData());
        std::fflush(stdout);
        QTimer::singleShot(0, &box, &QMessageBox::accept);
    }
    box.exec();
}

}  // namespace finestra

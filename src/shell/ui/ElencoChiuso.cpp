#include "shell/ui/ElencoChiuso.h"

#include <QComboBox>
#include <QEvent>

namespace finestra {

namespace {

class FiltroRotella : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() != QEvent::Wheel)
            return QObject::eventFilter(oggetto, evento);
        evento->ignore();
        return true;
    }
};

}  // namespace

void Ignora_Rotella(QComboBox *elenco)
{
    if (elenco)
        elenco->installEventFilter(new FiltroRotella(elenco));
}

}  // namespace finestra

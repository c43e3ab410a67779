#include "shell/ui/AvvisiSalvataggio.h"

#include "platform/Scrittore.h"
#include "shell/ui/Avvisi.h"

#include <QStringList>
#include <QWidget>

AvvisiSalvataggio::AvvisiSalvataggio(std::initializer_list<ScrittoreBase *> scrittori, QWidget *finestra)
    : QObject(finestra), m_finestra(finestra)
{
    setObjectName(QStringLiteral("AvvisiSalvataggio"));
    for (ScrittoreBase *s : scrittori)
        m_fonti.push_back({s, {}});
    for (std::size_t i = 0; i < m_fonti.size(); ++i) {
        ScrittoreBase *s = m_fonti[i].scrittore;
        connect(s, &ScrittoreBase::Scrittura_Fallita, this,
                [this, i](int richiedente, const QString &nome, const QString &causa) {
                    Fonte &f = m_fonti[i];
                    if (f.scrittore)
                        f.testo = f.scrittore->Testo_Avviso(richiedente, nome, causa);
                    if (!m_aperto)
                        Mostra();
                });
        // Caught up while another notice was open: nothing left to tell of it.
        connect(s, &ScrittoreBase::Scrittura_Ripresa, this, [this, i] { m_fonti[i].testo.clear(); });
    }
}

void AvvisiSalvataggio::Mostra()
{
    // What failed while a notice was open comes in the next, all in one.
    for (;;) {
        QStringList testi;
        for (Fonte &f : m_fonti) {
            if (!f.testo.isEmpty() && f.scrittore && !f.scrittore->Fallimenti_Trattenuti())
                testi << f.testo;
            f.testo.clear();
        }
        if (testi.isEmpty())
            return;
        m_aperto = true;
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), testi.join(QStringLiteral("\n\n")),
                                {}, m_finestra);
        m_aperto = false;
    }
}

#include "drawing/ui/StrumentiFinestra.h"

#include "Stato.h"
#include "cycle/SalvaParametro.h"
#include "drawing/ui/BandaOverlay.h"
#include "drawing/ui/CursoriStrumenti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "platform/Percorsi.h"
#include "platform/ui/GraficoWidget.h"
#include "shell/DisegnaGrafico.h"
#include "shell/Messaggi.h"

#include <QMessageBox>

StrumentiFinestra::StrumentiFinestra(Stato &stato, ControlliGrafici &controlli,
                                     const std::array<GraficoWidget *, 4> &grafici, QObject *parent)
    : QObject(parent), m_stato(stato), m_controlli(controlli)
{
    for (size_t s = 0; s < grafici.size(); ++s)
        m_grafici[s] = grafici[s];
    m_cursori = std::make_unique<CursoriStrumenti>(percorsi::CartellaProgramma(), stato.shell.Cartella_Sistema);
    m_strumenti = std::make_unique<StrumentiGrafici>(stato.shell, stato.archivio, stato.cicli, stato.disegno, controlli,
                                                     *this);
    m_timerDisegno.setSingleShot(true);
    m_timerDisegno.setInterval(5);
    connect(&m_timerDisegno, &QTimer::timeout, this, [this] {
        Disegna_Grafico(m_stato, m_controlli, m_stato.cicli.Grafico_Corrente, m_stato.cicli.Grado_Corrente);
    });

    for (int s = 0; s < 4; ++s) {
        GraficoWidget *g = m_grafici[size_t(s)];
        if (!g)
            continue;
        m_bande[size_t(s)] = new BandaOverlay(g);
        g->eventi.Click = [this, s](int pulsante, int) {
            if (pulsante == int(Qt::LeftButton))
                m_strumenti->Graf_Battleplan_Click(s);
        };
        g->eventi.MouseMove = [this, s](double x, double y) { m_strumenti->Graf_Battleplan_MouseMove(s, x, y); };
        g->eventi.KeyDown = [this, s](int tasto, double, double) { m_strumenti->Graf_Battleplan_KeyDown(s, tasto); };
    }
}

StrumentiFinestra::~StrumentiFinestra()
{
    for (const QPointer<GraficoWidget> &g : m_grafici)
        if (g)
            g->eventi = {};
}

PulsantiStrumenti *StrumentiFinestra::Crea_Pulsanti(QWidget *genitore)
{
    return new PulsantiStrumenti(*m_strumenti, genitore);
}

BandaOverlay *StrumentiFinestra::Banda(int slot) const
{
    return slot >= 0 && slot < 4 ? m_bande[size_t(slot)] : nullptr;
}

void StrumentiFinestra::Mostra_Messaggio(int tipo)
{
    if (Messaggio) {
        Messaggio(tipo);
        return;
    }
    QWidget *finestra = m_grafici[0] ? m_grafici[0]->window() : nullptr;
    QMessageBox::information(finestra, QStringLiteral("Wavelore"), messaggi::Prepara_Messaggio(tipo, QString()).testo);
}

void StrumentiFinestra::Avvia_Timer_Disegno()
{
    if (Arma_Timer_Disegno)
        Arma_Timer_Disegno();
    else
        m_timerDisegno.start();
}

bool StrumentiFinestra::Salva_Linea(int grado, int slot, QString &errore)
{
    return disegno::Salva_Linea(m_stato.archivio, m_stato.mercato, m_stato.cicli, m_stato.disegno, grado, slot,
                                &errore);
}

bool StrumentiFinestra::Salva_Distanza(int grado, int slot, QString &errore)
{
    return disegno::Salva_Distanza(m_stato.archivio, m_stato.mercato, m_stato.cicli, m_stato.disegno, grado, slot,
                                   &errore);
}

void StrumentiFinestra::Salva_Parametro(int grado)
{
    if (Parametro)
        Parametro(grado);
    else
        ciclo::Salva_Parametro(m_stato.shell, m_stato.archivio, m_stato.cicli, grado);
}

void StrumentiFinestra::Mostra_Errore(const QString &testo)
{
    if (Errore) {
        Errore(testo);
        return;
    }
    QWidget *finestra = m_grafici[0] ? m_grafici[0]->window() : nullptr;
    QMessageBox::warning(finestra, QStringLiteral("Wavelore"), testo);
}

// Set only when it changes: a mouse move must stay cheap.
void StrumentiFinestra::Imposta_Puntatore(int slot, int numero)
{
    if (slot < 0 || slot > 3 || !m_grafici[size_t(slot)] || m_puntatori[size_t(slot)] == numero)
        return;
    m_puntatori[size_t(slot)] = numero;
    if (const QCursor *c = m_cursori->Cursore(numero))
        m_grafici[size_t(slot)]->setCursor(*c);
    else
        m_grafici[size_t(slot)]->unsetCursor();
}

void StrumentiFinestra::Mostra_Banda(int slot, const BandaElastica &banda)
{
    if (BandaOverlay *b = Banda(slot))
        b->Mostra(banda);
}

void StrumentiFinestra::Nascondi_Banda(int slot)
{
    if (BandaOverlay *b = Banda(slot))
        b->Nascondi();
}

void StrumentiFinestra::Mostra_Coord_Graf(int slot)
{
    if (Coordinate)
        Coordinate(slot);
}

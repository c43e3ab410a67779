#include "drawing/ui/StrumentiFinestra.h"

#include "archive/StatoArchivio.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/StatoCicli.h"
#include "drawing/StatoDisegno.h"
#include "drawing/ui/BandaOverlay.h"
#include "drawing/ui/CursoriStrumenti.h"
#include "drawing/ui/PulsantiStrumenti.h"
#include "market/StatoMercato.h"
#include "platform/Percorsi.h"
#include "platform/StatoProgramma.h"

#include "drawing/Coordinate.h"
#include "drawing/ui/PannelloOggetti.h"
#include "chart/RenderGrafico.h"
#include "platform/Schermo.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

// Until the window gives its own: nothing is shown or redrawn, and a setting is never
// reported saved, since nothing could write it.
class ServiziAssenti : public ServiziStrumenti {
public:
    void Mostra_Messaggio(int) override {}
    void Mostra_Testo_Messaggio(const QString &) override {}
    void Mostra_Errore(const QString &) override {}
    void Avvia_Timer_Disegno() override {}
    void Ridisegna_Grafico_Corrente() override {}
    bool Salva_Parametro(archivio::Codice_Modifica, int, QString &errore) override
    {
        errore = QStringLiteral("Archivio delle impostazioni non disponibile.");
        return false;
    }
    QWidget *Riquadro(int) override { return nullptr; }
};

}  // namespace

StrumentiFinestra::StrumentiFinestra(StatoStrumenti stato, ControlliGrafici &controlli,
                                     const std::array<GraficoWidget *, 4> &grafici, QObject *parent)
    : QObject(parent), m_stato(stato), m_servizi(std::make_unique<ServiziAssenti>())
{
    for (size_t s = 0; s < grafici.size(); ++s)
        m_grafici[s] = grafici[s];
    m_cursori = std::make_unique<CursoriStrumenti>(percorsi::CartellaProgramma(), stato.shell.Cartella_Sistema);
    m_strumenti = std::make_unique<StrumentiGrafici>(stato.shell, stato.archivio, stato.mercato, stato.cicli,
                                                     stato.disegno, controlli, *this);

    for (int s = 0; s < 4; ++s) {
        GraficoWidget *g = m_grafici[size_t(s)];
        if (!g)
            continue;
        m_bande[size_t(s)] = new BandaOverlay(g);
        connect(g, &GraficoWidget::Click, this, [this, s](int pulsante, int) {
            if (pulsante == int(Qt::LeftButton))
                m_strumenti->Graf_Battleplan_Click(s);
        });
        connect(g, &GraficoWidget::MouseMove, this,
                [this, s](double x, double y) { m_strumenti->Graf_Battleplan_MouseMove(s, x, y); });
        // The moving box tells where the mouse is: with the mouse off the chart, or the
        // chart hidden from under it by a new layout, its reading would be stale.
        connect(g, &GraficoWidget::MouseLeave, this, [this] { Posiziona_Txt_Cord_Mob(false, 0, 0); });
        connect(g, &GraficoWidget::KeyDown, this,
                [this, s](int tasto, double, double) { m_strumenti->Graf_Battleplan_KeyDown(s, tasto); });
    }
}

StrumentiFinestra::~StrumentiFinestra()
{
    // The tools go before the QObject part would drop these connections.
    for (const QPointer<GraficoWidget> &g : m_grafici)
        if (g)
            disconnect(g, nullptr, this, nullptr);
}

PulsantiStrumenti *StrumentiFinestra::Crea_Pulsanti(QWidget *genitore)
{
    auto *pulsanti = new PulsantiStrumenti(*m_strumenti, genitore);
    connect(pulsanti->Cmd_Oggetti_Graf, &QToolButton::clicked, this, [this] {
        if (Frm_Ogg_Graf)
            Frm_Ogg_Graf->Cmd_Oggetti_Graf_Click();
    });
    return pulsanti;
}

BandaOverlay *StrumentiFinestra::Banda(int slot) const
{
    return slot >= 0 && slot < 4 ? m_bande[size_t(slot)] : nullptr;
}

void StrumentiFinestra::Imposta_Servizi(std::unique_ptr<ServiziStrumenti> servizi)
{
    m_servizi = servizi ? std::move(servizi) : std::make_unique<ServiziAssenti>();
}

void StrumentiFinestra::Mostra_Messaggio(int tipo) { m_servizi->Mostra_Messaggio(tipo); }

void StrumentiFinestra::Mostra_Testo_Messaggio(const QString &testo) { m_servizi->Mostra_Testo_Messaggio(testo); }

void StrumentiFinestra::Avvia_Timer_Disegno() { m_servizi->Avvia_Timer_Disegno(); }

void StrumentiFinestra::Ridisegna_Grafico_Corrente() { m_servizi->Ridisegna_Grafico_Corrente(); }

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

bool StrumentiFinestra::Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore)
{
    return m_servizi->Salva_Parametro(codice, grado, errore);
}

void StrumentiFinestra::Mostra_Errore(const QString &testo) { m_servizi->Mostra_Errore(testo); }

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

bool StrumentiFinestra::Salva_Testo(int grado, int slot, QString &errore)
{
    return disegno::Salva_Testo(m_stato.archivio, m_stato.mercato, m_stato.cicli, m_stato.disegno, grado, slot,
                                &errore);
}

namespace {

QIcon iconaTesto(bool scrivi)
{
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(scrivi ? QColor(30, 150, 60) : QColor(200, 40, 40), 2));
    if (scrivi) {
        g.drawLine(2, 7, 6, 11);
        g.drawLine(6, 11, 12, 3);
    } else {
        g.drawLine(3, 3, 11, 11);
        g.drawLine(11, 3, 3, 11);
    }
    return QIcon(p);
}

QPoint inTwips(double sinistra, double alto)
{
    return {schermo::TwipsInPixel(sinistra), schermo::TwipsInPixel(alto)};
}

}  // namespace

void StrumentiFinestra::Prepara_Finestra(QWidget *finestra)
{
    if (!finestra || m_finestra)
        return;
    m_finestra = finestra;
    Text_Scritte_Graf = new QLineEdit(finestra);
    Text_Scritte_Graf->setObjectName(QStringLiteral("Text_Scritte_Graf"));
    Text_Scritte_Graf->resize(schermo::TwipsInPixel(1200), schermo::TwipsInPixel(285));
    Text_Scritte_Graf->hide();
    connect(Text_Scritte_Graf, &QLineEdit::textChanged, this, [this](const QString &testo) {
        const QString accettato = m_strumenti->Text_Scritte_Graf_Change(testo);
        if (accettato != testo) {
            const QSignalBlocker blocco(Text_Scritte_Graf);
            Text_Scritte_Graf->setText(accettato);
            Text_Scritte_Graf->setCursorPosition(int(accettato.size()));
        }
    });
    for (bool scrivi : {true, false}) {
        auto *b = new QToolButton(finestra);
        b->setObjectName(scrivi ? QStringLiteral("Cmd_Scrivi_Text_Graf") : QStringLiteral("Cmd_Chiudi_Text_Graf"));
        b->setIcon(iconaTesto(scrivi));
        b->setToolTip(scrivi ? QStringLiteral("Scrivi") : QStringLiteral("Chiudi"));
        b->resize(schermo::TwipsInPixel(315), schermo::TwipsInPixel(315));
        b->hide();
        (scrivi ? Cmd_Scrivi_Text_Graf : Cmd_Chiudi_Text_Graf) = b;
    }
    connect(Cmd_Scrivi_Text_Graf, &QToolButton::clicked, this,
            [this] { m_strumenti->Cmd_Scrivi_Text_Graf_Click(Text_Scritte_Graf->text()); });
    connect(Cmd_Chiudi_Text_Graf, &QToolButton::clicked, this, [this] { m_strumenti->Cmd_Chiudi_Text_Graf_Click(); });

    Txt_Cord_Mob = new QLineEdit(finestra);
    Txt_Cord_Mob->setObjectName(QStringLiteral("Txt_Cord_Mob"));
    Txt_Cord_Mob->setReadOnly(true);
    Txt_Cord_Mob->setFocusPolicy(Qt::NoFocus);
    Txt_Cord_Mob->setAttribute(Qt::WA_TransparentForMouseEvents);
    Txt_Cord_Mob->setFrame(false);
    Txt_Cord_Mob->setFont(schermo::FontControlli());
    QPalette p = Txt_Cord_Mob->palette();
    p.setColor(QPalette::Base, QColor(255, 255, 192));
    Txt_Cord_Mob->setPalette(p);
    Txt_Cord_Mob->resize(schermo::TwipsInPixel(disegno::Larghezza_Txt_Cord_Mob(m_stato.shell)),
                         schermo::TwipsInPixel(285));
    Txt_Cord_Mob->hide();

    Frm_Ogg_Graf = new PannelloOggetti(m_stato, *this, finestra);
}

void StrumentiFinestra::Mostra_Coord_Graf(int slot)
{
    const StatoStrumenti &s = m_stato;
    const bool ridotto = s.shell.Layout_Grafico == QLatin1String("RIDOTTO");
    QLineEdit *fisso = Text_Coord_Graf.data();
    QWidget *riquadro = m_servizi->Riquadro(ridotto ? slot : s.cicli.Grafico_Corrente);
    if (fisso && riquadro && fisso->parentWidget()) {
        const double larghezza = disegno::Larghezza_Text_Coord_Graf(s.shell);
        const QPoint angolo = fisso->parentWidget()->mapFromGlobal(riquadro->mapToGlobal(QPoint(0, 0)));
        const QRect r(angolo, riquadro->size());
        const int w = schermo::TwipsInPixel(larghezza);
        const QRect posto(r.right() + 1 - w - schermo::TwipsInPixel(ridotto ? 350 : 420),
                          r.top() + schermo::TwipsInPixel(ridotto ? 220 : 150), w, schermo::TwipsInPixel(285));
        if (fisso->geometry() != posto)
            fisso->setGeometry(posto);
        if (fisso->isHidden()) {
            fisso->show();
            fisso->raise();
        }
    }

    disegno::AssiGrafico assi;
    std::optional<double> prezzo;
    if (m_strumenti->LeggiAssi(s.cicli.Grafico_Corrente, assi))
        prezzo = disegno::PrezzoDaY(assi, s.disegno.Mouse_Y_Graf);
    const disegno::Lettura l = disegno::Leggi_Coordinate(s.shell, s.mercato, s.cicli, s.cicli.Grado_Corrente,
                                                         s.disegno.Mouse_X_Graf, prezzo);
    const auto colora = [](QLineEdit *box, ColoreWin &ultimo, ColoreWin colore, QPalette::ColorRole ruolo) {
        if (!box || ultimo == colore)
            return;
        ultimo = colore;
        QPalette p = box->palette();
        p.setColor(ruolo, schermo::ColoreWin(colore));
        box->setPalette(p);
    };
    colora(fisso, m_fondoFisso, s.cicli.Colori[80], QPalette::Base);
    colora(fisso, m_coloreFisso, l.colore, QPalette::Text);
    colora(Txt_Cord_Mob, m_coloreMobile, l.colore_mobile, QPalette::Text);
    // A reading too long for its box shows its date, never only its end.
    if (l.testo) {
        for (QLineEdit *box : {fisso, Txt_Cord_Mob})
            if (box && box->text() != *l.testo) {
                box->setText(*l.testo);
                box->home(false);
            }
    }
}

// The chart of the slot in window twips: its size, and where it sits.
bool StrumentiFinestra::Geometria(int slot, GeometriaSlot &geometria)
{
    GraficoWidget *g = slot >= 0 && slot < 4 ? m_grafici[size_t(slot)].data() : nullptr;
    if (!g || !m_finestra)
        return false;
    const QPoint angolo = m_finestra->mapFromGlobal(g->mapToGlobal(QPoint(0, 0)));
    geometria = GeometriaSlot{schermo::PixelInTwips(g->width()), schermo::PixelInTwips(g->height()),
                              schermo::PixelInTwips(angolo.x()), schermo::PixelInTwips(angolo.y())};
    return true;
}

void StrumentiFinestra::Posiziona_Txt_Cord_Mob(bool visibile, double sinistra, double alto)
{
    if (!Txt_Cord_Mob)
        return;
    if (!visibile) {
        if (!Txt_Cord_Mob->isHidden())
            Txt_Cord_Mob->hide();
        return;
    }
    const int w = schermo::TwipsInPixel(disegno::Larghezza_Txt_Cord_Mob(m_stato.shell));
    if (Txt_Cord_Mob->width() != w)
        Txt_Cord_Mob->resize(w, Txt_Cord_Mob->height());
    Txt_Cord_Mob->move(inTwips(sinistra, alto));
    if (Txt_Cord_Mob->isHidden()) {
        Txt_Cord_Mob->show();
        Txt_Cord_Mob->raise();
    }
}

// The box opens at the clicked point of the current chart, kept inside the window,
// with its two buttons on top of it at its right end.
void StrumentiFinestra::Apri_Casella_Testo(ColoreWin testo, ColoreWin sfondo)
{
    const int slot = m_stato.cicli.Grafico_Corrente;
    GraficoWidget *g = slot >= 0 && slot < 4 ? m_grafici[size_t(slot)].data() : nullptr;
    if (!Text_Scritte_Graf || !g || !m_finestra)
        return;
    const StatoDisegno &d = m_stato.disegno;
    QPointF punto = render_grafico::InPixel(g->disposizione(), 1, 1, QPointF(d.Mouse_X_Graf, d.Mouse_Y_Graf));
    if (!std::isfinite(punto.x()) || !std::isfinite(punto.y()))
        punto = QPointF(g->width() / 2.0, g->height() / 2.0);
    QPoint angolo = m_finestra->mapFromGlobal(g->mapToGlobal(punto.toPoint()));
    QLineEdit *box = Text_Scritte_Graf;
    const int alto = Cmd_Chiudi_Text_Graf->height();
    angolo.setX(std::clamp(angolo.x(), 0, std::max(0, m_finestra->width() - box->width())));
    angolo.setY(std::clamp(angolo.y(), alto, std::max(alto, m_finestra->height() - box->height())));
    box->move(angolo);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, schermo::ColoreWin(sfondo));
    p.setColor(QPalette::Text, schermo::ColoreWin(testo));
    box->setPalette(p);
    Cmd_Chiudi_Text_Graf->move(box->x() + box->width() - Cmd_Chiudi_Text_Graf->width(), box->y() - alto);
    Cmd_Scrivi_Text_Graf->move(Cmd_Chiudi_Text_Graf->x() - 1 - Cmd_Scrivi_Text_Graf->width(), box->y() - alto);
    for (QWidget *w : {static_cast<QWidget *>(box), static_cast<QWidget *>(Cmd_Chiudi_Text_Graf),
                       static_cast<QWidget *>(Cmd_Scrivi_Text_Graf)}) {
        w->show();
        w->raise();
    }
    m_stato.shell.Blocco_Aggiornamento = true;
    emit Casella_Testo_Aperta(true);
    box->setFocus(Qt::OtherFocusReason);
}

void StrumentiFinestra::Chiudi_Casella_Testo()
{
    m_stato.shell.Blocco_Aggiornamento = false;
    emit Casella_Testo_Aperta(false);
    if (!Text_Scritte_Graf)
        return;
    Text_Scritte_Graf->clear();
    for (QWidget *w : {static_cast<QWidget *>(Text_Scritte_Graf), static_cast<QWidget *>(Cmd_Chiudi_Text_Graf),
                       static_cast<QWidget *>(Cmd_Scrivi_Text_Graf)})
        w->hide();
}

void StrumentiFinestra::Beep() { QApplication::beep(); }

// The text tool of StrumentiGrafici: the entry box opened by a chart click, its
// check of what is typed, writing the text onto the chart and into the store.

#include "drawing/StrumentiGrafici.h"

#include "cycle/ControlliGrafici.h"
#include "cycle/StatoCicli.h"
#include "platform/VbRuntime.h"

namespace {
bool gradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }
}  // namespace

void StrumentiGrafici::Posiziona_Testo_Graf()
{
    StatoDisegno &d = m_disegno;
    const int g = m_cicli.Grado_Corrente;
    if (!gradoValido(g) || slotOppureLimite(disegno::SlotLiberoTesti(d, g), 2) == 0)
        return;
    d.Punto_X_Testo = vb::Int(d.Mouse_X_Graf);
    d.Punto_Y_Testo = d.Mouse_Y_Graf;
    const int codice = d.Modo_Disegno.right(2).toInt();
    const ColoreWin colore = codice >= 0 && codice < costanti::Num_Colori ? m_cicli.Colori[size_t(codice)] : 0;
    m_ambiente.Apri_Casella_Testo(colore, m_cicli.Colori[0]);
}

QString StrumentiGrafici::Text_Scritte_Graf_Change(const QString &testo)
{
    StatoDisegno &d = m_disegno;
    if (!disegno::TestoAccettabile(testo)) {
        m_ambiente.Beep();
        return d.Testo_Precedente;
    }
    d.Testo_Precedente = testo;
    return testo;
}

// An empty text is not stored: it would hold a slot that nothing shows and that
// the next load frees anyway.
void StrumentiGrafici::Cmd_Scrivi_Text_Graf_Click(const QString &testo)
{
    StatoDisegno &d = m_disegno;
    const int g = m_cicli.Grado_Corrente;
    const int codice = d.Modo_Disegno.right(2).toInt();
    GraficoControllo *ctl = m_controlli.Graf_Battleplan(m_cicli.Grafico_Corrente);
    disegno::AssiGrafico assi;
    const int k = gradoValido(g) ? disegno::SlotLiberoTesti(d, g) : 0;
    if (d.Punto_Y_Testo < 27.5)
        d.Punto_Y_Testo += 0.5;
    const auto prezzo = ctl && LeggiAssi(m_cicli.Grafico_Corrente, assi) ? disegno::PrezzoDaY(assi, d.Punto_Y_Testo)
                                                                         : std::nullopt;
    const auto barra = vb::CIntChecked(d.Punto_X_Testo);
    QString errore;
    bool salvato = false;
    if (!testo.isEmpty() && k > 0 && prezzo && barra && codice > 0 && codice < costanti::Num_Colori) {
        Testo &t = d.Testi[size_t(g)][size_t(k)];
        t = Testo{true, true, *barra, *prezzo, codice, testo};
        salvato = m_ambiente.Salva_Testo(g, k, errore);
        if (!salvato)
            t = Testo{};
    }
    if (salvato) {
        // Only the new text is added to what the chart shows.
        ctl->Seleziona_Asse_X(1);
        ctl->Seleziona_Asse_Y(1);
        ctl->Nuova_Serie(QString());
        ctl->Aggiungi_Testo(testo, d.Punto_X_Testo, d.Punto_Y_Testo, 1, QStringLiteral("Font=Arial|8|bold|"),
                            m_cicli.Colori[size_t(codice)], 0, 0);
        const int s = m_cicli.Grafico_Corrente;
        ctl->Titolo_Grafico(m_cicli.Titoli_Grafici[size_t(s)], QStringLiteral("Font=Arial|9|bold|"), m_cicli.Colori[81],
                            2, -5, 1);
        ctl->Ridisegna_Grafico();
    }
    Cmd_Chiudi_Text_Graf_Click();
    if (!testo.isEmpty() && !salvato && !errore.isEmpty())
        m_ambiente.Mostra_Errore(QStringLiteral("Il testo non è stato inserito. %1").arg(errore));
}

// Both ways of closing give the window and the chart's pointer mode back at once:
// nothing is left waiting for a mouse release elsewhere on the window.
void StrumentiGrafici::Cmd_Chiudi_Text_Graf_Click()
{
    StatoDisegno &d = m_disegno;
    d.Testo_Precedente.clear();
    m_ambiente.Chiudi_Casella_Testo();
    d.Modo_Disegno.clear();
    puntatoreRipristinato();
}

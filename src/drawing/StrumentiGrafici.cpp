#include "drawing/StrumentiGrafici.h"

#include "archive/StatoArchivio.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/DurataTesto.h"
#include "cycle/StatoCicli.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <array>
#include <cmath>

namespace {
// Colour code of each tool button index: red, cyan, green, yellow.
constexpr std::array<int, 4> codiciColore = {30, 34, 32, 33};

bool gradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }
}  // namespace

StrumentiGrafici::StrumentiGrafici(const StatoProgramma &programma, StatoArchivio &archivio,
                                   const StatoMercato &mercato, StatoCicli &cicli, StatoDisegno &disegno,
                                   ControlliGrafici &controlli, AmbienteStrumenti &ambiente)
    : m_programma(programma), m_archivio(archivio), m_mercato(mercato), m_cicli(cicli), m_disegno(disegno),
      m_controlli(controlli), m_ambiente(ambiente)
{
}

void StrumentiGrafici::Cmd_Line_Click(int indice) { scegliColore(1, QStringLiteral("LINEA"), indice, true); }

void StrumentiGrafici::Cmd_Cancella_Linea_Click() { scegliStrumento(5, QStringLiteral("CAN_L"), false); }

void StrumentiGrafici::Cmd_Testo_Click(int indice) { scegliColore(6, QStringLiteral("TESTO"), indice, false); }

void StrumentiGrafici::Cmd_Cancella_Testo_Click() { scegliStrumento(10, QStringLiteral("CAN_T"), false); }

void StrumentiGrafici::Cmd_Distanza_Click(int indice) { scegliColore(11, QStringLiteral("DISTA"), indice, true); }

void StrumentiGrafici::Cmd_Cancella_Distanza_Click() { scegliStrumento(15, QStringLiteral("CAN_D"), false); }

// The coloured tools: pointers primo..primo+3 and modes "<tool><colour code>".
void StrumentiGrafici::scegliColore(int primo, const QString &strumento, int indice, bool tieniPunto)
{
    if (indice < 0 || indice > 3)
        return;
    scegliStrumento(primo + indice, strumento + QString::number(codiciColore[size_t(indice)]), tieniPunto);
}

// A pending first point is kept only by the tools that can finish it (a line or a
// distance); any other tool drops it, so no stale point completes a later object.
void StrumentiGrafici::scegliStrumento(int puntatore, const QString &modo, bool tieniPunto)
{
    StatoDisegno &d = m_disegno;
    d.Numero_Puntatore = puntatore;
    Imposta_Modo_Mouse_Graf();
    if (!tieniPunto)
        annullaPunto();
    d.Modo_Disegno = modo;
}

void StrumentiGrafici::annullaPunto()
{
    StatoDisegno &d = m_disegno;
    if (d.Primo_Punto_Attivo && d.Grafico_Primo_Punto >= 0)
        m_ambiente.Nascondi_Banda(d.Grafico_Primo_Punto);
    d.Punto_X = {};
    d.Punto_Y = {};
    d.Primo_Punto_Attivo = false;
    d.Grafico_Primo_Punto = -1;
    d.Grado_Primo_Punto = -1;
}

bool StrumentiGrafici::puntoInAttesaQui() const
{
    const StatoDisegno &d = m_disegno;
    return d.Primo_Punto_Attivo && d.Grafico_Primo_Punto == m_cicli.Grafico_Corrente &&
           d.Grado_Primo_Punto == m_cicli.Grado_Corrente;
}

void StrumentiGrafici::Cmd_Punt_Graf_Click()
{
    const int g = m_cicli.Grado_Corrente;
    if (!gradoValido(g))
        return;
    int &modo = m_cicli.Modo_Mouse_Grado[size_t(g)];
    const int prima = modo;
    modo = modo == 1 ? 0 : 1;
    QString errore;
    if (!m_ambiente.Salva_Parametro(archivio::Codice_Modifica::Modo_Mouse_Grado, g, errore)) {
        modo = prima;  // the chart keeps the mode the archive holds
        m_ambiente.Mostra_Errore(errore);
        return;
    }
    if (GraficoControllo *ctl = m_controlli.Graf_Battleplan(m_cicli.Grafico_Corrente))
        ctl->Modo_Puntatore(modo);
}

void StrumentiGrafici::Imposta_Modo_Mouse_Graf()
{
    if (GraficoControllo *ctl = m_controlli.Graf_Battleplan(m_cicli.Grafico_Corrente))
        ctl->Modo_Puntatore(0);
}

// Every slot in use gets its degree's setting back, not only the current one: a tool
// chosen on one slot and finished on another would otherwise leave the first slot
// contradicting its stored setting.
void StrumentiGrafici::Ripristina_Modo_Mouse_Graf()
{
    const StatoCicli &c = m_cicli;
    for (int s = 0; s < costanti::Num_Slot; ++s) {
        const SlotGrafico &slot = c.Conf_Grafici[size_t(s)];
        const bool corrente = s == c.Grafico_Corrente;
        if (!(slot.in_uso == 1 || corrente))
            continue;
        const int g = corrente ? c.Grado_Corrente : slot.grado;
        GraficoControllo *ctl = m_controlli.Graf_Battleplan(s);
        if (ctl && gradoValido(g))
            ctl->Modo_Puntatore(c.Modo_Mouse_Grado[size_t(g)] == 1 ? 1 : 0);
    }
}

bool StrumentiGrafici::LeggiAssi(int slot, disegno::AssiGrafico &assi) const
{
    GraficoControllo *ctl = m_controlli.Graf_Battleplan(slot);
    if (!ctl)
        return false;
    ctl->Seleziona_Asse_X(1);
    assi.x_max = ctl->Massimo_Asse();
    ctl->Seleziona_Asse_Y(2);
    assi.lo2 = ctl->Minimo_Asse();
    assi.hi2 = ctl->Massimo_Asse();
    ctl->Seleziona_Asse_Y(1);
    assi.lo1 = ctl->Minimo_Asse();
    assi.hi1 = ctl->Massimo_Asse();
    return true;
}

void StrumentiGrafici::Graf_Battleplan_Click(int)
{
    const QString strumento = m_disegno.Modo_Disegno.left(5);
    if (strumento == QLatin1String("TESTO"))
        Posiziona_Testo_Graf();
    else if (strumento == QLatin1String("CAN_T"))
        Cancella_Testo_Graf();
    else if (strumento == QLatin1String("LINEA"))
        Aggiungi_Linea_Graf();
    else if (strumento == QLatin1String("CAN_L"))
        Cancella_Linea_Graf();
    else if (strumento == QLatin1String("DISTA"))
        Aggiungi_Distanza_Graf();
    else if (strumento == QLatin1String("CAN_D"))
        Cancella_Distanza_Graf();
}

void StrumentiGrafici::Graf_Battleplan_KeyDown(int, int codiceTasto)
{
    if (codiceTasto != Tasto_Backspace && codiceTasto != Tasto_Esc)
        return;
    StatoDisegno &d = m_disegno;
    d.Numero_Puntatore = 0;
    m_ambiente.Imposta_Puntatore(m_cicli.Grafico_Corrente, 0);
    Ripristina_Modo_Mouse_Graf();
    annullaPunto();
    d.Modo_Disegno.clear();
}

void StrumentiGrafici::Graf_Battleplan_MouseMove(int indice, double x, double y)
{
    StatoDisegno &d = m_disegno;
    StatoCicli &c = m_cicli;
    m_ambiente.Imposta_Puntatore(indice, d.Numero_Puntatore >= 1 && d.Numero_Puntatore <= 15 ? d.Numero_Puntatore : 0);
    if (m_programma.Blocco_Grafici || indice < 0 || indice >= costanti::Num_Slot)
        return;
    disegno::AssiGrafico assi;
    if (!LeggiAssi(indice, assi))
        return;
    d.Mouse_Y_Graf = y;
    d.Mouse_X_Graf = x;

    const int gradoSlot = c.Conf_Grafici[size_t(indice)].grado;
    if (m_programma.Layout_Grafico == QLatin1String("RIDOTTO") && gradoValido(gradoSlot)) {
        c.Grafico_Corrente = indice;
        c.Grado_Corrente = gradoSlot;
    }
    m_ambiente.Mostra_Coord_Graf(indice);
    if (GraficoControllo *ctl = m_controlli.Graf_Battleplan(c.Grafico_Corrente))
        ctl->Prendi_Focus();

    const int g = c.Grado_Corrente;
    if (puntoInAttesaQui() && gradoValido(g)) {
        const double estensione = c.Durata[size_t(g)] + c.Scostamento_Ciclo[size_t(g)];
        if (x > 1 && x < estensione && y > assi.lo1 && y < assi.hi1) {
            d.Punto_X[2] = x;
            d.Punto_Y[2] = y;
            const QString strumento = d.Modo_Disegno.left(5);
            BandaElastica banda{d.Punto_X[1], d.Punto_Y[1], x, y, c.Colori[0], 0, 0};
            if (strumento == QLatin1String("LINEA") || strumento == QLatin1String("DISTA")) {
                const int codice = d.Modo_Disegno.mid(5).toInt();
                if (codice >= 0 && codice < costanti::Num_Colori)
                    banda.colore = c.Colori[size_t(codice)];
                const bool linea = strumento == QLatin1String("LINEA");
                banda.spessore = linea ? 2 : 1;
                banda.stile = linea ? 1 : 2;
            }
            m_ambiente.Mostra_Banda(c.Grafico_Corrente, banda);
        }
    }

    // The small box that follows the mouse.
    if (!gradoValido(gradoSlot) || c.Mostra_Coordinate[size_t(gradoSlot)] != 1) {
        m_ambiente.Posiziona_Txt_Cord_Mob(false, 0, 0);
        return;
    }
    GeometriaSlot geo;
    const double altezzaY = assi.hi1 - assi.lo1;
    if (!m_ambiente.Geometria(indice, geo) || assi.x_max == 0.0 || altezzaY == 0.0 || x <= 0 || x > assi.x_max ||
        y < assi.lo1 || y > assi.hi1) {
        m_ambiente.Posiziona_Txt_Cord_Mob(false, 0, 0);
        return;
    }
    const double w = geo.larghezza * x / assi.x_max;
    const double h = std::fabs(vb::Int(geo.altezza * y / altezzaY));
    if (m_programma.Layout_Grafico == QLatin1String("RIDOTTO"))
        m_ambiente.Posiziona_Txt_Cord_Mob(true, geo.sinistra + w - 0.3 * w, geo.alto + geo.altezza - h - 500 + 0.2 * h);
    else
        m_ambiente.Posiziona_Txt_Cord_Mob(true, geo.sinistra + w - 0.17 * w, geo.alto + geo.altezza - h - 700 + 0.2 * h);
}

void StrumentiGrafici::puntatoreRipristinato()
{
    m_disegno.Numero_Puntatore = 0;
    m_ambiente.Imposta_Puntatore(m_cicli.Grafico_Corrente, 0);
    Ripristina_Modo_Mouse_Graf();
}

int StrumentiGrafici::slotOppureLimite(int slot, int tipoMessaggio)
{
    if (slot == 0) {
        puntatoreRipristinato();
        const auto inAttesa = disegno::Oggetti_In_Attesa(m_mercato, m_disegno, tipoMessaggio, m_cicli.Grado_Corrente);
        if (inAttesa.totale() > 0)
            m_ambiente.Mostra_Testo_Messaggio(disegno::Testo_Limite_In_Attesa(tipoMessaggio, inAttesa));
        else
            m_ambiente.Mostra_Messaggio(tipoMessaggio);
    }
    return slot;
}

bool StrumentiGrafici::primoPunto(int grado)
{
    if (puntoInAttesaQui())
        return false;
    // A first point left pending on another chart has that chart's axes: start over.
    StatoDisegno &d = m_disegno;
    annullaPunto();
    d.Punto_X[1] = d.Mouse_X_Graf;
    d.Punto_Y[1] = d.Mouse_Y_Graf;
    d.Primo_Punto_Attivo = true;
    d.Grafico_Primo_Punto = m_cicli.Grafico_Corrente;
    d.Grado_Primo_Punto = grado;
    return true;
}

std::optional<StrumentiGrafici::DueClic> StrumentiGrafici::dueClic()
{
    const StatoDisegno &d = m_disegno;
    disegno::AssiGrafico assi;
    if (!LeggiAssi(m_cicli.Grafico_Corrente, assi))
        return std::nullopt;
    const auto p1 = disegno::PrezzoDaY(assi, d.Punto_Y[1]);
    const auto p2 = disegno::PrezzoDaY(assi, d.Mouse_Y_Graf);
    const auto x1 = vb::CIntChecked(vb::Int(d.Punto_X[1]));
    const auto x2 = vb::CIntChecked(vb::Int(d.Mouse_X_Graf));
    if (!p1 || !p2 || !x1 || !x2)
        return std::nullopt;
    return DueClic{*x1, *x2, *p1, *p2};
}

void StrumentiGrafici::Aggiungi_Linea_Graf()
{
    StatoDisegno &d = m_disegno;
    const int g = m_cicli.Grado_Corrente;
    if (!gradoValido(g))
        return;
    const int k = slotOppureLimite(disegno::SlotLiberoLinee(d, g), 1);
    if (k == 0 || primoPunto(g))
        return;
    const auto clic = dueClic();
    if (!clic)
        return;  // a chart without a scale: the click is ignored, the point stays
    Linea &l = d.Linee[size_t(g)][size_t(k)];
    l = Linea{true, true, clic->x1, clic->p1, clic->x2, clic->p2, d.Modo_Disegno.right(2).toInt()};
    QString errore;
    const bool salvata = m_ambiente.Salva_Linea(g, k, errore);
    if (!salvata)
        l = Linea{};  // memory and archive stay in step: what cannot be stored is not kept
    strumentoFinito();
    if (!salvata)
        m_ambiente.Mostra_Errore(QStringLiteral("La linea non è stata inserita. %1").arg(errore));
}

void StrumentiGrafici::Aggiungi_Distanza_Graf()
{
    StatoDisegno &d = m_disegno;
    const int g = m_cicli.Grado_Corrente;
    if (!gradoValido(g))
        return;
    const int k = slotOppureLimite(disegno::SlotLiberoDistanze(d, g), 3);
    if (k == 0 || primoPunto(g))
        return;
    const auto clic = dueClic();
    if (!clic)
        return;
    const auto nuova = disegno::NuovaDistanza(
        clic->x1, clic->p1, clic->x2, clic->p2, d.Modo_Disegno.right(2).toInt(),
        ciclo::Converti_Durata_Testo(m_cicli, m_archivio, g, std::abs(clic->x1 - clic->x2)));
    if (!nuova)
        return;  // under 2 bars: the first point stays, the band goes on
    Distanza &slot = d.Distanze[size_t(g)][size_t(k)];
    slot = *nuova;
    QString errore;
    const bool salvata = m_ambiente.Salva_Distanza(g, k, errore);
    if (!salvata)
        slot = Distanza{};
    strumentoFinito();
    if (!salvata)
        m_ambiente.Mostra_Errore(QStringLiteral("La distanza non è stata inserita. %1").arg(errore));
}

template <typename T, typename Colpito, typename Salva>
void StrumentiGrafici::cancellaColpito(SlotOggetti<T> &tabella, int limite, Colpito colpito, Salva salva,
                                       const QString &nonCancellato)
{
    StatoDisegno &d = m_disegno;
    const int g = m_cicli.Grado_Corrente;
    disegno::AssiGrafico assi;
    if (!gradoValido(g) || !LeggiAssi(m_cicli.Grafico_Corrente, assi))
        return;
    const auto cp = disegno::PrezzoDaY(assi, d.Mouse_Y_Graf);
    if (!cp)
        return;
    for (int k = 1; k <= limite; ++k) {
        T &o = tabella[size_t(g)][size_t(k)];
        if (!o.in_uso || !o.trovata || !colpito(o, d.Mouse_X_Graf, *cp))
            continue;
        const T prima = o;
        o = T{};
        QString errore;
        if (!(m_ambiente.*salva)(g, k, errore)) {
            o = prima;  // still in the archive: keep showing it
            m_ambiente.Mostra_Errore(nonCancellato + QLatin1Char(' ') + errore);
            return;
        }
        d.Modo_Disegno.clear();
        puntatoreRipristinato();
        m_ambiente.Avvia_Timer_Disegno();
        return;
    }
}

void StrumentiGrafici::Cancella_Linea_Graf()
{
    cancellaColpito(m_disegno.Linee, costanti::Max_Linee, disegno::LineaColpita, &AmbienteStrumenti::Salva_Linea,
                    QStringLiteral("La linea non è stata cancellata."));
}

void StrumentiGrafici::Cancella_Distanza_Graf()
{
    cancellaColpito(m_disegno.Distanze, costanti::Max_Distanze, disegno::DistanzaColpita,
                    &AmbienteStrumenti::Salva_Distanza, QStringLiteral("La distanza non è stata cancellata."));
}

void StrumentiGrafici::Cancella_Testo_Graf()
{
    cancellaColpito(m_disegno.Testi, costanti::Max_Testi, disegno::TestoColpito, &AmbienteStrumenti::Salva_Testo,
                    QStringLiteral("Il testo non è stato cancellato."));
}

void StrumentiGrafici::Sposta_Disegni_AsseX()
{
    disegno::Sposta_Disegni_AsseX(m_programma, m_cicli, m_disegno, m_controlli);
}

void StrumentiGrafici::strumentoFinito()
{
    annullaPunto();
    m_disegno.Modo_Disegno.clear();
    puntatoreRipristinato();
    m_ambiente.Avvia_Timer_Disegno();
}

void StrumentiGrafici::Cmd_Coord_Click(int indice)
{
    if (indice < 0 || indice >= costanti::Num_Slot)
        return;
    const int g = m_cicli.Conf_Grafici[size_t(indice)].grado;
    if (!gradoValido(g))
        return;
    int &mostra = m_cicli.Mostra_Coordinate[size_t(g)];
    const int prima = mostra;
    mostra = mostra == 1 ? 0 : 1;
    QString errore;
    if (!m_ambiente.Salva_Parametro(archivio::Codice_Modifica::Mostra_Coordinate, g, errore)) {
        mostra = prima;
        m_ambiente.Mostra_Errore(errore);
    }
}

#include "chart/ModelloGrafico.h"

#include "chart/RenderGrafico.h"

#include <QImage>
#include <algorithm>
#include <QPainter>
#include <cmath>

ModelloGrafico::ModelloGrafico() { Svuota_Grafico(); }

void ModelloGrafico::Svuota_Grafico()
{
    m_assiX.fill(AsseGrafico{});
    m_assiY.fill(AsseGrafico{});
    m_assiX[0].esiste = true;
    m_assiY[0].esiste = true;
    m_asseXCorrente = 1;
    m_asseYCorrente = 1;
    m_attributiSuX = false;
    // In reverse, so the next build's series k takes back series k's buffer.
    m_riserva.clear();
    for (auto s = m_serie.rbegin(); s != m_serie.rend() && m_riserva.size() < 512; ++s) {
        s->punti.clear();
        m_riserva.push_back(std::move(s->punti));
    }
    m_serie.clear();
    m_testi.clear();
    m_etichette = {};
    cambiaStruttura();
}

void ModelloGrafico::Prepara_Grafico(const QString &) noexcept {}

int ModelloGrafico::Aggiungi_Asse_Y(int numero) noexcept
{
    if (numero == Prossimo_Asse) {
        for (int n = 2; n <= Num_Assi_Y && numero == Prossimo_Asse; ++n)
            if (!m_assiY[size_t(n - 1)].esiste)
                numero = n;
    }
    if (numero < 1 || numero > Num_Assi_Y)
        return 0;
    m_assiY[size_t(numero - 1)].esiste = true;
    m_asseYCorrente = numero;
    m_attributiSuX = false;
    cambiaStruttura();
    return numero;
}

int ModelloGrafico::Aggiungi_Asse_X(int numero) noexcept
{
    if (numero == Prossimo_Asse) {
        for (int n = 2; n <= Num_Assi_X && numero == Prossimo_Asse; ++n)
            if (!m_assiX[size_t(n - 1)].esiste)
                numero = n;
    }
    if (numero < 1 || numero > Num_Assi_X)
        return 0;
    m_assiX[size_t(numero - 1)].esiste = true;
    m_asseXCorrente = numero;
    m_attributiSuX = true;
    cambiaStruttura();
    return numero;
}

bool ModelloGrafico::Seleziona_Asse_X(int numero) noexcept
{
    if (numero < 1 || numero > Num_Assi_X || !m_assiX[size_t(numero - 1)].esiste)
        return false;
    m_asseXCorrente = numero;
    m_attributiSuX = true;
    return true;
}

bool ModelloGrafico::Seleziona_Asse_Y(int numero) noexcept
{
    if (numero < 1 || numero > Num_Assi_Y || !m_assiY[size_t(numero - 1)].esiste)
        return false;
    m_asseYCorrente = numero;
    m_attributiSuX = false;
    return true;
}

void ModelloGrafico::Nuova_Serie(const QString &nome)
{
    SerieGrafico s;
    if (!m_riserva.empty()) {
        s.punti = std::move(m_riserva.back());
        m_riserva.pop_back();
    }
    s.nome = nome;
    s.asseX = m_asseXCorrente;
    s.asseY = m_asseYCorrente;
    m_serie.push_back(std::move(s));
}

SerieGrafico *ModelloGrafico::serieCorrente() noexcept { return m_serie.empty() ? nullptr : &m_serie.back(); }

bool ModelloGrafico::Stile_Serie(ColoreWin colore, int spessore, int stile) noexcept
{
    SerieGrafico *s = serieCorrente();
    if (!s)
        return false;
    s->colore = colore;
    s->spessore = std::clamp(spessore, 1, 3);
    s->stile = stile == 2 ? 2 : 1;
    return true;
}

bool ModelloGrafico::Aggiungi_Punto(double x, double y)
{
    SerieGrafico *s = serieCorrente();
    if (!s)
        return false;
    if (!std::isfinite(x) || !std::isfinite(y)) {
        ++s->puntiScartati;
        return false;
    }
    s->punti.emplace_back(x, y);
    return true;
}

bool ModelloGrafico::Aggiungi_Testo(const QString &testo, double x, double y, int allineamento, const QString &font,
                                    ColoreWin colore, int, int modo)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    TestoGrafico t;
    t.testo = testo;
    t.x = x;
    t.y = y;
    t.allineamento = std::clamp(allineamento, 0, 2);
    t.font = font;
    t.colore = colore;
    t.modo = modo == 1 || modo == 2 ? modo : 0;
    t.asseX = m_asseXCorrente;
    t.asseY = m_asseYCorrente;
    t.sopraSerie = int(m_serie.size());
    m_testi.push_back(std::move(t));
    return true;
}

void ModelloGrafico::Etichette_Asse_X(double, double fine, double, int, int, const QString &etichette)
{
    m_etichette.asseX = m_asseXCorrente;
    m_etichette.fine = fine;
    m_etichette.voci.clear();
    const QStringList pezzi = etichette.split(QLatin1Char(','));
    for (int k = 0; k < pezzi.size(); ++k)
        if (!pezzi[k].isEmpty())
            m_etichette.voci.push_back({double(k + int(m_etichette.voci.size()) + 1), pezzi[k]});
    cambiaStruttura();
}

void ModelloGrafico::Titolo_Grafico(const QString &testo, const QString &font, ColoreWin colore, int, int, int) noexcept
{
    m_titolo = {testo, font, colore};
    cambiaStruttura();
}

void ModelloGrafico::Ridisegna_Grafico() { ++m_ridisegni; }

void ModelloGrafico::Modo_Puntatore(int attivo) { m_puntatore = attivo != 0; }

bool ModelloGrafico::Salva_Immagine(const QString &file)
{
    QImage immagine(m_dimensione, QImage::Format_RGB32);
    {
        QPainter p(&immagine);
        render_grafico::Disegna(*this, p, QRectF(QPointF(0, 0), QSizeF(m_dimensione)));
    }
    return !file.isEmpty() && immagine.save(file, "BMP");
}

bool ModelloGrafico::Tipo_Punto_Serie(int tipo) noexcept
{
    SerieGrafico *s = serieCorrente();
    if (s)
        s->tipoPunto = tipo;
    return s != nullptr;
}

bool ModelloGrafico::Tipo_Marcatore_Serie(int tipo) noexcept
{
    SerieGrafico *s = serieCorrente();
    if (s)
        s->tipoMarcatore = tipo;
    return s != nullptr;
}

bool ModelloGrafico::Colore_Marcatore_Serie(ColoreWin colore) noexcept
{
    SerieGrafico *s = serieCorrente();
    if (s)
        s->coloreMarcatore = colore;
    return s != nullptr;
}

bool ModelloGrafico::Dimensione_Marcatore_Serie(double dimensione) noexcept
{
    SerieGrafico *s = serieCorrente();
    if (!s || !std::isfinite(dimensione))
        return false;
    s->dimensioneMarcatore = dimensione;
    return true;
}

AsseGrafico *ModelloGrafico::asseAttributi() noexcept
{
    return m_attributiSuX ? &m_assiX[size_t(m_asseXCorrente - 1)] : &m_assiY[size_t(m_asseYCorrente - 1)];
}

void ModelloGrafico::Scala_Fissa_Asse(int fissa) noexcept
{
    asseAttributi()->fissa = fissa != 0;
    cambiaStruttura();
}

// Stored as given, also reversed or non-finite: read-back returns what was set,
// the painting decides what it can show.
void ModelloGrafico::Minimo_Asse(double valore) noexcept
{
    asseAttributi()->minimo = valore;
    cambiaStruttura();
}

void ModelloGrafico::Massimo_Asse(double valore) noexcept
{
    asseAttributi()->massimo = valore;
    cambiaStruttura();
}

double ModelloGrafico::Minimo_Asse() const noexcept
{
    return m_attributiSuX ? m_assiX[size_t(m_asseXCorrente - 1)].minimo : m_assiY[size_t(m_asseYCorrente - 1)].minimo;
}

double ModelloGrafico::Massimo_Asse() const noexcept
{
    return m_attributiSuX ? m_assiX[size_t(m_asseXCorrente - 1)].massimo
                          : m_assiY[size_t(m_asseYCorrente - 1)].massimo;
}

void ModelloGrafico::Font_Asse(const QString &font) noexcept
{
    asseAttributi()->font = font;
    cambiaStruttura();
}

void ModelloGrafico::Formato_Asse(const QString &formato) noexcept
{
    asseAttributi()->formato = formato;
    cambiaStruttura();
}

void ModelloGrafico::Colore_Asse(ColoreWin colore) noexcept
{
    asseAttributi()->colore = colore;
    cambiaStruttura();
}

void ModelloGrafico::Colore_Etichette_Asse(ColoreWin colore) noexcept
{
    asseAttributi()->coloreEtichette = colore;
    cambiaStruttura();
}

void ModelloGrafico::Colore_Griglia_Asse(ColoreWin colore) noexcept
{
    asseAttributi()->coloreGriglia = colore;
    cambiaStruttura();
}

void ModelloGrafico::Griglia_Asse(bool attiva) noexcept
{
    asseAttributi()->griglia = attiva;
    cambiaStruttura();
}

void ModelloGrafico::Suddivisioni_Asse(int numero) noexcept
{
    asseAttributi()->suddivisioni = numero;
    cambiaStruttura();
}

void ModelloGrafico::Posizione_Titolo(int) noexcept {}

void ModelloGrafico::Colore_Sfondo_Grafico(ColoreWin colore) noexcept
{
    m_sfondo = colore;
    cambiaStruttura();
}

void ModelloGrafico::Visibile(bool visibile) { m_visibile = visibile; }

bool ModelloGrafico::Visibile() const noexcept { return m_visibile; }

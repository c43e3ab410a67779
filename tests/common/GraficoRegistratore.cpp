#include "GraficoRegistratore.h"

namespace {
QString n(double v) { return QString::number(v, 'g', 12); }
QString n(int v) { return QString::number(v); }
QString c(ColoreWin v) { return QStringLiteral("0x%1").arg(v, 6, 16, QLatin1Char('0')); }
}  // namespace

void GraficoRegistratore::registra(const QString &nome, const QStringList &argomenti)
{
    chiamate << nome + QLatin1Char('(') + argomenti.join(QLatin1Char(',')) + QLatin1Char(')');
}

QStringList GraficoRegistratore::chiamateDi(const QString &prefisso) const
{
    QStringList r;
    for (const QString &s : chiamate)
        if (s.startsWith(prefisso))
            r << s;
    return r;
}

int GraficoRegistratore::indice(const QString &prefisso, int da) const
{
    for (int i = std::max(0, da); i < chiamate.size(); ++i)
        if (chiamate[i].startsWith(prefisso))
            return i;
    return -1;
}

std::vector<const SerieGrafico *> GraficoRegistratore::serieDi(const QString &nome) const
{
    std::vector<const SerieGrafico *> r;
    for (const SerieGrafico &s : serie())
        if (s.nome == nome)
            r.push_back(&s);
    return r;
}

void GraficoRegistratore::Svuota_Grafico()
{
    registra(QStringLiteral("Svuota_Grafico"));
    ModelloGrafico::Svuota_Grafico();
}
void GraficoRegistratore::Prepara_Grafico(const QString &testo) noexcept
{
    registra(QStringLiteral("Prepara_Grafico"), {testo});
    ModelloGrafico::Prepara_Grafico(testo);
}
int GraficoRegistratore::Aggiungi_Asse_Y(int numero) noexcept
{
    registra(QStringLiteral("Aggiungi_Asse_Y"), {numero == Prossimo_Asse ? QString() : n(numero)});
    return ModelloGrafico::Aggiungi_Asse_Y(numero);
}
int GraficoRegistratore::Aggiungi_Asse_X(int numero) noexcept
{
    registra(QStringLiteral("Aggiungi_Asse_X"), {numero == Prossimo_Asse ? QString() : n(numero)});
    return ModelloGrafico::Aggiungi_Asse_X(numero);
}
bool GraficoRegistratore::Seleziona_Asse_X(int numero) noexcept
{
    registra(QStringLiteral("Seleziona_Asse_X"), {n(numero)});
    return ModelloGrafico::Seleziona_Asse_X(numero);
}
bool GraficoRegistratore::Seleziona_Asse_Y(int numero) noexcept
{
    registra(QStringLiteral("Seleziona_Asse_Y"), {n(numero)});
    return ModelloGrafico::Seleziona_Asse_Y(numero);
}
void GraficoRegistratore::Nuova_Serie(const QString &nome)
{
    registra(QStringLiteral("Nuova_Serie"), {nome});
    ModelloGrafico::Nuova_Serie(nome);
}
bool GraficoRegistratore::Stile_Serie(ColoreWin colore, int spessore, int stile) noexcept
{
    registra(QStringLiteral("Stile_Serie"), {c(colore), n(spessore), n(stile)});
    return ModelloGrafico::Stile_Serie(colore, spessore, stile);
}
bool GraficoRegistratore::Aggiungi_Punto(double x, double y)
{
    registra(QStringLiteral("Aggiungi_Punto"), {n(x), n(y)});
    return ModelloGrafico::Aggiungi_Punto(x, y);
}
bool GraficoRegistratore::Aggiungi_Testo(const QString &testo, double x, double y, int allineamento,
                                         const QString &font, ColoreWin colore, int riservato, int modo)
{
    registra(QStringLiteral("Aggiungi_Testo"), {testo, n(x), n(y), n(allineamento), font, c(colore), n(modo)});
    return ModelloGrafico::Aggiungi_Testo(testo, x, y, allineamento, font, colore, riservato, modo);
}
void GraficoRegistratore::Etichette_Asse_X(double inizio, double fine, double ultimo, int r1, int r2,
                                           const QString &etichette)
{
    registra(QStringLiteral("Etichette_Asse_X"), {n(inizio), n(fine), n(ultimo), n(r1), n(r2)});
    ModelloGrafico::Etichette_Asse_X(inizio, fine, ultimo, r1, r2, etichette);
}
void GraficoRegistratore::Titolo_Grafico(const QString &testo, const QString &font, ColoreWin colore, int sx, int sy,
                                         int r) noexcept
{
    registra(QStringLiteral("Titolo_Grafico"), {testo, font, c(colore), n(sx), n(sy), n(r)});
    ModelloGrafico::Titolo_Grafico(testo, font, colore, sx, sy, r);
}
void GraficoRegistratore::Ridisegna_Grafico()
{
    registra(QStringLiteral("Ridisegna_Grafico"));
    ModelloGrafico::Ridisegna_Grafico();
}
void GraficoRegistratore::Modo_Puntatore(int attivo)
{
    registra(QStringLiteral("Modo_Puntatore"), {n(attivo)});
    ModelloGrafico::Modo_Puntatore(attivo);
}
bool GraficoRegistratore::Salva_Immagine(const QString &file)
{
    registra(QStringLiteral("Salva_Immagine"), {file});
    return ModelloGrafico::Salva_Immagine(file);
}
bool GraficoRegistratore::Tipo_Punto_Serie(int tipo) noexcept
{
    registra(QStringLiteral("Tipo_Punto_Serie"), {n(tipo)});
    return ModelloGrafico::Tipo_Punto_Serie(tipo);
}
bool GraficoRegistratore::Tipo_Marcatore_Serie(int tipo) noexcept
{
    registra(QStringLiteral("Tipo_Marcatore_Serie"), {n(tipo)});
    return ModelloGrafico::Tipo_Marcatore_Serie(tipo);
}
bool GraficoRegistratore::Colore_Marcatore_Serie(ColoreWin colore) noexcept
{
    registra(QStringLiteral("Colore_Marcatore_Serie"), {c(colore)});
    return ModelloGrafico::Colore_Marcatore_Serie(colore);
}
bool GraficoRegistratore::Dimensione_Marcatore_Serie(double dimensione) noexcept
{
    registra(QStringLiteral("Dimensione_Marcatore_Serie"), {n(dimensione)});
    return ModelloGrafico::Dimensione_Marcatore_Serie(dimensione);
}
void GraficoRegistratore::Scala_Fissa_Asse(int fissa) noexcept
{
    registra(QStringLiteral("Scala_Fissa_Asse"), {n(fissa)});
    ModelloGrafico::Scala_Fissa_Asse(fissa);
}
void GraficoRegistratore::Minimo_Asse(double valore) noexcept
{
    registra(QStringLiteral("Minimo_Asse"), {n(valore)});
    ModelloGrafico::Minimo_Asse(valore);
}
void GraficoRegistratore::Massimo_Asse(double valore) noexcept
{
    registra(QStringLiteral("Massimo_Asse"), {n(valore)});
    ModelloGrafico::Massimo_Asse(valore);
}
void GraficoRegistratore::Font_Asse(const QString &font) noexcept
{
    registra(QStringLiteral("Font_Asse"), {font});
    ModelloGrafico::Font_Asse(font);
}
void GraficoRegistratore::Formato_Asse(const QString &formato) noexcept
{
    registra(QStringLiteral("Formato_Asse"), {formato});
    ModelloGrafico::Formato_Asse(formato);
}
void GraficoRegistratore::Colore_Asse(ColoreWin colore) noexcept
{
    registra(QStringLiteral("Colore_Asse"), {c(colore)});
    ModelloGrafico::Colore_Asse(colore);
}
void GraficoRegistratore::Colore_Etichette_Asse(ColoreWin colore) noexcept
{
    registra(QStringLiteral("Colore_Etichette_Asse"), {c(colore)});
    ModelloGrafico::Colore_Etichette_Asse(colore);
}
void GraficoRegistratore::Colore_Griglia_Asse(ColoreWin colore) noexcept
{
    registra(QStringLiteral("Colore_Griglia_Asse"), {c(colore)});
    ModelloGrafico::Colore_Griglia_Asse(colore);
}
void GraficoRegistratore::Griglia_Asse(bool attiva) noexcept
{
    registra(QStringLiteral("Griglia_Asse"), {attiva ? QStringLiteral("1") : QStringLiteral("0")});
    ModelloGrafico::Griglia_Asse(attiva);
}
void GraficoRegistratore::Suddivisioni_Asse(int numero) noexcept
{
    registra(QStringLiteral("Suddivisioni_Asse"), {n(numero)});
    ModelloGrafico::Suddivisioni_Asse(numero);
}
void GraficoRegistratore::Posizione_Titolo(int posizione) noexcept
{
    registra(QStringLiteral("Posizione_Titolo"), {n(posizione)});
    ModelloGrafico::Posizione_Titolo(posizione);
}
void GraficoRegistratore::Colore_Sfondo_Grafico(ColoreWin colore) noexcept
{
    registra(QStringLiteral("Colore_Sfondo_Grafico"), {c(colore)});
    ModelloGrafico::Colore_Sfondo_Grafico(colore);
}
void GraficoRegistratore::Visibile(bool visibile)
{
    registra(QStringLiteral("Visibile"), {visibile ? QStringLiteral("1") : QStringLiteral("0")});
    ModelloGrafico::Visibile(visibile);
}

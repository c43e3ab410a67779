#include "shell/ComandiGrafico.h"

#include "Stato.h"
#include "cycle/SalvaParametro.h"
#include "shell/DisegnaGrafico.h"

namespace comandi {

namespace {

bool GradoValido(const Stato &stato)
{
    return stato.cicli.Grado_Corrente >= 0 && stato.cicli.Grado_Corrente <= costanti::Max_Grado;
}

EsitoComando SalvaERidisegna(Stato &stato, ControlliGrafici &controlli, const QString &lettera)
{
    const int d = stato.cicli.Grado_Corrente;
    stato.archivio.Codice_Modifica = lettera;
    EsitoComando e;
    e.cambiato = true;
    e.salvato = ciclo::Salva_Parametro(stato.shell, stato.archivio, stato.cicli, d);
    Disegna_Grafico(stato, controlli, stato.cicli.Grafico_Corrente, d);
    return e;
}

}  // namespace

EsitoComando Cmd_Griglia_Graf_Click(Stato &stato, ControlliGrafici &controlli, int indice)
{
    if ((indice != 0 && indice != 1) || !GradoValido(stato))
        return {};
    const size_t d = size_t(stato.cicli.Grado_Corrente);
    int &griglia = indice == 0 ? stato.cicli.Griglia_1[d] : stato.cicli.Griglia_2[d];
    griglia = griglia == 1 ? 0 : 1;
    return SalvaERidisegna(stato, controlli, indice == 0 ? QStringLiteral("M") : QStringLiteral("N"));
}

EsitoComando Cmd_Linea_Stor_Click(Stato &stato, ControlliGrafici &controlli)
{
    if (!GradoValido(stato))
        return {};
    int &modo = stato.cicli.Modo_Linea_Storico[size_t(stato.cicli.Grado_Corrente)];
    if (modo < 0 || modo > 2)
        return {};
    modo = (modo + 1) % 3;
    return SalvaERidisegna(stato, controlli, QStringLiteral("F"));
}

}  // namespace comandi

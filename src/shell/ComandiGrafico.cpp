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

// A value the archive refuses is put back: the chart keeps showing what is stored.
EsitoComando SalvaERidisegna(Stato &stato, ControlliGrafici &controlli, int &valore, int nuovo,
                             archivio::Codice_Modifica codice)
{
    const int d = stato.cicli.Grado_Corrente;
    const int prima = valore;
    valore = nuovo;
    EsitoComando e;
    e.salvato = ciclo::Salva_Parametro(stato.shell, stato.archivio, stato.cicli, codice, d, &e.errore);
    if (!e.salvato) {
        valore = prima;
        return e;
    }
    e.cambiato = true;
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
    return SalvaERidisegna(stato, controlli, griglia, griglia == 1 ? 0 : 1,
                           indice == 0 ? archivio::Codice_Modifica::Griglia_1 : archivio::Codice_Modifica::Griglia_2);
}

EsitoComando Cmd_Linea_Stor_Click(Stato &stato, ControlliGrafici &controlli)
{
    if (!GradoValido(stato))
        return {};
    int &modo = stato.cicli.Modo_Linea_Storico[size_t(stato.cicli.Grado_Corrente)];
    if (modo < 0 || modo > 2)
        return {};
    return SalvaERidisegna(stato, controlli, modo, (modo + 1) % 3, archivio::Codice_Modifica::Modo_Linea_Storico);
}

}  // namespace comandi

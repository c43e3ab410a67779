#include "archive/ImpostazioniAvvio.h"

#include "archive/Archivio.h"
#include "archive/ScrittoreArchivio.h"
#include "platform/Costanti.h"
#include "platform/VbRuntime.h"

namespace archivio {

namespace {

const QString tabAvv = QStringLiteral("TABAVV");
const QString chiocciola = QStringLiteral("@");

// Row 1 of TABAVV, or an empty row when the file or the row cannot be read.
Riga rigaAvvio()
{
    ConnessioneInAttesa c(FileArchivio::Sistema3);
    auto righe = c.LeggiTabella(tabAvv);
    const auto r = righe.find(1);
    return r == righe.end() ? Riga{} : r->second;
}

QString campo(const Riga &riga, const char *colonna)
{
    const auto v = riga.find(QLatin1String(colonna));
    return v == riga.end() ? QString() : v->second;
}

// True when the text reads as exactly the number n.
bool vale(const QString &testo, double n)
{
    const auto v = vb::LeggiNumero(testo);
    return v && *v == n;
}

int zeroOUno(const QString &testo) { return vale(testo, 1) ? 1 : 0; }

// Columns of row 1, through the writer; the reason in `errore` when refused at once.
bool scriviAvvio(std::vector<std::pair<QString, QString>> valori, QString *errore)
{
    return Salva({{FileArchivio::Sistema3, tabAvv, 1, std::move(valori)}}, errore);
}

}  // namespace

LoginRicordato Carica_Impostazioni_Avvio(StatoArchivio &stato)
{
    const Riga riga = rigaAvvio();
    LoginRicordato login;
    stato.Ricordami = zeroOUno(campo(riga, "C7"));
    stato.UserId_Ricordato = chiocciola;
    if (stato.Ricordami == 1) {
        login.Ricordami = true;
        const QString id = campo(riga, "C5");
        if (!id.isEmpty() && id != chiocciola) {
            login.ImpostaUserId = true;
            login.UserId = id;
            stato.UserId_Ricordato = id;
        }
        login.SvuotaPassword = true;
    }
    stato.Aspetto = zeroOUno(campo(riga, "C8"));
    stato.Grafico_RT = zeroOUno(campo(riga, "C9"));
    return login;
}

bool Salva_Dati_Login(int ricordami, const QString &userId, const QString & /*password*/, QString *errore)
{
    const int valore = ricordami == 1 ? 1 : 0;
    std::vector<std::pair<QString, QString>> valori{{QStringLiteral("C7"), QString::number(valore)}};
    if (valore == 0)
        valori.emplace_back(QStringLiteral("C5"), chiocciola);
    else if (!userId.isEmpty())
        valori.emplace_back(QStringLiteral("C5"), userId);
    // Whatever was typed, the password column only ever says "nothing stored".
    valori.emplace_back(QStringLiteral("C6"), chiocciola);
    // One statement: a locked file costs one wait, and the switch is never stored without its user id.
    return scriviAvvio(valori, errore);
}

bool Salva_Aspetto(const StatoArchivio &stato, QString *errore)
{
    return scriviAvvio({{QStringLiteral("C8"), QString::number(stato.Aspetto)}}, errore);
}

bool Salva_Grafico_RT(const StatoArchivio &stato, QString *errore)
{
    return scriviAvvio({{QStringLiteral("C9"), QString::number(stato.Grafico_RT)}}, errore);
}

void Carica_Sottostante_Corrente(StatoArchivio &stato)
{
    const QString c1 = campo(rigaAvvio(), "C1");
    int sottostante = 2;
    if (const auto v = vb::LeggiNumero(c1)) {
        const double parteIntera = vb::Int(*v);
        if (parteIntera >= 1 && parteIntera <= costanti::Num_Sottostanti)
            sottostante = int(parteIntera);
    }
    stato.Sottostante_Corrente = sottostante;
}

}  // namespace archivio

#include "archive/ImpostazioniAvvio.h"

#include "archive/Archivio.h"
#include "platform/Costanti.h"
#include "platform/VbRuntime.h"

namespace archivio {

namespace {

const QString tabAvv = QStringLiteral("TABAVV");
const QString chiocciola = QStringLiteral("@");

// Row 1 of TABAVV, or an empty row when the file or the row cannot be read.
Riga rigaAvvio()
{
    Connessione c(FileArchivio::Sistema3);
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

bool Salva_Dati_Login(int ricordami, const QString &userId, const QString & /*password*/)
{
    Connessione c(FileArchivio::Sistema3);
    const int valore = ricordami == 1 ? 1 : 0;
    bool ok = c.Aggiorna(tabAvv, QStringLiteral("C7"), 1, QString::number(valore));
    if (valore == 1) {
        if (!userId.isEmpty())
            ok = c.Aggiorna(tabAvv, QStringLiteral("C5"), 1, userId) && ok;
    } else {
        ok = c.Aggiorna(tabAvv, QStringLiteral("C5"), 1, chiocciola) && ok;
    }
    // Whatever was typed, the password column only ever says "nothing stored".
    ok = c.Aggiorna(tabAvv, QStringLiteral("C6"), 1, chiocciola) && ok;
    return ok;
}

bool Salva_Aspetto(const StatoArchivio &stato)
{
    Connessione c(FileArchivio::Sistema3);
    return c.Aggiorna(tabAvv, QStringLiteral("C8"), 1, QString::number(stato.Aspetto));
}

bool Salva_Grafico_RT(const StatoArchivio &stato)
{
    Connessione c(FileArchivio::Sistema3);
    return c.Aggiorna(tabAvv, QStringLiteral("C9"), 1, QString::number(stato.Grafico_RT));
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

#include "market/ScrittoreStorico.h"

std::vector<EsitoVoce> PoliticaStorico::Scrivi(const std::vector<Voce> &lotto)
{
    std::shared_ptr<storico::Disco> d;
    {
        std::lock_guard blocco(mutexDisco);
        d = disco;
    }
    std::vector<EsitoVoce> esiti;
    for (const Voce &v : lotto) {
        const storico::Esito e = storico::Scrivi_File_Storico(v.percorso, v.contenuto, *d);
        esiti.push_back({e.ok, e.errore});
    }
    return esiti;
}

storico::Esito ScrittoreStorico::Salva(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                                       Richiedente richiedente, int annoOggi)
{
    QByteArray contenuto;
    const storico::Esito e = storico::Contenuto_Storico(mercato, sottostante, timeframe, contenuto, annoOggi);
    if (!e.ok)
        return e;
    // The path is taken here: the program folder is the caller's to read.
    Accoda({{storico::PercorsoFileStorico(sottostante, timeframe), storico::NomeFileStorico(sottostante, timeframe),
             std::move(contenuto)}},
           richiedente);
    return {true, {}};
}

QString ScrittoreStorico::Testo_Avviso(int, const QString &nome, const QString &causa) const
{
    return storico::Testo_Non_Salvato(nome, causa);
}

void ScrittoreStorico::Imposta_Disco(std::shared_ptr<storico::Disco> disco)
{
    PoliticaStorico &p = Politica_Scrittura();
    std::lock_guard blocco(p.mutexDisco);
    p.disco = disco ? std::move(disco) : std::make_shared<storico::DiscoReale>();
}

#include "market/StoricoLocale.h"

#include "platform/DataOra.h"
#include "platform/ErroriFile.h"
#include "platform/Percorsi.h"
#include "platform/VbRuntime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <unistd.h>
#include <vector>

namespace storico {

namespace {

// Room for the longest plain line plus the line end.
constexpr int Buffer_Riga = 96;
// The volume is written as a whole number of at most 16 digits.
constexpr double Volume_Massimo = 9.0e15;

bool carattereAmmesso(char c)
{
    return (c >= '0' && c <= '9') || c == ';' || c == '.' || c == '-' || c == '+' || c == 'E';
}

void dueCifre(char *p, int v)
{
    p[0] = char('0' + v / 10);
    p[1] = char('0' + v % 10);
}

// The plain line of one bar into `out`; its length, or 0 when the bar cannot be written.
int scriviRiga(const BarraStorico &b, char *out, int annoOggi)
{
    if (!b.data.isValid() || b.minuti < 0 || b.minuti > 1439 || !std::isfinite(b.chiusura) || !std::isfinite(b.volume))
        return 0;
    int anno = 0, mese = 0, giorno = 0;
    b.data.getDate(&anno, &mese, &giorno);
    // Any other year would come back as another century.
    if (!dataora::AnnoInDueCifre(anno, annoOggi))
        return 0;
    char *p = out;
    dueCifre(p, giorno);
    dueCifre(p + 2, mese);
    dueCifre(p + 4, anno % 100);
    p[6] = ';';
    dueCifre(p + 7, b.minuti / 60);
    dueCifre(p + 9, b.minuti % 60);
    p[11] = ';';
    p += 12;
    char *fine = out + Lunghezza_Max_Riga + 1;

    const double x = b.chiusura;
    const double ax = std::fabs(x);
    if (x == 0.0) {
        *p++ = '0';
    } else if (ax >= 1e-4 && ax < 1e15) {
        // Up to 15 significant digits without trailing zeros, as the stored text always was.
        auto r = std::to_chars(p, fine, x, std::chars_format::general, 15);
        if (r.ec != std::errc())
            return 0;
        p = r.ptr;
    } else {
        const QByteArray t = vb::CStr(x).replace(QLatin1Char(','), QLatin1Char('.')).toLatin1();
        if (t.size() > fine - p)
            return 0;
        std::copy(t.begin(), t.end(), p);
        p += t.size();
    }
    if (p >= fine)
        return 0;
    *p++ = ';';
    const double v = std::round(b.volume);  // halves away from zero, as Format "0"
    if (std::fabs(v) > Volume_Massimo)
        return 0;
    auto r = std::to_chars(p, fine, static_cast<long long>(v));
    if (r.ec != std::errc())
        return 0;
    p = r.ptr;
    const int n = int(p - out);
    return n <= Lunghezza_Max_Riga ? n : 0;
}

bool cifre(const char *p, int n, int &valore)
{
    valore = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        valore = valore * 10 + (p[i] - '0');
    }
    return true;
}

bool numero(const char *inizio, const char *fine, double &valore)
{
    if (inizio == fine)
        return false;
    if (*inizio == '+')
        ++inizio;
    auto r = std::from_chars(inizio, fine, valore, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == fine && std::isfinite(valore);
}

// Parses the plain line [p, p + n).
bool leggiRiga(const char *p, int n, BarraStorico &b, int annoOggi)
{
    const char *campi[5];
    int numCampi = 0;
    campi[numCampi++] = p;
    for (int i = 0; i < n; ++i) {
        if (p[i] == ';') {
            if (numCampi == 4)
                return false;
            campi[numCampi++] = p + i + 1;
        }
    }
    if (numCampi != 4)
        return false;
    campi[4] = p + n + 1;
    auto lung = [&](int k) { return int(campi[k + 1] - campi[k]) - 1; };
    if (lung(0) != 6 || lung(1) != 4)
        return false;
    int g = 0, m = 0, a = 0, hh = 0, mm = 0;
    if (!cifre(campi[0], 2, g) || !cifre(campi[0] + 2, 2, m) || !cifre(campi[0] + 4, 2, a))
        return false;
    if (!cifre(campi[1], 2, hh) || !cifre(campi[1] + 2, 2, mm) || hh > 23 || mm > 59)
        return false;
    const QDate data(dataora::AnnoDaDueCifre(a, annoOggi), m, g);
    if (!data.isValid())
        return false;
    double chiusura = 0.0, volume = 0.0;
    if (!numero(campi[2], campi[2] + lung(2), chiusura) || !numero(campi[3], campi[3] + lung(3), volume))
        return false;
    // A volume the writer would refuse: the series could never be saved again.
    if (std::fabs(std::floor(volume)) > Volume_Massimo)
        return false;
    b.data = data;
    b.minuti = hh * 60 + mm;
    b.chiusura = chiusura;
    b.volume = std::floor(volume);
    return true;
}

}  // namespace

int ValoreChiave(int k) { return 80 + ((k * 29) % 64); }

void Inizializza_Tabella_Chiave(StatoMercato &mercato)
{
    mercato.Tabella_Chiave.fill(0);
    for (int k = 1; k <= Lunghezza_Max_Riga; ++k)
        mercato.Tabella_Chiave[size_t(k)] = ValoreChiave(k);
}

const std::array<QString, 4> &Timeframes()
{
    static const std::array<QString, 4> t{QStringLiteral("5M"), QStringLiteral("15M"), QStringLiteral("1H"),
                                          QStringLiteral("1D")};
    return t;
}

int BarreDelTimeframe(const QString &timeframe)
{
    if (timeframe == QLatin1String("5M"))
        return costanti::Barre_Storico_5M;
    if (timeframe == QLatin1String("15M"))
        return costanti::Barre_Storico_15M;
    if (timeframe == QLatin1String("1H"))
        return costanti::Barre_Storico_1H;
    if (timeframe == QLatin1String("1D"))
        return costanti::Barre_Storico_1D;
    return 0;
}

SerieStorico *SerieDelTimeframe(StatoMercato &mercato, const QString &timeframe)
{
    return const_cast<SerieStorico *>(SerieDelTimeframe(std::as_const(mercato), timeframe));
}

const SerieStorico *SerieDelTimeframe(const StatoMercato &mercato, const QString &timeframe)
{
    if (timeframe == QLatin1String("5M"))
        return &mercato.Storico_5M;
    if (timeframe == QLatin1String("15M"))
        return &mercato.Storico_15M;
    if (timeframe == QLatin1String("1H"))
        return &mercato.Storico_1H;
    if (timeframe == QLatin1String("1D"))
        return &mercato.Storico_1D;
    return nullptr;
}

QString NomeFileStorico(int sottostante, const QString &timeframe)
{
    return QStringLiteral("S%1_%2.dat").arg(timeframe).arg(sottostante);
}

QString PercorsoFileStorico(int sottostante, const QString &timeframe)
{
    return percorsi::Cartella(QStringLiteral("Sistema")) + QLatin1Char('/') + NomeFileStorico(sottostante, timeframe);
}

bool Verifica_File_Storico(const QString &nomeFile)
{
    return QFileInfo(percorsi::Cartella(QStringLiteral("Sistema")) + QLatin1Char('/') + nomeFile).isFile();
}

bool Barra_Registrabile(const BarraStorico &barra, int annoOggi)
{
    char buf[Buffer_Riga];
    return scriviRiga(barra, buf, annoOggi) > 0;
}

QByteArray RigaInChiaro(const BarraStorico &barra, int annoOggi)
{
    char buf[Buffer_Riga];
    const int n = scriviRiga(barra, buf, annoOggi);
    return QByteArray(buf, n);
}

QByteArray Scrambla(const QByteArray &chiaro, const std::array<int, 57> &chiave)
{
    if (chiaro.size() > Lunghezza_Max_Riga)
        return QByteArray();
    QByteArray out(chiaro.size(), Qt::Uninitialized);
    for (int k = 0; k < chiaro.size(); ++k)
        out[k] = char(static_cast<unsigned char>(chiaro[k]) + chiave[size_t(k + 1)]);
    return out;
}

QByteArray Decifra(const QByteArray &scramblata, const std::array<int, 57> &chiave)
{
    if (scramblata.size() > Lunghezza_Max_Riga)
        return QByteArray();
    QByteArray out(scramblata.size(), Qt::Uninitialized);
    for (int k = 0; k < out.size(); ++k)
        out[k] = char(static_cast<unsigned char>(scramblata[k]) - chiave[size_t(k + 1)]);
    return out;
}

std::optional<BarraStorico> LeggiRiga(const QByteArray &chiaro, int annoOggi)
{
    if (chiaro.isEmpty() || chiaro.size() > Lunghezza_Max_Riga)
        return std::nullopt;
    for (char c : chiaro)
        if (!carattereAmmesso(c))
            return std::nullopt;
    BarraStorico b;
    if (!leggiRiga(chiaro.constData(), int(chiaro.size()), b, annoOggi))
        return std::nullopt;
    return b;
}

bool DiscoReale::Sincronizza(QFileDevice &file, QString &errore)
{
    // QSaveFile::commit syncs too, but goes on to the rename whatever the sync says:
    // a disk that refuses the data only then would leave a short file in place.
    // The data synced here, commit's own sync has little left to do.
    if (!file.flush()) {
        errore = file.errorString();
        return false;
    }
    if (::fdatasync(file.handle()) != 0) {
        const int codice = errno;
        errore = qt_error_string(codice);
        errno = codice;
        return false;
    }
    return true;
}

Esito Contenuto_Storico(const StatoMercato &mercato, int sottostante, const QString &timeframe,
                        QByteArray &contenuto, int annoOggi)
{
    contenuto.clear();
    const int n = BarreDelTimeframe(timeframe);
    if (n == 0)
        return {false, QStringLiteral("Timeframe sconosciuto: %1").arg(timeframe)};
    if (sottostante < 1 || sottostante > costanti::Num_Sottostanti)
        return {false, QStringLiteral("Sottostante fuori intervallo: %1").arg(sottostante)};
    const SerieStorico &serie = *SerieDelTimeframe(mercato, timeframe);
    if (serie.capacita() != n)
        return {false, QStringLiteral("Serie %1 di %2 barre invece di %3").arg(timeframe).arg(serie.capacita()).arg(n)};
    const auto &chiave = mercato.Tabella_Chiave;
    if (chiave[1] == 0)
        return {false, QStringLiteral("Tabella chiave non inizializzata")};

    QByteArray dati(qsizetype(n) * 40, Qt::Uninitialized);
    char *p = dati.data();
    char *limite = p + dati.size();
    for (int r = 1; r <= n; ++r) {
        if (limite - p < Lunghezza_Max_Riga + 2) {
            const qsizetype usati = p - dati.data();
            dati.resize(dati.size() * 2);
            p = dati.data() + usati;
            limite = dati.data() + dati.size();
        }
        const int len = scriviRiga(serie.barra(r), p, annoOggi);
        if (len == 0)
            return {false, QStringLiteral("Barra %1 di %2 non valida: file non scritto").arg(r).arg(timeframe)};
        for (int k = 0; k < len; ++k)
            p[k] = char(static_cast<unsigned char>(p[k]) + chiave[size_t(k + 1)]);
        p[len] = '\r';
        p[len + 1] = '\n';
        p += len + 2;
    }
    dati.truncate(p - dati.data());
    contenuto = std::move(dati);
    return {true, {}};
}

Esito Scrivi_File_Storico(const QString &percorso, const QByteArray &contenuto, Disco &disco)
{
    QSaveFile file(percorso);
    // Called right after the failing call, while errno is still its own; the file's
    // words are taken before cancelWriting puts its own ("cancelled") in their place.
    const auto fallito = [&](QString sistema = {}) {
        const int codice = errno;
        if (sistema.isEmpty())
            sistema = file.errorString();
        file.cancelWriting();
        return Esito{false, errori_file::Causa_Scrittura(codice, percorso, sistema)};
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fallito();
    const qsizetype meta = contenuto.size() / 2;
    errno = 0;
    if (file.write(contenuto.constData(), meta) != meta)
        return fallito();
    disco.A_Meta_File(percorso);
    errno = 0;
    if (file.write(contenuto.constData() + meta, contenuto.size() - meta) != contenuto.size() - meta)
        return fallito();
    QString sistema;
    errno = 0;
    if (!disco.Sincronizza(file, sistema))
        return fallito(sistema);
    errno = 0;
    if (!file.commit())
        return fallito();
    return {true, {}};
}

QString Testo_Non_Salvato(const QString &nomeFile, const QString &causa)
{
    return QStringLiteral("Storico locale %1 non salvato: %2.\nIl file resta com'era; il salvataggio riprende "
                          "da solo appena possibile.")
        .arg(nomeFile, causa);
}

Esito Salva_Storico(const StatoMercato &mercato, int sottostante, const QString &timeframe, int annoOggi)
{
    QByteArray contenuto;
    const Esito e = Contenuto_Storico(mercato, sottostante, timeframe, contenuto, annoOggi);
    if (!e.ok)
        return e;
    DiscoReale disco;
    return Scrivi_File_Storico(PercorsoFileStorico(sottostante, timeframe), contenuto, disco);
}

namespace {

// One whole file; nullopt with the reason in `motivo`.
std::optional<SerieStorico> leggiFile(const QString &percorso, const QString &timeframe,
                                      const std::array<int, 57> &chiave, int annoOggi, QString &motivo)
{
    auto fallisce = [&](const QString &perche) -> std::optional<SerieStorico> {
        motivo = perche;
        return std::nullopt;
    };
    const int n = BarreDelTimeframe(timeframe);
    if (n == 0)
        return fallisce(QStringLiteral("timeframe sconosciuto"));
    if (chiave[1] == 0)
        return fallisce(QStringLiteral("tabella chiave non inizializzata"));
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return fallisce(file.errorString());
    // A well-formed file is at most N lines of 56 characters and CR LF; read a
    // little more so that a longer file is seen as such without reading it all.
    const QByteArray dati = file.read(qint64(n) * (Lunghezza_Max_Riga + 2) + 1);
    SerieStorico serie(n);
    const char *p = dati.constData();
    const char *fine = p + dati.size();
    char chiaro[Buffer_Riga];
    for (int r = 1; r <= n; ++r) {
        const char *cr = p;
        while (cr < fine && *cr != '\r' && *cr != '\n')
            ++cr;
        if (cr >= fine)
            return fallisce(QStringLiteral("file troncato alla riga %1 di %2").arg(r).arg(n));
        if (cr + 1 >= fine || cr[0] != '\r' || cr[1] != '\n')
            return fallisce(QStringLiteral("fine riga non valida alla riga %1").arg(r));
        const int len = int(cr - p);
        if (len == 0 || len > Lunghezza_Max_Riga)
            return fallisce(QStringLiteral("lunghezza non valida alla riga %1").arg(r));
        for (int k = 0; k < len; ++k) {
            const int c = static_cast<unsigned char>(p[k]) - chiave[size_t(k + 1)];
            if (c < 0 || !carattereAmmesso(char(c)))
                return fallisce(QStringLiteral("carattere non valido alla riga %1").arg(r));
            chiaro[k] = char(c);
        }
        if (!leggiRiga(chiaro, len, serie.barra(r), annoOggi))
            return fallisce(QStringLiteral("riga %1 non valida").arg(r));
        p = cr + 2;
    }
    // The writer never puts anything after line N: more means another file or a damaged one.
    if (p != fine)
        return fallisce(QStringLiteral("dati oltre la riga %1").arg(n));
    return serie;
}

// The four files of one underlying; on failure the path of the first bad file and why.
std::optional<SetStorico> leggiSet(int sottostante, const std::array<int, 57> &chiave, int annoOggi,
                                   QString &percorso, QString &motivo)
{
    SetStorico set;
    SerieStorico *destinazioni[4] = {&set.s5M, &set.s15M, &set.s1H, &set.s1D};
    for (int t = 0; t < 4; ++t) {
        const QString &tf = Timeframes()[size_t(t)];
        percorso = PercorsoFileStorico(sottostante, tf);
        auto serie = leggiFile(percorso, tf, chiave, annoOggi, motivo);
        if (!serie)
            return std::nullopt;
        *destinazioni[t] = std::move(*serie);
    }
    return set;
}

QString nomeEMotivo(const QString &percorso, const QString &motivo)
{
    return QStringLiteral("%1: %2").arg(QFileInfo(percorso).fileName(), motivo);
}

}  // namespace

std::optional<SerieStorico> LeggiFileStorico(const QString &percorso, const QString &timeframe,
                                             const std::array<int, 57> &chiave, QString *errore, int annoOggi)
{
    QString motivo;
    auto serie = leggiFile(percorso, timeframe, chiave, annoOggi, motivo);
    if (!serie && errore)
        *errore = nomeEMotivo(percorso, motivo);
    return serie;
}

std::optional<SetStorico> LeggiSetStorico(int sottostante, const std::array<int, 57> &chiave, QString *errore,
                                          int annoOggi)
{
    QString percorso, motivo;
    auto set = leggiSet(sottostante, chiave, annoOggi, percorso, motivo);
    if (!set && errore)
        *errore = nomeEMotivo(percorso, motivo);
    return set;
}

int Rimuovi_Temporanei_Storico()
{
    static const QRegularExpression temporaneo(QStringLiteral("^S(5M|15M|1H|1D)_[1-7]\\.dat\\.[A-Za-z0-9]{6}$"));
    QDir cartella(percorsi::Cartella(QStringLiteral("Sistema")));
    int rimossi = 0;
    for (const QString &nome : cartella.entryList({QStringLiteral("S*.dat.*")}, QDir::Files | QDir::Hidden)) {
        if (temporaneo.match(nome).hasMatch() && cartella.remove(nome))
            ++rimossi;
    }
    return rimossi;
}

EsitoOffline Carica_Storico_Offline(StatoMercato &mercato, int &sottostanteCorrente, const QString &formatoLocale)
{
    struct : AzioniOffline {
        void Mostra_Avanzamento(int) override {}
        void Nessuno_Storico(const QString &, const QString &) override {}
        void Storico_Danneggiato(const QString &) override {}
    } nessuna;
    return Carica_Storico_Offline(mercato, sottostanteCorrente, formatoLocale, nessuna);
}

EsitoOffline Carica_Storico_Offline(StatoMercato &mercato, int &sottostanteCorrente, const QString &formatoLocale,
                                    AzioniOffline &azioni, int annoOggi)
{
    constexpr int N = costanti::Num_Sottostanti;
    EsitoOffline esito;
    std::vector<std::optional<SetStorico>> set(size_t(N) + 1);
    const QString formatoEtichetta =
        formatoLocale == QLatin1String("UE") ? QStringLiteral("DD/MM/YY") : QStringLiteral("MM/DD/YY");
    const int corrente = sottostanteCorrente >= 1 && sottostanteCorrente <= N ? sottostanteCorrente : 1;
    QString danneggiato;

    for (int n = 1; n <= N; ++n) {
        mercato.Storico_Offline_Disponibile[size_t(n)] = false;
        bool completi = true;
        for (const QString &tf : Timeframes()) {
            if (!Verifica_File_Storico(NomeFileStorico(n, tf))) {
                completi = false;
                break;
            }
        }
        if (!completi)
            continue;
        // A set that fails anywhere is not offered: loading it would give a half-read history.
        QString percorso, motivo;
        set[size_t(n)] = leggiSet(n, mercato.Tabella_Chiave, annoOggi, percorso, motivo);
        if (!set[size_t(n)]) {
            if (n == corrente)
                danneggiato = QStringLiteral("Il file dello storico locale %1 è danneggiato (%2): "
                                             "lo storico di questo sottostante non può essere caricato.")
                                  .arg(QDir::toNativeSeparators(percorso), motivo);
            continue;
        }
        esito.etichette[size_t(n)] = dataora::ScriviData(set[size_t(n)]->s1D.barra(1).data, formatoEtichetta);
        mercato.Storico_Offline_Disponibile[size_t(n)] = !esito.etichette[size_t(n)].isEmpty();
    }
    if (!danneggiato.isEmpty())
        azioni.Storico_Danneggiato(danneggiato);

    int scelto = corrente;
    bool trovato = false;
    for (int prova = 0; prova < N; ++prova) {
        if (mercato.Storico_Offline_Disponibile[size_t(scelto)]) {
            trovato = true;
            break;
        }
        scelto = scelto == N ? 1 : scelto + 1;
    }
    if (!trovato) {
        azioni.Nessuno_Storico(Titolo_Nessuno_Storico, Messaggio_Nessuno_Storico);
        return esito;
    }

    sottostanteCorrente = scelto;
    SetStorico &s = *set[size_t(scelto)];
    SerieStorico *sorgenti[4] = {&s.s5M, &s.s15M, &s.s1H, &s.s1D};
    SerieStorico *destinazioni[4] = {&mercato.Storico_5M, &mercato.Storico_15M, &mercato.Storico_1H,
                                     &mercato.Storico_1D};
    for (int t = 0; t < 4; ++t) {
        azioni.Mostra_Avanzamento(t + 4);
        *destinazioni[t] = std::move(*sorgenti[t]);
    }
    esito.caricato = true;
    return esito;
}

void CopiaSetStorico(StatoMercato &mercato, const SetStorico &set)
{
    mercato.Storico_5M = set.s5M;
    mercato.Storico_15M = set.s15M;
    mercato.Storico_1H = set.s1H;
    mercato.Storico_1D = set.s1D;
}

}  // namespace storico

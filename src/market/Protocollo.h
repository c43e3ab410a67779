#pragma once

// The quote-server wire format: a six-character code ("COMM" and two digits)
// followed by "Ø", then each field followed by "Ø", all in Windows-1252.
// TCP may split a message or join several, so bytes are buffered and cut by
// the code token and the number of fields each code carries. A field whose whole
// text is a known code token is taken as the start of the next message, which is
// how a message with too few fields is recognised.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <vector>

namespace protocollo {

inline constexpr char Terminatore = char(0xD8);
inline const QChar TerminatoreTesto = QChar(0x00D8);

// Which side's messages a decoder reads.
enum class Verso { DalServer, DalClient };

// Fields a code carries in the given direction; -1 when the code is not in the catalogue.
int CampiAttesi(Verso verso, const QString &codice);

// code & "Ø" & f1 & "Ø" ... & fn & "Ø"
QString Componi(const QString &codice, const QStringList &campi = {});

class Decodificatore;

// The message is kept as the one text it travelled as, with where each field
// ends: a tick costs one allocation, not one per field.
struct Messaggio {
    QString Codice;
    bool Completo = true;  // false: the next message began before all fields arrived

    int NumeroCampi() const { return int(m_fine.size()) - 1; }
    QStringView VistaCampo(int k) const
    {
        if (k < 1 || k > NumeroCampi())
            return {};
        return QStringView(m_testo).sliced(m_fine[k - 1] + 1, m_fine[k] - m_fine[k - 1] - 1);
    }
    QString Campo(int k) const { return VistaCampo(k).toString(); }
    QStringList Campi() const;
    // The message as one text, as it travelled.
    QString Testo() const { return m_testo; }

private:
    friend class Decodificatore;
    QString m_testo;
    QVarLengthArray<int, 14> m_fine;  // offset of each terminator in m_testo, the code's first
};

// Bytes one message may take on the wire; a server sending more is broken or hostile.
inline constexpr qsizetype Limite_Messaggio = qsizetype(1) << 20;

class Decodificatore {
public:
    explicit Decodificatore(Verso verso = Verso::DalServer) : m_verso(verso) {}

    // Appends bytes and returns every message they complete, in order. A message
    // cut short by the start of the next one comes back with Completo false.
    // A message longer than Limite_Messaggio overflows the decoder: what it held is
    // freed and nothing more is decoded until Azzera.
    std::vector<Messaggio> Aggiungi(const QByteArray &byte);
    // Bytes of the unfinished message held while waiting for its rest.
    qsizetype InAttesa() const;
    bool Traboccato() const { return m_traboccato; }
    // Bytes examined so far: each received byte is looked at a bounded number of
    // times, however the stream is cut.
    qint64 ByteEsaminati() const { return m_esaminati; }
    void Azzera();

private:
    // Whether a known code token and its terminator start at byte offset i.
    bool CodiceNoto(qsizetype i, int *campi) const;
    qsizetype CercaCodice(qsizetype da);
    qsizetype CercaTerminatore(qsizetype da);
    // The current message, from its code to m_inizio.
    Messaggio Estrai(bool completo);
    void Trabocca();
    void Compatta();

    Verso m_verso;
    QByteArray m_buffer;
    qsizetype m_inizio = 0;      // first byte not yet taken into a message or dropped
    // The message whose fields are being read: it starts at m_messaggio and stays
    // whole in the buffer until it ends; its fields end before m_inizio, and no
    // terminator lies between m_inizio and m_scansione.
    bool m_inMessaggio = false;
    qsizetype m_messaggio = 0;
    QVarLengthArray<int, 14> m_fine;  // terminators so far, from the message's start
    int m_attesi = 0;
    qsizetype m_scansione = 0;
    bool m_traboccato = false;
    qint64 m_esaminati = 0;
};

}  // namespace protocollo

#pragma once

// The change of underlying: the online list Cmb_Sot (its text checked, then the
// pick applied) and the offline options Opt_Sott_Off. One loading at a time: a
// change asked for while one runs is refused. What it needs of the rest of the
// window (the hold, the charts cleared, the history panel closed, the loading)
// it asks through RichiesteCambio.

#include <QObject>

struct Stato;
class AreaGrafici;
class FormS1;
class PannelloQuotazioni;

class RichiesteCambio {
public:
    virtual ~RichiesteCambio() = default;
    virtual bool Caricamento_In_Corso() const = 0;
    virtual void Disabilita_Finestra() = 0;
    virtual void Abilita_Finestra() = 0;
    // The server's real-time data stopped for the old underlying.
    virtual void Ferma_Dati_RT() = 0;
    virtual void Cancella_Grafici() = 0;
    // The history panel closed and the four charts laid out again.
    virtual void Chiudi_Storico() = 0;
    virtual void Mostra_Pannello_Cambio() = 0;
    // The loading for the new underlying.
    virtual void Carica_Sottostante() = 0;
};

class ControlloreSottostante : public QObject {
    Q_OBJECT
public:
    ControlloreSottostante(Stato &stato, FormS1 &form, AreaGrafici &area, PannelloQuotazioni &quotazioni,
                           RichiesteCambio &richieste, QObject *parent);

    void Cmb_Sot_Change();
    void Cmb_Sot_Click();
    void Imposta_Sottostante_Offline(int index);
    int Sottostante_Scelto() const { return m_sottostanteScelto; }
    bool Cambio_In_Corso() const { return m_cambioInCorso; }
    // The loading is over. A change waiting on it (online, for the server's latest
    // bars) ends now; one that started the loading ends when that call returns.
    void Caricamento_Concluso();

signals:
    // Fine_Cambio has run: the window is the user's again.
    void Cambio_Concluso();

private:
    void Cambia_Sottostante(int sottostante);
    // Once per change, after its loading, in order: echoes of the controls back on, the window enabled.
    void Fine_Cambio();

    Stato &m_stato;
    FormS1 &m_form;
    AreaGrafici &m_area;
    PannelloQuotazioni &m_quotazioni;
    RichiesteCambio &m_richieste;
    int m_sottostanteScelto = 0;
    bool m_cambioInCorso = false;
    bool m_avvioCambio = false;  // inside Cambia_Sottostante: the loading's end is its to handle
};

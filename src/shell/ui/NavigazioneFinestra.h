#pragma once

// The chart navigation of the working window: each panel's two scroll bars and
// the zoom and compression sliders of the one-chart layout, answered by
// NavigazioneGrafico over the session state.

#include "cycle/NavigazioneGrafico.h"
#include "platform/BarraScorrimento.h"

#include <QObject>

class AreaGrafici;
class ControlloreRidisegno;
class MotoreIndicatori;
struct Stato;
class QAbstractSlider;

// A slider seen through BarraScorrimento; its writes raise valueChanged as the
// user's moves do, so the handlers see every change.
class SliderQt : public BarraScorrimento {
public:
    explicit SliderQt(QAbstractSlider *slider) : m_slider(slider) {}
    void Imposta_Min(int valore) override;
    void Imposta_Max(int valore) override;
    int Min() const override;
    int Max() const override;
    void Imposta_Valore(int valore) override;
    int Valore() const override;

private:
    QAbstractSlider *m_slider;
};

class NavigazioneFinestra : public QObject, public AmbienteNavigazione {
    Q_OBJECT
public:
    NavigazioneFinestra(Stato &stato, AreaGrafici &area, ControlloreRidisegno &ridisegno, MotoreIndicatori &motore,
                        QObject *parent);

    NavigazioneGrafico &Navigazione() { return m_navigazione; }

    // AmbienteNavigazione
    ControlliGrafici &Controlli() override;
    BarraScorrimento *Sld_Zoom() override { return &m_zoom; }
    bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
                         archivio::Codice_Modifica codice, int grado, QString &errore) override;
    void Mostra_Errore(const QString &testo) override;
    BarraScorrimento *Sld_Compr() override { return &m_compr; }
    void Disegna_Grafico(int grafico, int grado) override;
    void Sposta_Disegni_AsseX() override;
    bool Profilo_Volumi_Attivo(int grado) const override;
    void Calcola_Profilo_Volumi(int grado, int grafico) override;
    void Mostra_Caricamento_Indicatore(int grado, int grafico) override;

private:
    Stato &m_stato;
    AreaGrafici &m_area;
    ControlloreRidisegno &m_ridisegno;
    MotoreIndicatori &m_motore;
    NavigazioneGrafico m_navigazione;
    SliderQt m_zoom;
    SliderQt m_compr;
};

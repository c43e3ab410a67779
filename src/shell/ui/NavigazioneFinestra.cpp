#include "shell/ui/NavigazioneFinestra.h"

#include "Stato.h"
#include "cycle/SalvaParametro.h"
#include "drawing/OggettiGrafici.h"
#include "indicators/TabellaIndicatori.h"
#include "shell/ui/AreaGrafici.h"
#include "indicators/MotoreIndicatori.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QScrollBar>
#include <QSlider>

void SliderQt::Imposta_Min(int valore) { m_slider->setMinimum(valore); }
void SliderQt::Imposta_Max(int valore) { m_slider->setMaximum(valore); }
int SliderQt::Min() const { return m_slider->minimum(); }
int SliderQt::Max() const { return m_slider->maximum(); }
void SliderQt::Imposta_Valore(int valore) { m_slider->setValue(valore); }
int SliderQt::Valore() const { return m_slider->value(); }

NavigazioneFinestra::NavigazioneFinestra(Stato &stato, AreaGrafici &area, ControlloreRidisegno &ridisegno,
                                         MotoreIndicatori &motore, QObject *parent)
    : QObject(parent), m_stato(stato), m_area(area), m_ridisegno(ridisegno), m_motore(motore),
      m_navigazione(stato.shell, stato.archivio, stato.mercato, stato.cicli, *this), m_zoom(area.Sld_Zoom),
      m_compr(area.Sld_Compr)
{
    setObjectName(QStringLiteral("NavigazioneFinestra"));
    for (RiquadroGrafico *r : area.Frm_Graf) {
        const int slot = r->slot();
        // A drag is one change, at release: each change saves and redraws.
        r->Hsc_Graf->setTracking(false);
        r->Hsc_Graf_Y->setTracking(false);
        connect(r->Hsc_Graf, &QScrollBar::valueChanged, this, [this, slot] { m_navigazione.Hsc_Graf_Change(slot); });
        connect(r->Hsc_Graf_Y, &QScrollBar::valueChanged, this,
                [this, slot] { m_navigazione.Hsc_Graf_Y_Change(slot); });
    }
    area.Sld_Zoom->setTracking(false);
    area.Sld_Compr->setTracking(false);
    connect(area.Sld_Zoom, &QSlider::valueChanged, this, [this] { m_navigazione.Sld_Zoom_Change(); });
    connect(area.Sld_Compr, &QSlider::valueChanged, this, [this] { m_navigazione.Sld_Compr_Change(); });
}

ControlliGrafici &NavigazioneFinestra::Controlli() { return m_area; }

void NavigazioneFinestra::Disegna_Grafico(int grafico, int grado) { m_ridisegno.Disegna_Grafico(grafico, grado); }

void NavigazioneFinestra::Sposta_Disegni_AsseX()
{
    Stato &s = m_stato;
    disegno::Sposta_Disegni_AsseX(s.shell, s.cicli, s.disegno, m_area);
}

bool NavigazioneFinestra::Profilo_Volumi_Attivo(int grado) const
{
    return grado >= 0 && grado <= costanti::Max_Grado &&
           m_stato.indicatori.Ind_Attivo[size_t(grado)][indicatori::Item_Profilo_Volumi] == 1;
}

void NavigazioneFinestra::Calcola_Profilo_Volumi(int grado, int grafico)
{
    m_motore.Calcola_Profilo_Volumi(grado, grafico);
}

void NavigazioneFinestra::Mostra_Caricamento_Indicatore(int grado, int grafico)
{
    m_motore.Mostra_Caricamento_Indicatore(grado, grafico, QString());
}

bool NavigazioneFinestra::Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio,
                                          const StatoCicli &cicli, archivio::Codice_Modifica codice, int grado,
                                          QString &errore)
{
    return ciclo::Salva_Parametro(programma, archivio, cicli, codice, grado, &errore);
}

void NavigazioneFinestra::Mostra_Errore(const QString &testo)
{
    finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), testo);
}

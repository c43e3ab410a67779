#pragma once

// The colour scheme: the switch Cmd_Aspetto and the scheme's colours on the form,
// its frames, the chart panels and the controls in them. When the colours are set
// it says so (Colori_Impostati), and the real-time charts repaint in them.

#include <QObject>

struct Stato;
class AreaGrafici;
class FormS1;
class PannelloCicli;
class PannelloQuotazioni;
class PannelloStorico;

class ControlloreAspetto : public QObject {
    Q_OBJECT
public:
    ControlloreAspetto(Stato &stato, FormS1 &form, AreaGrafici &area, PannelloQuotazioni &quotazioni,
                       PannelloStorico &storico, PannelloCicli &cicli, QObject *parent);

    void Cmd_Aspetto_Click(int index);
    void Imposta_Colori_Controlli();

signals:
    void Colori_Impostati();

private:
    Stato &m_stato;
    FormS1 &m_form;
    AreaGrafici &m_area;
    PannelloQuotazioni &m_quotazioni;
    PannelloStorico &m_storico;
    PannelloCicli &m_cicli;
};

// The web link: the start panel's and the working window's address labels open
// the product's address through DialoghiFinestra::Apri_Url.
class DialoghiFinestra;

class ControlloreLink : public QObject {
    Q_OBJECT
public:
    ControlloreLink(FormS1 &form, DialoghiFinestra &dialoghi, QObject *parent);

    void Lbl_Link_Click(int index);
    void Apri_Link(const QString &url);

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    FormS1 &m_form;
    DialoghiFinestra &m_dialoghi;
};

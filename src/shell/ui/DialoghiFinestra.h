#pragma once

// What the working window asks of the user and of the desktop, and the hold on
// the whole window. DialoghiUtente is the program's, with message boxes, the
// exit and the browser; tests give a recorder (FinestraProva's DialoghiProva).

#include <QString>
#include <QUrl>
#include <memory>

class FormS1;
class QWidget;

class DialoghiFinestra {
public:
    virtual ~DialoghiFinestra() = default;
    // The question asked before switching real-time charts on; true for Yes.
    virtual bool Domanda_RT(const QString &titolo, const QString &testo) = 0;
    // A loading that cannot go on: the message, then the program ends.
    virtual void Fallimento(const QString &messaggio) = 0;
    // A warning the loading gives and goes on (a damaged local history file).
    virtual void Avviso_Caricamento(const QString &messaggio) = 0;
    // Opens an address in the default browser.
    virtual void Apri_Url(const QUrl &url) = 0;
};

class DialoghiUtente : public DialoghiFinestra {
public:
    explicit DialoghiUtente(FormS1 &form) : m_form(form) {}
    bool Domanda_RT(const QString &titolo, const QString &testo) override;
    void Fallimento(const QString &messaggio) override;
    void Avviso_Caricamento(const QString &messaggio) override;
    void Apri_Url(const QUrl &url) override;

private:
    FormS1 &m_form;
};

// The one the controllers hold: it passes each call on to the dialogs in use,
// which the window may replace at any time.
class DialoghiInoltrati : public DialoghiFinestra {
public:
    explicit DialoghiInoltrati(std::unique_ptr<DialoghiFinestra> iniziali) : m_dialoghi(std::move(iniziali)) {}
    void Imposta(std::unique_ptr<DialoghiFinestra> dialoghi) { m_dialoghi = std::move(dialoghi); }
    bool Domanda_RT(const QString &titolo, const QString &testo) override { return m_dialoghi->Domanda_RT(titolo, testo); }
    void Fallimento(const QString &messaggio) override { m_dialoghi->Fallimento(messaggio); }
    void Avviso_Caricamento(const QString &messaggio) override { m_dialoghi->Avviso_Caricamento(messaggio); }
    void Apri_Url(const QUrl &url) override { m_dialoghi->Apri_Url(url); }

private:
    std::unique_ptr<DialoghiFinestra> m_dialoghi;
};

// A counter, not a flag: the window is enabled again when every hold is released.
class BloccoFinestra {
public:
    explicit BloccoFinestra(QWidget &finestra) : m_finestra(finestra) {}
    void Disabilita_Finestra();
    void Abilita_Finestra();
    bool Disabilitata() const { return m_disabilitazioni > 0; }

private:
    QWidget &m_finestra;
    int m_disabilitazioni = 0;
};

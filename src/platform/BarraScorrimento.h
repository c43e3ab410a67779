#pragma once

// A scroll bar or slider as the computation sees it: two range ends, which may
// be given in either order (a bar can run from 100 down to 1), and a value.
// Setting an end or the value raises the control's change event.

#include <algorithm>

class BarraScorrimento {
public:
    virtual ~BarraScorrimento() = default;
    virtual void Imposta_Min(int valore) = 0;  // the end at the left / top
    virtual void Imposta_Max(int valore) = 0;  // the end at the right / bottom
    virtual int Min() const = 0;
    virtual int Max() const = 0;
    virtual void Imposta_Valore(int valore) = 0;
    virtual int Valore() const = 0;

    // The larger of the two ends, whichever side it lies on.
    int Estremo_Alto() const { return std::max(Min(), Max()); }
    bool Contiene(int valore) const { return valore >= std::min(Min(), Max()) && valore <= Estremo_Alto(); }
};

// A bar without a window, for computation and tests.
class BarraValori : public BarraScorrimento {
public:
    void Imposta_Min(int valore) override { m_min = valore; ++cambi; }
    void Imposta_Max(int valore) override { m_max = valore; ++cambi; }
    int Min() const override { return m_min; }
    int Max() const override { return m_max; }
    void Imposta_Valore(int valore) override { m_valore = valore; ++cambi; }
    int Valore() const override { return m_valore; }

    int cambi = 0;  // change events raised so far

private:
    int m_min = 0;
    int m_max = 100;
    int m_valore = 0;
};

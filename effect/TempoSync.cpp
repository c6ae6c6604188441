#include "effect/TempoSync.h"

#include <cmath>

const char* const TempoSync::kNoteChoices = "1/64,1/32T,1/64D,1/32,1/16T,1/32D,1/16,1/8T,1/16D,1/8,1/4T,1/8D,"
                                            "1/4,1/2T,1/4D,1/2,1/1T,1/2D,1/1,1/1D,2/1";

double TempoSync::noteQuarters(uint32_t note)
{
    // Quarter notes per choice, in the order of the choices.
    static const double kQuarters[kNoteCount] = {
        1.0 / 16.0, 1.0 / 12.0, 3.0 / 32.0, 1.0 / 8.0, 1.0 / 6.0, 3.0 / 16.0, 1.0 / 4.0,
        1.0 / 3.0,  3.0 / 8.0,  1.0 / 2.0,  2.0 / 3.0, 3.0 / 4.0, 1.0,        4.0 / 3.0,
        3.0 / 2.0,  2.0,        8.0 / 3.0,  3.0,       4.0,       6.0,        8.0};
    return kQuarters[note < static_cast<uint32_t>(kNoteCount) ? note : kDefaultNote];
}

float TempoSync::noteMs(uint32_t note, double tempoBpm, float longestMs)
{
    const double bpm = std::isfinite(tempoBpm) && tempoBpm > 0.0 ? tempoBpm : kDefaultTempoBpm;
    double ms = noteQuarters(note) * 60000.0 / bpm;
    while (ms > longestMs && longestMs > 0.0f)
        ms *= 0.5;
    return static_cast<float>(ms);
}

void TempoSync::setCoefficients(float a, float b)
{
    m_fA = a;
    m_fB = b;
}

void TempoSync::retarget(float currentMs)
{
    if (!m_bEngaged)
    {
        m_fValue = currentMs;
        m_fState = currentMs;
        m_fLast = currentMs;
        m_bEngaged = true;
    }
    m_bSettled = false;
}

bool TempoSync::step(float targetMs, bool syncOn)
{
    if (!m_bEngaged)
        return false;
    const float before = m_fValue;
    const float y = m_fB * targetMs + m_fA * m_fState;
    m_fState = y;
    if (y == m_fLast)
    {
        // Stalled a hair short, as the knob's own glide: land on the target.
        m_fValue = targetMs;
        settle(syncOn);
    }
    else
    {
        m_fLast = y;
        m_fValue = y;
        m_bSettled = false;
    }
    return m_fValue != before;
}

void TempoSync::land(float targetMs, bool syncOn)
{
    if (!m_bEngaged)
        return;
    m_fValue = targetMs;
    m_fState = targetMs;
    m_fLast = targetMs;
    settle(syncOn);
}

void TempoSync::settle(bool syncOn)
{
    m_bSettled = true;
    // Back on the knob's time: the knob takes over again.
    if (!syncOn)
        m_bEngaged = false;
}

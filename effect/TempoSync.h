#pragma once

#include <cstdint>

// The delay time that "Sync" puts in place of the Delay knob's: a note's length at the host's
// tempo. Turning Sync on or off, choosing another note and a tempo change glide the time like
// a turn of the knob (the knob's one-pole smoother); once a glide back to the knob has landed
// the knob's own time is used again, untouched.
class TempoSync
{
public:
    static const int kNoteCount = 21;
    static const int kDefaultNote = 12;  // "1/4"
    // The choices of the Note control, shortest first.
    static const char* const kNoteChoices;
    static constexpr double kDefaultTempoBpm = 120.0;

    // The note's length in quarter notes (T: 2/3, D: 3/2 of the plain note).
    static double noteQuarters(uint32_t note);
    // The note's length at the tempo, halved until it is no longer than longestMs: the echoes
    // stay on the beat where the note itself does not fit.
    static float noteMs(uint32_t note, double tempoBpm, float longestMs);

    // The knob's smoother coefficients (one step: b * target + a * state).
    void setCoefficients(float a, float b);

    // True while the voices' delay time comes from here rather than from the knob.
    bool engaged() const { return m_bEngaged; }
    // True while the time still moves (engaged and not at its target).
    bool gliding() const { return m_bEngaged && !m_bSettled; }
    float value() const { return m_fValue; }

    // The target moved: the time glides again, from `currentMs` (the knob's time the voices
    // have) when it was not engaged.
    void retarget(float currentMs);
    // One frame's step toward the target (with Sync off, the knob's time as it glides). True
    // when the time changed. Lets go of the time once it has landed on the knob's with Sync off.
    bool step(float targetMs, bool syncOn);
    // Straight to the target (re-activation, restore).
    void land(float targetMs, bool syncOn);

private:
    // On the target: with Sync off that is the knob's time, and the knob takes over.
    void settle(bool syncOn);

    float m_fA = 0.0f;
    float m_fB = 1.0f;
    float m_fValue = 0.0f;
    float m_fState = 0.0f;
    float m_fLast = 0.0f;
    bool m_bEngaged = false;
    bool m_bSettled = false;
};

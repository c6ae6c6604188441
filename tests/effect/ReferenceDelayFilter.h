#pragma once

// A straight-line model of the stereo filtered delay, written from the
// arithmetic the effect is defined by and sharing no code with the engine.
// It keeps the whole history of each delay line instead of a ring buffer, so
// "the sample written n frames ago" is simply history[now - n].
// Every moving control recooks both voices (no shortcut), and the filter
// coefficients are computed afresh at every recook.

#include <cmath>
#include <cstdint>
#include <vector>

namespace reference {

struct Voice
{
    int32_t rate = 44100;
    // Control members written by the owner.
    float cutoffHz = 16000.0f;
    float q = 0.5f;
    float delayMs = 0.0f;
    float feedbackPct = 0.0f;
    float wetPct = 50.0f;
    // Derived values.
    float delaySamples = 0.0f;
    float feedbackGain = 0.0f;
    float wetGain = 0.5f;
    // Biquad.
    float a0 = 0, a1 = 0, a2 = 0, b1 = 0, b2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    // Everything ever written to the line, index = frame number since prepare.
    std::vector<float> history;

    void cookFilter()
    {
        const float theta = (float)((double)cutoffHz * 6.283185307179586 / (double)(float)rate);
        const double sn = std::sin((double)theta);
        const double cs = std::cos((double)theta);
        const float k = 0.5f / q;
        const double d = sn * (double)k;
        const float beta = ((float)(1.0 - d) / (float)(1.0 + d)) * 0.5f;
        const float h = 0.5f + beta;
        const float gamma = (float)(cs * (double)h);
        b1 = -2.0f * gamma;
        a0 = (h - gamma) * 0.5f;
        a2 = a0;
        a1 = a0 + a0;
        b2 = beta + beta;
    }

    void cookDelay()
    {
        feedbackGain = (float)((double)feedbackPct * 0.01);
        wetGain = (float)((double)wetPct * 0.01);
        delaySamples = (float)((double)(float)rate * 0.001 * (double)delayMs);
    }

    void prepare()
    {
        x1 = x2 = y1 = y2 = 0.0f;
        cookFilter();
        history.clear();
        cookDelay();
    }

    float filter(float x)
    {
        float y = a0 * x + a1 * x1 + a2 * x2 - b1 * y1 - b2 * y2;
        const double wide = y;
        if (wide > 0.0 && wide < 1.175494351e-38)
            y = 0.0f;
        else if (wide < 0.0 && wide > -1.175494351e-38)
            y = 0.0f;
        y2 = y1;
        y1 = y;
        x2 = x1;
        x1 = x;
        return y;
    }

    float writtenFramesAgo(int64_t n) const
    {
        const int64_t index = (int64_t)history.size() - n;
        return index >= 0 ? history[(size_t)index] : 0.0f;
    }

    float process(float x)
    {
        const float y = filter(x);
        const int64_t whole = (int64_t)delaySamples;  // truncated toward zero
        // Under one sample of delay the unfiltered input stands in for the line.
        const float y0 = whole == 0 ? x : writtenFramesAgo(whole);
        const float yPrev = writtenFramesAgo(whole + 1);
        const float frac = delaySamples - (float)whole;
        float wet;
        if (delaySamples == 0.0f)
            wet = y;
        else
            wet = yPrev * frac + (1.0f - frac) * y0;
        history.push_back(feedbackGain * wet + y);
        return (1.0f - wetGain) * x + wetGain * wet;
    }
};

struct Smoother
{
    float a = 0, b = 0, state = 0, last = 0, target = 0;
};

struct StereoDelay
{
    int32_t rate = 44100;
    // Controls in list order: Delay, Feedback, Cutoff, Resonance, Ratio, Offset, Wet/Dry, Volume.
    float value[8] = {0.0f, 0.0f, 16000.0f, 0.5f, 1.0f, 0.0f, 50.0f, 0.7f};
    Smoother smoother[8];
    uint32_t delayState = 0;  // 0 comb, 1 delay
    uint32_t active = 0;      // 0 on, 1 off
    bool prepared = false;
    Voice left;
    Voice right;
    // Sync: the note's time at the tempo stands in for the Delay knob's. Changes glide like the
    // knob; the synced time lets go once it is back on the knob's with Sync off.
    bool sync = false;
    double quarters = 1.0;
    double tempo = 120.0;
    bool synced = false;
    bool syncSettled = false;
    float syncedMs = 0.0f;
    Smoother syncGlide;

    float noteMs() const
    {
        double ms = quarters * 60000.0 / tempo;
        while (ms > 2000.0)
            ms *= 0.5;
        return (float)ms;
    }

    void push(bool recook)
    {
        float d;
        float fb;
        const float knob = synced ? syncedMs : value[0];
        if (delayState != 0)
        {
            d = knob / value[4];
            fb = value[1];
        }
        else
        {
            d = knob * 0.01f / value[4];
            fb = value[1] - 5.0f;
        }
        right.delayMs = value[5] + d;
        left.delayMs = d;
        for (Voice* v : {&left, &right})
        {
            v->feedbackPct = fb;
            v->wetPct = value[6];
            v->cutoffHz = value[2];
            v->q = value[3];
        }
        if (recook)
        {
            left.cookDelay();
            right.cookDelay();
            left.cookFilter();
            right.cookFilter();
        }
    }

    void prepare(int32_t sampleRate)
    {
        rate = sampleRate;
        left.rate = rate;
        right.rate = rate;
        // A prepare in the middle of a glide finishes it.
        if (prepared)
            for (int i = 0; i < 8; ++i)
                value[i] = smoother[i].target;
        push(false);
        left.prepare();
        right.prepare();
        const double frames = 100.0 * 0.001 * (double)rate;
        const double a = std::exp(-(double)6.2831855f / frames);
        for (int i = 0; i < 8; ++i)
        {
            smoother[i].a = (float)a;
            smoother[i].b = 1.0f - (float)a;
            smoother[i].state = value[i];
            smoother[i].last = value[i];
            smoother[i].target = value[i];
        }
        prepared = true;
    }

    // A continuous control changed from outside: before prepare it jumps,
    // afterwards it glides toward the new value.
    void setContinuous(int index, float plain)
    {
        if (prepared)
            smoother[index].target = plain;
        else
            value[index] = plain;
        push(true);
    }

    // Sync on or off, the note (in quarter notes) or the tempo changed.
    void setSync(bool on, double noteQuarters, double bpm)
    {
        const bool changed = on != sync || (on && (noteQuarters != quarters || bpm != tempo));
        sync = on;
        quarters = noteQuarters;
        tempo = bpm;
        if (!changed || (!sync && !synced))
            return;
        if (!synced)
        {
            synced = true;
            syncedMs = value[0];
            syncGlide.state = value[0];
            syncGlide.last = value[0];
        }
        syncSettled = false;
        syncGlide.a = smoother[0].a;
        syncGlide.b = smoother[0].b;
        push(true);
    }

    void setDelayState(uint32_t index)
    {
        if (index != delayState)
        {
            delayState = index;
            push(true);
        }
    }

    void setActive(uint32_t index)
    {
        if (index != active)
        {
            active = index;
            push(true);
        }
    }

    void frame(const float* in, float* out, int channels)
    {
        for (int i = 0; i < 8; ++i)
        {
            Smoother& s = smoother[i];
            const float y = s.b * s.target + s.a * s.state;
            s.state = y;
            if (y == s.last)
            {
                // A stalled glide lands on its target, and the voices are cooked for it.
                if (value[i] != s.target)
                {
                    value[i] = s.target;
                    push(true);
                }
            }
            else
            {
                s.last = y;
                value[i] = y;
                push(true);
            }
        }
        if (synced && !syncSettled)
        {
            const float target = sync ? noteMs() : value[0];
            const float y = syncGlide.b * target + syncGlide.a * syncGlide.state;
            syncGlide.state = y;
            const float before = syncedMs;
            if (y == syncGlide.last)
            {
                syncedMs = target;
                syncSettled = true;
                if (!sync)
                    synced = false;
            }
            else
            {
                syncGlide.last = y;
                syncedMs = y;
            }
            if (syncedMs != before || !synced)
                push(true);
        }
        const float volume = value[7];
        if (active != 0)
        {
            out[0] = in[0] * volume;
            if (channels == 2)
                out[1] = in[1] * volume;
            return;
        }
        out[0] = left.process(in[0]) * volume;
        if (channels == 2)
            out[1] = right.process(in[1]) * volume;
    }
};

}  // namespace reference

#pragma once

// The filtered delay written out as one straight loop, step by step as the
// effect is defined: every moving control recooks both voices (filter
// coefficients included), ring buffers of two seconds plus a millisecond.
// It is the yardstick the engine is measured against in the same run.

#include <cmath>
#include <cstdint>
#include <vector>

namespace straightline {

struct Voice
{
    int32_t rate = 48000;
    float cutoffHz = 16000.0f, q = 0.5f, delayMs = 0.0f, feedbackPct = 0.0f, wetPct = 50.0f;
    float delaySamples = 0.0f, feedbackGain = 0.0f, wetGain = 0.5f;
    float a0 = 0, a1 = 0, a2 = 0, b1 = 0, b2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    std::vector<float> line;
    int32_t readPos = 0, writePos = 0, length = 0;

    void cook()
    {
        feedbackGain = (float)((double)feedbackPct * 0.01);
        wetGain = (float)((double)wetPct * 0.01);
        delaySamples = (float)((double)(float)rate * 0.001 * (double)delayMs);
        readPos = writePos - (int32_t)delaySamples;
        if (readPos < 0)
            readPos += length;
        const float theta = (float)((double)cutoffHz * 6.283185307179586 / (double)(float)rate);
        const double sn = std::sin((double)theta), cs = std::cos((double)theta);
        const double d = sn * (double)(0.5f / q);
        const float beta = ((float)(1.0 - d) / (float)(1.0 + d)) * 0.5f;
        const float h = 0.5f + beta;
        const float gamma = (float)(cs * (double)h);
        b1 = -2.0f * gamma;
        a0 = (h - gamma) * 0.5f;
        a2 = a0;
        a1 = a0 + a0;
        b2 = beta + beta;
    }

    void prepare(int32_t sampleRate)
    {
        rate = sampleRate;
        length = 2 * rate + rate / 1000 + 2;
        line.assign((size_t)length, 0.0f);
        writePos = 0;
        x1 = x2 = y1 = y2 = 0.0f;
        cook();
    }

    float process(float x)
    {
        float y = a0 * x + a1 * x1 + a2 * x2 - b1 * y1 - b2 * y2;
        const double wide = y;
        if ((wide > 0.0 && wide < 1.175494351e-38) || (wide < 0.0 && wide > -1.175494351e-38))
            y = 0.0f;
        y2 = y1;
        y1 = y;
        x2 = x1;
        x1 = x;
        float y0 = line[(size_t)readPos];
        if (readPos == writePos && delaySamples < 1.0f)
            y0 = x;
        const float yPrev = line[(size_t)(readPos > 0 ? readPos - 1 : length - 1)];
        const float frac = delaySamples - (float)(int32_t)delaySamples;
        const float wet = delaySamples == 0.0f ? y : yPrev * frac + (1.0f - frac) * y0;
        line[(size_t)writePos] = feedbackGain * wet + y;
        const float out = (1.0f - wetGain) * x + wetGain * wet;
        if (++writePos >= length)
            writePos = 0;
        if (++readPos >= length)
            readPos = 0;
        return out;
    }
};

struct StereoDelay
{
    // Delay, Feedback, Cutoff, Resonance, Ratio, Offset, Wet/Dry, Volume.
    float value[8] = {0.0f, 0.0f, 16000.0f, 0.5f, 1.0f, 0.0f, 50.0f, 0.7f};
    float a = 0, b = 0, state[8] = {}, last[8] = {}, target[8] = {};
    uint32_t delayState = 0;
    Voice left, right;

    void push()
    {
        const float d = delayState != 0 ? value[0] / value[4] : value[0] * 0.01f / value[4];
        const float fb = delayState != 0 ? value[1] : value[1] - 5.0f;
        right.delayMs = value[5] + d;
        left.delayMs = d;
        for (Voice* v : {&left, &right})
        {
            v->feedbackPct = fb;
            v->wetPct = value[6];
            v->cutoffHz = value[2];
            v->q = value[3];
        }
        left.cook();
        right.cook();
    }

    void prepare(int32_t rate)
    {
        left.prepare(rate);
        right.prepare(rate);
        push();
        const double aa = std::exp(-(double)6.2831855f / (100.0 * 0.001 * rate));
        a = (float)aa;
        b = 1.0f - a;
        for (int i = 0; i < 8; ++i)
            state[i] = last[i] = target[i] = value[i];
    }

    void frame(const float* in, float* out)
    {
        for (int i = 0; i < 8; ++i)
        {
            const float y = b * target[i] + a * state[i];
            state[i] = y;
            if (y == last[i])
            {
                if (value[i] != target[i])
                {
                    value[i] = target[i];
                    push();
                }
            }
            else
            {
                last[i] = y;
                value[i] = y;
                push();
            }
        }
        out[0] = left.process(in[0]) * value[7];
        out[1] = right.process(in[1]) * value[7];
    }
};

}  // namespace straightline

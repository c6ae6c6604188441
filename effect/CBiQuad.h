#pragma once

#include <cmath>
#include <cstdint>

// Five coefficients of one biquad section (the leading feedback coefficient is 1).
struct BiQuadCoefficients
{
    float a0;
    float a1;
    float a2;
    float b1;
    float b2;
};

// Resonant low-pass recipe (cookbook low-pass, normalised). The precision of
// each step is fixed so that the results are reproducible to the bit. Inline: a
// glide runs it for every frame.
inline BiQuadCoefficients computeResonantLowPass(float cutoffHz, float q, int32_t sampleRate);

// One second-order section, direct form I, single precision.
class CBiQuad
{
public:
    CBiQuad();
    virtual ~CBiQuad();

    void clearHistory()
    {
        m_fX1 = 0.0f;
        m_fX2 = 0.0f;
        m_fY1 = 0.0f;
        m_fY2 = 0.0f;
    }

    void setCoefficients(const BiQuadCoefficients& c)
    {
        m_fA0 = c.a0;
        m_fA1 = c.a1;
        m_fA2 = c.a2;
        m_fB1 = c.b1;
        m_fB2 = c.b2;
    }

    float processSample(float x)
    {
        return filterSample(m_fA0, m_fA1, m_fA2, m_fB1, m_fB2, m_fX1, m_fX2, m_fY1, m_fY2, x);
    }

    // The section's step on coefficients and history held elsewhere (a caller running many
    // samples keeps them in locals).
    static float filterSample(float a0, float a1, float a2, float b1, float b2, float& x1, float& x2, float& y1,
                              float& y2, float x)
    {
        float y = a0 * x + a1 * x1 + a2 * x2 - b1 * y1 - b2 * y2;

        // Flush results below the smallest normal float (compared in double).
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

    float m_fX1;
    float m_fX2;
    float m_fY1;
    float m_fY2;
    float m_fA0;
    float m_fA1;
    float m_fA2;
    float m_fB1;
    float m_fB2;
};

inline BiQuadCoefficients computeResonantLowPass(float cutoffHz, float q, int32_t sampleRate)
{
    const float theta = static_cast<float>(static_cast<double>(cutoffHz) * 6.283185307179586 /
                                           static_cast<double>(static_cast<float>(sampleRate)));
    const double sn = std::sin(static_cast<double>(theta));
    const double cs = std::cos(static_cast<double>(theta));
    const float k = 0.5f / q;
    const double d = sn * static_cast<double>(k);
    const float oneMinus = static_cast<float>(1.0 - d);
    const float onePlus = static_cast<float>(1.0 + d);
    const float beta = (oneMinus / onePlus) * 0.5f;
    const float h = 0.5f + beta;
    const float gamma = static_cast<float>(cs * static_cast<double>(h));

    BiQuadCoefficients c;
    c.b1 = -2.0f * gamma;
    c.a0 = (h - gamma) * 0.5f;
    c.a2 = c.a0;
    c.a1 = c.a0 + c.a0;
    c.b2 = beta + beta;
    return c;
}

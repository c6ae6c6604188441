#include "effect/CBiQuad.h"

#include <cmath>

CBiQuad::CBiQuad()
    : m_fX1(0.0f), m_fX2(0.0f), m_fY1(0.0f), m_fY2(0.0f), m_fA0(0.0f), m_fA1(0.0f), m_fA2(0.0f), m_fB1(0.0f), m_fB2(0.0f)
{
}

CBiQuad::~CBiQuad() {}

BiQuadCoefficients computeResonantLowPass(float cutoffHz, float q, int32_t sampleRate)
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

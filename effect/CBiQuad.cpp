#include "effect/CBiQuad.h"

#include "effect/SineCosineTable.h"

#include <cmath>

CBiQuad::CBiQuad()
    : m_fX1(0.0f), m_fX2(0.0f), m_fY1(0.0f), m_fY2(0.0f), m_fA0(0.0f), m_fA1(0.0f), m_fA2(0.0f), m_fB1(0.0f), m_fB2(0.0f)
{
}

CBiQuad::~CBiQuad() {}

namespace {

// The recipe after the sine and cosine.
BiQuadCoefficients coefficientsFrom(double sn, double cs, float k)
{
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

// True when sine and cosine values anywhere within `error` of these give the same three
// roundings to single precision, and with them the same coefficients. Each rounding is a
// monotonic step function of sn (or cs, with h > 0), so agreement at both ends of the interval
// means agreement inside it.
bool roundingsSettled(double sn, double cs, float k, double error)
{
    const double kd = k;
    if (!(kd > 0.0))
        return false;
    const double dLow = (sn - error) * kd;
    const double dHigh = (sn + error) * kd;
    const float oneMinus = static_cast<float>(1.0 - dLow);
    const float onePlus = static_cast<float>(1.0 + dLow);
    if (oneMinus != static_cast<float>(1.0 - dHigh) || onePlus != static_cast<float>(1.0 + dHigh))
        return false;
    const float h = 0.5f + (oneMinus / onePlus) * 0.5f;
    if (!(h > 0.0f))
        return false;
    const double hd = h;
    return static_cast<float>((cs - error) * hd) == static_cast<float>((cs + error) * hd);
}

}  // namespace

BiQuadCoefficients computeResonantLowPass(float cutoffHz, float q, int32_t sampleRate)
{
    const float theta = static_cast<float>(static_cast<double>(cutoffHz) * 6.283185307179586 /
                                           static_cast<double>(static_cast<float>(sampleRate)));
    const float k = 0.5f / q;
    // The table's sine and cosine give libm's coefficients unless a rounding lies within the
    // table's error; then (rarely) libm itself.
    double sn = 0.0;
    double cs = 0.0;
    if (SineCosineTable::shared().lookup(theta, sn, cs) &&
        roundingsSettled(sn, cs, k, SineCosineTable::kMaxError))
        return coefficientsFrom(sn, cs, k);
    return coefficientsFrom(std::sin(static_cast<double>(theta)), std::cos(static_cast<double>(theta)), k);
}

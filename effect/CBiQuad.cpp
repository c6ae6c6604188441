#include "effect/CBiQuad.h"

#include "effect/SineCosineTable.h"

#include <cmath>

CBiQuad::CBiQuad()
    : m_fX1(0.0f), m_fX2(0.0f), m_fY1(0.0f), m_fY2(0.0f), m_fA0(0.0f), m_fA1(0.0f), m_fA2(0.0f), m_fB1(0.0f), m_fB2(0.0f)
{
}

CBiQuad::~CBiQuad() {}

namespace {

// The recipe's last step.
BiQuadCoefficients coefficientsFromBeta(float beta, float h, float gamma)
{
    BiQuadCoefficients c;
    c.b1 = -2.0f * gamma;
    c.a0 = (h - gamma) * 0.5f;
    c.a2 = c.a0;
    c.a1 = c.a0 + c.a0;
    c.b2 = beta + beta;
    return c;
}

// The recipe after the sine and cosine.
BiQuadCoefficients coefficientsFrom(double sn, double cs, float k)
{
    const double d = sn * static_cast<double>(k);
    const float oneMinus = static_cast<float>(1.0 - d);
    const float onePlus = static_cast<float>(1.0 + d);
    const float beta = (oneMinus / onePlus) * 0.5f;
    const float h = 0.5f + beta;
    const float gamma = static_cast<float>(cs * static_cast<double>(h));
    return coefficientsFromBeta(beta, h, gamma);
}

// The coefficients from sine and cosine values known only to within `error`, when every value
// in that range gives the same three roundings to single precision (and so the same
// coefficients); false otherwise. Each rounding is a monotonic step function of sn (or of cs,
// with h > 0), so agreement at both ends of the range means agreement inside it.
bool coefficientsWithin(double sn, double cs, float k, double error, BiQuadCoefficients& c)
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
    const float beta = (oneMinus / onePlus) * 0.5f;
    const float h = 0.5f + beta;
    if (!(h > 0.0f))
        return false;
    const double hd = h;
    const float gamma = static_cast<float>((cs - error) * hd);
    if (gamma != static_cast<float>((cs + error) * hd))
        return false;
    c = coefficientsFromBeta(beta, h, gamma);
    return true;
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
    BiQuadCoefficients c;
    if (SineCosineTable::shared().lookup(theta, sn, cs) && coefficientsWithin(sn, cs, k, SineCosineTable::kMaxError, c))
        return c;
    return coefficientsFrom(std::sin(static_cast<double>(theta)), std::cos(static_cast<double>(theta)), k);
}

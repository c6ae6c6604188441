#pragma once

#include "effect/CBiQuad.h"
#include "effect/CPlugIn.h"

#include <cstdint>

// One channel of the filtered delay: a resonant low-pass before an
// interpolated delay line with feedback, mixed with the dry input.
// The owner writes the five control members and calls the update operations.
class CFilteredDelay : public CPlugIn
{
public:
    // Supported sample rates; outside them prepareToProcess allocates no line
    // and the voice passes its dry part.
    static const int32_t kMinSampleRate = 1000;
    static const int32_t kMaxSampleRate = 768000;
    // The line holds two seconds plus one millisecond (the largest delay the
    // stereo owner produces: 2000 ms plus an offset of up to 1 ms) and a guard
    // sample for the interpolation partner.
    static int32_t lineLengthFor(int32_t rate) { return 2 * rate + rate / 1000 + 2; }
    // Cutoffs handed to the recipe stay below this share of the sample rate.
    static constexpr double kMaxCutoffRatio = 0.45;

    CFilteredDelay();
    ~CFilteredDelay() override;

    bool prepareToProcess() override;
    bool processFrame(float* inputFrame, float* outputFrame, uint32_t inputChannels, uint32_t outputChannels) override;
    bool onControlChange(uint32_t controlId) override;
    bool processInterleavedBuffer(float* input, float* output, uint32_t inputChannels, uint32_t outputChannels,
                                  uint32_t sampleCount) override;
    bool processChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount) override;
    bool buildControlList() override;
    void* handleGuiMessage(GuiMessage* message) override;

    // Writes the low-pass coefficients for this cutoff and Q at the voice's rate.
    void computeFilterCoefficients(float cutoffHz, float q);
    // The same, taking `cooked`'s coefficients when that voice holds them for this cutoff, Q
    // and rate (the recipe would give the same bits).
    void computeFilterCoefficientsLike(const CFilteredDelay& cooked, float cutoffHz, float q);
    // The low-pass coefficients computeFilterCoefficients would write for this cutoff and Q, without
    // writing them. False (nothing computed) when the voice has no usable rate.
    bool lowPassFor(float cutoffHz, float q, BiQuadCoefficients& coefficients) const;
    // Feedback and wet fractions, delay in samples and read position.
    void updateDelayVariables();

    // One sample through the voice: what processFrame does for a one-in,
    // one-out frame. Inline so that the owner's frame loop can fold it in.
    float processSample(float x)
    {
        if (m_pDelayLine == nullptr)
        {
            // Not prepared (or the line could not be had): the dry part only.
            return (1.0f - m_fWetGain) * x;
        }

        const float y = m_InputFilter.processSample(x);

        float y0 = m_pDelayLine[m_nReadPos];
        if (m_nReadPos == m_nWritePos && m_fDelaySamples < 1.0f)
            y0 = x;

        int32_t previous = m_nReadPos - 1;
        if (previous < 0)
            previous = m_nLineLength - 1;
        const float y1 = m_pDelayLine[previous];

        const float frac = m_fDelaySamples - static_cast<float>(static_cast<int32_t>(m_fDelaySamples));

        float yd;
        if (m_fDelaySamples == 0.0f)
            yd = y;
        else
            yd = y1 * frac + (1.0f - frac) * y0;

        m_pDelayLine[m_nWritePos] = m_fFeedbackGain * yd + y;
        const float out = (1.0f - m_fWetGain) * x + m_fWetGain * yd;

        if (++m_nWritePos >= m_nLineLength)
            m_nWritePos = 0;
        if (++m_nReadPos >= m_nLineLength)
            m_nReadPos = 0;
        return out;
    }

    CBiQuad m_InputFilter;
    float m_fDelaySamples;
    float m_fFeedbackGain;
    float m_fWetGain;
    float* m_pDelayLine;
    int32_t m_nReadPos;
    int32_t m_nWritePos;
    int32_t m_nLineLength;

    // Control-bound variables, written directly by the owner.
    float m_f_fc_Hz;
    float m_f_Q;
    float m_fDelay_ms;
    float m_fFeedback_pct;
    float m_fWetLevel_pct;

private:
    void releaseLine();
    // The cutoff and Q the recipe is given: inside the range where it is a stable low-pass.
    // False when the voice has no usable rate.
    bool limitFilterInputs(float& cutoffHz, float& q) const;

    // Inputs of the coefficients now in m_InputFilter; the recipe runs again
    // only when one of them changed.
    bool m_bCoefficientsValid;
    float m_fCookedCutoff;
    float m_fCookedQ;
    int32_t m_nCookedRate;
    // What the last cook was asked for, before the limits.
    float m_fRequestedCutoff;
    float m_fRequestedQ;
};

// Inline, with the cook below: the owner calls them for every frame of a glide.
inline void CFilteredDelay::updateDelayVariables()
{
    m_fFeedbackGain = static_cast<float>(static_cast<double>(m_fFeedback_pct) * 0.01);
    m_fWetGain = static_cast<float>(static_cast<double>(m_fWetLevel_pct) * 0.01);
    m_fDelaySamples = static_cast<float>(static_cast<double>(static_cast<float>(sampleRate)) * 0.001 *
                                         static_cast<double>(m_fDelay_ms));

    if (m_pDelayLine == nullptr || m_nLineLength <= 0)
    {
        m_nReadPos = 0;
        return;
    }

    // Keep the read position and its interpolation partner inside the line.
    const float longest = static_cast<float>(m_nLineLength - 1);
    if (!(m_fDelaySamples >= 0.0f))
        m_fDelaySamples = 0.0f;
    else if (m_fDelaySamples > longest)
        m_fDelaySamples = longest;

    m_nReadPos = m_nWritePos - static_cast<int32_t>(m_fDelaySamples);
    if (m_nReadPos < 0)
        m_nReadPos += m_nLineLength;
}

inline bool CFilteredDelay::limitFilterInputs(float& cutoffHz, float& q) const
{
    if (sampleRate < kMinSampleRate || sampleRate > kMaxSampleRate)
        return false;

    // Past half the sample rate the recipe is no longer a stable low-pass.
    const float highestCutoff = static_cast<float>(kMaxCutoffRatio * sampleRate);
    if (!(cutoffHz <= highestCutoff))
        cutoffHz = highestCutoff;
    if (cutoffHz < 1.0f)
        cutoffHz = 1.0f;
    if (!(q == q))
        q = 0.5f;
    if (q < 0.05f)
        q = 0.05f;
    if (q > 100.0f)
        q = 100.0f;
    return true;
}

inline bool CFilteredDelay::lowPassFor(float cutoffHz, float q, BiQuadCoefficients& coefficients) const
{
    if (!limitFilterInputs(cutoffHz, q))
        return false;
    coefficients = computeResonantLowPass(cutoffHz, q, sampleRate);
    return true;
}

inline void CFilteredDelay::computeFilterCoefficients(float cutoffHz, float q)
{
    const float requestedCutoff = cutoffHz;
    const float requestedQ = q;
    if (!limitFilterInputs(cutoffHz, q))
        return;
    if (!m_bCoefficientsValid || cutoffHz != m_fCookedCutoff || q != m_fCookedQ || sampleRate != m_nCookedRate)
    {
        m_InputFilter.setCoefficients(computeResonantLowPass(cutoffHz, q, sampleRate));
        m_fCookedCutoff = cutoffHz;
        m_fCookedQ = q;
        m_nCookedRate = sampleRate;
        m_bCoefficientsValid = true;
    }
    m_fRequestedCutoff = requestedCutoff;
    m_fRequestedQ = requestedQ;
}

inline void CFilteredDelay::computeFilterCoefficientsLike(const CFilteredDelay& cooked, float cutoffHz, float q)
{
    // Asked for exactly what `cooked` was asked for at the same rate: the same limits, the same recipe.
    if (!cooked.m_bCoefficientsValid || cooked.m_nCookedRate != sampleRate || cooked.m_fRequestedCutoff != cutoffHz ||
        cooked.m_fRequestedQ != q)
    {
        computeFilterCoefficients(cutoffHz, q);
        return;
    }
    m_InputFilter.m_fA0 = cooked.m_InputFilter.m_fA0;
    m_InputFilter.m_fA1 = cooked.m_InputFilter.m_fA1;
    m_InputFilter.m_fA2 = cooked.m_InputFilter.m_fA2;
    m_InputFilter.m_fB1 = cooked.m_InputFilter.m_fB1;
    m_InputFilter.m_fB2 = cooked.m_InputFilter.m_fB2;
    m_fCookedCutoff = cooked.m_fCookedCutoff;
    m_fCookedQ = cooked.m_fCookedQ;
    m_nCookedRate = sampleRate;
    m_fRequestedCutoff = cutoffHz;
    m_fRequestedQ = q;
    m_bCoefficientsValid = true;
}

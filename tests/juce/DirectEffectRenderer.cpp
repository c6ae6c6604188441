#include "DirectEffectRenderer.h"

#include "effect/CStDelayFil.h"

#include <pmmintrin.h>
#include <xmmintrin.h>

namespace Tarnwick {
namespace JuceHostTest {

namespace {

// The adapter runs the effect with subnormal numbers flushed to zero; the reference must run
// in the same floating-point mode to be comparable bit for bit.
class SubnormalsFlushedScope
{
public:
    SubnormalsFlushedScope () : flushMode (_MM_GET_FLUSH_ZERO_MODE ()), denormalsMode (_MM_GET_DENORMALS_ZERO_MODE ())
    {
        _MM_SET_FLUSH_ZERO_MODE (_MM_FLUSH_ZERO_ON);
        _MM_SET_DENORMALS_ZERO_MODE (_MM_DENORMALS_ZERO_ON);
    }
    ~SubnormalsFlushedScope ()
    {
        _MM_SET_FLUSH_ZERO_MODE (flushMode);
        _MM_SET_DENORMALS_ZERO_MODE (denormalsMode);
    }

private:
    unsigned int flushMode;
    unsigned int denormalsMode;
};

} // namespace

DirectEffectRenderer::DirectEffectRenderer (int sampleRate, const std::vector<double>& initialPlainValues)
: effect (new CStDelayFil ())
{
    effect->initializeEffect ();
    for (std::size_t position = 0; position < initialPlainValues.size (); ++position)
        effect->setPlainValue (static_cast<int32_t> (position), initialPlainValues[position]);
    // setupProcessing and setActive (true) each prepare the effect.
    effect->sampleRate = sampleRate;
    effect->prepareToProcess ();
    effect->prepareToProcess ();
}

DirectEffectRenderer::~DirectEffectRenderer () = default;

void DirectEffectRenderer::selectPreset (int slot)
{
    for (int position = 0; position < effect->controlCount (); ++position)
    {
        const ControlDescriptor* control = effect->controlAt (position);
        if (control == nullptr)
            continue;
        const float fraction = static_cast<float> ((control->presetValues[slot] - control->minValue) /
                                                   (control->maxValue - control->minValue));
        effect->setNormalizedValue (position, fraction, false);
    }
}

void DirectEffectRenderer::setNormalized (int position, double normalizedValue)
{
    effect->setNormalizedValue (position, normalizedValue, false);
}

Render::AudioClip DirectEffectRenderer::render (const Render::AudioClip& input, long silentLeadFrames)
{
    SubnormalsFlushedScope flushed;
    const auto channels = static_cast<uint32_t> (input.channelCount ());
    float inFrame[2] = {0.f, 0.f};
    float outFrame[2] = {0.f, 0.f};
    for (long i = 0; i < silentLeadFrames; ++i)
    {
        inFrame[0] = inFrame[1] = 0.f;
        effect->processFrame (inFrame, outFrame, channels, channels);
    }

    Render::AudioClip output (input.sampleRate, input.channelCount (), input.frameCount ());
    for (std::size_t i = 0; i < input.frameCount (); ++i)
    {
        for (uint32_t c = 0; c < channels; ++c)
            inFrame[c] = input.channels[c][i];
        effect->processFrame (inFrame, outFrame, channels, channels);
        for (uint32_t c = 0; c < channels; ++c)
            output.channels[c][i] = outFrame[c];
    }
    return output;
}

} // namespace JuceHostTest
} // namespace Tarnwick

// Our own rendering, for comparison with what a third-party host gets out of the bundle: the
// product's effect driven directly, the way the adapter drives it (prepared at set-up and at
// activation, controls moved through setNormalizedValue, one processFrame per frame).
#pragma once

#include "AudioClip.h"

#include <memory>
#include <vector>

class CStDelayFil;

namespace Tarnwick {
namespace JuceHostTest {

class DirectEffectRenderer
{
public:
    // initialPlainValues (by control position) are written before the effect is prepared, so
    // that they take effect at once, as a restored state does.
    explicit DirectEffectRenderer (int sampleRate, const std::vector<double>& initialPlainValues = {});
    ~DirectEffectRenderer ();

    // What the adapter does with a program change: every control glides to the slot's value.
    void selectPreset (int slot);
    // What the adapter does with a host's normalized value for a control of linear taper.
    void setNormalized (int position, double normalizedValue);

    // Renders silentLeadFrames of silence (not returned), then the input, frame by frame.
    Render::AudioClip render (const Render::AudioClip& input, long silentLeadFrames);

private:
    std::unique_ptr<CStDelayFil> effect;
};

} // namespace JuceHostTest
} // namespace Tarnwick

#include "PluginRenderer.h"

#include "ProgressBar.h"
#include "RenderTiming.h"
#include "TailTracker.h"

#include "hostkit/PluginInstance.h"

#include <algorithm>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Tarnwick {
namespace Render {

namespace {

// Feeds blocks to the instance with a running host timeline.
class BlockFeeder
{
public:
    BlockFeeder (HostKit::PluginInstance& instance, double sampleRate) : instance (instance)
    {
        context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
        context.sampleRate = sampleRate;
        context.tempo = 120.0;
        context.timeSigNumerator = 4;
        context.timeSigDenominator = 4;
    }

    bool process (const float* const* inputs, float* const* outputs, int32 frames)
    {
        const tresult result = instance.process (inputs, outputs, frames, nullptr, nullptr, &context);
        context.projectTimeSamples += frames;
        return result == kResultOk;
    }

private:
    HostKit::PluginInstance& instance;
    ProcessContext context {};
};

} // namespace

bool PluginRenderer::render (const AudioClip& input, const RenderSettings& settings, AudioClip& output,
                             std::string& error)
{
    lastReport = RenderReport ();
    if (input.channelCount () < 1 || input.channelCount () > 2 || input.frameCount () == 0)
    {
        error = "nothing to render (the input must be mono or stereo and not empty)";
        return false;
    }

    HostKit::PluginInstance instance (module);
    if (!instance.create ())
    {
        error = "cannot create the plug-in: " + instance.error ();
        return false;
    }

    const int channels = (input.channelCount () == 1 && settings.monoBus) ? 1 : 2;
    if (!instance.setup (static_cast<double> (input.sampleRate), kBlockFrames, channels))
    {
        error = "the plug-in cannot run at " + std::to_string (input.sampleRate) + " Hz in " +
                (channels == 1 ? "mono" : "stereo") + " (" + instance.error () + ")";
        return false;
    }

    if (settings.presetIndex >= 0 && instance.selectProgram (settings.presetIndex) != kResultOk)
    {
        error = "the plug-in refused preset " + std::to_string (settings.presetIndex);
        return false;
    }
    for (const ResolvedSetting& setting : settings.settings)
    {
        if (instance.setParameter (setting.id, setting.normalized) != kResultOk)
        {
            error = "the plug-in refused the value for '" + setting.title + "'";
            return false;
        }
    }

    // Input channels as the bus sees them: a mono file feeds both sides of a stereo bus.
    std::vector<const float*> sources (static_cast<std::size_t> (channels));
    for (int c = 0; c < channels; ++c)
        sources[static_cast<std::size_t> (c)] =
            input.channels[static_cast<std::size_t> (std::min (c, input.channelCount () - 1))].data ();

    BlockFeeder feeder (instance, input.sampleRate);
    std::vector<std::vector<float>> silence (static_cast<std::size_t> (channels), std::vector<float> (kBlockFrames, 0.f));
    std::vector<std::vector<float>> scratch (static_cast<std::size_t> (channels), std::vector<float> (kBlockFrames, 0.f));
    std::vector<const float*> inPointers (static_cast<std::size_t> (channels));
    std::vector<float*> outPointers (static_cast<std::size_t> (channels));
    auto pointSilence = [&] () {
        for (std::size_t c = 0; c < silence.size (); ++c)
        {
            std::fill (silence[c].begin (), silence[c].end (), 0.f);
            inPointers[c] = silence[c].data ();
            outPointers[c] = scratch[c].data ();
        }
    };
    const std::string processError = "the plug-in failed to process a block";

    // Run-in: the settings arrive with the first block and the smoothing settles on silence.
    for (long done = 0, total = settleFrames (input.sampleRate); done < total; done += kBlockFrames)
    {
        pointSilence ();
        if (!feeder.process (inPointers.data (), outPointers.data (),
                             static_cast<int32> (std::min<long> (kBlockFrames, total - done))))
        {
            error = processError;
            return false;
        }
    }

    const std::size_t inputFrames = input.frameCount ();
    output = AudioClip (input.sampleRate, channels, inputFrames);
    {
        ProgressBar progress (stderr, settings.showProgress, settings.progressLabel);
        for (std::size_t start = 0; start < inputFrames; start += kBlockFrames)
        {
            const auto count = static_cast<int32> (std::min<std::size_t> (kBlockFrames, inputFrames - start));
            for (std::size_t c = 0; c < static_cast<std::size_t> (channels); ++c)
            {
                inPointers[c] = sources[c] + start;
                outPointers[c] = output.channels[c].data () + start;
            }
            if (!feeder.process (inPointers.data (), outPointers.data (), count))
            {
                error = processError;
                return false;
            }
            progress.update (start + static_cast<std::size_t> (count), inputFrames);
        }
    }

    // Tail: silence in until the output has stayed below the threshold long enough, or the cap.
    TailTracker tail (input.sampleRate, settings.maxTailSeconds);
    for (;;)
    {
        const auto count = static_cast<int32> (tail.nextBlockFrames (kBlockFrames));
        if (count == 0)
            break;
        pointSilence ();
        if (!feeder.process (inPointers.data (), outPointers.data (), count))
        {
            error = processError;
            return false;
        }
        tail.observe (outPointers.data (), channels, static_cast<std::size_t> (count));
        for (std::size_t c = 0; c < static_cast<std::size_t> (channels); ++c)
            output.channels[c].insert (output.channels[c].end (), scratch[c].begin (), scratch[c].begin () + count);
    }

    const std::size_t kept = tail.keptFrames ();
    output.resizeFrames (inputFrames + kept);
    lastReport.tailSeconds = static_cast<double> (kept) / input.sampleRate;
    lastReport.tailCapped = tail.endedByCap ();
    if (lastReport.tailCapped)
    {
        // Echoes still sounding at the cap: fade them out instead of cutting them off.
        const auto fade = std::min (kept, static_cast<std::size_t> (kCapFadeSeconds * input.sampleRate));
        const std::size_t end = output.frameCount ();
        for (std::size_t i = 0; i < fade; ++i)
        {
            const float gain = static_cast<float> (i) / static_cast<float> (fade);
            for (auto& channel : output.channels)
                channel[end - 1 - i] *= gain;
        }
    }

    instance.stop ();
    if (!allSamplesFinite (output))
    {
        error = "the plug-in produced samples that are not finite numbers";
        return false;
    }
    return true;
}

} // namespace Render
} // namespace Tarnwick

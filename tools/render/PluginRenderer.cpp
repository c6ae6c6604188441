#include "PluginRenderer.h"

#include "RenderTiming.h"

#include "hostkit/PluginInstance.h"


using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Tarnwick {
namespace Render {

namespace {

// Feeds blocks to the instance with a running host timeline.
class BlockFeeder
{
public:
    BlockFeeder (HostKit::PluginInstance& instance, double sampleRate, double tempoBpm) : instance (instance)
    {
        context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
        context.sampleRate = sampleRate;
        context.tempo = tempoBpm;
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

    BlockFeeder feeder (instance, input.sampleRate, settings.tempoBpm);
    ClipRunSettings run;
    run.channels = channels;
    run.maxTailSeconds = settings.maxTailSeconds;
    run.showProgress = settings.showProgress;
    run.progressLabel = settings.progressLabel;
    const bool rendered = runClip (
        input, run,
        [&feeder] (const float* const* inputs, float* const* outputs, int frames) {
            return feeder.process (inputs, outputs, static_cast<int32> (frames));
        },
        output, lastReport, error);
    instance.stop ();
    return rendered;
}

} // namespace Render
} // namespace Tarnwick

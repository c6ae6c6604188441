#include "Lv2Renderer.h"

#include "lv2host/Lv2Instance.h"

namespace Tarnwick {
namespace Render {

bool renderThroughLv2 (Lv2Host::Lv2World& world, const AudioClip& input, const Lv2RenderSettings& settings,
                       AudioClip& output, RenderReport& report, std::string& error)
{
    if (input.channelCount () < 1 || input.channelCount () > 2 || input.frameCount () == 0)
    {
        error = "nothing to render (the input must be mono or stereo and not empty)";
        return false;
    }
    Lv2Host::UridMap map;
    Lv2Host::Lv2Instance instance (world, static_cast<double> (input.sampleRate), &map);
    if (!instance.ok ())
    {
        error = "the plug-in cannot run at " + std::to_string (input.sampleRate) + " Hz";
        return false;
    }
    instance.activate ();
    if (!settings.presetUri.empty () && !instance.applyPreset (settings.presetUri))
    {
        error = "cannot load the preset <" + settings.presetUri + ">";
        return false;
    }
    for (const Lv2Setting& setting : settings.settings)
        instance.setControl (setting.symbol, setting.value);

    ClipRunSettings run = settings.run;
    run.channels = (input.channelCount () == 1 && settings.monoBus) ? 1 : 2;
    return runClip (
        input, run,
        [&instance, &run] (const float* const* inputs, float* const* outputs, int frames) {
            instance.run (inputs, outputs, run.channels, static_cast<uint32_t> (frames));
            return true;
        },
        output, report, error);
}

} // namespace Render
} // namespace Tarnwick

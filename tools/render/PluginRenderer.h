// Renders one clip through a fresh instance of the plug-in, as a DAW plays a track through it:
// set up, preset and parameter settings, a short silent run-in while the plug-in's smoothing
// settles, the input in blocks, then a tail of silence until the echoes have died away.
#pragma once

#include "AudioClip.h"
#include "ClipRun.h"
#include "ParameterCatalog.h"

#include "hostkit/PluginModule.h"

#include <string>
#include <vector>

namespace Tarnwick {
namespace Render {

struct RenderSettings
{
    int presetIndex = -1; // -1: leave the plug-in's defaults
    std::vector<ResolvedSetting> settings;
    double maxTailSeconds = 30.0;
    double tempoBpm = 120.0; // the tempo the host timeline reports
    bool monoBus = false; // a mono input on a mono bus; otherwise mono inputs feed both sides
    bool showProgress = false;
    std::string progressLabel = "rendering";
};


class PluginRenderer
{
public:
    explicit PluginRenderer (HostKit::PluginModule& module) : module (module) {}

    bool render (const AudioClip& input, const RenderSettings& settings, AudioClip& output, std::string& error);
    const RenderReport& report () const { return lastReport; }

private:
    HostKit::PluginModule& module;
    RenderReport lastReport;
};

} // namespace Render
} // namespace Tarnwick

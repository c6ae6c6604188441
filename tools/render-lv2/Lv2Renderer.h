// Renders one clip through a fresh instance of the LV2 plug-in, the same way the VST 3
// renderer does (runClip): preset and settings on the ports before the first block.
#pragma once

#include "ClipRun.h"
#include "Lv2PortCatalog.h"

#include "lv2host/Lv2World.h"

#include <string>
#include <vector>

namespace Tarnwick {
namespace Render {

struct Lv2RenderSettings
{
    std::string presetUri; // empty: the plug-in's defaults
    std::vector<Lv2Setting> settings;
    bool monoBus = false;
    ClipRunSettings run;
};

bool renderThroughLv2 (Lv2Host::Lv2World& world, const AudioClip& input, const Lv2RenderSettings& settings,
                       AudioClip& output, RenderReport& report, std::string& error);

} // namespace Render
} // namespace Tarnwick

// The LV2 plug-in's control ports and presets as the LV2 renderer offers them to the user:
// ports by name (or symbol), values as numbers inside the port's range or as scale-point
// labels, presets by name or number.
#pragma once

#include "CommandLine.h"

#include "lv2host/Lv2World.h"

#include <string>
#include <utility>
#include <vector>

namespace Tarnwick {
namespace Render {

struct Lv2ControlPort
{
    std::string symbol;
    std::string name;
    float minimum = 0.f;
    float maximum = 1.f;
    float defaultValue = 0.f;
    std::vector<std::pair<std::string, float>> scalePoints;
};

// A setting resolved against the plug-in: a port symbol and its plain value.
struct Lv2Setting
{
    std::string symbol;
    float value = 0.f;
};

class Lv2PortCatalog
{
public:
    explicit Lv2PortCatalog (const Lv2Host::Lv2World& world);

    const std::vector<Lv2ControlPort>& ports () const { return controls; }
    const std::vector<Lv2Host::PresetInfo>& presets () const { return presetList; }
    std::vector<std::string> presetNames () const;

    bool resolveSetting (const ParameterSetting& setting, Lv2Setting& resolved, std::string& error) const;

private:
    std::vector<Lv2ControlPort> controls;
    std::vector<Lv2Host::PresetInfo> presetList;
};

} // namespace Render
} // namespace Tarnwick

// The plug-in's parameters and presets as the renderer offers them to the user: looks titles,
// list entries and preset names up, checks plain values against each parameter's range, and
// converts them to normalized values through the plug-in's own conversion (its edit controller).
#pragma once

#include "CommandLine.h"
#include "PresetChoice.h"

#include "hostkit/PluginInstance.h"

#include <string>
#include <vector>

namespace Tarnwick {
namespace Render {

struct CatalogParameter
{
    HostKit::ParameterDescription info;
    double plainMinimum = 0.0; // plain value at normalized 0
    double plainMaximum = 1.0; // plain value at normalized 1
    std::vector<std::string> items; // display texts of a list parameter's entries, else empty

    bool isList () const { return !items.empty (); }
    bool isReadOnly () const;
    bool isProgramChange () const;
    bool isBypass () const;
};

// A parameter setting resolved against the plug-in.
struct ResolvedSetting
{
    Steinberg::Vst::ParamID id = 0;
    Steinberg::Vst::ParamValue normalized = 0.0;
    std::string title;
};

class ParameterCatalog
{
public:
    // Reads everything from a created (initialized) instance; the instance is only used here.
    explicit ParameterCatalog (HostKit::PluginInstance& instance);

    const std::vector<CatalogParameter>& parameters () const { return entries; }
    const std::vector<std::string>& presetNames () const { return presets; }

    // Program index for a name (exact, then ignoring case) or a number; false with a message.
    bool resolvePreset (const std::string& text, int& index, std::string& error) const;

    // Id and normalized value for "Title=Value"; false with a message for an unknown title, a
    // value that is not a number or list entry, or a value outside the parameter's range.
    bool resolveSetting (const ParameterSetting& setting, ResolvedSetting& resolved, std::string& error) const;

private:
    const CatalogParameter* findByTitle (const std::string& title) const;
    std::string titleList () const;

    HostKit::PluginInstance& instance;
    std::vector<CatalogParameter> entries;
    std::vector<std::string> presets;
};

} // namespace Render
} // namespace Tarnwick

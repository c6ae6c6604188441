#include "ParameterListing.h"

#include <cstdio>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Tarnwick {
namespace Render {

namespace {

template <std::size_t N>
std::string fixedText (const char (&field)[N])
{
    std::size_t length = 0;
    while (length < N && field[length] != 0)
        ++length;
    return std::string (field, length);
}

std::string withUnits (const std::string& text, const std::string& units)
{
    return units.empty () ? text : text + " " + units;
}

std::string flagText (const CatalogParameter& parameter)
{
    std::string flags;
    auto add = [&flags] (const char* flag) { flags += (flags.empty () ? "" : ", ") + std::string (flag); };
    if ((parameter.info.flags & ParameterInfo::kCanAutomate) != 0)
        add ("automatable");
    if (parameter.isReadOnly ())
        add ("read-only");
    if (parameter.isBypass ())
        add ("bypass");
    if (parameter.isProgramChange ())
        add ("program change");
    return flags;
}

std::string padded (const std::string& text, std::size_t width)
{
    return text.size () >= width ? text + " " : text + std::string (width - text.size (), ' ');
}

} // namespace

void writeParameterListing (std::ostream& out, const HostKit::PluginModule& module, const PClassInfo2& classInfo,
                            HostKit::PluginInstance& instance, const ParameterCatalog& catalog)
{
    const PFactoryInfo factory = module.factoryInfo ();
    out << fixedText (classInfo.name) << " " << fixedText (classInfo.version) << " by " << fixedText (factory.vendor)
        << " (" << fixedText (classInfo.subCategories) << ")\n";
    out << "Bundle: " << module.bundlePath () << "\n\n";

    out << "Parameters (set with --set \"TITLE=VALUE\", plain values):\n";
    out << "  " << padded ("id", 12) << padded ("title", 24) << padded ("range", 34) << padded ("default", 16)
        << "flags\n";
    for (const CatalogParameter& parameter : catalog.parameters ())
    {
        const auto& info = parameter.info;
        std::string range;
        if (parameter.isProgramChange ())
            range = std::to_string (parameter.items.size ()) + " presets, listed below";
        else if (parameter.isList ())
        {
            for (const auto& item : parameter.items)
                range += (range.empty () ? "" : " | ") + item;
        }
        else
            range = withUnits (instance.parameterText (info.id, 0.0) + " .. " + instance.parameterText (info.id, 1.0),
                               info.units);
        const std::string defaultText = withUnits (instance.parameterText (info.id, info.defaultNormalizedValue),
                                                   parameter.isList () ? "" : info.units);
        out << "  " << padded (std::to_string (info.id), 12) << padded ("\"" + info.title + "\"", 24)
            << padded (range, 34) << padded (defaultText, 16) << flagText (parameter) << "\n";
    }

    out << "\nPresets (select with --preset NAME or --preset INDEX):\n";
    if (catalog.presetNames ().empty ())
        out << "  (none)\n";
    for (std::size_t i = 0; i < catalog.presetNames ().size (); ++i)
    {
        char index[32];
        std::snprintf (index, sizeof (index), "%4zu  ", i);
        out << index << catalog.presetNames ()[i] << "\n";
    }
}

} // namespace Render
} // namespace Tarnwick

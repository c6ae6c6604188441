#include "ParameterCatalog.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Tarnwick {
namespace Render {

namespace {

std::string formatNumber (double value)
{
    char text[64];
    std::snprintf (text, sizeof (text), "%g", value);
    return text;
}

} // namespace

bool CatalogParameter::isReadOnly () const
{
    return (info.flags & ParameterInfo::kIsReadOnly) != 0;
}

bool CatalogParameter::isProgramChange () const
{
    return (info.flags & ParameterInfo::kIsProgramChange) != 0;
}

bool CatalogParameter::isBypass () const
{
    return (info.flags & ParameterInfo::kIsBypass) != 0;
}

ParameterCatalog::ParameterCatalog (HostKit::PluginInstance& instance) : instance (instance)
{
    for (const HostKit::ParameterDescription& info : instance.parameters ())
    {
        CatalogParameter entry;
        entry.info = info;
        entry.plainMinimum = instance.normalizedToPlain (info.id, 0.0);
        entry.plainMaximum = instance.normalizedToPlain (info.id, 1.0);
        if ((info.flags & ParameterInfo::kIsList) != 0 && info.stepCount > 0)
        {
            for (int32 step = 0; step <= info.stepCount; ++step)
                entry.items.push_back (
                    instance.parameterText (info.id, static_cast<double> (step) / static_cast<double> (info.stepCount)));
        }
        entries.push_back (entry);
    }
    presets = instance.programNames ();
}

const CatalogParameter* ParameterCatalog::findByTitle (const std::string& title) const
{
    for (const auto& entry : entries)
        if (entry.info.title == title)
            return &entry;
    for (const auto& entry : entries)
        if (equalIgnoringCase (entry.info.title, title))
            return &entry;
    return nullptr;
}

std::string ParameterCatalog::titleList () const
{
    std::vector<std::string> titles;
    for (const auto& entry : entries)
        if (!entry.isReadOnly () && !entry.isProgramChange ())
            titles.push_back ("\"" + entry.info.title + "\"");
    return joined (titles);
}

bool ParameterCatalog::resolvePreset (const std::string& text, int& index, std::string& error) const
{
    return resolvePresetChoice (presets, text, index, error);
}

bool ParameterCatalog::resolveSetting (const ParameterSetting& setting, ResolvedSetting& resolved,
                                       std::string& error) const
{
    const CatalogParameter* entry = findByTitle (setting.title);
    if (entry == nullptr)
    {
        error = "unknown parameter '" + setting.title + "'; the parameters are: " + titleList ();
        return false;
    }
    const std::string& title = entry->info.title;
    if (entry->isReadOnly ())
    {
        error = "parameter '" + title + "' is read-only";
        return false;
    }
    if (entry->isProgramChange ())
    {
        error = "parameter '" + title + "' selects a preset; use --preset NAME|INDEX";
        return false;
    }

    resolved.id = entry->info.id;
    resolved.title = title;

    if (entry->isList ())
    {
        double plainIndex = -1.0;
        for (std::size_t i = 0; i < entry->items.size (); ++i)
            if (equalIgnoringCase (entry->items[i], setting.value))
            {
                plainIndex = static_cast<double> (i);
                break;
            }
        if (plainIndex < 0.0)
        {
            double number = 0.0;
            if (!parseNumber (setting.value, number) || number != std::floor (number) || number < 0.0 ||
                number > static_cast<double> (entry->info.stepCount))
            {
                error = "'" + setting.value + "' is not a choice of '" + title + "' (choices: " +
                        joined (entry->items) + ", or their numbers 0 to " + std::to_string (entry->info.stepCount) +
                        ")";
                return false;
            }
            plainIndex = number;
        }
        resolved.normalized = instance.plainToNormalized (entry->info.id, plainIndex);
    }
    else
    {
        double plain = 0.0;
        if (!parseNumber (setting.value, plain))
        {
            error = "value '" + setting.value + "' for '" + title + "' is not a number";
            return false;
        }
        const double low = std::min (entry->plainMinimum, entry->plainMaximum);
        const double high = std::max (entry->plainMinimum, entry->plainMaximum);
        const double tolerance = 1e-9 * std::max (1.0, high - low);
        if (plain < low - tolerance || plain > high + tolerance)
        {
            std::string units = entry->info.units.empty () ? "" : " " + entry->info.units;
            error = "value " + setting.value + " is out of range for '" + title + "' (" + formatNumber (low) + " to " +
                    formatNumber (high) + units + ")";
            return false;
        }
        resolved.normalized = instance.plainToNormalized (entry->info.id, plain);
    }

    if (!std::isfinite (resolved.normalized))
    {
        error = "the plug-in cannot convert " + setting.value + " for '" + title + "'";
        return false;
    }
    resolved.normalized = std::min (1.0, std::max (0.0, resolved.normalized));
    return true;
}

} // namespace Render
} // namespace Tarnwick

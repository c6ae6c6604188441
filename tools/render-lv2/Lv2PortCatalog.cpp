#include "Lv2PortCatalog.h"

#include "PresetChoice.h"

#include <cmath>

namespace Tarnwick {
namespace Render {

Lv2PortCatalog::Lv2PortCatalog (const Lv2Host::Lv2World& world) : presetList (world.presets ())
{
    const LilvPlugin* plugin = world.lilvPlugin ();
    if (!plugin)
        return;
    LilvNode* controlClass = lilv_new_uri (world.world (), LILV_URI_CONTROL_PORT);
    LilvNode* inputClass = lilv_new_uri (world.world (), LILV_URI_INPUT_PORT);
    const uint32_t count = lilv_plugin_get_num_ports (plugin);
    for (uint32_t i = 0; i < count; ++i)
    {
        const LilvPort* port = lilv_plugin_get_port_by_index (plugin, i);
        if (!lilv_port_is_a (plugin, port, controlClass) || !lilv_port_is_a (plugin, port, inputClass))
            continue;
        Lv2ControlPort entry;
        entry.symbol = lilv_node_as_string (lilv_port_get_symbol (plugin, port));
        LilvNode* name = lilv_port_get_name (plugin, port);
        entry.name = name ? lilv_node_as_string (name) : entry.symbol;
        lilv_node_free (name);
        LilvNode* low = nullptr;
        LilvNode* high = nullptr;
        LilvNode* fallback = nullptr;
        lilv_port_get_range (plugin, port, &fallback, &low, &high);
        entry.defaultValue = fallback ? lilv_node_as_float (fallback) : 0.f;
        entry.minimum = low ? lilv_node_as_float (low) : 0.f;
        entry.maximum = high ? lilv_node_as_float (high) : 1.f;
        lilv_node_free (fallback);
        lilv_node_free (low);
        lilv_node_free (high);
        if (LilvScalePoints* points = lilv_port_get_scale_points (plugin, port))
        {
            LILV_FOREACH (scale_points, p, points)
            {
                const LilvScalePoint* point = lilv_scale_points_get (points, p);
                entry.scalePoints.emplace_back (lilv_node_as_string (lilv_scale_point_get_label (point)),
                                                lilv_node_as_float (lilv_scale_point_get_value (point)));
            }
            lilv_scale_points_free (points);
        }
        controls.push_back (entry);
    }
    lilv_node_free (inputClass);
    lilv_node_free (controlClass);
}

std::vector<std::string> Lv2PortCatalog::presetNames () const
{
    std::vector<std::string> names;
    for (const auto& preset : presetList)
        names.push_back (preset.label);
    return names;
}

bool Lv2PortCatalog::resolveSetting (const ParameterSetting& setting, Lv2Setting& resolved, std::string& error) const
{
    const Lv2ControlPort* port = nullptr;
    for (const auto& entry : controls)
        if (equalIgnoringCase (entry.name, setting.title) || entry.symbol == setting.title)
            port = &entry;
    if (!port)
    {
        std::vector<std::string> names;
        for (const auto& entry : controls)
            names.push_back (entry.name);
        error = "unknown parameter '" + setting.title + "'; the parameters are: " + joined (names);
        return false;
    }
    resolved.symbol = port->symbol;
    for (const auto& point : port->scalePoints)
        if (equalIgnoringCase (point.first, setting.value))
        {
            resolved.value = point.second;
            return true;
        }
    double number = 0.0;
    if (!parseNumber (setting.value, number) || number < port->minimum || number > port->maximum)
    {
        error = "'" + setting.value + "' is not a value of '" + port->name + "' (" + std::to_string (port->minimum) +
                " to " + std::to_string (port->maximum) + ")";
        return false;
    }
    resolved.value = static_cast<float> (number);
    return true;
}

} // namespace Render
} // namespace Tarnwick

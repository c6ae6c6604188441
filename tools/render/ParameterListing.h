// The --list report: the plug-in's class, its parameters with ranges and display texts, and its presets.
#pragma once

#include "ParameterCatalog.h"

#include "hostkit/PluginModule.h"

#include <ostream>

namespace Tarnwick {
namespace Render {

void writeParameterListing (std::ostream& out, const HostKit::PluginModule& module,
                            const Steinberg::PClassInfo2& classInfo, HostKit::PluginInstance& instance,
                            const ParameterCatalog& catalog);

} // namespace Render
} // namespace Tarnwick

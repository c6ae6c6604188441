// The VST 3 bundle for comparisons, loaded once and kept loaded for the whole run, as a DAW
// keeps a module loaded.
#pragma once

#include "hostkit/PluginModule.h"

namespace Tarnwick {
namespace Lv2Test {

HostKit::PluginModule& vst3Module ();

} // namespace Lv2Test
} // namespace Tarnwick

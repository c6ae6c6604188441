// Where a render tool finds its bundle when none is named.
#pragma once

#include <string>

namespace Tarnwick {
namespace Render {

// The first bundle found of: the one built next to the running program
// (<build>/tools/<program> -> <build>/<bundleName>, also an unpacked release), the one an install
// put beside it (<prefix>/bin/<program> -> <prefix>/lib/<pluginFolder>/<bundleName>), the user's
// (~/.<pluginFolder>/<bundleName>, where a release's install.sh puts it); failing all, builtAt
// (where the build put it). pluginFolder: "vst3" or "lv2".
std::string bundleNextToProgram(const std::string& bundleName, const std::string& pluginFolder,
                                const std::string& builtAt);

}  // namespace Render
}  // namespace Tarnwick

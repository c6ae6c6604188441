// Where a render tool finds its bundle when none is named.
#pragma once

#include <string>

namespace Tarnwick {
namespace Render {

// The bundle built next to the running program (<build>/tools/<program> -> <build>/<bundleName>);
// failing that, builtAt (where the build put it).
std::string bundleNextToProgram (const std::string& bundleName, const std::string& builtAt);

} // namespace Render
} // namespace Tarnwick

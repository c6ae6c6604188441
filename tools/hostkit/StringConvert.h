// UTF-16 strings of the VST 3 interfaces to and from UTF-8.
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <string>

namespace Tarnwick {
namespace HostKit {

std::string toUtf8 (const Steinberg::char16* text);
std::u16string toUtf16 (const std::string& text);

} // namespace HostKit
} // namespace Tarnwick

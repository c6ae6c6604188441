// Picking a preset by name or number, whatever the plug-in's format.
#pragma once

#include <string>
#include <vector>

namespace Tarnwick {
namespace Render {

// Index for a name (exact, then ignoring case) or a number; false with a message.
bool resolvePresetChoice (const std::vector<std::string>& presets, const std::string& text, int& index,
                          std::string& error);

// Case-insensitive comparison of ASCII texts.
bool equalIgnoringCase (const std::string& a, const std::string& b);

// The texts separated by ", ".
std::string joined (const std::vector<std::string>& texts);

} // namespace Render
} // namespace Tarnwick

// File names for rendered presets.
#pragma once

#include <string>

namespace Tarnwick {
namespace Render {

// "02-Hollow-Ring.wav" for preset 2 "Hollow Ring": the index keeps the files in program order and
// unique; the name keeps letters and digits, every other run of characters becomes one '-'.
std::string presetFileName (int index, const std::string& presetName, const std::string& extension = "wav");

// Joins a folder and a file name with exactly one '/'.
std::string joinPath (const std::string& folder, const std::string& name);

} // namespace Render
} // namespace Tarnwick

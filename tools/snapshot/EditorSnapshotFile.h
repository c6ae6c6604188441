// One editor snapshot written to a file: for tools that only name a bundle,
// settings and a file (kept free of the plug-in's own headers).
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>
#include <vector>

namespace Tarnwick {
namespace Snapshot {

struct ParameterValue
{
	Steinberg::Vst::ParamID id;
	Steinberg::Vst::ParamValue normalized;
};

// The editor drawn from the bundle's resources as a host shows it after selecting
// the program (programIndex < 0: none) and then setting the values, written as a
// PNG. False with a message in error when anything fails.
bool writeEditorSnapshot (const std::string& bundlePath, Steinberg::int32 programIndex,
                          const std::vector<ParameterValue>& values, const std::string& pngPath, double scale,
                          std::string& error);

} // namespace Snapshot
} // namespace Tarnwick

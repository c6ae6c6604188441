#include "Vst2PlugFrame.h"

namespace Steinberg {
namespace Vst {

Vst2PlugFrame::Vst2PlugFrame (vst_effect* effect, Vst2Abi::HostCallback hostCallback)
: effect (effect), hostCallback (hostCallback)
{
}

bool Vst2PlugFrame::hostResize (int32 width, int32 height)
{
	return hostCallback != nullptr &&
	       hostCallback (effect, Vst2Abi::kHostSizeWindow, width, height, nullptr, 0.f) != 0;
}

} // namespace Vst
} // namespace Steinberg

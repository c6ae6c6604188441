#include "Vst2Editor.h"

#include "Vst2PlugFrame.h"

#include <algorithm>
#include <cstdint>

namespace Steinberg {
namespace Vst {

namespace {
int16_t clampToInt16 (int32 v)
{
	return static_cast<int16_t> (std::min<int32> (std::max<int32> (v, INT16_MIN), INT16_MAX));
}
} // namespace

Vst2Editor::Vst2Editor (IEditController* controller, vst_effect* effect, Vst2Abi::HostCallback hostCallback)
: EmbeddedView (controller, new Vst2PlugFrame (effect, hostCallback))
{
}

bool Vst2Editor::getRect (vst_rect** out)
{
	if (out == nullptr)
		return false;
	rect = vst_rect {};
	*out = &rect;
	ViewRect size;
	if (!getSize (size))
		return false;
	rect.top = 0;
	rect.left = 0;
	rect.bottom = clampToInt16 (size.getHeight ());
	rect.right = clampToInt16 (size.getWidth ());
	return true;
}

} // namespace Vst
} // namespace Steinberg

#include "hostkit/HostPlugFrame.h"
#include "hostkit/HostRunLoop.h"

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;

tresult PLUGIN_API HostPlugFrame::resizeView (IPlugView* view, ViewRect* newSize)
{
	if (view == nullptr || newSize == nullptr)
		return kInvalidArgument;
	requests.push_back (*newSize);
	if (!acceptResize)
		return kResultFalse;
	// The host resizes its window, then tells the view.
	return view->onSize (newSize);
}

tresult PLUGIN_API HostPlugFrame::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPlugFrame)
	QUERY_INTERFACE (iid, obj, IPlugFrame::iid, IPlugFrame)
	if (runLoop != nullptr && FUnknownPrivate::iidEqual (iid, Linux::IRunLoop::iid))
	{
		runLoop->addRef ();
		*obj = static_cast<Linux::IRunLoop*> (runLoop);
		return kResultOk;
	}
	*obj = nullptr;
	return kNoInterface;
}

} // namespace HostKit
} // namespace Tarnwick

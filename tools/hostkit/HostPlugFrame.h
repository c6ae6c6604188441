// The host's IPlugFrame. With a run loop it also answers Steinberg::Linux::IRunLoop (as Linux
// hosts do); without one it answers only IPlugFrame, like hosts that lack a run loop.
#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <vector>

namespace Tarnwick {
namespace HostKit {

class HostRunLoop;

class HostPlugFrame : public Steinberg::IPlugFrame
{
public:
	explicit HostPlugFrame (HostRunLoop* runLoop = nullptr) : runLoop (runLoop) {}
	virtual ~HostPlugFrame () = default;

	// Sizes the view asked for through resizeView, in order.
	const std::vector<Steinberg::ViewRect>& resizeRequests () const { return requests; }
	// Whether resizeView calls are accepted (the host then calls onSize with the new size).
	void setAcceptResize (bool accept) { acceptResize = accept; }

	Steinberg::tresult PLUGIN_API resizeView (Steinberg::IPlugView* view,
	                                          Steinberg::ViewRect* newSize) override;

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

private:
	HostRunLoop* runLoop;
	bool acceptResize = true;
	std::vector<Steinberg::ViewRect> requests;
};

} // namespace HostKit
} // namespace Tarnwick

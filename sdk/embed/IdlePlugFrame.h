// The frame around a VST 3 editor embedded in a host that has no run loop of its
// own to lend (VST 2 hosts, LV2 UI hosts): the frame offers Linux::IRunLoop
// itself and runs its handlers and timers from the host's idle calls. What a
// resize asks of the host is the host format's business (hostResize).
#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <atomic>
#include <chrono>
#include <vector>

namespace Steinberg {
namespace Vst {

class IdlePlugFrame : public IPlugFrame, public Linux::IRunLoop
{
public:
	// Created with one reference, owned by the caller.
	IdlePlugFrame () = default;

	// Runs the handlers whose descriptor is readable and the timers that are due.
	void idle ();
	// Drops every handler still registered (after the view was removed).
	void dropAllHandlers ();
	int32 eventHandlerCount () const;
	int32 timerCount () const;

	// IPlugFrame
	tresult PLUGIN_API resizeView (IPlugView* view, ViewRect* newSize) override;

	// Linux::IRunLoop
	tresult PLUGIN_API registerEventHandler (Linux::IEventHandler* handler, Linux::FileDescriptor fd) override;
	tresult PLUGIN_API unregisterEventHandler (Linux::IEventHandler* handler) override;
	tresult PLUGIN_API registerTimer (Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds) override;
	tresult PLUGIN_API unregisterTimer (Linux::ITimerHandler* handler) override;

	// FUnknown
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override;
	uint32 PLUGIN_API addRef () override;
	uint32 PLUGIN_API release () override;

protected:
	virtual ~IdlePlugFrame () = default;
	// Asks the host to give the editor's window this size; true when it did.
	virtual bool hostResize (int32 width, int32 height) = 0;

private:
	using Clock = std::chrono::steady_clock;

	struct EventEntry
	{
		IPtr<Linux::IEventHandler> handler;
		Linux::FileDescriptor fd;
		bool alive;
	};
	struct TimerEntry
	{
		IPtr<Linux::ITimerHandler> handler;
		Clock::duration interval;
		Clock::time_point due;
		bool alive;
	};

	void runEventHandlers ();
	void runTimers ();
	void compact ();

	std::vector<EventEntry> eventEntries;
	std::vector<TimerEntry> timerEntries;
	// Handlers may register or unregister from inside a callback: entries are only
	// marked dead while a pump runs and removed afterwards.
	int32 pumpDepth {0};
	std::atomic<uint32> refCount {1};
};

} // namespace Vst
} // namespace Steinberg

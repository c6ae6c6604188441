// The frame around a wrapped editor in a VST 2 host's window. VST 2 hosts have
// no run loop of their own to lend, so the frame offers Linux::IRunLoop itself
// and runs its handlers and timers from the host's idle calls.
#pragma once

#include "Vst2Abi.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <atomic>
#include <chrono>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2PlugFrame : public IPlugFrame, public Linux::IRunLoop
{
public:
	// Created with one reference, owned by the caller.
	Vst2PlugFrame (vst_effect* effect, Vst2Abi::HostCallback hostCallback);

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

	virtual ~Vst2PlugFrame () = default;

	void runEventHandlers ();
	void runTimers ();
	void compact ();

	vst_effect* effect;
	Vst2Abi::HostCallback hostCallback;
	std::vector<EventEntry> eventEntries;
	std::vector<TimerEntry> timerEntries;
	// Handlers may register or unregister from inside a callback: entries are only
	// marked dead while a pump runs and removed afterwards.
	int32 pumpDepth {0};
	std::atomic<uint32> refCount {1};
};

} // namespace Vst
} // namespace Steinberg

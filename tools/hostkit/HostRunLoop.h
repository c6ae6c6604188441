// The host's Linux run loop: event handlers on file descriptors and timers, driven by a poll loop
// that the test (or tool) runs itself.
#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <vector>

namespace Tarnwick {
namespace HostKit {

class HostRunLoop : public Steinberg::Linux::IRunLoop
{
public:
	HostRunLoop () = default;
	virtual ~HostRunLoop ();

	// Runs the loop for about the given time: polls the registered descriptors and fires due
	// timers. Handlers may register or unregister handlers from inside a callback.
	void runFor (int milliseconds);
	// One pass: waits at most timeoutMs for a descriptor or the next timer, then dispatches.
	void runOnce (int timeoutMs);

	size_t eventHandlerCount () const;
	size_t timerCount () const;
	// Number of calls delivered so far.
	size_t timerCallCount () const { return timerCalls; }
	size_t eventCallCount () const { return eventCalls; }

	// IRunLoop
	Steinberg::tresult PLUGIN_API registerEventHandler (Steinberg::Linux::IEventHandler* handler,
	                                                    Steinberg::Linux::FileDescriptor fd) override;
	Steinberg::tresult PLUGIN_API unregisterEventHandler (
	    Steinberg::Linux::IEventHandler* handler) override;
	Steinberg::tresult PLUGIN_API registerTimer (Steinberg::Linux::ITimerHandler* handler,
	                                             Steinberg::Linux::TimerInterval milliseconds) override;
	Steinberg::tresult PLUGIN_API unregisterTimer (Steinberg::Linux::ITimerHandler* handler) override;

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return 1; }
	Steinberg::uint32 PLUGIN_API release () override { return 1; }

private:
	struct EventEntry
	{
		Steinberg::Linux::IEventHandler* handler;
		Steinberg::Linux::FileDescriptor fd;
		bool alive;
	};
	struct TimerEntry
	{
		Steinberg::Linux::ITimerHandler* handler;
		Steinberg::Linux::TimerInterval interval;
		long long dueMs;
		bool alive;
	};
	void sweep ();

	std::vector<EventEntry> eventHandlers;
	std::vector<TimerEntry> timers;
	int dispatchDepth = 0;
	size_t timerCalls = 0;
	size_t eventCalls = 0;
};

} // namespace HostKit
} // namespace Tarnwick

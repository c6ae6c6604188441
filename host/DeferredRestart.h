// A restart the plug-in owes the host after a change made inside the host's own call (a
// program change): some hosts hold a lock there that their restart handling takes again, so
// it is sent only once that call has returned, on the host's UI thread, once per change.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <atomic>
#include <thread>

namespace Vire2VUR3 {

class DeferredRestart : public Steinberg::Linux::ITimerHandler
{
public:
	explicit DeferredRestart (Steinberg::Vst::EditController& owner);
	~DeferredRestart ();

	// Takes the host's run loop from `host` (its context or its component handler) when it
	// offers one and none was found yet.
	void findRunLoop (Steinberg::FUnknown* host);
	// Terminate: nothing owed is sent any more, the timer and the run loop are let go.
	void stop ();

	// Inside the host's call, on its UI thread.
	void request (Steinberg::int32 flags);
	// A later call of the host: sends what is owed when it comes on the thread that asked,
	// and not inside a call that holds it back.
	void deliverIfDue ();

	// Holds back the delivery for as long as it lives: the plug-in's own work inside a host
	// call reads through the same entry points as the host does.
	class Hold
	{
	public:
		explicit Hold (DeferredRestart& restart)
		: restart (restart)
		{
			++restart.holds;
		}
		~Hold () { --restart.holds; }
		Hold (const Hold&) = delete;
		Hold& operator= (const Hold&) = delete;

	private:
		DeferredRestart& restart;
	};
	// Sends what is owed: the run loop's timer and the editor's timer, both on the UI thread
	// and outside any call of the host into the plug-in.
	void PLUGIN_API onTimer () SMTG_OVERRIDE;

	bool isOwed () const { return owed.load () != 0; }
	bool hasRunLoop () const { return runLoop != nullptr; }

	// Owned by the processor: the host's references do not count.
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid,
	                                              void** obj) SMTG_OVERRIDE;
	Steinberg::uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	Steinberg::uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

private:
	Steinberg::Vst::EditController& owner;
	Steinberg::Linux::IRunLoop* runLoop {nullptr};
	bool timerRegistered {false};
	std::atomic<Steinberg::int32> owed {0};
	std::atomic<int> holds {0};
	// The thread of the call that asked; hosts may ask values on other threads.
	std::atomic<std::thread::id> requester {};
};

} // namespace Vire2VUR3

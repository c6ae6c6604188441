#include "DeferredRestart.h"

namespace Vire2VUR3 {

using namespace Steinberg;

namespace {
// Often enough that a host's controls follow a program at once, to the eye.
constexpr Linux::TimerInterval kTimerMilliseconds = 30;
} // namespace

DeferredRestart::DeferredRestart (Vst::EditController& owner)
: owner (owner)
{
}

DeferredRestart::~DeferredRestart ()
{
	// A host that never terminated: its run loop must not keep calling into freed memory.
	stop ();
}

void DeferredRestart::findRunLoop (FUnknown* host)
{
	if (runLoop || !host)
		return;
	Linux::IRunLoop* found = nullptr;
	if (host->queryInterface (Linux::IRunLoop::iid, reinterpret_cast<void**> (&found)) ==
	        kResultOk &&
	    found)
		runLoop = found; // keeps the reference the query gave
}

void DeferredRestart::stop ()
{
	owed.store (0);
	if (runLoop)
	{
		if (timerRegistered)
			runLoop->unregisterTimer (this);
		runLoop->release ();
	}
	runLoop = nullptr;
	timerRegistered = false;
}

void DeferredRestart::request (int32 flags)
{
	requester.store (std::this_thread::get_id ());
	owed.fetch_or (flags);
	// Registered once and kept until stop: never added or removed inside a timer callback.
	if (runLoop && !timerRegistered)
		timerRegistered = runLoop->registerTimer (this, kTimerMilliseconds) == kResultOk;
}

void DeferredRestart::deliverIfDue ()
{
	if (owed.load () != 0 && holds.load () == 0 && requester.load () == std::this_thread::get_id ())
		onTimer ();
}

void PLUGIN_API DeferredRestart::onTimer ()
{
	if (holds.load () != 0)
		return;
	const int32 flags = owed.exchange (0);
	if (flags == 0)
		return;
	if (Vst::IComponentHandler* handler = owner.getComponentHandler ())
		handler->restartComponent (flags);
}

tresult PLUGIN_API DeferredRestart::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, Linux::ITimerHandler)
	QUERY_INTERFACE (iid, obj, Linux::ITimerHandler::iid, Linux::ITimerHandler)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace Vire2VUR3

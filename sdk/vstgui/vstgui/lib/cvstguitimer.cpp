#include "cvstguitimer.h"
#include <algorithm>
#include <chrono>
#include <vector>

namespace VSTGUI {

IdStringPtr CVSTGUITimer::kMsgTimer = "timer fired";

namespace {
// The running timers. UI thread only, like everything else in the editor.
std::vector<CVSTGUITimer*>& runningTimers ()
{
	static std::vector<CVSTGUITimer*> timers;
	return timers;
}
} // namespace

uint64_t CVSTGUITimer::now ()
{
	using namespace std::chrono;
	return static_cast<uint64_t> (duration_cast<milliseconds> (steady_clock::now ().time_since_epoch ()).count ());
}

CVSTGUITimer::CVSTGUITimer (CBaseObject* timerObject, uint32_t fireTime, bool doStart)
: timerObject (timerObject), fireTime (fireTime)
{
	if (doStart)
		start ();
}

CVSTGUITimer::CVSTGUITimer (const CallbackFunc& callback, uint32_t fireTime, bool doStart)
: callbackFunc (callback), fireTime (fireTime)
{
	if (doStart)
		start ();
}

CVSTGUITimer::~CVSTGUITimer ()
{
	stop ();
}

bool CVSTGUITimer::start ()
{
	if (running)
		return false;
	running = true;
	nextFire = now () + fireTime;
	runningTimers ().push_back (this);
	return true;
}

bool CVSTGUITimer::stop ()
{
	if (!running)
		return false;
	running = false;
	auto& timers = runningTimers ();
	timers.erase (std::remove (timers.begin (), timers.end (), this), timers.end ());
	return true;
}

bool CVSTGUITimer::setFireTime (uint32_t newFireTime)
{
	if (newFireTime == 0)
		return false;
	fireTime = newFireTime;
	if (running)
		nextFire = now () + fireTime;
	return true;
}

CMessageResult CVSTGUITimer::notify (CBaseObject*, IdStringPtr message)
{
	if (message == kMsgTimer)
	{
		fire ();
		return kMessageNotified;
	}
	return kMessageUnknown;
}

void CVSTGUITimer::fire ()
{
	// Whoever the timer notifies may drop the last reference to it.
	remember ();
	if (callbackFunc)
		callbackFunc (this);
	else if (timerObject)
		timerObject->notify (this, kMsgTimer);
	forget ();
}

int32_t CVSTGUITimer::fireDueTimers ()
{
	static int32_t depth = 0;
	if (depth > 0)
		return 0; // a timer callback pumped the loop again: no nested firing
	++depth;
	int32_t fired = 0;
	uint64_t t = now ();
	// Work on a copy: callbacks may start and stop timers.
	auto snapshot = runningTimers ();
	for (CVSTGUITimer* timer : snapshot)
	{
		auto& timers = runningTimers ();
		if (std::find (timers.begin (), timers.end (), timer) == timers.end ())
			continue;
		if (t < timer->nextFire)
			continue;
		timer->nextFire += timer->fireTime;
		if (timer->nextFire <= t)
			timer->nextFire = t + timer->fireTime; // fell behind: no burst of catch-up ticks
		timer->fire ();
		++fired;
	}
	--depth;
	return fired;
}

} // namespace VSTGUI

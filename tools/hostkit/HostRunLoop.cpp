#include "hostkit/HostRunLoop.h"

#include <algorithm>
#include <chrono>
#include <poll.h>

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;
using namespace Steinberg::Linux;

namespace {

long long nowMs ()
{
	using namespace std::chrono;
	return duration_cast<milliseconds> (steady_clock::now ().time_since_epoch ()).count ();
}

} // namespace

HostRunLoop::~HostRunLoop () = default;

size_t HostRunLoop::eventHandlerCount () const
{
	return static_cast<size_t> (std::count_if (eventHandlers.begin (), eventHandlers.end (),
	                                           [] (const EventEntry& e) { return e.alive; }));
}

size_t HostRunLoop::timerCount () const
{
	return static_cast<size_t> (std::count_if (timers.begin (), timers.end (),
	                                           [] (const TimerEntry& t) { return t.alive; }));
}

tresult PLUGIN_API HostRunLoop::registerEventHandler (IEventHandler* handler, FileDescriptor fd)
{
	if (handler == nullptr || fd < 0)
		return kInvalidArgument;
	eventHandlers.push_back ({handler, fd, true});
	return kResultTrue;
}

tresult PLUGIN_API HostRunLoop::unregisterEventHandler (IEventHandler* handler)
{
	bool found = false;
	for (EventEntry& entry : eventHandlers)
	{
		if (entry.alive && entry.handler == handler)
		{
			entry.alive = false;
			found = true;
		}
	}
	sweep ();
	return found ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API HostRunLoop::registerTimer (ITimerHandler* handler, TimerInterval milliseconds)
{
	if (handler == nullptr || milliseconds == 0)
		return kInvalidArgument;
	timers.push_back ({handler, milliseconds, nowMs () + static_cast<long long> (milliseconds), true});
	return kResultTrue;
}

tresult PLUGIN_API HostRunLoop::unregisterTimer (ITimerHandler* handler)
{
	bool found = false;
	for (TimerEntry& entry : timers)
	{
		if (entry.alive && entry.handler == handler)
		{
			entry.alive = false;
			found = true;
		}
	}
	sweep ();
	return found ? kResultTrue : kResultFalse;
}

// Dead entries are only removed outside dispatch, so callbacks may change the lists safely.
void HostRunLoop::sweep ()
{
	if (dispatchDepth > 0)
		return;
	eventHandlers.erase (std::remove_if (eventHandlers.begin (), eventHandlers.end (),
	                                     [] (const EventEntry& e) { return !e.alive; }),
	                     eventHandlers.end ());
	timers.erase (std::remove_if (timers.begin (), timers.end (),
	                              [] (const TimerEntry& t) { return !t.alive; }),
	              timers.end ());
}

void HostRunLoop::runOnce (int timeoutMs)
{
	const long long start = nowMs ();
	long long wait = timeoutMs;
	for (const TimerEntry& t : timers)
	{
		if (t.alive)
			wait = std::min (wait, std::max (0LL, t.dueMs - start));
	}

	std::vector<pollfd> fds;
	for (const EventEntry& e : eventHandlers)
	{
		if (e.alive)
			fds.push_back ({e.fd, POLLIN, 0});
	}
	if (!fds.empty () || wait > 0)
		poll (fds.empty () ? nullptr : fds.data (), fds.size (), static_cast<int> (wait));

	++dispatchDepth;
	for (const pollfd& p : fds)
	{
		if ((p.revents & (POLLIN | POLLHUP | POLLERR)) == 0)
			continue;
		// Index loop: a callback may append handlers.
		for (size_t i = 0; i < eventHandlers.size (); ++i)
		{
			if (eventHandlers[i].alive && eventHandlers[i].fd == p.fd)
			{
				IEventHandler* handler = eventHandlers[i].handler;
				++eventCalls;
				handler->onFDIsSet (p.fd);
			}
		}
	}
	const long long now = nowMs ();
	const size_t timersBefore = timers.size ();
	for (size_t i = 0; i < timersBefore && i < timers.size (); ++i)
	{
		if (!timers[i].alive || timers[i].dueMs > now)
			continue;
		timers[i].dueMs = now + static_cast<long long> (timers[i].interval);
		ITimerHandler* handler = timers[i].handler;
		++timerCalls;
		handler->onTimer ();
	}
	--dispatchDepth;
	sweep ();
}

void HostRunLoop::runFor (int milliseconds)
{
	const long long end = nowMs () + milliseconds;
	for (long long now = nowMs (); now < end; now = nowMs ())
		runOnce (static_cast<int> (end - now));
}

tresult PLUGIN_API HostRunLoop::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IRunLoop)
	QUERY_INTERFACE (iid, obj, IRunLoop::iid, IRunLoop)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace HostKit
} // namespace Tarnwick

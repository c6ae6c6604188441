#include "IdlePlugFrame.h"

#include <algorithm>
#include <poll.h>

namespace Steinberg {
namespace Vst {

tresult PLUGIN_API IdlePlugFrame::resizeView (IPlugView* view, ViewRect* newSize)
{
	if (view == nullptr || newSize == nullptr)
		return kInvalidArgument;
	if (!hostResize (newSize->getWidth (), newSize->getHeight ()))
		return kResultFalse;
	return view->onSize (newSize);
}

tresult PLUGIN_API IdlePlugFrame::registerEventHandler (Linux::IEventHandler* handler,
                                                        Linux::FileDescriptor fd)
{
	if (handler == nullptr || fd < 0)
		return kInvalidArgument;
	for (const auto& entry : eventEntries)
		if (entry.alive && entry.handler == handler && entry.fd == fd)
			return kInvalidArgument;
	eventEntries.push_back ({handler, fd, true});
	return kResultTrue;
}

tresult PLUGIN_API IdlePlugFrame::unregisterEventHandler (Linux::IEventHandler* handler)
{
	if (handler == nullptr)
		return kInvalidArgument;
	bool found = false;
	for (auto& entry : eventEntries)
	{
		if (entry.alive && entry.handler == handler)
		{
			entry.alive = false;
			found = true;
		}
	}
	if (pumpDepth == 0)
		compact ();
	return found ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IdlePlugFrame::registerTimer (Linux::ITimerHandler* handler,
                                                 Linux::TimerInterval milliseconds)
{
	if (handler == nullptr)
		return kInvalidArgument;
	for (const auto& entry : timerEntries)
		if (entry.alive && entry.handler == handler)
			return kInvalidArgument;
	const auto interval = std::chrono::milliseconds (std::max<Linux::TimerInterval> (milliseconds, 1));
	timerEntries.push_back ({handler, interval, Clock::now () + interval, true});
	return kResultTrue;
}

tresult PLUGIN_API IdlePlugFrame::unregisterTimer (Linux::ITimerHandler* handler)
{
	if (handler == nullptr)
		return kInvalidArgument;
	bool found = false;
	for (auto& entry : timerEntries)
	{
		if (entry.alive && entry.handler == handler)
		{
			entry.alive = false;
			found = true;
		}
	}
	if (pumpDepth == 0)
		compact ();
	return found ? kResultTrue : kResultFalse;
}

void IdlePlugFrame::idle ()
{
	if (pumpDepth > 0)
		return; // a handler that makes the host idle again must not recurse
	++pumpDepth;
	runEventHandlers ();
	runTimers ();
	--pumpDepth;
	compact ();
}

void IdlePlugFrame::runEventHandlers ()
{
	// Indices, not iterators: a handler may register another one meanwhile.
	const size_t count = eventEntries.size ();
	for (size_t i = 0; i < count; ++i)
	{
		if (!eventEntries[i].alive)
			continue;
		pollfd request {eventEntries[i].fd, POLLIN, 0};
		if (::poll (&request, 1, 0) <= 0 || (request.revents & (POLLIN | POLLHUP | POLLERR)) == 0)
			continue;
		IPtr<Linux::IEventHandler> handler = eventEntries[i].handler;
		handler->onFDIsSet (eventEntries[i].fd);
	}
}

void IdlePlugFrame::runTimers ()
{
	const auto now = Clock::now ();
	const size_t count = timerEntries.size ();
	for (size_t i = 0; i < count; ++i)
	{
		if (!timerEntries[i].alive || timerEntries[i].due > now)
			continue;
		timerEntries[i].due = now + timerEntries[i].interval;
		IPtr<Linux::ITimerHandler> handler = timerEntries[i].handler;
		handler->onTimer ();
	}
}

void IdlePlugFrame::compact ()
{
	eventEntries.erase (std::remove_if (eventEntries.begin (), eventEntries.end (),
	                                    [] (const EventEntry& e) { return !e.alive; }),
	                    eventEntries.end ());
	timerEntries.erase (std::remove_if (timerEntries.begin (), timerEntries.end (),
	                                    [] (const TimerEntry& e) { return !e.alive; }),
	                    timerEntries.end ());
}

void IdlePlugFrame::dropAllHandlers ()
{
	for (auto& entry : eventEntries)
		entry.alive = false;
	for (auto& entry : timerEntries)
		entry.alive = false;
	if (pumpDepth == 0)
		compact ();
}

int32 IdlePlugFrame::eventHandlerCount () const
{
	return static_cast<int32> (std::count_if (eventEntries.begin (), eventEntries.end (),
	                                          [] (const EventEntry& e) { return e.alive; }));
}

int32 IdlePlugFrame::timerCount () const
{
	return static_cast<int32> (std::count_if (timerEntries.begin (), timerEntries.end (),
	                                          [] (const TimerEntry& e) { return e.alive; }));
}

tresult PLUGIN_API IdlePlugFrame::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPlugFrame)
	QUERY_INTERFACE (iid, obj, IPlugFrame::iid, IPlugFrame)
	QUERY_INTERFACE (iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API IdlePlugFrame::addRef ()
{
	return ++refCount;
}

uint32 PLUGIN_API IdlePlugFrame::release ()
{
	const uint32 left = --refCount;
	if (left == 0)
		delete this;
	return left;
}

} // namespace Vst
} // namespace Steinberg

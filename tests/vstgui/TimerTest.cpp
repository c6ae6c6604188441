#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

// Waits until the timers' clock has moved on by at least ms.
void letTimePass (uint64_t ms)
{
	uint64_t start = CVSTGUITimer::now ();
	while (CVSTGUITimer::now () < start + ms)
	{
	}
}

struct Target : CBaseObject
{
	CMessageResult notify (CBaseObject*, IdStringPtr message) override
	{
		if (message == CVSTGUITimer::kMsgTimer)
			++ticks;
		return kMessageNotified;
	}
	int ticks {0};
};

} // namespace

TEST (CVSTGUITimer, FiresOnlyWhenDueAndRunning)
{
	Target target;
	auto timer = owned (new CVSTGUITimer (&target, 5, false));
	letTimePass (6);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 0); // not started
	timer->start ();
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 0); // not due yet
	letTimePass (6);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 1);
	EXPECT_EQ (target.ticks, 1);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 0); // once per period
	timer->stop ();
	letTimePass (6);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 0);
	EXPECT_EQ (target.ticks, 1);
}

TEST (CVSTGUITimer, ACallbackMayStopOrDropTimers)
{
	CVSTGUITimer* other = nullptr;
	int firstTicks = 0;
	int otherTicks = 0;
	auto first = owned (new CVSTGUITimer (
	    [&] (CVSTGUITimer* t) {
		    ++firstTicks;
		    t->stop ();
		    if (other)
		    {
			    other->forget (); // the other timer goes away in the middle of the round
			    other = nullptr;
		    }
	    },
	    1, true));
	other = new CVSTGUITimer ([&] (CVSTGUITimer*) { ++otherTicks; }, 1, true);
	letTimePass (2);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (firstTicks, 1);
	EXPECT_EQ (otherTicks, 0);
	EXPECT_FALSE (first->isRunning ());
	letTimePass (2);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 0);
}

TEST (CVSTGUITimer, ATimerMayReleaseItselfFromItsCallback)
{
	int ticks = 0;
	auto timer = new CVSTGUITimer (
	    [&] (CVSTGUITimer* t) {
		    ++ticks;
		    t->forget ();
	    },
	    1, true);
	(void)timer;
	letTimePass (2);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 1);
	letTimePass (2);
	EXPECT_EQ (CVSTGUITimer::fireDueTimers (), 0);
	EXPECT_EQ (ticks, 1);
}

// The run loop that the VST 2 wrapper lends to an editor and drives from the
// host's idle calls: handlers run when due, and registering or unregistering
// from inside a handler is safe.
#include "Vst2PlugFrame.h"
#include "Vst2TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <unistd.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vst2Test;

namespace {

class CountingHandler : public Linux::IEventHandler, public Linux::ITimerHandler
{
public:
	int fdCalls {0};
	int timerCalls {0};
	int refs {1};
	std::function<void ()> onCall;

	void PLUGIN_API onFDIsSet (Linux::FileDescriptor) override
	{
		++fdCalls;
		if (onCall)
			onCall ();
	}
	void PLUGIN_API onTimer () override
	{
		++timerCalls;
		if (onCall)
			onCall ();
	}
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return static_cast<uint32> (++refs); }
	uint32 PLUGIN_API release () override { return static_cast<uint32> (--refs); }
};

struct FrameFixture : ::testing::Test
{
	Vst2TestHost host;
	Vst2PlugFrame* frame {new Vst2PlugFrame (nullptr, Abi::hostCallbackOf (host.callback ()))};
	~FrameFixture () override { frame->release (); }

	void idleFor (int ms)
	{
		std::this_thread::sleep_for (std::chrono::milliseconds (ms));
		frame->idle ();
	}
};

TEST_F (FrameFixture, OffersTheRunLoopInterface)
{
	Linux::IRunLoop* loop = nullptr;
	ASSERT_EQ (frame->queryInterface (Linux::IRunLoop::iid, reinterpret_cast<void**> (&loop)), kResultOk);
	ASSERT_NE (loop, nullptr);
	loop->release ();
	IPlugFrame* plugFrame = nullptr;
	ASSERT_EQ (frame->queryInterface (IPlugFrame::iid, reinterpret_cast<void**> (&plugFrame)), kResultOk);
	plugFrame->release ();
	void* other = &other;
	EXPECT_EQ (frame->queryInterface (IPlugView::iid, &other), kNoInterface);
	EXPECT_EQ (other, nullptr);
}

TEST_F (FrameFixture, EventHandlerRunsOnlyWhenItsDescriptorIsReadable)
{
	int fds[2];
	ASSERT_EQ (pipe (fds), 0);
	CountingHandler handler;
	ASSERT_EQ (frame->registerEventHandler (&handler, fds[0]), kResultTrue);
	EXPECT_EQ (frame->registerEventHandler (&handler, fds[0]), kInvalidArgument);
	EXPECT_EQ (frame->registerEventHandler (nullptr, fds[0]), kInvalidArgument);
	EXPECT_EQ (frame->registerEventHandler (&handler, -1), kInvalidArgument);
	frame->idle ();
	EXPECT_EQ (handler.fdCalls, 0);
	ASSERT_EQ (write (fds[1], "x", 1), 1);
	frame->idle ();
	EXPECT_EQ (handler.fdCalls, 1);
	EXPECT_EQ (frame->unregisterEventHandler (&handler), kResultTrue);
	EXPECT_EQ (frame->unregisterEventHandler (&handler), kResultFalse);
	frame->idle ();
	EXPECT_EQ (handler.fdCalls, 1);
	EXPECT_EQ (handler.refs, 1); // the frame gave its reference back
	close (fds[0]);
	close (fds[1]);
}

TEST_F (FrameFixture, TimerFiresWhenDueAndStopsWhenUnregistered)
{
	CountingHandler handler;
	ASSERT_EQ (frame->registerTimer (&handler, 5), kResultTrue);
	EXPECT_EQ (frame->registerTimer (&handler, 5), kInvalidArgument);
	frame->idle ();
	EXPECT_EQ (handler.timerCalls, 0); // not due yet
	idleFor (8);
	EXPECT_EQ (handler.timerCalls, 1);
	frame->idle ();
	EXPECT_EQ (handler.timerCalls, 1); // next one 5 ms later
	EXPECT_EQ (frame->unregisterTimer (&handler), kResultTrue);
	idleFor (8);
	EXPECT_EQ (handler.timerCalls, 1);
	EXPECT_EQ (frame->timerCount (), 0);
}

TEST_F (FrameFixture, HandlersMayUnregisterThemselvesAndOthersWhileRunning)
{
	CountingHandler first, second, late;
	frame->registerTimer (&first, 1);
	frame->registerTimer (&second, 1);
	first.onCall = [&] {
		frame->unregisterTimer (&first);
		frame->unregisterTimer (&second);
		frame->registerTimer (&late, 1);
	};
	idleFor (3);
	EXPECT_EQ (first.timerCalls, 1);
	EXPECT_EQ (second.timerCalls, 0); // removed before its turn
	EXPECT_EQ (late.timerCalls, 0);   // added during the round, runs from the next one
	EXPECT_EQ (frame->timerCount (), 1);
	idleFor (3);
	EXPECT_EQ (late.timerCalls, 1);
	EXPECT_EQ (first.timerCalls, 1);
	frame->dropAllHandlers ();
	EXPECT_EQ (frame->timerCount (), 0);
	EXPECT_EQ (first.refs, 1);
	EXPECT_EQ (second.refs, 1);
	EXPECT_EQ (late.refs, 1);
}

TEST_F (FrameFixture, IdleFromInsideAHandlerDoesNotRecurse)
{
	CountingHandler handler;
	handler.onCall = [&] { frame->idle (); };
	frame->registerTimer (&handler, 1);
	idleFor (3);
	EXPECT_EQ (handler.timerCalls, 1);
	frame->unregisterTimer (&handler);
}

TEST_F (FrameFixture, ResizeAsksTheHostFirst)
{
	ViewRect size (0, 0, 300, 200);
	EXPECT_EQ (frame->resizeView (nullptr, &size), kInvalidArgument);
	host.sizeWindowAnswer = 0;
	class SizedView : public IPlugView
	{
	public:
		int onSizeCalls {0};
		tresult PLUGIN_API isPlatformTypeSupported (FIDString) override { return kResultTrue; }
		tresult PLUGIN_API attached (void*, FIDString) override { return kResultOk; }
		tresult PLUGIN_API removed () override { return kResultOk; }
		tresult PLUGIN_API onWheel (float) override { return kResultFalse; }
		tresult PLUGIN_API onKeyDown (char16, int16, int16) override { return kResultFalse; }
		tresult PLUGIN_API onKeyUp (char16, int16, int16) override { return kResultFalse; }
		tresult PLUGIN_API getSize (ViewRect*) override { return kResultOk; }
		tresult PLUGIN_API onSize (ViewRect*) override
		{
			++onSizeCalls;
			return kResultOk;
		}
		tresult PLUGIN_API onFocus (TBool) override { return kResultOk; }
		tresult PLUGIN_API setFrame (IPlugFrame*) override { return kResultOk; }
		tresult PLUGIN_API canResize () override { return kResultTrue; }
		tresult PLUGIN_API checkSizeConstraint (ViewRect*) override { return kResultOk; }
		tresult PLUGIN_API queryInterface (const TUID, void** obj) override
		{
			*obj = nullptr;
			return kNoInterface;
		}
		uint32 PLUGIN_API addRef () override { return 1; }
		uint32 PLUGIN_API release () override { return 1; }
	} view;
	EXPECT_EQ (frame->resizeView (&view, &size), kResultFalse);
	EXPECT_EQ (view.onSizeCalls, 0);
	host.sizeWindowAnswer = 1;
	EXPECT_EQ (frame->resizeView (&view, &size), kResultOk);
	EXPECT_EQ (view.onSizeCalls, 1);
	const auto calls = host.callsOf (Abi::kHostSizeWindow);
	ASSERT_EQ (calls.size (), 2u);
	EXPECT_EQ (calls[1].index, 300);
	EXPECT_EQ (calls[1].value, 200);
}

} // namespace

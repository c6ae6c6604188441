// The module's editor under a careless VST 3 host, in a real X server: views opened and closed
// in a hurry, twice, never, around terminate, while the audio thread runs automation, with
// bogus parent windows. Afterwards no handler is left with the host's run loop or with Xlib,
// and the instance renders bit for bit what a fresh one renders.
#include "EditorStressRig.h"

#include <atomic>
#include <cmath>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;
using StressEditor::XErrorHandlerCheck;
using X11Test::TestWindow;

namespace {

constexpr int kWidth = 485, kHeight = 270;
// Parameter ids as saved in projects: the joystick's X axis and the program list.
constexpr ParamID kJoystickX = 32773;
constexpr ParamID kPresetsId = 0x70727374;

void* asParent (unsigned long window)
{
	return reinterpret_cast<void*> (static_cast<uintptr_t> (window));
}

class HostileEditorVst3 : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!X11Test::haveDisplay ())
			GTEST_SKIP () << "no DISPLAY: run under xvfb-run";
		StressEditor::keepXServerUp ();
		// Keeps the module mapped past unloads (and gives the known chunk).
		ASSERT_NE (StressVst2::moduleEntry (), nullptr);
		ASSERT_TRUE (module.load (TARNWICK_BUNDLE_PATH)) << module.error ();
		errors = std::make_unique<XErrorHandlerCheck> ();
		window = std::make_unique<TestWindow> (kWidth, kHeight);
		ASSERT_TRUE (window->isOpen ());
		instance = std::make_unique<PluginInstance> (module);
		ASSERT_TRUE (instance->create ()) << instance->error ();
		if (!instance->createView ())
			GTEST_SKIP () << "module built without its editor";
	}

	void TearDown () override
	{
		if (errors)
		{
			EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
			EXPECT_EQ (runLoop.timerCount (), 0u);
			EXPECT_TRUE (errors->untouched ()) << "an X error handler was left behind";
		}
		instance.reset ();
		window.reset ();
		errors.reset ();
		module.unload ();
	}

	// A view attached to our window, with the frame and its run loop; null when refused.
	IPtr<IPlugView> open (PluginInstance& of)
	{
		IPtr<IPlugView> view = of.createView ();
		if (!view)
			return nullptr;
		view->setFrame (&frame);
		if (view->attached (asParent (window->id ()), kPlatformTypeX11EmbedWindowID) != kResultTrue)
		{
			view->setFrame (nullptr);
			return nullptr;
		}
		return view;
	}
	void close (IPtr<IPlugView>& view)
	{
		EXPECT_EQ (view->removed (), kResultOk);
		view->setFrame (nullptr);
		view = nullptr;
	}
	// The editor's child window is gone and its handlers are unregistered.
	void expectClosed ()
	{
		XSync (window->display (), False);
		EXPECT_EQ (window->pluginChild (), 0u);
		EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
		EXPECT_EQ (runLoop.timerCount (), 0u);
	}

	PluginModule module;
	std::unique_ptr<XErrorHandlerCheck> errors;
	std::unique_ptr<TestWindow> window;
	std::unique_ptr<PluginInstance> instance;
	HostRunLoop runLoop;
	HostPlugFrame frame {&runLoop};
};

TEST_F (HostileEditorVst3, OpenedAndClosedFiftyTimesInAHurry)
{
	for (int i = 0; i < 50; ++i)
	{
		IPtr<IPlugView> view = open (*instance);
		ASSERT_TRUE (view) << i;
		EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
		if (i % 2 == 0)
			runLoop.runOnce (0);
		close (view);
		ASSERT_NO_FATAL_FAILURE (expectClosed ()) << i;
	}
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, ClosedWithoutOpeningAndTwice)
{
	// What removed answers then is the SDK view's business; it must change nothing.
	IPtr<IPlugView> never = instance->createView ();
	ASSERT_TRUE (never);
	never->removed ();
	never->setFrame (&frame);
	never->removed ();
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	// The same view still opens and closes afterwards.
	ASSERT_EQ (never->attached (asParent (window->id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	window->pump (&runLoop, 30);
	EXPECT_NE (window->pluginChild (), 0u);
	close (never);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());

	IPtr<IPlugView> view = open (*instance);
	ASSERT_TRUE (view);
	window->pump (&runLoop, 30);
	EXPECT_EQ (view->removed (), kResultOk);
	view->removed ();
	window->pump (&runLoop, 30);
	view->setFrame (nullptr);
	view = nullptr;
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, AttachedTwiceWithoutRemoving)
{
	IPtr<IPlugView> view = open (*instance);
	ASSERT_TRUE (view);
	window->pump (&runLoop, 30);
	// Once is all a view can be attached: the same parent, or another one.
	EXPECT_NE (view->attached (asParent (window->id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	TestWindow other (kWidth, kHeight);
	EXPECT_NE (view->attached (asParent (other.id ()), kPlatformTypeX11EmbedWindowID), kResultTrue);
	XSync (other.display (), False);
	EXPECT_EQ (other.pluginChild (), 0u);
	EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
	window->pump (&runLoop, 30);
	close (view);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());

	// Two views of one instance open at once (hosts that open a second window).
	IPtr<IPlugView> first = open (*instance);
	ASSERT_TRUE (first);
	IPtr<IPlugView> second = instance->createView ();
	ASSERT_TRUE (second);
	second->setFrame (&frame);
	const bool secondAttached =
	    second->attached (asParent (other.id ()), kPlatformTypeX11EmbedWindowID) == kResultTrue;
	window->pump (&runLoop, 30);
	close (first);
	window->pump (&runLoop, 30);
	if (secondAttached)
	{
		EXPECT_EQ (second->removed (), kResultOk);
	}
	second->setFrame (nullptr);
	second = nullptr;
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, AttachedAndRemovedWhileTheAudioThreadAutomates)
{
	ASSERT_TRUE (instance->setup (StressVst2::kRate, StressVst2::kBlock, 2)) << instance->error ();
	std::atomic<bool> stop {false};
	std::atomic<int> blocks {0};
	std::atomic<bool> finite {true};
	std::thread audio ([&] {
		HostParameterChanges changes (16, 4);
		std::vector<float> input[2], output[2];
		for (int c = 0; c < 2; ++c)
		{
			input[c].resize (StressVst2::kBlock);
			output[c].resize (StressVst2::kBlock);
		}
		const float* in[2] = {input[0].data (), input[1].data ()};
		float* outs[2] = {output[0].data (), output[1].data ()};
		StressVst2::Noise noise (70);
		for (int b = 0; !stop.load () || b < 50; ++b)
		{
			changes.clear ();
			for (ParamID id = 0; id < 10; ++id)
			{
				const double phase = (b + 3 * static_cast<int> (id)) % 64 / 63.;
				changes.addChange (id, 0, phase);
				changes.addChange (id, StressVst2::kBlock / 2, 1. - phase);
			}
			changes.addChange (kJoystickX, 100, (b % 10) / 9.);
			noise.fill (input[0].data (), StressVst2::kBlock);
			noise.fill (input[1].data (), StressVst2::kBlock);
			instance->process (in, outs, StressVst2::kBlock, &changes);
			for (int c = 0; c < 2; ++c)
				for (float x : output[c])
					if (!std::isfinite (x))
						finite.store (false);
			blocks.fetch_add (1);
		}
	});
	for (int round = 0; round < 20; ++round)
	{
		IPtr<IPlugView> view = open (*instance);
		EXPECT_TRUE (view) << round;
		window->pump (&runLoop, round % 4 == 0 ? 40 : 5);
		if (view)
			close (view);
	}
	stop.store (true);
	audio.join ();
	EXPECT_TRUE (finite.load ());
	EXPECT_GE (blocks.load (), 50);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, OpenAcrossStateProgramDeactivationAndTerminate)
{
	ASSERT_TRUE (instance->setup (StressVst2::kRate, StressVst2::kBlock, 2));
	IPtr<IPlugView> view = open (*instance);
	ASSERT_TRUE (view);
	window->pump (&runLoop, 30);
	ASSERT_EQ (instance->restoreState (StressVst2::componentStateOf (StressVst2::knownChunk ())), kResultOk);
	window->pump (&runLoop, 30);
	ASSERT_EQ (instance->getController ()->setParamNormalized (kPresetsId, 0.5), kResultOk);
	window->pump (&runLoop, 30);
	instance->getComponent ()->setActive (false);
	window->pump (&runLoop, 30);
	// Terminated under the open editor, which keeps being driven.
	EXPECT_EQ (instance->getComponent ()->terminate (), kResultOk);
	window->pump (&runLoop, 60);
	close (view);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	// Back in service after a new initialize.
	ASSERT_EQ (instance->getComponent ()->initialize (nullptr), kResultOk);
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, HostChangesAtAHighRateWhileTheEditorIdles)
{
	IPtr<IPlugView> view = open (*instance);
	ASSERT_TRUE (view);
	window->pump (&runLoop, 30);
	std::vector<ParamID> ids;
	for (const auto& p : instance->parameters ())
		ids.push_back (p.id);
	ASSERT_GT (ids.size (), 10u);
	instance->handler ().clear ();
	IEditController* controller = instance->getController ();
	for (int i = 0; i < 4000; ++i)
	{
		const ParamID id = ids[static_cast<size_t> (i) % ids.size ()];
		controller->setParamNormalized (id, (i * 37 % 101) / 100.);
		if (i % 20 == 0)
			runLoop.runOnce (0);
	}
	window->pump (&runLoop, 40);
	// Changes from the host are not edits of the user's.
	EXPECT_EQ (instance->handler ().count (HandlerCall::kPerformEdit), 0u);
	EXPECT_EQ (instance->handler ().count (HandlerCall::kBeginEdit), 0u);
	close (view);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, ViewOutlivesTheTerminatedComponent)
{
	// Removed first, released after the instance is gone.
	IPtr<IPlugView> removedFirst = open (*instance);
	ASSERT_TRUE (removedFirst);
	window->pump (&runLoop, 30);
	close (removedFirst);
	removedFirst = instance->createView ();
	instance->destroy ();
	removedFirst = nullptr;
	ASSERT_NO_FATAL_FAILURE (expectClosed ());

	// Still attached when the instance goes; removed and released afterwards.
	PluginInstance second (module);
	ASSERT_TRUE (second.create ()) << second.error ();
	IPtr<IPlugView> attached = open (second);
	ASSERT_TRUE (attached);
	window->pump (&runLoop, 30);
	second.destroy ();
	window->pump (&runLoop, 30);
	close (attached);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());

	PluginInstance third (module);
	ASSERT_TRUE (third.create ()) << third.error ();
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, third));
}

TEST_F (HostileEditorVst3, ViewReleasedWithoutBeingRemoved)
{
	for (int round = 0; round < 3; ++round)
	{
		IPtr<IPlugView> view = open (*instance);
		ASSERT_TRUE (view);
		window->pump (&runLoop, 40);
		// No removed, no setFrame(nullptr): the host just lets go.
		view = nullptr;
		window->pump (&runLoop, 40);
		ASSERT_NO_FATAL_FAILURE (expectClosed ()) << round;
	}
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

TEST_F (HostileEditorVst3, ParentWindowDestroyedBeforeTheViewIsRemoved)
{
	// Hosts often tear their window down first and tell the plug-in afterwards.
	Display* display = window->display ();
	const Window parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, kWidth, kHeight, 0, 0, 0);
	XMapWindow (display, parent);
	XSync (display, False);
	IPtr<IPlugView> view = instance->createView ();
	ASSERT_TRUE (view);
	view->setFrame (&frame);
	ASSERT_EQ (view->attached (asParent (parent), kPlatformTypeX11EmbedWindowID), kResultTrue);
	window->pump (&runLoop, 40);
	XDestroyWindow (display, parent);
	XSync (display, False);
	// The run loop goes on meanwhile, and the host keeps changing parameters.
	instance->getController ()->setParamNormalized (0, 0.9);
	window->pump (&runLoop, 60);
	close (view);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	IPtr<IPlugView> again = open (*instance);
	ASSERT_TRUE (again);
	window->pump (&runLoop, 30);
	close (again);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

// A host that removes and releases the view from inside the edit calls the view's own mouse
// handling makes.
class RemovingHandler : public ComponentHandlerRecorder
{
public:
	tresult PLUGIN_API beginEdit (ParamID id) override
	{
		ComponentHandlerRecorder::beginEdit (id);
		return removeOn == HandlerCall::kBeginEdit ? removeView () : kResultOk;
	}
	tresult PLUGIN_API performEdit (ParamID id, ParamValue value) override
	{
		ComponentHandlerRecorder::performEdit (id, value);
		return removeOn == HandlerCall::kPerformEdit ? removeView () : kResultOk;
	}
	tresult PLUGIN_API endEdit (ParamID id) override
	{
		ComponentHandlerRecorder::endEdit (id);
		return removeOn == HandlerCall::kEndEdit ? removeView () : kResultOk;
	}
	tresult removeView ()
	{
		if (view)
		{
			removed = view->removed ();
			view->setFrame (nullptr);
			view = nullptr;
		}
		return kResultOk;
	}

	IPtr<IPlugView> view;
	HandlerCall::Kind removeOn {HandlerCall::kBeginEdit};
	tresult removed {kResultFalse};
};

TEST_F (HostileEditorVst3, HostRemovesTheViewInsideAnEditCall)
{
	RemovingHandler handler;
	IEditController* controller = instance->getController ();
	ASSERT_EQ (controller->setComponentHandler (&handler), kResultOk);
	for (HandlerCall::Kind removeOn : {HandlerCall::kBeginEdit, HandlerCall::kPerformEdit, HandlerCall::kEndEdit})
	{
		SCOPED_TRACE (removeOn);
		handler.view = open (*instance);
		ASSERT_TRUE (handler.view);
		window->pump (&runLoop, 60);
		handler.removeOn = removeOn;
		handler.removed = kResultFalse;
		handler.clear ();
		// A click on the delay-state switch.
		window->click (48, 24, &runLoop);
		EXPECT_GE (handler.calls ().size (), 1u);
		EXPECT_EQ (handler.removed, kResultOk);
		EXPECT_FALSE (handler.view);
		window->pump (&runLoop, 30);
		XSync (window->display (), False);
		EXPECT_EQ (window->pluginChild (), 0u);

		// A drag on the wet/dry knob (in the middle of its range).
		controller->setParamNormalized (6, 0.5);
		handler.view = open (*instance);
		ASSERT_TRUE (handler.view);
		window->pump (&runLoop, 60);
		handler.removed = kResultFalse;
		window->drag (322, 233, 290, 185, 8, &runLoop);
		EXPECT_EQ (handler.removed, kResultOk);
		EXPECT_FALSE (handler.view);
		window->pump (&runLoop, 30);
		XSync (window->display (), False);
		EXPECT_EQ (window->pluginChild (), 0u);
	}
	// Removed inside the loop's own callback, the editor leaves its (inert) handlers registered
	// until a call from outside the loop: the next opening takes them away.
	IPtr<IPlugView> view = open (*instance);
	ASSERT_TRUE (view);
	window->pump (&runLoop, 30);
	EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
	close (view);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());

	// And so does terminate, after which a host may unload the module.
	handler.view = open (*instance);
	ASSERT_TRUE (handler.view);
	window->pump (&runLoop, 60);
	handler.removeOn = HandlerCall::kBeginEdit;
	window->click (48, 24, &runLoop);
	ASSERT_FALSE (handler.view);
	EXPECT_EQ (instance->getComponent ()->terminate (), kResultOk);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_EQ (instance->getComponent ()->initialize (nullptr), kResultOk);
	controller->setComponentHandler (&instance->handler ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

int hostErrorHandler (Display*, XErrorEvent*)
{
	return 0;
}

TEST_F (HostileEditorVst3, BogusParentWindowsAreRefused)
{
	// A host that puts its own error handler in place while an editor is open keeps it; the
	// editor's openings below then happen with Xlib's fatal default in place again.
	IPtr<IPlugView> first = open (*instance);
	ASSERT_TRUE (first);
	window->pump (&runLoop, 20);
	XSetErrorHandler (&hostErrorHandler);
	close (first);
	EXPECT_EQ (XSetErrorHandler (nullptr), &hostErrorHandler);

	const unsigned long bogus[] = {StressEditor::kNeverMadeWindow,
	                               StressEditor::destroyedWindow (window->display ()), 0ul};
	for (unsigned long parent : bogus)
	{
		IPtr<IPlugView> view = instance->createView ();
		ASSERT_TRUE (view);
		view->setFrame (&frame);
		EXPECT_NE (view->attached (asParent (parent), kPlatformTypeX11EmbedWindowID), kResultTrue) << parent;
		EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
		view->removed ();
		view->setFrame (nullptr);
		ASSERT_NO_FATAL_FAILURE (expectClosed ());
	}
	// A real window with a platform type that is not X11's, or none.
	{
		IPtr<IPlugView> view = instance->createView ();
		ASSERT_TRUE (view);
		view->setFrame (&frame);
		EXPECT_NE (view->attached (asParent (window->id ()), kPlatformTypeHWND), kResultTrue);
		EXPECT_NE (view->attached (asParent (window->id ()), nullptr), kResultTrue);
		EXPECT_NE (view->isPlatformTypeSupported (nullptr), kResultTrue);
		view->setFrame (nullptr);
		ASSERT_NO_FATAL_FAILURE (expectClosed ());
	}
	// A real parent afterwards works.
	IPtr<IPlugView> view = open (*instance);
	ASSERT_TRUE (view);
	window->pump (&runLoop, 30);
	EXPECT_NE (window->pluginChild (), 0u);
	close (view);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (StressEditor::expectVst3Recovers (module, *instance));
}

} // namespace

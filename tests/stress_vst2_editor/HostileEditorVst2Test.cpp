// The module's editor under a careless VST 2 host (effEditOpen, effEditClose, effEditIdle), in a
// real X server: opened and closed in a hurry, twice, never, around chunks, programs, suspend
// and close, while the audio thread automates, with bogus parent windows. Afterwards the
// editor's window is gone, Xlib's error handler is the host's again, and the effect renders bit
// for bit what a fresh one renders.
#include "EditorStressRig.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

using namespace StressVst2;
using StressEditor::XErrorHandlerCheck;
using Vst2Test::Vst2TestHost;
using X11Test::TestWindow;

namespace {

constexpr int kWidth = 485, kHeight = 270;

void* asParent (unsigned long window)
{
	return reinterpret_cast<void*> (static_cast<uintptr_t> (window));
}

class HostileEditorVst2 : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!X11Test::haveDisplay ())
			GTEST_SKIP () << "no DISPLAY: run under xvfb-run";
		StressEditor::keepXServerUp ();
		ASSERT_NE (moduleEntry (), nullptr);
		ASSERT_FALSE (knownChunk ().empty ());
		errors = std::make_unique<XErrorHandlerCheck> ();
		window = std::make_unique<TestWindow> (kWidth, kHeight);
		ASSERT_TRUE (window->isOpen ());
		effect = std::make_unique<Vst2Effect> (host.callback ());
		ASSERT_TRUE (*effect);
		if (((*effect)->flags & Abi::kFlagHasEditor) == 0)
			GTEST_SKIP () << "module built without its editor";
	}

	void TearDown () override
	{
		if (effect)
			effect->call (Abi::kEffEditClose);
		effect.reset ();
		if (errors)
		{
			EXPECT_TRUE (errors->untouched ()) << "an X error handler was left behind";
		}
		window.reset ();
		errors.reset ();
	}

	intptr_t open (Vst2Effect& of, unsigned long parent) { return of.call (Abi::kEffEditOpen, 0, 0, asParent (parent)); }
	intptr_t open () { return open (*effect, window->id ()); }

	// The host's idle calls for about `ms` milliseconds.
	void idle (Vst2Effect& of, int ms)
	{
		const auto end = std::chrono::steady_clock::now () + std::chrono::milliseconds (ms);
		do
		{
			of.call (Abi::kEffEditIdle);
			window->pump (nullptr, 5);
		} while (std::chrono::steady_clock::now () < end);
	}
	void idle (int ms) { idle (*effect, ms); }

	void expectClosed ()
	{
		XSync (window->display (), False);
		EXPECT_EQ (window->pluginChild (), 0u);
		EXPECT_EQ (effect->call (Abi::kEffEditIdle), 0); // nothing open to idle
	}

	Vst2TestHost host;
	std::unique_ptr<XErrorHandlerCheck> errors;
	std::unique_ptr<TestWindow> window;
	std::unique_ptr<Vst2Effect> effect;
};

TEST_F (HostileEditorVst2, OpenedAndClosedFiftyTimesInAHurry)
{
	effect->prepare (kRate, kBlock);
	for (int i = 0; i < 50; ++i)
	{
		ASSERT_EQ (open (), 1) << i;
		if (i % 2 == 0)
		{
			EXPECT_EQ (effect->call (Abi::kEffEditIdle), 1);
		}
		ASSERT_EQ (effect->call (Abi::kEffEditClose), 1) << i;
		ASSERT_NO_FATAL_FAILURE (expectClosed ()) << i;
	}
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));
}

TEST_F (HostileEditorVst2, ClosedIdledAndMeasuredWithoutOpening)
{
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 0);
	EXPECT_EQ (effect->call (Abi::kEffEditIdle), 0);
	// The size is there before any opening.
	vst_rect* rect = nullptr;
	ASSERT_EQ (effect->call (Abi::kEffEditGetRect, 0, 0, &rect), 1);
	ASSERT_NE (rect, nullptr);
	EXPECT_EQ (rect->right - rect->left, kWidth);
	EXPECT_EQ (rect->bottom - rect->top, kHeight);
	EXPECT_EQ (effect->call (Abi::kEffEditGetRect, 0, 0, nullptr), 0);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());

	ASSERT_EQ (open (), 1);
	idle (30);
	EXPECT_NE (window->pluginChild (), 0u);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 1);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 0);
	idle (20);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));
}

TEST_F (HostileEditorVst2, OpenedTwiceWithoutClosing)
{
	ASSERT_EQ (open (), 1);
	idle (30);
	EXPECT_EQ (open (), 0);
	TestWindow other (kWidth, kHeight);
	EXPECT_EQ (open (*effect, other.id ()), 0);
	idle (30);
	XSync (other.display (), False);
	EXPECT_EQ (other.pluginChild (), 0u);
	EXPECT_NE (window->pluginChild (), 0u);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 1);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));
}

TEST_F (HostileEditorVst2, OpenedAndClosedWhileTheAudioThreadAutomates)
{
	// The recording host is not made for a second thread: a quiet one here.
	Vst2Effect threaded (quietHost ());
	ASSERT_TRUE (threaded);
	threaded.prepare (kRate, kBlock);
	std::atomic<bool> stop {false};
	std::atomic<int> blocks {0};
	std::atomic<bool> finite {true};
	std::thread audio ([&] {
		Noise noise (80);
		std::vector<float> out[2];
		for (int b = 0; !stop.load () || b < 50; ++b)
		{
			for (uint32_t index = 0; index < 10; ++index)
				threaded->set_parameter (threaded.get (), index, ((b + 7 * static_cast<int> (index)) % 32) / 31.f);
			threaded.process (noise, kBlock, out);
			if (!allFinite (out[0]) || !allFinite (out[1]))
				finite.store (false);
			blocks.fetch_add (1);
		}
	});
	for (int round = 0; round < 20; ++round)
	{
		EXPECT_EQ (open (threaded, window->id ()), 1) << round;
		idle (threaded, round % 4 == 0 ? 40 : 5);
		EXPECT_EQ (threaded.call (Abi::kEffEditClose), 1) << round;
	}
	stop.store (true);
	audio.join ();
	EXPECT_TRUE (finite.load ());
	EXPECT_GE (blocks.load (), 50);
	XSync (window->display (), False);
	EXPECT_EQ (window->pluginChild (), 0u);
	ASSERT_NO_FATAL_FAILURE (expectRecovers (threaded));
}

TEST_F (HostileEditorVst2, OpenAcrossChunkProgramSuspendAndClose)
{
	effect->prepare (kRate, kBlock);
	ASSERT_EQ (open (), 1);
	idle (30);
	std::vector<char> chunk = knownChunk ();
	EXPECT_EQ (effect->call (Abi::kEffSetChunk, 0, static_cast<intptr_t> (chunk.size ()), chunk.data ()), 1);
	idle (30);
	EXPECT_EQ (effect->call (Abi::kEffSetProgram, 0, 4), 1);
	idle (30);
	effect->call (Abi::kEffMainsChanged, 0, 0);
	idle (30);
	effect->call (Abi::kEffMainsChanged, 0, 1);
	idle (30);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 1);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));

	// Closed by the host with its editor still open.
	Vst2Effect closing (host.callback ());
	ASSERT_TRUE (closing);
	closing.prepare (kRate, kBlock);
	ASSERT_EQ (open (closing, window->id ()), 1);
	idle (closing, 30);
	closing.close ();
	XSync (window->display (), False);
	EXPECT_EQ (window->pluginChild (), 0u);
}

TEST_F (HostileEditorVst2, HostChangesAtAHighRateWhileTheEditorIdles)
{
	ASSERT_EQ (open (), 1);
	idle (30);
	host.calls.clear ();
	const auto count = static_cast<uint32_t> ((*effect)->num_params);
	ASSERT_GT (count, 0u);
	for (int i = 0; i < 4000; ++i)
	{
		(*effect)->set_parameter (effect->get (), static_cast<uint32_t> (i) % count, (i * 37 % 101) / 100.f);
		if (i % 20 == 0)
			effect->call (Abi::kEffEditIdle);
	}
	idle (40);
	// Changes from the host do not come back to it as edits.
	EXPECT_EQ (host.count (Abi::kHostAutomate), 0);
	EXPECT_EQ (host.count (Abi::kHostBeginEdit), 0);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 1);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));
}

TEST_F (HostileEditorVst2, ParentWindowDestroyedBeforeTheEditorIsClosed)
{
	// Hosts often tear their window down first and tell the plug-in afterwards.
	Display* display = window->display ();
	const Window parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, kWidth, kHeight, 0, 0, 0);
	XMapWindow (display, parent);
	XSync (display, False);
	ASSERT_EQ (open (*effect, parent), 1);
	idle (40);
	XDestroyWindow (display, parent);
	XSync (display, False);
	// Idle calls keep coming in the meantime, and the host keeps changing parameters.
	(*effect)->set_parameter (effect->get (), 0, 0.9f);
	idle (60);
	effect->call (Abi::kEffEditClose);
	EXPECT_EQ (effect->call (Abi::kEffEditIdle), 0);
	// And the editor opens again in a window that is there.
	ASSERT_EQ (open (), 1);
	idle (30);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 1);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));
}

// A host that closes the editor from inside the edit callbacks the editor's own mouse
// handling makes (the editor goes away under its event handler).
struct ClosingHost
{
	static intptr_t call (vst_effect*, int32_t opcode, int32_t, intptr_t, void*, float)
	{
		switch (opcode)
		{
			case Abi::kHostVersion: return 2400;
			case Abi::kHostBeginEdit:
			case Abi::kHostAutomate:
			case Abi::kHostEndEdit:
				++edits;
				if (vst_effect* effect = target; effect != nullptr && opcode == closeOn)
				{
					target = nullptr;
					closed = dispatch (effect, Abi::kEffEditClose);
				}
				return 0;
			default: return 0;
		}
	}
	static vst_host_callback callback ()
	{
		Abi::HostCallback real = &call;
		return reinterpret_cast<vst_host_callback> (reinterpret_cast<void (*) ()> (real));
	}
	static vst_effect* target;
	static int32_t closeOn;
	static int edits;
	static intptr_t closed;
};
vst_effect* ClosingHost::target = nullptr;
int32_t ClosingHost::closeOn = 0;
int ClosingHost::edits = 0;
intptr_t ClosingHost::closed = 0;

TEST_F (HostileEditorVst2, HostClosesTheEditorInsideAnEditCallback)
{
	Vst2Effect closing (ClosingHost::callback ());
	ASSERT_TRUE (closing);
	closing.prepare (kRate, kBlock);
	for (int32_t closeOn : {Abi::kHostBeginEdit, Abi::kHostAutomate, Abi::kHostEndEdit})
	{
		SCOPED_TRACE (closeOn);
		ASSERT_EQ (open (closing, window->id ()), 1);
		idle (closing, 60);
		ClosingHost::target = closing.get ();
		ClosingHost::closeOn = closeOn;
		ClosingHost::edits = 0;
		ClosingHost::closed = 0;
		// A click on the delay-state switch: its edits reach the host, which closes the editor
		// in one of them.
		window->moveTo (48, 24);
		idle (closing, 30);
		window->press ();
		idle (closing, 30);
		window->release ();
		idle (closing, 60);
		ClosingHost::target = nullptr;
		EXPECT_GE (ClosingHost::edits, 1);
		EXPECT_EQ (ClosingHost::closed, 1);
		EXPECT_EQ (closing.call (Abi::kEffEditIdle), 0);
		XSync (window->display (), False);
		EXPECT_EQ (window->pluginChild (), 0u);

		// A drag on the wet/dry knob (in the middle of its range).
		closing->set_parameter (closing.get (), 6, 0.5f);
		ASSERT_EQ (open (closing, window->id ()), 1);
		idle (closing, 60);
		ClosingHost::target = closing.get ();
		ClosingHost::closed = 0;
		window->moveTo (322, 233);
		idle (closing, 30);
		window->press ();
		idle (closing, 30);
		for (int step = 1; step <= 8; ++step)
		{
			window->moveTo (322 - 4 * step, 233 - 6 * step);
			idle (closing, 20);
		}
		window->release ();
		idle (closing, 60);
		ClosingHost::target = nullptr;
		EXPECT_EQ (ClosingHost::closed, 1);
		XSync (window->display (), False);
		EXPECT_EQ (window->pluginChild (), 0u);
	}
	// Opens again as usual.
	ASSERT_EQ (open (closing, window->id ()), 1);
	idle (closing, 30);
	EXPECT_EQ (closing.call (Abi::kEffEditClose), 1);
	ASSERT_NO_FATAL_FAILURE (expectRecovers (closing));
}

TEST_F (HostileEditorVst2, BogusParentWindowsAreRefused)
{
	const unsigned long bogus[] = {StressEditor::kNeverMadeWindow,
	                               StressEditor::destroyedWindow (window->display ()), 0ul};
	for (unsigned long parent : bogus)
	{
		EXPECT_EQ (open (*effect, parent), 0) << parent;
		EXPECT_EQ (effect->call (Abi::kEffEditIdle), 0);
		EXPECT_EQ (effect->call (Abi::kEffEditClose), 0);
	}
	ASSERT_EQ (open (), 1);
	idle (30);
	EXPECT_NE (window->pluginChild (), 0u);
	EXPECT_EQ (effect->call (Abi::kEffEditClose), 1);
	ASSERT_NO_FATAL_FAILURE (expectClosed ());
	ASSERT_NO_FATAL_FAILURE (expectRecovers (*effect));
}

} // namespace

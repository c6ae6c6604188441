#include "EditorStressRig.h"

#include "X11TestWindow.h"

#include <chrono>
#include <thread>

namespace StressEditor {

using namespace Steinberg;
using Tarnwick::HostKit::PluginInstance;
using Tarnwick::HostKit::PluginModule;

XErrorHandlerCheck::XErrorHandlerCheck ()
{
	// Setting null installs Xlib's default; setting it again answers its address.
	before = XSetErrorHandler (nullptr);
	installed = XSetErrorHandler (nullptr);
}

XErrorHandlerCheck::~XErrorHandlerCheck ()
{
	XSetErrorHandler (before);
}

bool XErrorHandlerCheck::untouched () const
{
	XErrorHandler current = XSetErrorHandler (installed);
	return current == installed;
}

void keepXServerUp ()
{
	X11Test::keepXServerUp ();
}

void renderKnownVst3 (PluginInstance& instance, std::vector<float> out[2])
{
	instance.stop ();
	instance.clearPendingChanges ();
	ASSERT_EQ (instance.restoreState (StressVst2::componentStateOf (StressVst2::knownChunk ())), kResultOk);
	ASSERT_TRUE (instance.setup (StressVst2::kRate, StressVst2::kBlock, 2)) << instance.error ();
	StressVst2::Noise noise (99);
	std::vector<float> input[2], output[2];
	for (int c = 0; c < 2; ++c)
	{
		input[c].resize (StressVst2::kBlock);
		output[c].resize (StressVst2::kBlock);
		out[c].clear ();
	}
	const float* in[2] = {input[0].data (), input[1].data ()};
	float* outs[2] = {output[0].data (), output[1].data ()};
	for (int b = 0; b < 24; ++b)
	{
		noise.fill (input[0].data (), StressVst2::kBlock);
		noise.fill (input[1].data (), StressVst2::kBlock);
		ASSERT_EQ (instance.process (in, outs, StressVst2::kBlock), kResultOk);
		for (int c = 0; c < 2; ++c)
			out[c].insert (out[c].end (), output[c].begin (), output[c].end ());
	}
}

void expectVst3Recovers (PluginModule& module, PluginInstance& instance)
{
	std::vector<float> expected[2];
	{
		PluginInstance fresh (module);
		ASSERT_TRUE (fresh.create ()) << fresh.error ();
		ASSERT_NO_FATAL_FAILURE (renderKnownVst3 (fresh, expected));
	}
	std::vector<float> actual[2];
	ASSERT_NO_FATAL_FAILURE (renderKnownVst3 (instance, actual));
	ASSERT_TRUE (StressVst2::allFinite (expected[0]) && StressVst2::allFinite (expected[1]));
	EXPECT_TRUE (StressVst2::bitIdentical (actual[0], expected[0]));
	EXPECT_TRUE (StressVst2::bitIdentical (actual[1], expected[1]));
	EXPECT_GT (StressVst2::energyOf (expected[0]), 1.);
}

Window destroyedWindow (Display* display)
{
	const Window window = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 10, 10, 0, 0, 0);
	XDestroyWindow (display, window);
	XSync (display, False);
	return window;
}

} // namespace StressEditor

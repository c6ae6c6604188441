// Debian's lv2apply renders through the LV2 bundle, preset by preset, what tarnwick-render
// renders through the VST 3 bundle: the same samples, to the bit. lv2apply has no run-in, so
// its input carries the renderer's second of settling silence in front and the tail behind.
// (lv2apply runs one frame at a time, so the clip is kept short.)
#include "Lv2TestRig.h"

#include "AudioClip.h"
#include "ClipRun.h"
#include "DemoSignal.h"
#include "RenderTiming.h"
#include "SoundFile.h"
#include "lv2/TarnwickLv2Uris.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <string>

namespace Tarnwick {
namespace Lv2Test {
namespace {

using namespace Render;

std::string scratchFolder ()
{
	const auto folder = std::filesystem::temp_directory_path () / ("tarnwick-lv2apply-" + std::to_string (getpid ()));
	std::filesystem::create_directories (folder);
	return folder.string ();
}

int runCommand (const std::string& command)
{
	return std::system ((command + " > /dev/null 2>&1").c_str ());
}

class Lv2Apply : public ::testing::TestWithParam<int>
{
};

TEST_P (Lv2Apply, PresetRendersAsThroughVst3)
{
	const std::string folder = scratchFolder ();
	std::string error;
	// A short piece of the renderer's demo keeps the test fast.
	AudioClip demo = DemoSignal::generate (48000);
	demo.resizeFrames (48000);
	const std::string demoPath = folder + "/demo.wav";
	ASSERT_TRUE (writeSoundFile (demoPath, demo, SampleFormat::kFloat32, error)) << error;

	const auto presets = bundleWorld ().presets ();
	ASSERT_EQ (presets.size (), 11u);
	const std::size_t p = static_cast<std::size_t> (GetParam ());
	{
		const std::string vst3Path = folder + "/vst3.wav";
		ASSERT_EQ (runCommand (std::string (TARNWICK_RENDER_PROGRAM) + " -q -i " + demoPath + " -o " + vst3Path +
		                       " --max-tail 3 --preset " + std::to_string (p)),
		           0);
		AudioClip vst3;
		ASSERT_TRUE (readSoundFile (vst3Path, vst3, error)) << error;

		// The input lv2apply gets: settling silence, the demo, silence for the tail.
		const std::size_t settle = static_cast<std::size_t> (settleFrames (48000));
		AudioClip padded (48000, 2, settle + vst3.frameCount ());
		for (std::size_t c = 0; c < 2; ++c)
			std::copy (demo.channels[std::min<std::size_t> (c, demo.channels.size () - 1)].begin (),
			           demo.channels[std::min<std::size_t> (c, demo.channels.size () - 1)].end (),
			           padded.channels[c].begin () + static_cast<long> (settle));
		const std::string paddedPath = folder + "/padded.wav";
		ASSERT_TRUE (writeSoundFile (paddedPath, padded, SampleFormat::kFloat32, error)) << error;

		// The preset's port values, as a host reads them from the bundle.
		TestInstance reader;
		ASSERT_TRUE (reader.instance.applyPreset (presets[p].uri));
		std::string controls;
		for (const char* symbol : {"delay", "feedback", "cutoff", "resonance", "delay_ratio", "offset", "wet_dry",
		                           "volume", "delay_state", "active"})
		{
			char value[32];
			std::snprintf (value, sizeof (value), "%.9g", static_cast<double> (reader.instance.control (symbol)));
			controls += std::string (" -c ") + symbol + " " + value;
		}
		const std::string lv2Path = folder + "/lv2.wav";
		ASSERT_EQ (runCommand ("LV2_PATH=" + std::string (TARNWICK_TEST_LV2_PATH) + " lv2apply -i " + paddedPath +
		                       " -o " + lv2Path + controls + " " + TARNWICK_LV2_URI),
		           0);
		AudioClip lv2;
		ASSERT_TRUE (readSoundFile (lv2Path, lv2, error)) << error;
		ASSERT_EQ (lv2.frameCount (), padded.frameCount ());
		ASSERT_EQ (lv2.channelCount (), 2);
		// All but the last second, which the renderer fades when the cap cuts the echoes.
		const std::size_t fade = static_cast<std::size_t> (kCapFadeSeconds * 48000);
		const std::size_t compared =
		    vst3.frameCount () > demo.frameCount () + fade ? vst3.frameCount () - fade : demo.frameCount ();
		std::size_t differing = 0;
		for (std::size_t c = 0; c < 2; ++c)
			for (std::size_t i = 0; i < compared; ++i)
				differing += lv2.channels[c][settle + i] != vst3.channels[c][i];
		EXPECT_EQ (differing, 0u) << presets[p].label;
	}
	if (!::testing::Test::HasFailure ()) std::filesystem::remove_all (folder);
}

INSTANTIATE_TEST_SUITE_P (EveryFactoryPreset, Lv2Apply, ::testing::Range (0, 11));

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick

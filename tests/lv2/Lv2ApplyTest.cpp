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

// Frames of the renderer's output that differ from lv2apply's, run on the same clip with the
// same settings: `renderOptions` for tarnwick-render, `controls` ("-c symbol value" pairs) for
// lv2apply, whose input carries `settle` frames of silence in front and the tail behind.
std::size_t differingFrames (const AudioClip& clip, const std::string& renderOptions, const std::string& controls,
                             std::size_t settle)
{
	const std::string folder = scratchFolder ();
	std::string error;
	const std::string clipPath = folder + "/clip.wav";
	EXPECT_TRUE (writeSoundFile (clipPath, clip, SampleFormat::kFloat32, error)) << error;
	const std::string vst3Path = folder + "/vst3.wav";
	EXPECT_EQ (runCommand (std::string (TARNWICK_RENDER_PROGRAM) + " -q -i " + clipPath + " -o " + vst3Path +
	                       " --max-tail 3 " + renderOptions),
	           0);
	AudioClip vst3;
	if (!readSoundFile (vst3Path, vst3, error))
	{
		ADD_FAILURE () << error;
		return ~std::size_t (0);
	}

	AudioClip padded (48000, 2, settle + vst3.frameCount ());
	for (std::size_t c = 0; c < 2; ++c)
	{
		const auto& source = clip.channels[std::min<std::size_t> (c, clip.channels.size () - 1)];
		std::copy (source.begin (), source.end (), padded.channels[c].begin () + static_cast<long> (settle));
	}
	const std::string paddedPath = folder + "/padded.wav";
	EXPECT_TRUE (writeSoundFile (paddedPath, padded, SampleFormat::kFloat32, error)) << error;
	const std::string lv2Path = folder + "/lv2.wav";
	EXPECT_EQ (runCommand ("LV2_PATH=" + std::string (TARNWICK_TEST_LV2_PATH) + " lv2apply -i " + paddedPath +
	                       " -o " + lv2Path + controls + " " + TARNWICK_LV2_URI),
	           0);
	AudioClip lv2;
	if (!readSoundFile (lv2Path, lv2, error) || lv2.frameCount () != padded.frameCount () ||
	    lv2.channelCount () != 2)
	{
		ADD_FAILURE () << "lv2apply's output " << error;
		return ~std::size_t (0);
	}
	// All but the last second, which the renderer fades when the cap cuts the echoes.
	const std::size_t fade = static_cast<std::size_t> (kCapFadeSeconds * 48000);
	const std::size_t compared =
	    vst3.frameCount () > clip.frameCount () + fade ? vst3.frameCount () - fade : clip.frameCount ();
	std::size_t differing = 0;
	for (std::size_t c = 0; c < 2; ++c)
		for (std::size_t i = 0; i < compared; ++i)
			differing += lv2.channels[c][settle + i] != vst3.channels[c][i];
	if (!::testing::Test::HasFailure ())
		std::filesystem::remove_all (folder);
	return differing;
}

AudioClip demoClip (std::size_t frames)
{
	AudioClip demo = DemoSignal::generate (48000);
	demo.resizeFrames (frames);
	return demo;
}

class Lv2Apply : public ::testing::TestWithParam<int>
{
};

TEST_P (Lv2Apply, PresetRendersAsThroughVst3)
{
	const auto presets = bundleWorld ().presets ();
	ASSERT_EQ (presets.size (), 11u);
	const std::size_t p = static_cast<std::size_t> (GetParam ());
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
	EXPECT_EQ (differingFrames (demoClip (48000), "--preset " + std::to_string (p), controls,
	                            static_cast<std::size_t> (settleFrames (48000))),
	           0u)
	    << presets[p].label;
}

// A host sets an instance up through its ports: the first run takes them at once, so the echoes
// sound from the first frame as a renderer that set the parameters before playing.
TEST (Lv2ApplyFirstRun, PortValuesLandWithoutGlide)
{
	const AudioClip clip = demoClip (24000);
	const std::string settings = " --set Delay=350 --set Feedback=40 --set Cutoff=3000 --set Resonance=2.5"
	                             " --set \"Delay Ratio=1.5\" --set Offset=0.3 --set Wet/Dry=70 --set Volume=0.8";
	const std::string ports = " -c delay 350 -c feedback 40 -c cutoff 3000 -c resonance 2.5 -c delay_ratio 1.5"
	                          " -c offset 0.3 -c wet_dry 70 -c volume 0.8";
	struct Case
	{
		const char* render;
		const char* ports;
	};
	for (const Case& c : {Case {" --set \"Delay State=Comb\" --set Active=On", " -c delay_state 0 -c active 0"},
	                      Case {" --set \"Delay State=Delay\" --set Active=On", " -c delay_state 1 -c active 0"},
	                      Case {" --set \"Delay State=Delay\" --set Active=Off", " -c delay_state 1 -c active 1"}})
		EXPECT_EQ (differingFrames (clip, settings + c.render, ports + c.ports, 0), 0u) << c.render;
}

INSTANTIATE_TEST_SUITE_P (EveryFactoryPreset, Lv2Apply, ::testing::Range (0, 11));

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick

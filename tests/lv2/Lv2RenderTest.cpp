// tarnwick-render-lv2 renders every factory preset through the LV2 bundle to the same samples
// as tarnwick-render through the VST 3 bundle.
#include "AudioClip.h"
#include "SoundFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace Tarnwick {
namespace Lv2Test {
namespace {

using namespace Render;

TEST (Lv2Render, EveryPresetSoundsAsThroughVst3)
{
	const auto folder =
	    std::filesystem::temp_directory_path () / ("tarnwick-lv2-render-" + std::to_string (getpid ()));
	const std::string vst3 = (folder / "vst3").string ();
	const std::string lv2 = (folder / "lv2").string ();
	ASSERT_EQ (std::system ((std::string (TARNWICK_RENDER_PROGRAM) + " -q --all-presets --out-dir " + vst3).c_str ()),
	           0);
	ASSERT_EQ (
	    std::system ((std::string (TARNWICK_RENDER_LV2_PROGRAM) + " -q --all-presets --out-dir " + lv2).c_str ()), 0);
	int files = 0;
	for (const auto& entry : std::filesystem::directory_iterator (vst3))
	{
		std::string error;
		AudioClip expected, rendered;
		ASSERT_TRUE (readSoundFile (entry.path ().string (), expected, error)) << error;
		ASSERT_TRUE (readSoundFile (lv2 + "/" + entry.path ().filename ().string (), rendered, error)) << error;
		EXPECT_EQ (rendered.channels, expected.channels) << entry.path ().filename ();
		EXPECT_GT (peakLevel (rendered), 0.f);
		++files;
	}
	EXPECT_EQ (files, 11);
	std::filesystem::remove_all (folder);
}

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick

#include "BundleFixture.h"

#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <random>

namespace TarnwickHostTest {

using namespace Tarnwick::HostKit;

namespace {

// pixman (pulled in by the editor's cairo) allocates tables when it is loaded and never frees
// them; unloaded with the module, they show as leaks. A DAW keeps such system libraries loaded
// for good, and so do these tests.
class SystemLibrariesStayLoaded : public ::testing::Environment
{
public:
	void SetUp () override
	{
		for (const char* name : {"libpixman-1.so.0", "libcairo.so.2"})
			dlopen (name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
	}
};

::testing::Environment* const systemLibraries =
    ::testing::AddGlobalTestEnvironment (new SystemLibrariesStayLoaded ());

} // namespace

std::string bundlePath ()
{
	return TARNWICK_TEST_BUNDLE_PATH;
}

void BundleTest::SetUp ()
{
	ASSERT_TRUE (module.load (bundlePath ())) << module.error ();
}

void BundleTest::TearDown ()
{
	instances.clear ();
	module.unload ();
}

PluginInstance& BundleTest::newInstance ()
{
	instances.push_back (std::make_unique<PluginInstance> (module));
	PluginInstance& instance = *instances.back ();
	EXPECT_TRUE (instance.create ()) << instance.error ();
	return instance;
}

PluginInstance& BundleTest::newActiveInstance (double rate, int32 block, int32 channels)
{
	PluginInstance& instance = newInstance ();
	EXPECT_TRUE (instance.setup (rate, block, channels)) << instance.error ();
	return instance;
}

std::vector<std::vector<float>> makeTestSignal (int32 channels, int32 frames, double rate,
                                                unsigned seed)
{
	std::mt19937 random (seed);
	std::uniform_real_distribution<float> noise (-1.f, 1.f);
	std::vector<std::vector<float>> signal (static_cast<size_t> (channels),
	                                        std::vector<float> (static_cast<size_t> (frames), 0.f));
	const int32 burstEvery = static_cast<int32> (rate * 0.37);
	for (int32 c = 0; c < channels; ++c)
	{
		float envelope = 0.f;
		const double tone = 220.0 * (c + 1);
		for (int32 i = 0; i < frames; ++i)
		{
			if (i % burstEvery == c * 101)
				envelope = 0.8f;
			envelope *= 0.9995f;
			const float t = static_cast<float> (std::sin (2.0 * M_PI * tone * i / rate));
			signal[static_cast<size_t> (c)][static_cast<size_t> (i)] =
			    envelope * (0.6f * noise (random) + 0.4f * t);
		}
	}
	return signal;
}

::testing::AssertionResult sameSamples (const std::vector<std::vector<float>>& a,
                                        const std::vector<std::vector<float>>& b)
{
	if (a.size () != b.size ())
		return ::testing::AssertionFailure () << "channel counts " << a.size () << " and " << b.size ();
	for (size_t c = 0; c < a.size (); ++c)
	{
		if (a[c].size () != b[c].size ())
			return ::testing::AssertionFailure () << "lengths differ on channel " << c;
		for (size_t i = 0; i < a[c].size (); ++i)
		{
			if (std::memcmp (&a[c][i], &b[c][i], sizeof (float)) != 0)
				return ::testing::AssertionFailure ()
				       << "channel " << c << " frame " << i << ": " << a[c][i] << " vs " << b[c][i];
		}
	}
	return ::testing::AssertionSuccess ();
}

float readFloat (const std::vector<uint8>& bytes, size_t offset)
{
	const Steinberg::uint32 bits = readUInt32 (bytes, offset);
	float value;
	std::memcpy (&value, &bits, sizeof (value));
	return value;
}

Steinberg::uint32 readUInt32 (const std::vector<uint8>& bytes, size_t offset)
{
	return static_cast<Steinberg::uint32> (bytes.at (offset)) |
	       (static_cast<Steinberg::uint32> (bytes.at (offset + 1)) << 8) |
	       (static_cast<Steinberg::uint32> (bytes.at (offset + 2)) << 16) |
	       (static_cast<Steinberg::uint32> (bytes.at (offset + 3)) << 24);
}

void writeUInt32 (std::vector<uint8>& bytes, size_t offset, Steinberg::uint32 value)
{
	for (size_t k = 0; k < 4; ++k)
		bytes.at (offset + k) = static_cast<uint8> ((value >> (8 * k)) & 0xFF);
}

void writeFloat (std::vector<uint8>& bytes, size_t offset, float value)
{
	Steinberg::uint32 bits;
	std::memcpy (&bits, &value, sizeof (bits));
	writeUInt32 (bytes, offset, bits);
}

} // namespace TarnwickHostTest

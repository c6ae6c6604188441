// Loads the built Tarnwick.vst3 bundle through the in-process host, as a DAW does.
#pragma once

#include "hostkit/HostKit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace TarnwickHostTest {

using Steinberg::int32;
using Steinberg::uint8;
using Steinberg::Vst::ParamID;
using Steinberg::Vst::ParamValue;

// Parameter ids the bundle publishes.
constexpr ParamID kDelay = 0;
constexpr ParamID kFeedback = 1;
constexpr ParamID kCutoff = 2;
constexpr ParamID kResonance = 3;
constexpr ParamID kDelayRatio = 4;
constexpr ParamID kOffset = 5;
constexpr ParamID kWetDry = 6;
constexpr ParamID kVolume = 7;
constexpr ParamID kDelayState = 8;
constexpr ParamID kActive = 9;
constexpr ParamID kPitchBendParam = 2048;
constexpr ParamID kModWheelParam = 2049;
constexpr ParamID kBypass = 2056;
constexpr ParamID kAssignButton2 = 32769;
constexpr ParamID kSync = 10;
constexpr ParamID kNote = 11;
constexpr ParamID kJoystickX = 32773;
constexpr ParamID kJoystickY = 32774;
constexpr ParamID kPresets = 0x70727374; // 'prst'

std::string bundlePath ();

class BundleTest : public ::testing::Test
{
protected:
	void SetUp () override;
	void TearDown () override;

	// A new initialised instance (terminated and released by TearDown if still alive).
	Tarnwick::HostKit::PluginInstance& newInstance ();
	// A new instance set up for processing.
	Tarnwick::HostKit::PluginInstance& newActiveInstance (double rate = 48000.0, int32 block = 256,
	                                                      int32 channels = 2);

	Tarnwick::HostKit::PluginModule module;
	std::vector<std::unique_ptr<Tarnwick::HostKit::PluginInstance>> instances;
};

// Deterministic test material: decaying noise bursts and tones, different on each channel.
std::vector<std::vector<float>> makeTestSignal (int32 channels, int32 frames, double rate,
                                                unsigned seed = 1);

// Float bits compared exactly; reports the first difference.
::testing::AssertionResult sameSamples (const std::vector<std::vector<float>>& a,
                                        const std::vector<std::vector<float>>& b);

// Little-endian readers for state bytes.
float readFloat (const std::vector<uint8>& bytes, size_t offset);
Steinberg::uint32 readUInt32 (const std::vector<uint8>& bytes, size_t offset);
void writeFloat (std::vector<uint8>& bytes, size_t offset, float value);
void writeUInt32 (std::vector<uint8>& bytes, size_t offset, Steinberg::uint32 value);

} // namespace TarnwickHostTest

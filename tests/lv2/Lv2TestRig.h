// What the LV2 tests share: the built bundle loaded through lilv, signals, and runs of an
// instance in blocks of given sizes.
#pragma once

#include "lv2host/Lv2Instance.h"
#include "lv2host/Lv2World.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Tarnwick {
namespace Lv2Test {

using Signal = std::vector<std::vector<float>>; // one vector per channel

constexpr double kRate = 48000.;

Lv2Host::Lv2World& bundleWorld ();

// A stereo test signal: clicks and a decaying tone, different on each side.
Signal testSignal (std::size_t frames);
Signal silence (std::size_t frames, int channels = 2);

// Runs the whole signal through the instance, in blocks whose sizes cycle through `blocks`.
Signal runInBlocks (Lv2Host::Lv2Instance& instance, const Signal& input, const std::vector<uint32_t>& blocks);

bool allFinite (const Signal& signal);

// The host's one URID map (states saved by one instance are restored into others).
Lv2Host::UridMap& sharedMap ();

// A fresh, activated instance with the URID map.
struct TestInstance
{
	Lv2Host::UridMap& map;
	Lv2Host::Lv2Instance instance;
	explicit TestInstance (double rate = kRate);
};

} // namespace Lv2Test
} // namespace Tarnwick

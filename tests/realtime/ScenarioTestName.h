// Test names for scenario and channel-count parameters: "SteadyStereo", "MidiMono".
#pragma once

#include "ProcessScenarios.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace Tarnwick {
namespace Realtime {

using ScenarioOnChannels = std::tuple<Scenario, Steinberg::int32>;

inline std::string scenarioTestName (const ::testing::TestParamInfo<ScenarioOnChannels>& info)
{
	return std::string (nameOf (std::get<0> (info.param))) + (std::get<1> (info.param) == 1 ? "Mono" : "Stereo");
}

} // namespace Realtime
} // namespace Tarnwick

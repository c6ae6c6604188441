// The situations the plug-in is measured in, each driving one in-process Processor through
// IAudioProcessor::process on 512-frame stereo blocks at 48000 Hz.
#pragma once

#include "ProcessorDriver.h"
#include "ReferenceDelayLoop.h"
#include "ReferenceGlideLoop.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace PerfScenario {

constexpr double kSampleRate = 48000.;
constexpr int32_t kBlock = 512;

// Plain values of the ten controls, in control order.
struct ControlValues
{
	double values[10];
};

// Delay 350 ms (the right voice 0.5 ms later, so it interpolates), feedback 50 %, cutoff
// 5000 Hz, resonance 2, ratio 1, wet 50 %, volume 0.7, delay mode, on.
ControlValues steadySettings ();
// The tail cases: delay mode, feedback 50 %, resonance 10 (the top), cutoff 2000 Hz.
ControlValues tailSettings (double delayMs);
ReferenceDelayLoop::Settings referenceSettings (const ControlValues& controls);

// A started instance with the controls set (through parameter changes, as a host does) and
// settled (two seconds of noise, so the smoothers have arrived and the line is full).
std::unique_ptr<Tarnwick::Stress::ProcessorDriver> makeSettledInstance (const ControlValues& controls,
                                                                        int32_t channels = 2);
// Plain values of the eight continuous controls for block `block` of an automation run: each
// moves a little around the steady setting, differently in every block.
void automationTargets (int32_t block, double plain[8]);
// Queues every continuous control's change for block `block` of an automation run: each moves
// a little around the steady setting, differently in every block.
void queueAutomation (Tarnwick::Stress::ProcessorDriver& driver, int32_t block);
// Normalized value of control `position` for a plain value (the controls' linear taper).
double normalizedFor (const Tarnwick::Stress::ProcessorDriver& driver, int position, double plain);

} // namespace PerfScenario

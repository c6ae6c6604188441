#include "PerfScenario.h"

#include "effect/ControlDescriptor.h"

#include <cmath>

using namespace Tarnwick::Stress;

namespace PerfScenario {

ControlValues steadySettings ()
{
	return {{350., 50., 5000., 2., 1., 0.5, 50., 0.7, 1., 0.}};
}

ControlValues tailSettings (double delayMs)
{
	return {{delayMs, 50., 2000., 10., 1., 0., 50., 0.7, 1., 0.}};
}

ReferenceDelayLoop::Settings referenceSettings (const ControlValues& c)
{
	ReferenceDelayLoop::Settings s {};
	s.delayMs[0] = static_cast<float> (c.values[0] / c.values[4]);
	s.delayMs[1] = static_cast<float> (c.values[0] / c.values[4] + c.values[5]);
	s.feedbackPct = static_cast<float> (c.values[1]);
	s.cutoffHz = static_cast<float> (c.values[2]);
	s.q = static_cast<float> (c.values[3]);
	s.wetPct = static_cast<float> (c.values[6]);
	s.volume = static_cast<float> (c.values[7]);
	return s;
}

double normalizedFor (const ProcessorDriver& driver, int position, double plain)
{
	const ControlDescriptor* d = driver.effect ()->controlAt (position);
	return (plain - d->minValue) / (static_cast<double> (d->maxValue) - d->minValue);
}

std::unique_ptr<ProcessorDriver> makeSettledInstance (const ControlValues& controls, int32_t channels)
{
	auto driver = std::make_unique<ProcessorDriver> ();
	if (!driver->start (kSampleRate, channels, kBlock))
		return nullptr;
	for (int position = 0; position < 10; ++position)
		driver->changes.addChange (static_cast<Steinberg::Vst::ParamID> (position), 0,
		                           normalizedFor (*driver, position, controls.values[position]));
	NoiseSource noise (7);
	for (int block = 0; block < static_cast<int> (2 * kSampleRate) / kBlock; ++block)
	{
		noise.fill (driver->input (0), kBlock, 0.5f);
		noise.fill (driver->input (1), kBlock, 0.5f);
		driver->process (kBlock);
	}
	return driver;
}

void automationTargets (int32_t block, double plain[8])
{
	const ControlValues base = steadySettings ();
	// Relative swing of each continuous control around its steady value.
	const double swing[8] = {0.2, 0.3, 0.5, 0.5, 0.0, 1.0, 0.5, 0.3};
	const double phase = 0.37 * block;
	for (int position = 0; position < 8; ++position)
		plain[position] = base.values[position] * (1. + swing[position] * 0.5 * std::sin (phase + position));
	plain[4] = 1. + 0.5 * (1. + std::sin (phase));  // ratio 1..2
	plain[5] = 0.5 * (1. + std::sin (phase + 1.));  // offset 0..1 ms
}

void queueAutomation (ProcessorDriver& driver, int32_t block)
{
	double plain[8];
	automationTargets (block, plain);
	for (int position = 0; position < 8; ++position)
		driver.changes.addChange (static_cast<Steinberg::Vst::ParamID> (position), 0,
		                          normalizedFor (driver, position, plain[position]));
}

} // namespace PerfScenario

// Fuzzes the saved-state stream: arbitrary bytes into setState (component side) and
// setComponentState (controller side). A stream is applied whole or not at all, an applied state
// survives a second round trip unchanged, and the instance keeps producing finite audio.
#include "ProcessorDriver.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace Tarnwick::Stress;

namespace {

void require (bool condition)
{
	if (!condition)
		std::abort ();
}

struct Fixture
{
	Fixture ()
	{
		require (driver.start (48000., 2, 512));
		require (driver.getState (defaultState));
		NoiseSource noise;
		noise.fill (driver.input (0), 512);
		noise.fill (driver.input (1), 512);
	}
	ProcessorDriver driver;
	std::vector<uint8_t> defaultState;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	static Fixture fixture;
	ProcessorDriver& driver = fixture.driver;

	// Component side.
	require (driver.setState (fixture.defaultState) == Steinberg::kResultOk);
	std::vector<uint8_t> before;
	require (driver.getState (before));
	require (before == fixture.defaultState);

	const Steinberg::tresult applied = driver.setState (data, size);
	std::vector<uint8_t> after;
	require (driver.getState (after));
	if (applied != Steinberg::kResultOk)
	{
		require (after == before);
	}
	else
	{
		require (after.size () == before.size ());
		require (driver.setState (after) == Steinberg::kResultOk);
		std::vector<uint8_t> again;
		require (driver.getState (again));
		require (again == after);
	}
	require (driver.process (512) == Steinberg::kResultOk);
	require (driver.outputFinite (512));

	// Controller side.
	require (driver.setComponentState (fixture.defaultState) == Steinberg::kResultOk);
	const std::vector<double> parametersBefore = driver.parameterValues ();
	const Steinberg::tresult moved = driver.setComponentState (data, size);
	const std::vector<double> parametersAfter = driver.parameterValues ();
	require (parametersAfter.size () == parametersBefore.size ());
	if (moved != Steinberg::kResultOk)
		require (parametersAfter == parametersBefore);
	for (double value : parametersAfter)
		require (value >= 0. && value <= 1.);
	// Both sides accept or refuse the same streams.
	require ((moved == Steinberg::kResultOk) == (applied == Steinberg::kResultOk));
	return 0;
}

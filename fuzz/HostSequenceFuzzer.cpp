// Fuzzes one instance with a sequence of host calls decoded from the input: set-up at random
// rates and block sizes, activation, bus arrangements, blocks of 0..8192 frames with random
// parameter changes (ids, values, point offsets), events and process contexts, controller-side
// parameter and program changes, state round trips, foreign states, bypass, terminate.
// Checks: finite input gives finite output, and a state round trip is exact.
#include "ProcessorDriver.h"

#include <fuzzer/FuzzedDataProvider.h>

#include "pluginterfaces/vst/ivstevents.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::Stress;

namespace {

void require (bool condition)
{
	if (!condition)
		std::abort ();
}

const double kRates[] = {8000.,  11025., 22050., 32000., 44100., 48000., 88200.,
                         96000., 192000., 384000., 7999., 384001., 0., -48000.};

const ParamID kIds[] = {0,    1,    2,    3,    4,    5,    6,    7,    8,     9,     10,
                        2048, 2049, 2050, 2051, 2052, 2053, 2054, 2055, 2056,  32768, 32769,
                        32770, 32771, 32772, 32773, 32774, 0x70727374, 0xFFFFFFFF};

double pickRate (FuzzedDataProvider& in)
{
	switch (in.ConsumeIntegralInRange<int> (0, 2))
	{
		case 0: return in.PickValueInArray (kRates);
		case 1: return std::numeric_limits<double>::quiet_NaN ();
		default: return in.ConsumeFloatingPoint<double> ();
	}
}

ParamID pickId (FuzzedDataProvider& in)
{
	if (in.ConsumeBool ())
		return in.PickValueInArray (kIds);
	return in.ConsumeIntegral<ParamID> ();
}

double pickValue (FuzzedDataProvider& in)
{
	switch (in.ConsumeIntegralInRange<int> (0, 7))
	{
		case 0: return -1.;
		case 1: return 2.;
		case 2: return std::numeric_limits<double>::quiet_NaN ();
		case 3: return std::numeric_limits<double>::infinity ();
		case 4: return -std::numeric_limits<double>::infinity ();
		case 5: return in.ConsumeFloatingPoint<double> ();
		default: return in.ConsumeProbability<double> ();
	}
}

float pickAmplitude (FuzzedDataProvider& in)
{
	const float amplitudes[] = {0.f, 1e-30f, 1e-3f, 1.f, 100.f};
	return in.PickValueInArray (amplitudes);
}

void fillChanges (FuzzedDataProvider& in, ProcessorDriver& driver, int32 numFrames)
{
	const int queues = in.ConsumeIntegralInRange<int> (0, 12);
	for (int q = 0; q < queues; ++q)
	{
		const ParamID id = pickId (in);
		const int points = in.ConsumeIntegralInRange<int> (0, 4);
		int32 index = 0;
		IParamValueQueue* queue = driver.changes.addParameterData (id, index);
		if (!queue)
			break;
		for (int p = 0; p < points; ++p)
		{
			const int32 offset = in.ConsumeBool () ? in.ConsumeIntegralInRange<int32> (-2, numFrames + 2)
			                                       : in.ConsumeIntegral<int32> ();
			int32 pointIndex = 0;
			queue->addPoint (offset, pickValue (in), pointIndex);
		}
	}
}

void fillEvents (FuzzedDataProvider& in, ProcessorDriver& driver, int32 numFrames)
{
	const int count = in.ConsumeIntegralInRange<int> (0, 8);
	for (int e = 0; e < count; ++e)
	{
		Event event {};
		event.busIndex = in.ConsumeIntegralInRange<int32> (-1, 1);
		event.sampleOffset = in.ConsumeBool () ? in.ConsumeIntegralInRange<int32> (-2, numFrames + 2)
		                                       : in.ConsumeIntegral<int32> ();
		event.type = in.ConsumeIntegralInRange<uint16> (0, 10);
		switch (event.type)
		{
			case Event::kNoteOnEvent:
				event.noteOn.channel = in.ConsumeIntegral<int16> ();
				event.noteOn.pitch = in.ConsumeIntegral<int16> ();
				event.noteOn.velocity = static_cast<float> (pickValue (in));
				event.noteOn.noteId = in.ConsumeIntegral<int32> ();
				break;
			case Event::kNoteOffEvent:
				event.noteOff.channel = in.ConsumeIntegral<int16> ();
				event.noteOff.pitch = in.ConsumeIntegral<int16> ();
				event.noteOff.velocity = static_cast<float> (pickValue (in));
				break;
			default:
				// Other kinds with whatever the union holds.
				event.polyPressure.channel = in.ConsumeIntegral<int16> ();
				event.polyPressure.pitch = in.ConsumeIntegral<int16> ();
				event.polyPressure.pressure = static_cast<float> (pickValue (in));
				break;
		}
		driver.events.addEvent (event);
	}
}

void processBlock (FuzzedDataProvider& in, ProcessorDriver& driver, uint32_t& noiseSeed)
{
	const int32 numFrames = in.ConsumeBool () ? in.ConsumeIntegralInRange<int32> (0, 64)
	                                          : in.ConsumeIntegralInRange<int32> (0, ProcessorDriver::kMaxBlock);
	NoiseSource noise (++noiseSeed);
	const float amplitude = pickAmplitude (in);
	noise.fill (driver.input (0), numFrames, amplitude);
	noise.fill (driver.input (1), numFrames, amplitude);
	for (int c = 0; c < 2; ++c)
		for (int32 i = 0; i < numFrames; ++i)
			driver.output (c)[i] = 0.f;
	fillChanges (in, driver, numFrames);
	fillEvents (in, driver, numFrames);
	driver.inputSilence = in.ConsumeIntegralInRange<int> (0, 7) == 0 ? in.ConsumeIntegralInRange<uint64> (1, 3) : 0;

	ProcessContext context {};
	const bool withContext = in.ConsumeBool ();
	if (withContext)
	{
		context.state = in.ConsumeIntegral<uint32> ();
		context.sampleRate = in.ConsumeFloatingPoint<double> ();
		context.projectTimeSamples = in.ConsumeIntegral<int64> ();
		context.tempo = in.ConsumeFloatingPoint<double> ();
		context.timeSigNumerator = in.ConsumeIntegral<int32> ();
		context.timeSigDenominator = in.ConsumeIntegral<int32> ();
	}
	const tresult result = driver.process (numFrames, withContext ? &context : nullptr);
	// Finite input never turns into non-finite output (an untouched output stays 0).
	if (result == kResultOk && numFrames > 0 && driver.processor->getEffect ())
		require (driver.outputFinite (numFrames));
}

void stateRoundTrip (ProcessorDriver& driver)
{
	std::vector<uint8_t> saved;
	if (!driver.getState (saved))
		return;
	require (driver.setState (saved) == kResultOk);
	require (driver.setComponentState (saved) == kResultOk);
	std::vector<uint8_t> again;
	require (driver.getState (again));
	require (again == saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
	FuzzedDataProvider in (data, size);
	ProcessorDriver driver;
	if (driver.initialize () != kResultOk)
		return 0;
	uint32_t noiseSeed = 1;
	bool terminated = false;

	for (int step = 0; step < 48 && in.remaining_bytes () > 0; ++step)
	{
		switch (in.ConsumeIntegralInRange<int> (0, 13))
		{
			case 0:
			{
				ProcessSetup setup {};
				setup.processMode = in.ConsumeIntegralInRange<int32> (0, 2);
				setup.symbolicSampleSize = in.ConsumeBool () ? kSample32 : kSample64;
				setup.maxSamplesPerBlock = in.ConsumeIntegralInRange<int32> (-1, ProcessorDriver::kMaxBlock);
				setup.sampleRate = pickRate (in);
				driver.processor->setupProcessing (setup);
				break;
			}
			case 1:
				driver.processor->setActive (in.ConsumeBool ());
				break;
			case 2:
			{
				const SpeakerArrangement choices[] = {SpeakerArr::kMono, SpeakerArr::kStereo,
				                                      SpeakerArr::k51, SpeakerArr::kEmpty};
				SpeakerArrangement input = in.PickValueInArray (choices);
				SpeakerArrangement output = in.PickValueInArray (choices);
				driver.processor->setBusArrangements (&input, 1, &output, 1);
				driver.channels = in.ConsumeIntegralInRange<int32> (0, 2);
				break;
			}
			case 3:
			case 4:
			case 5:
			case 6:
				processBlock (in, driver, noiseSeed);
				break;
			case 7:
				driver.processor->setParamNormalized (pickId (in), pickValue (in));
				break;
			case 8:
			{
				// A program change as hosts send it: the index over the list's step count.
				const int32 program = in.ConsumeIntegralInRange<int32> (-2, 14);
				driver.processor->setParamNormalized (0x70727374, program / 10.);
				break;
			}
			case 9:
				stateRoundTrip (driver);
				break;
			case 10:
			{
				const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t> (in.ConsumeIntegralInRange<size_t> (0, 80));
				if (in.ConsumeBool ())
					driver.setState (bytes);
				else
					driver.setComponentState (bytes);
				break;
			}
			case 11:
				driver.changes.addChange (2056, 0, in.ConsumeBool () ? 1. : 0.);
				processBlock (in, driver, noiseSeed);
				break;
			case 12:
				driver.processor->setProcessing (in.ConsumeBool ());
				break;
			case 13:
				if (!terminated && in.ConsumeIntegralInRange<int> (0, 3) == 0)
				{
					driver.terminate ();
					terminated = true;
				}
				break;
		}
	}
	return 0;
}

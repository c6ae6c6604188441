// ns per stereo frame through IAudioProcessor::process (512-frame blocks,
// 48000 Hz), steady and with every continuous parameter automated in every
// block, next to the engine alone doing the same work: its processFrame loop,
// and its run operation (one call per block). Prints the adapter's ratios
// over both at the end.

#include "Processor.h"

#include "effect/CStDelayFil.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kBlock = 512;
constexpr double kRate = 48000.;
constexpr int kContinuousControls = 8;

// Host-side parameter changes without allocation: one point per queue.
class OnePointQueue : public IParamValueQueue
{
public:
	ParamID PLUGIN_API getParameterId () override { return id; }
	int32 PLUGIN_API getPointCount () override { return 1; }
	tresult PLUGIN_API getPoint (int32 index, int32& offset, ParamValue& v) override
	{
		if (index != 0)
			return kResultFalse;
		offset = 0;
		v = value;
		return kResultOk;
	}
	tresult PLUGIN_API addPoint (int32, ParamValue, int32&) override { return kResultFalse; }
	tresult PLUGIN_API queryInterface (const TUID, void**) override { return kNoInterface; }
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }
	ParamID id = 0;
	ParamValue value = 0.;
};

class FixedChanges : public IParameterChanges
{
public:
	int32 PLUGIN_API getParameterCount () override { return count; }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) override
	{
		return index >= 0 && index < count ? &queues[index] : nullptr;
	}
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID&, int32&) override { return nullptr; }
	tresult PLUGIN_API queryInterface (const TUID, void**) override { return kNoInterface; }
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }
	OnePointQueue queues[kContinuousControls];
	int32 count = 0;
};

// The automation both sides receive in block b: each control sweeps back and
// forth, so every smoother keeps moving.
double automationValue (int control, int64_t block)
{
	const int phase = static_cast<int> ((block + control * 7) % 64);
	const double ramp = (phase < 32 ? phase : 64 - phase) / 32.;
	return 0.05 + 0.9 * ramp;
}

struct Signal
{
	Signal ()
	{
		uint32_t seed = 12345u;
		for (auto* channel : {&left, &right})
		{
			channel->resize (kBlock);
			for (float& sample : *channel)
			{
				seed = seed * 1664525u + 1013904223u;
				sample = static_cast<float> (seed >> 8) / 16777216.f - 0.5f;
			}
		}
	}
	std::vector<float> left;
	std::vector<float> right;
};

class ProcessorUnderTest
{
public:
	ProcessorUnderTest ()
	{
		FUnknown* instance = Vire2VUR3::Processor::createInstance (nullptr);
		instance->queryInterface (IAudioProcessor::iid, reinterpret_cast<void**> (&processor));
		instance->release ();
		component = processor;
		processor->queryInterface (IComponent::iid, reinterpret_cast<void**> (&componentInterface));
		componentInterface->initialize (nullptr);
		SpeakerArrangement stereo = SpeakerArr::kStereo;
		processor->setBusArrangements (&stereo, 1, &stereo, 1);
		ProcessSetup setup {kRealtime, kSample32, kBlock, kRate};
		processor->setupProcessing (setup);
		componentInterface->setActive (true);
		processor->setProcessing (true);

		outLeft.resize (kBlock);
		outRight.resize (kBlock);
		inputs[0] = signal.left.data ();
		inputs[1] = signal.right.data ();
		outputs[0] = outLeft.data ();
		outputs[1] = outRight.data ();
		inputBus.numChannels = 2;
		inputBus.channelBuffers32 = inputs;
		outputBus.numChannels = 2;
		outputBus.channelBuffers32 = outputs;
		data.processMode = kRealtime;
		data.symbolicSampleSize = kSample32;
		data.numSamples = kBlock;
		data.numInputs = 1;
		data.numOutputs = 1;
		data.inputs = &inputBus;
		data.outputs = &outputBus;
		// A delay that rings, in delay mode, so the voices do real work.
		setChangesForBlock (0);
		data.inputParameterChanges = &changes;
		processor->process (data);
		changes.count = 0;
	}
	~ProcessorUnderTest ()
	{
		processor->setProcessing (false);
		componentInterface->setActive (false);
		componentInterface->terminate ();
		componentInterface->release ();
		processor->release ();
	}

	void setChangesForBlock (int64_t block)
	{
		for (int c = 0; c < kContinuousControls; ++c)
		{
			changes.queues[c].id = static_cast<ParamID> (c);
			changes.queues[c].value = automationValue (c, block);
		}
		changes.count = kContinuousControls;
	}

	Signal signal;
	IAudioProcessor* processor = nullptr;
	IAudioProcessor* component = nullptr;
	IComponent* componentInterface = nullptr;
	std::vector<float> outLeft;
	std::vector<float> outRight;
	float* inputs[2] = {nullptr, nullptr};
	float* outputs[2] = {nullptr, nullptr};
	AudioBusBuffers inputBus {};
	AudioBusBuffers outputBus {};
	ProcessData data {};
	FixedChanges changes;
};

class EngineUnderTest
{
public:
	EngineUnderTest ()
	{
		engine.sampleRate = static_cast<int32_t> (kRate);
		engine.prepareToProcess ();
		engine.prepareToProcess ();
		outLeft.resize (kBlock);
		outRight.resize (kBlock);
		setChangesForBlock (0);
		runBlock ();
	}
	void setChangesForBlock (int64_t block)
	{
		for (int c = 0; c < kContinuousControls; ++c)
			engine.setNormalizedValue (c, automationValue (c, block), false);
	}
	void runBlock ()
	{
		for (int32 i = 0; i < kBlock; ++i)
		{
			float in[2] = {signal.left[static_cast<size_t> (i)], signal.right[static_cast<size_t> (i)]};
			float out[2];
			engine.processFrame (in, out, 2, 2);
			outLeft[static_cast<size_t> (i)] = out[0];
			outRight[static_cast<size_t> (i)] = out[1];
		}
	}
	// The same block through the effect's run operation (what the adapter's
	// frame loop hands a block to between events).
	void runBlockAsRun ()
	{
		const float* inputs[2] = {signal.left.data (), signal.right.data ()};
		float* outputs[2] = {outLeft.data (), outRight.data ()};
		engine.processFrameRun (inputs, outputs, 2, kBlock, timing, false, 1. / kRate);
	}
	Signal signal;
	CStDelayFil engine;
	HostInfoBlock timing {};
	std::vector<float> outLeft;
	std::vector<float> outRight;
};

void reportPerFrame (benchmark::State& state)
{
	state.counters["ns_per_frame"] = benchmark::Counter (
	    static_cast<double> (state.iterations ()) * kBlock,
	    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_EngineSteady (benchmark::State& state)
{
	EngineUnderTest engine;
	for (auto _ : state)
	{
		engine.runBlock ();
		benchmark::DoNotOptimize (engine.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

void BM_EngineRunSteady (benchmark::State& state)
{
	EngineUnderTest engine;
	for (auto _ : state)
	{
		engine.runBlockAsRun ();
		benchmark::DoNotOptimize (engine.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

void BM_EngineRunAutomated (benchmark::State& state)
{
	EngineUnderTest engine;
	int64_t block = 1;
	for (auto _ : state)
	{
		engine.setChangesForBlock (block++);
		engine.runBlockAsRun ();
		benchmark::DoNotOptimize (engine.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

void BM_ProcessorSteady (benchmark::State& state)
{
	ProcessorUnderTest host;
	for (auto _ : state)
	{
		host.processor->process (host.data);
		benchmark::DoNotOptimize (host.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

void BM_EngineAutomated (benchmark::State& state)
{
	EngineUnderTest engine;
	int64_t block = 1;
	for (auto _ : state)
	{
		engine.setChangesForBlock (block++);
		engine.runBlock ();
		benchmark::DoNotOptimize (engine.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

void BM_ProcessorAutomated (benchmark::State& state)
{
	ProcessorUnderTest host;
	int64_t block = 1;
	for (auto _ : state)
	{
		host.setChangesForBlock (block++);
		host.processor->process (host.data);
		benchmark::DoNotOptimize (host.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

// As hosts do it: every block carries the transport, which the effect then
// receives frame by frame.
void BM_ProcessorSteadyWithContext (benchmark::State& state)
{
	ProcessorUnderTest host;
	ProcessContext context {};
	context.sampleRate = kRate;
	context.tempo = 120.;
	context.timeSigNumerator = 4;
	context.timeSigDenominator = 4;
	host.data.processContext = &context;
	for (auto _ : state)
	{
		host.processor->process (host.data);
		context.projectTimeSamples += kBlock;
		benchmark::DoNotOptimize (host.outLeft.data ());
		benchmark::ClobberMemory ();
	}
	reportPerFrame (state);
}

BENCHMARK (BM_EngineSteady);
BENCHMARK (BM_EngineRunSteady);
BENCHMARK (BM_ProcessorSteady);
BENCHMARK (BM_ProcessorSteadyWithContext);
BENCHMARK (BM_EngineAutomated);
BENCHMARK (BM_EngineRunAutomated);
BENCHMARK (BM_ProcessorAutomated);

// Keeps each run's time per frame so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
	void ReportRuns (const std::vector<Run>& runs) override
	{
		ConsoleReporter::ReportRuns (runs);
		for (const Run& run : runs)
		{
			auto found = run.counters.find ("ns_per_frame");
			if (found == run.counters.end ())
				continue;
			// With repetitions the median stands for the benchmark.
			if (run.run_type == Run::RT_Iteration && !medians.count (run.run_name.function_name))
				nsPerFrame[run.run_name.function_name] = found->second.value;
			if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
			{
				medians.insert (run.run_name.function_name);
				nsPerFrame[run.run_name.function_name] = found->second.value;
			}
		}
	}
	void printRatios () const
	{
		const auto ratio = [this] (const char* adapter, const char* engine) {
			auto a = nsPerFrame.find (adapter);
			auto e = nsPerFrame.find (engine);
			if (a == nsPerFrame.end () || e == nsPerFrame.end () || e->second <= 0.)
				return;
			std::printf ("%-30s %8.2f ns/frame vs %-22s %8.2f ns/frame: ratio %.3f (overhead %+.1f %%)\n",
			             adapter, a->second * 1e9, engine, e->second * 1e9, a->second / e->second,
			             (a->second / e->second - 1.) * 100.);
		};
		ratio ("BM_ProcessorSteady", "BM_EngineSteady");
		ratio ("BM_ProcessorSteadyWithContext", "BM_EngineSteady");
		ratio ("BM_ProcessorAutomated", "BM_EngineAutomated");
		ratio ("BM_ProcessorSteady", "BM_EngineRunSteady");
		ratio ("BM_ProcessorSteadyWithContext", "BM_EngineRunSteady");
		ratio ("BM_ProcessorAutomated", "BM_EngineRunAutomated");
	}
	std::map<std::string, double> nsPerFrame;
	std::set<std::string> medians;
};

} // namespace

int main (int argc, char** argv)
{
	benchmark::Initialize (&argc, argv);
	if (benchmark::ReportUnrecognizedArguments (argc, argv))
		return 1;
	RatioReporter reporter;
	benchmark::RunSpecifiedBenchmarks (&reporter);
	reporter.printRatios ();
	benchmark::Shutdown ();
	return 0;
}

// ns per 256-frame stereo block of the Tarnwick module at 48000 Hz: through
// the VST 2 wrapper (processReplacing, one parameter automated per block, the
// host asked for its time) and through IAudioProcessor::process with the same
// automation. Prints the wrapper's cost as a ratio to the direct path.

#include "TarnwickIds.h"
#include "Vst2Abi.h"

#include "hostkit/HostKit.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <map>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kBlock = 256;
constexpr double kRate = 48000.;


Vst2Abi::TimeInfo timeInfo {};

intptr_t benchHost (vst_effect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
	if (opcode == Vst2Abi::kHostVersion)
		return 2400;
	if (opcode == Vst2Abi::kHostGetTime)
		return reinterpret_cast<intptr_t> (&timeInfo);
	return 0;
}

struct Signal
{
	std::vector<float> left, right, outL, outR;
	Signal ()
	{
		for (int32 i = 0; i < kBlock; ++i)
		{
			left.push_back (std::sin (i * 0.03f) * 0.5f);
			right.push_back (std::cos (i * 0.05f) * 0.5f);
		}
		outL.resize (kBlock);
		outR.resize (kBlock);
	}
};


void BM_Vst2ProcessReplacing (benchmark::State& state)
{
	void* library = dlopen (TARNWICK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
	auto entry = reinterpret_cast<vst_effect* (*) (vst_host_callback)> (dlsym (library, "VSTPluginMain"));
	Vst2Abi::HostCallback host = &benchHost;
	vst_effect* e = entry (reinterpret_cast<vst_host_callback> (reinterpret_cast<void (*) ()> (host)));
	timeInfo.sampleRate = kRate;
	timeInfo.tempo = 120;
	timeInfo.flags = Vst2Abi::kTempoValid | Vst2Abi::kTransportPlaying;
	e->control (e, static_cast<VST_EFFECT_OPCODE> (Vst2Abi::kEffSetSampleRate), 0, 0, nullptr, kRate);
	e->control (e, static_cast<VST_EFFECT_OPCODE> (Vst2Abi::kEffSetBlockSize), 0, kBlock, nullptr, 0);
	e->control (e, static_cast<VST_EFFECT_OPCODE> (Vst2Abi::kEffMainsChanged), 0, 1, nullptr, 0);
	e->control (e, static_cast<VST_EFFECT_OPCODE> (Vst2Abi::kEffSetProgram), 0, 3, nullptr, 0);
	Signal s;
	const float* in[2] = {s.left.data (), s.right.data ()};
	float* out[2] = {s.outL.data (), s.outR.data ()};
	int block = 0;
	for (auto _ : state)
	{
		e->set_parameter (e, 2, 0.5f + 0.25f * static_cast<float> (block++ & 1));
		e->process_float (e, in, out, kBlock);
		benchmark::DoNotOptimize (s.outL.data ());
	}
	state.SetItemsProcessed (state.iterations () * kBlock);
	e->control (e, static_cast<VST_EFFECT_OPCODE> (Vst2Abi::kEffClose), 0, 0, nullptr, 0);
}

void BM_Vst3Process (benchmark::State& state)
{
	Tarnwick::HostKit::PluginModule module;
	module.load (TARNWICK_BUNDLE_PATH);
	Tarnwick::HostKit::PluginInstance instance (module);
	instance.create (Vire2VUR3::kProcessorClassTUID);
	instance.setup (kRate, kBlock, 2);
	instance.selectProgram (3);
	Signal s;
	const float* in[2] = {s.left.data (), s.right.data ()};
	float* out[2] = {s.outL.data (), s.outR.data ()};
	ProcessContext context {};
	context.sampleRate = kRate;
	context.tempo = 120;
	context.state = ProcessContext::kTempoValid | ProcessContext::kPlaying;
	int block = 0;
	for (auto _ : state)
	{
		instance.setParameter (2, 0.5 + 0.25 * static_cast<double> (block++ & 1));
		instance.process (in, out, kBlock, nullptr, nullptr, &context);
		benchmark::DoNotOptimize (s.outL.data ());
	}
	state.SetItemsProcessed (state.iterations () * kBlock);
}

BENCHMARK (BM_Vst3Process)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_Vst2ProcessReplacing)->Unit (benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
	void ReportRuns (const std::vector<Run>& runs) override
	{
		// Single runs, or the mean of repetitions.
		for (const Run& run : runs)
			if (run.aggregate_name.empty () || run.aggregate_name == "mean")
				times[run.run_name.function_name] = run.GetAdjustedCPUTime ();
		ConsoleReporter::ReportRuns (runs);
	}
	void Finalize () override
	{
		ConsoleReporter::Finalize ();
		const double direct = times["BM_Vst3Process"];
		const double wrapped = times["BM_Vst2ProcessReplacing"];
		if (direct > 0)
			std::printf ("VST 2 wrapper / direct VST 3 process, CPU time per block: %.3f\n", wrapped / direct);
	}
	std::map<std::string, double> times;
};

} // namespace

int main (int argc, char** argv)
{
	benchmark::Initialize (&argc, argv);
	RatioReporter reporter;
	benchmark::RunSpecifiedBenchmarks (&reporter);
	benchmark::Shutdown ();
	return 0;
}

// tarnwick_perf: the plug-in's cost through IAudioProcessor::process next to a straight-line
// reference loop of the same DSP, measured in the same run.
//
//   tarnwick_perf count reference|reference-automated|steady|automated|mono|tail|single-frames [blocks]
//       Runs the case with callgrind's collection switched on only around the measured calls
//       (run under valgrind --tool=callgrind --collect-atstart=no); prints the frame count.
//       mono: the steady case on a mono bus; tail: stereo, the input all zeros after the noise
//       (not flagged silent, so the echoes still run); single-frames: the steady case in blocks
//       of one frame.
//   tarnwick_perf time
//       ns per frame of the three cases, and the silent tail after loud noise (1 ms and 300 ms
//       delay): the slowest tail block against a steady-state block, and when the output
//       reaches exact zero.
#include "PerfScenario.h"

#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace PerfScenario;
using namespace Tarnwick::Stress;
using Clock = std::chrono::steady_clock;

namespace {

// One case: prepare (not measured), then `measuredBlock` per block (measured).
struct Case
{
	std::unique_ptr<ProcessorDriver> driver;
	std::unique_ptr<ReferenceDelayLoop> reference;
	std::unique_ptr<ReferenceGlideLoop> glideReference;
	std::vector<float> in[2];
	std::vector<float> out[2];
	bool automated = false;
	int32_t framesPerCall = kBlock;
	int32_t block = 0;
};

Case makeCase (const std::string& name)
{
	Case c;
	for (int ch = 0; ch < 2; ++ch)
	{
		c.in[ch].resize (kBlock);
		c.out[ch].resize (kBlock);
		NoiseSource noise (11 + ch);
		noise.fill (c.in[ch].data (), kBlock, 0.5f);
	}
	if (name == "reference")
	{
		c.reference = std::make_unique<ReferenceDelayLoop> (static_cast<int32_t> (kSampleRate),
		                                                    referenceSettings (steadySettings ()));
		for (int b = 0; b < static_cast<int> (2 * kSampleRate) / kBlock; ++b)
			for (int ch = 0; ch < 2; ++ch)
				c.reference->process (ch, c.in[ch].data (), c.out[ch].data (), kBlock);
		return c;
	}
	if (name == "reference-automated")
	{
		c.glideReference = std::make_unique<ReferenceGlideLoop> (static_cast<int32_t> (kSampleRate),
		                                                         steadySettings ().values);
		const float* inputs[2] = {c.in[0].data (), c.in[1].data ()};
		float* outputs[2] = {c.out[0].data (), c.out[1].data ()};
		for (int b = 0; b < static_cast<int> (2 * kSampleRate) / kBlock; ++b)
			c.glideReference->process (inputs, outputs, kBlock);
		c.automated = true;
		return c;
	}
	c.driver = makeSettledInstance (steadySettings (), name == "mono" ? 1 : 2);
	if (!c.driver)
	{
		std::fprintf (stderr, "tarnwick_perf: the plug-in could not be started\n");
		std::exit (1);
	}
	c.automated = name == "automated";
	if (name == "tail")
		for (int ch = 0; ch < 2; ++ch)
			std::fill (c.in[ch].begin (), c.in[ch].end (), 0.f);
	if (name == "single-frames")
		c.framesPerCall = 1;
	for (int ch = 0; ch < 2; ++ch)
		std::memcpy (c.driver->input (ch), c.in[ch].data (), sizeof (float) * kBlock);
	return c;
}

// Host-side preparation of a block (not measured).
void prepareBlock (Case& c)
{
	if (c.automated && c.glideReference)
	{
		double plain[8];
		automationTargets (c.block, plain);
		c.glideReference->setTargets (plain);
	}
	else if (c.automated)
		queueAutomation (*c.driver, c.block);
	++c.block;
}

inline void runBlock (Case& c)
{
	if (c.reference)
	{
		c.reference->process (0, c.in[0].data (), c.out[0].data (), kBlock);
		c.reference->process (1, c.in[1].data (), c.out[1].data (), kBlock);
	}
	else if (c.glideReference)
	{
		const float* inputs[2] = {c.in[0].data (), c.in[1].data ()};
		float* outputs[2] = {c.out[0].data (), c.out[1].data ()};
		c.glideReference->process (inputs, outputs, kBlock);
	}
	else if (c.framesPerCall == kBlock)
	{
		c.driver->process (kBlock);
	}
	else
	{
		// The same frames, one call each (the driver reads the start of its buffers).
		for (int32_t i = 0; i < kBlock; ++i)
			c.driver->process (1);
	}
}

int count (const std::string& name, int blocks)
{
	Case c = makeCase (name);
	if (!c.reference && !c.glideReference && !c.driver)
		return 1;
	for (int b = 0; b < blocks; ++b)
	{
		prepareBlock (c);
		CALLGRIND_TOGGLE_COLLECT;
		runBlock (c);
		CALLGRIND_TOGGLE_COLLECT;
	}
	std::printf ("frames %d\n", blocks * kBlock);
	return 0;
}

// Fewest ns per frame over several runs of `blocks` blocks.
double nsPerFrame (const std::string& name, int blocks, int runs)
{
	double best = 1e30;
	for (int r = 0; r < runs; ++r)
	{
		Case c = makeCase (name);
		Clock::duration total {};
		for (int b = 0; b < blocks; ++b)
		{
			prepareBlock (c);
			const auto start = Clock::now ();
			runBlock (c);
			total += Clock::now () - start;
		}
		const double ns = std::chrono::duration<double, std::nano> (total).count () / (blocks * kBlock);
		best = std::min (best, ns);
	}
	return best;
}

struct TailResult
{
	double slowestBlockNs = 0.;
	int slowestBlock = 0;
	double zeroAtSeconds = -1.;
};

// One second of full-scale noise, then silence until the output has been exactly zero for a
// second (at most 90 s). Each block's time is the fewest over the runs.
TailResult tail (double delayMs, int runs)
{
	const int maxBlocks = static_cast<int> (90. * kSampleRate) / kBlock;
	const int noiseBlocks = static_cast<int> (kSampleRate) / kBlock;
	const int quietNeeded = static_cast<int> (kSampleRate) / kBlock;
	std::vector<double> best (static_cast<size_t> (maxBlocks), 1e30);
	TailResult result;
	int blocksRun = maxBlocks;
	for (int r = 0; r < runs; ++r)
	{
		auto driver = makeSettledInstance (tailSettings (delayMs));
		if (!driver)
			std::exit (1);
		NoiseSource noise (3);
		for (int b = 0; b < noiseBlocks; ++b)
		{
			noise.fill (driver->input (0), kBlock);
			noise.fill (driver->input (1), kBlock);
			driver->process (kBlock);
		}
		std::memset (driver->input (0), 0, sizeof (float) * kBlock);
		std::memset (driver->input (1), 0, sizeof (float) * kBlock);
		int quiet = 0;
		int zeroFrom = -1;
		for (int b = 0; b < blocksRun; ++b)
		{
			const auto start = Clock::now ();
			driver->process (kBlock);
			const double ns = std::chrono::duration<double, std::nano> (Clock::now () - start).count ();
			best[static_cast<size_t> (b)] = std::min (best[static_cast<size_t> (b)], ns);
			bool zero = true;
			for (int ch = 0; ch < 2; ++ch)
				for (int i = 0; i < kBlock; ++i)
					zero = zero && driver->output (ch)[i] == 0.f;
			quiet = zero ? quiet + 1 : 0;
			if (zero && zeroFrom < 0)
				zeroFrom = b;
			if (!zero)
				zeroFrom = -1;
			if (quiet >= quietNeeded)
			{
				blocksRun = b + 1;
				result.zeroAtSeconds = zeroFrom * kBlock / kSampleRate;
				break;
			}
		}
	}
	for (int b = 0; b < blocksRun; ++b)
		if (best[static_cast<size_t> (b)] > result.slowestBlockNs)
		{
			result.slowestBlockNs = best[static_cast<size_t> (b)];
			result.slowestBlock = b;
		}
	return result;
}

int time ()
{
	const int blocks = 400;
	const int runs = 7;
	const double reference = nsPerFrame ("reference", blocks, runs);
	const double steady = nsPerFrame ("steady", blocks, runs);
	const double automated = nsPerFrame ("automated", blocks, runs);
	const double referenceAutomated = nsPerFrame ("reference-automated", blocks, runs);
	std::printf ("ns_per_frame reference %.3f\n", reference);
	std::printf ("ns_per_frame steady %.3f\n", steady);
	std::printf ("ns_per_frame automated %.3f\n", automated);
	std::printf ("ns_per_frame reference-automated %.3f\n", referenceAutomated);
	const double steadyBlock = steady * kBlock;
	for (double delayMs : {1., 300.})
	{
		const TailResult t = tail (delayMs, 3);
		std::printf ("tail %.0fms slowest_block_ns %.0f at_block %d steady_block_ns %.0f ratio %.2f zero_at_s %.2f\n",
		             delayMs, t.slowestBlockNs, t.slowestBlock, steadyBlock, t.slowestBlockNs / steadyBlock,
		             t.zeroAtSeconds);
	}
	return 0;
}

} // namespace

int main (int argc, char** argv)
{
	const std::string mode = argc > 1 ? argv[1] : "time";
	if (mode == "count" && argc > 2)
		return count (argv[2], argc > 3 ? std::atoi (argv[3]) : 200);
	if (mode == "time")
		return time ();
	std::fprintf (stderr, "usage: tarnwick_perf count reference|reference-automated|steady|automated|mono|tail|single-frames [blocks] | time\n");
	return 2;
}

// The stereo effect's one-pass run (every control at rest) must leave exactly what the frame-by-
// frame loop leaves: the same output bits, the same voice state and the same host timing, through
// glides, settling, switches, mono and stereo, in-place buffers and runs of any length.
#include "ProcessorDriver.h"

#include "effect/CStDelayFil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using Tarnwick::Stress::NoiseSource;

namespace {

struct Rig
{
	explicit Rig (int32_t rate)
	{
		effect.sampleRate = rate;
		EXPECT_TRUE (effect.prepareToProcess ());
	}
	CStDelayFil effect;
	HostInfoBlock timing {};
};

// Runs `frames` frames through both effects: `fast` through its own run, `slow` through the
// base class's frame loop. Input is copied so that each may work in place.
void runBoth (Rig& fast, Rig& slow, const std::vector<float> in[2], size_t start, uint32_t frames, uint32_t channels,
              bool inPlace, std::vector<float> out[2][2])
{
	std::vector<float> bufFast[2], bufSlow[2], outFast[2], outSlow[2];
	const float* inputsFast[2] = {};
	const float* inputsSlow[2] = {};
	float* outputsFast[2] = {};
	float* outputsSlow[2] = {};
	for (uint32_t c = 0; c < channels; ++c)
	{
		bufFast[c].assign (in[c].begin () + static_cast<long> (start), in[c].begin () + static_cast<long> (start + frames));
		bufSlow[c] = bufFast[c];
		outFast[c].assign (frames, 0.f);
		outSlow[c].assign (frames, 0.f);
		inputsFast[c] = bufFast[c].data ();
		inputsSlow[c] = bufSlow[c].data ();
		outputsFast[c] = inPlace ? bufFast[c].data () : outFast[c].data ();
		outputsSlow[c] = inPlace ? bufSlow[c].data () : outSlow[c].data ();
	}
	const double secondsPerSample = 1. / fast.effect.sampleRate;
	fast.effect.processFrameRun (inputsFast, outputsFast, channels, frames, fast.timing, true, secondsPerSample);
	slow.effect.CPlugIn::processFrameRun (inputsSlow, outputsSlow, channels, frames, slow.timing, true,
	                                      secondsPerSample);
	for (uint32_t c = 0; c < channels; ++c)
	{
		out[0][c].insert (out[0][c].end (), outputsFast[c], outputsFast[c] + frames);
		out[1][c].insert (out[1][c].end (), outputsSlow[c], outputsSlow[c] + frames);
	}
}

void expectSameVoice (const CFilteredDelay& a, const CFilteredDelay& b)
{
	EXPECT_EQ (a.m_nReadPos, b.m_nReadPos);
	EXPECT_EQ (a.m_nWritePos, b.m_nWritePos);
	EXPECT_EQ (std::memcmp (&a.m_InputFilter.m_fX1, &b.m_InputFilter.m_fX1, 4 * sizeof (float)), 0);
	ASSERT_EQ (a.m_nLineLength, b.m_nLineLength);
	EXPECT_EQ (std::memcmp (a.m_pDelayLine, b.m_pDelayLine, sizeof (float) * static_cast<size_t> (a.m_nLineLength)), 0);
}

// One scenario: blocks of varying run lengths with control moves between some of them.
void checkScenario (int32_t rate, uint32_t channels, bool inPlace)
{
	Rig fast (rate), slow (rate);
	const size_t total = 48000;
	std::vector<float> in[2];
	NoiseSource noise (21);
	for (auto& channel : in)
	{
		channel.resize (total);
		noise.fill (channel.data (), static_cast<int32_t> (total));
	}
	// Silence in the middle: the tail rings out through the fast path too.
	std::fill (in[0].begin () + 20000, in[0].begin () + 30000, 0.f);
	std::fill (in[1].begin () + 20000, in[1].begin () + 30000, 0.f);

	// Position, normalized value, with or without smoothing; applied before the run.
	struct Move
	{
		int position;
		double value;
		bool jump;
	};
	const std::vector<std::vector<Move>> moves = {
	    {{8, 1., true}, {0, 0.15, true}, {1, 0.5, true}, {3, 0.9, true}},  // delay mode, 300 ms
	    {},
	    {{0, 0.3, false}, {2, 0.4, false}},                                 // glides
	    {},
	    {{5, 0.5, false}, {4, 0.2, false}},
	    {},
	    {{9, 1., true}},                                                    // off: volume only
	    {},
	    {{9, 0., true}, {8, 0., true}, {0, 0., true}},                      // comb mode, no delay
	    {},
	    {{0, 0.0001, true}},                                                // a fraction of a sample
	    {},
	    {{6, 1., false}, {7, 0.2, false}, {1, 1., true}},
	    {},
	};
	const uint32_t lengths[] = {1, 7, 512, 4096, 333, 2500, 64};
	std::vector<float> out[2][2];
	size_t at = 0;
	size_t step = 0;
	bool fastPathSeen = false;
	while (at < total)
	{
		for (const Move& move : moves[step % moves.size ()])
		{
			fast.effect.setNormalizedValue (move.position, move.value, move.jump);
			slow.effect.setNormalizedValue (move.position, move.value, move.jump);
		}
		const uint32_t frames = static_cast<uint32_t> (std::min<size_t> (lengths[step % 7], total - at));
		// Whether this run takes the one-pass way (asking writes the targets, as the first
		// frame's smoothing would: ask both).
		const bool atRest = fast.effect.smoothersAtRest ();
		EXPECT_EQ (slow.effect.smoothersAtRest (), atRest);
		fastPathSeen = fastPathSeen || atRest;
		runBoth (fast, slow, in, at, frames, channels, inPlace, out);
		at += frames;
		++step;
	}
	EXPECT_TRUE (fastPathSeen);
	for (uint32_t c = 0; c < channels; ++c)
	{
		ASSERT_EQ (out[0][c].size (), out[1][c].size ());
		EXPECT_EQ (std::memcmp (out[0][c].data (), out[1][c].data (), out[0][c].size () * sizeof (float)), 0)
		    << "channel " << c;
	}
	expectSameVoice (fast.effect.m_LeftVoice, slow.effect.m_LeftVoice);
	expectSameVoice (fast.effect.m_RightVoice, slow.effect.m_RightVoice);
	EXPECT_EQ (fast.timing.samplePosition, slow.timing.samplePosition);
	EXPECT_EQ (fast.timing.timeSeconds, slow.timing.timeSeconds);
	EXPECT_EQ (fast.effect.hostInfo.samplePosition, slow.effect.hostInfo.samplePosition);
	EXPECT_EQ (fast.effect.hostInfo.timeSeconds, slow.effect.hostInfo.timeSeconds);
}

TEST (FrameRun, StereoMatchesFrameByFrame) { checkScenario (48000, 2, false); }
TEST (FrameRun, StereoInPlaceMatchesFrameByFrame) { checkScenario (44100, 2, true); }
TEST (FrameRun, MonoMatchesFrameByFrame) { checkScenario (96000, 1, false); }

} // namespace

// A careless or hostile LV2 host: ports left unconnected, controls that are not numbers or
// lie outside their ranges, MIDI of every kind, rates the effect cannot run at.
#include "Lv2TestRig.h"

#include "lv2/Lv2Ports.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Tarnwick {
namespace Lv2Test {
namespace {

using namespace TarnwickLv2;

void setEcho (Lv2Host::Lv2Instance& instance)
{
	instance.setControl ("delay", 50.f);
	instance.setControl ("feedback", 80.f);
	instance.setControl ("delay_state", 1.f);
}

TEST (Lv2Hostile, UnconnectedPortsGiveNoCrash)
{
	const Signal input = testSignal (9600);
	{
		// Every control, the enable switch and the MIDI input left unconnected.
		TestInstance t;
		for (uint32_t port = kFirstControlPort; port < kPortCount; ++port)
			t.instance.disconnect (port);
		const Signal output = runInBlocks (t.instance, input, {100, 1, 8192});
		EXPECT_TRUE (allFinite (output));
		EXPECT_NE (output, silence (9600));
	}
	{
		// The right side unconnected: a mono host gets the left voice.
		TestInstance stereo;
		setEcho (stereo.instance);
		const Signal both = runInBlocks (stereo.instance, input, {512});
		TestInstance mono;
		setEcho (mono.instance);
		const Signal left = runInBlocks (mono.instance, Signal {input[0]}, {512});
		EXPECT_EQ (left[0], both[0]);
	}
	{
		// No input: silence out, whatever was there before.
		TestInstance t;
		t.instance.disconnect (kAudioInLeft);
		Signal output = runInBlocks (t.instance, input, {512});
		EXPECT_EQ (output, silence (9600));
	}
}

TEST (Lv2Hostile, ControlsThatAreNotNumbersOrOutOfRangeKeepTheOutputFinite)
{
	const Signal input = testSignal (24000);
	const float nan = std::numeric_limits<float>::quiet_NaN ();
	const float inf = std::numeric_limits<float>::infinity ();

	TestInstance clamped;
	setEcho (clamped.instance);
	clamped.instance.setControl ("delay", 1e9f);
	clamped.instance.setControl ("resonance", -5.f);
	clamped.instance.setControl ("delay_state", 7.f);
	TestInstance inRange;
	setEcho (inRange.instance);
	inRange.instance.setControl ("delay", 2000.f);
	inRange.instance.setControl ("resonance", 0.5f);
	inRange.instance.setControl ("delay_state", 1.f);
	EXPECT_EQ (runInBlocks (clamped.instance, input, {512}), runInBlocks (inRange.instance, input, {512}));

	// Values that are not numbers leave the control where it was.
	TestInstance poked;
	setEcho (poked.instance);
	TestInstance calm;
	setEcho (calm.instance);
	Signal pokedOut = runInBlocks (poked.instance, input, {512});
	const Signal calmOut = runInBlocks (calm.instance, input, {512});
	for (const char* symbol : {"delay", "feedback", "cutoff", "resonance", "delay_ratio", "offset", "wet_dry",
	                           "volume", "delay_state", "active", "enabled"})
		poked.instance.setControl (symbol, nan);
	EXPECT_EQ (runInBlocks (poked.instance, input, {512}), runInBlocks (calm.instance, input, {512}));
	for (const char* symbol : {"delay", "cutoff", "volume"})
		poked.instance.setControl (symbol, -inf);
	pokedOut = runInBlocks (poked.instance, input, {64, 8192});
	EXPECT_TRUE (allFinite (pokedOut));
	EXPECT_TRUE (allFinite (calmOut));
}

TEST (Lv2Hostile, EnabledOffPassesTheInputThrough)
{
	const Signal input = testSignal (4800);
	TestInstance t;
	setEcho (t.instance);
	t.instance.setControl ("enabled", 0.f);
	EXPECT_EQ (runInBlocks (t.instance, input, {480}), input);
	t.instance.setControl ("enabled", 1.f);
	EXPECT_NE (runInBlocks (t.instance, input, {480}), input);
}

TEST (Lv2Hostile, MidiOfEveryKindChangesNothingAudible)
{
	// The effect answers no MIDI: controllers, bends, notes and broken messages pass unheard.
	const Signal input = testSignal (512 * 8);
	TestInstance quiet;
	setEcho (quiet.instance);
	TestInstance busy;
	setEcho (busy.instance);
	Signal quietOut = runInBlocks (quiet.instance, input, {512});
	Signal busyOut (2, std::vector<float> (input[0].size ()));
	for (std::size_t block = 0; block < 8; ++block)
	{
		busy.instance.queueMidi (0, 0xB0, 1, 100);   // mod wheel
		busy.instance.queueMidi (3, 0xB3, 7, 64);    // volume
		busy.instance.queueMidi (5, 0xB0, 64, 127);  // sustain
		busy.instance.queueMidi (6, 0xB0, 123, 0);   // all notes off
		busy.instance.queueMidi (10, 0xE0, 0, 0);    // pitch bend, lowest
		busy.instance.queueMidi (11, 0xE0, 127, 127);
		busy.instance.queueMidi (20, 0xD0, 90, 0);   // channel pressure
		busy.instance.queueMidi (100, 0x90, 60, 100);
		busy.instance.queueMidi (200, 0x90, 60, 0);  // note on at velocity 0 ends the note
		busy.instance.queueMidi (300, 0xA0, 60, 30); // poly pressure
		busy.instance.queueMidi (400, 0x80, 61, 0);
		busy.instance.queueMidi (9999, 0x90, 200, 200); // past the block, out of range
		const float* in[2] = {input[0].data () + block * 512, input[1].data () + block * 512};
		float* out[2] = {busyOut[0].data () + block * 512, busyOut[1].data () + block * 512};
		busy.instance.run (in, out, 2, 512);
	}
	EXPECT_EQ (busyOut, quietOut);
}

TEST (Lv2Hostile, RatesTheEffectCannotRunAtAreRefused)
{
	for (double rate : {0., 1000., 1e7, std::numeric_limits<double>::quiet_NaN ()})
	{
		Lv2Host::UridMap map;
		Lv2Host::Lv2Instance instance (bundleWorld (), rate, &map);
		EXPECT_FALSE (instance.ok ()) << rate;
	}
	for (double rate : {8000., 44100., 384000.})
	{
		TestInstance t (rate);
		EXPECT_TRUE (t.instance.ok ()) << rate;
		EXPECT_TRUE (allFinite (runInBlocks (t.instance, testSignal (2048), {1024})));
	}
}

TEST (Lv2Hostile, AHostWithoutFeaturesStillGetsAudio)
{
	Lv2Host::Lv2Instance bare (bundleWorld (), kRate, nullptr);
	ASSERT_TRUE (bare.ok ());
	bare.activate ();
	setEcho (bare);
	TestInstance full;
	setEcho (full.instance);
	const Signal input = testSignal (9600);
	EXPECT_EQ (runInBlocks (bare, input, {512}), runInBlocks (full.instance, input, {512}));
}

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick

#include "ProcessScenarios.h"

namespace Tarnwick {
namespace Realtime {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kBlock = 512;

// A value in 0..1 that differs from block to block, parameter to parameter and point to point.
double sweptValue (int block, int parameter, int point)
{
	return static_cast<double> ((block * 7 + parameter * 3 + point * 5) % 11) / 10.;
}

} // namespace

const char* nameOf (Scenario scenario)
{
	switch (scenario)
	{
		case Scenario::kSteady: return "Steady";
		case Scenario::kAutomation: return "Automation";
		case Scenario::kMidi: return "Midi";
		case Scenario::kProgramChange: return "ProgramChange";
		case Scenario::kBypass: return "Bypass";
		case Scenario::kSilenceFlags: return "SilenceFlags";
		case Scenario::kBlockSizes: return "BlockSizes";
		case Scenario::kSilentTail: return "SilentTail";
		case Scenario::kInPlace: return "InPlace";
		case Scenario::kTempoSync: return "TempoSync";
	}
	return "Unknown";
}

const char* describe (ScenarioOutcome outcome)
{
	switch (outcome)
	{
		case ScenarioOutcome::kPassed: return "all blocks processed";
		case ScenarioOutcome::kProcessRefused: return "process did not answer kResultOk";
		case ScenarioOutcome::kOutputNotFinite: return "the output held a value that is not a finite number";
		case ScenarioOutcome::kHostSideFull: return "the host's change or event list was full";
		case ScenarioOutcome::kParameterMissing: return "the bundle lacks a parameter the scenario needs";
	}
	return "unknown outcome";
}

ScenarioOutcome ProcessScenarios::run (Scenario scenario, MeasuredSection* section)
{
	hostSideFull = false;
	ScenarioOutcome outcome = ScenarioOutcome::kPassed;
	switch (scenario)
	{
		case Scenario::kSteady: outcome = steady (section); break;
		case Scenario::kAutomation: outcome = automation (section); break;
		case Scenario::kMidi: outcome = midi (section); break;
		case Scenario::kProgramChange: outcome = programChange (section); break;
		case Scenario::kBypass: outcome = bypass (section); break;
		case Scenario::kSilenceFlags: outcome = silenceFlags (section); break;
		case Scenario::kBlockSizes: outcome = blockSizes (section); break;
		case Scenario::kSilentTail: outcome = silentTail (section); break;
		case Scenario::kInPlace: outcome = inPlace (section); break;
		case Scenario::kTempoSync: outcome = tempoSync (section); break;
	}
	rig.setInputSilence (0);
	rig.setSilentInput (false);
	rig.setInPlace (false);
	return outcome;
}

ScenarioOutcome ProcessScenarios::runAll (MeasuredSection* section)
{
	for (Scenario scenario : kAllScenarios)
	{
		const ScenarioOutcome outcome = run (scenario, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

bool ProcessScenarios::change (ParamID id, int32 offset, double value)
{
	if (!rig.changes ().addChange (id, offset, value))
		hostSideFull = true;
	return !hostSideFull;
}

ScenarioOutcome ProcessScenarios::block (int32 frames, MeasuredSection* section)
{
	if (hostSideFull)
		return ScenarioOutcome::kHostSideFull;
	if (rig.process (frames, section) != kResultOk)
		return ScenarioOutcome::kProcessRefused;
	if (!rig.outputFinite ())
		return ScenarioOutcome::kOutputNotFinite;
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::steady (MeasuredSection* section)
{
	for (int b = 0; b < 48; ++b)
	{
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::automation (MeasuredSection* section)
{
	const int32 offsets[] = {0, 100, 255, 256, 400, kBlock - 1};
	for (int b = 0; b < 48; ++b)
	{
		int parameter = 0;
		for (ParamID id : rig.writableParameters ())
		{
			int point = 0;
			for (int32 offset : offsets)
				change (id, offset, sweptValue (b, parameter, point++));
			++parameter;
		}
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

// Sync on, and the host's tempo moves every block: the synced time glides all along.
ScenarioOutcome ProcessScenarios::tempoSync (MeasuredSection* section)
{
	change (10, 0, 1.0);  // Sync
	change (11, 0, 0.45); // Note 1/8
	for (int b = 0; b < 48; ++b)
	{
		rig.hostTransport ().setTempo (60.0 + 11.0 * (b % 17));
		if (b == 30)
			change (11, 77, 0.8);
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	rig.hostTransport ().setTempo (120.0);
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::midi (MeasuredSection* section)
{
	for (int b = 0; b < 48; ++b)
	{
		for (int16 note = 0; note < 16; ++note)
		{
			const int16 pitch = static_cast<int16> (36 + note * 3 + b % 12);
			const int16 channel = static_cast<int16> (note % 4);
			if (!rig.events ().addNoteOn (note * 30, channel, pitch, 0.25f + 0.05f * note) ||
			    !rig.events ().addNoteOff (note * 30 + 17, channel, pitch, 0.f))
				return ScenarioOutcome::kHostSideFull;
		}
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::programChange (MeasuredSection* section)
{
	if (!rig.hasProgramChange () || rig.programCount () < 1)
		return ScenarioOutcome::kParameterMissing;
	const int32 programs = rig.programCount ();
	const double step = programs > 1 ? 1. / static_cast<double> (programs - 1) : 0.;
	for (int round = 0; round < 2; ++round)
	{
		for (int32 program = 0; program < programs; ++program)
		{
			// A program change lands anywhere in a block; the next block plays the program.
			change (rig.programChangeParameter (), (program * 97) % kBlock, program * step);
			if (controllerFollows)
				rig.instance ().getController ()->setParamNormalized (rig.programChangeParameter (),
				                                                      program * step);
			for (int b = 0; b < 2; ++b)
			{
				const ScenarioOutcome outcome = block (kBlock, section);
				if (outcome != ScenarioOutcome::kPassed)
					return outcome;
			}
		}
	}
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::bypass (MeasuredSection* section)
{
	if (!rig.hasBypass ())
		return ScenarioOutcome::kParameterMissing;
	for (int b = 0; b < 64; ++b)
	{
		// On and off at the start of a block, and switched back within one now and then.
		const double on = (b / 2) % 2 ? 1. : 0.;
		change (rig.bypassParameter (), 0, on);
		if (b % 5 == 0)
			change (rig.bypassParameter (), kBlock / 2, 1. - on);
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	change (rig.bypassParameter (), 0, 0.);
	return block (kBlock, section);
}

ScenarioOutcome ProcessScenarios::silenceFlags (MeasuredSection* section)
{
	const uint64 flagSequence[] = {0, 3, 3, 0, 1, 2, 3, 0};
	for (int b = 0; b < 48; ++b)
	{
		const uint64 flags = flagSequence[b % 8] & rig.allChannelsSilent ();
		// A host flags channels whose buffers hold silence.
		rig.setSilentInput (flags != 0);
		rig.setInputSilence (flags);
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::blockSizes (MeasuredSection* section)
{
	const ParamID moved = rig.writableParameters ().empty () ? 0 : rig.writableParameters ().front ();
	const bool hasParameter = !rig.writableParameters ().empty ();
	for (int32 frames = 1; frames <= 64; ++frames)
	{
		if (hasParameter)
			change (moved, frames - 1, (frames % 10) / 9.);
		const ScenarioOutcome outcome = block (frames, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	const int32 larger[] = {65,   100,  127,  128,  255,  256,  257,  511,  513,  1000, 1023,
	                        1024, 2047, 2048, 3000, 4095, 4096, 4097, 8000, 8191, 8192, 0};
	for (int32 frames : larger)
	{
		// The zero-frame block only carries parameter changes (a host's flush).
		if (hasParameter)
			change (moved, frames > 0 ? frames - 1 : 0, (frames % 7) / 6.);
		const ScenarioOutcome outcome = block (frames, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::silentTail (MeasuredSection* section)
{
	for (int b = 0; b < 8; ++b)
	{
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	// Ten seconds of silence: the echoes die away through the subnormal range to zero.
	rig.setSilentInput (true);
	for (int b = 0; b < 470; ++b)
	{
		const ScenarioOutcome outcome = block (1024, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	// And then flagged as silent, as hosts do once they know.
	rig.setInputSilence (rig.allChannelsSilent ());
	for (int b = 0; b < 16; ++b)
	{
		const ScenarioOutcome outcome = block (1024, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	return ScenarioOutcome::kPassed;
}

ScenarioOutcome ProcessScenarios::inPlace (MeasuredSection* section)
{
	// Some hosts hand the same buffers for input and output; with bypass and silence too.
	rig.setInPlace (true);
	for (int b = 0; b < 48; ++b)
	{
		if (rig.hasBypass ())
			change (rig.bypassParameter (), 0, (b / 8) % 2 ? 1. : 0.);
		const bool silent = b % 12 == 11;
		rig.setSilentInput (silent);
		rig.setInputSilence (silent ? rig.allChannelsSilent () : 0);
		const ScenarioOutcome outcome = block (kBlock, section);
		if (outcome != ScenarioOutcome::kPassed)
			return outcome;
	}
	if (rig.hasBypass ())
		change (rig.bypassParameter (), 0, 0.);
	return block (kBlock, section);
}

} // namespace Realtime
} // namespace Tarnwick

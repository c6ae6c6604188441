// The ways a DAW drives IAudioProcessor::process, as runs of blocks through a BundleProcessRig:
// steady playback, automation of every parameter, MIDI, program changes, bypass, silence flags,
// every block size up to the set-up maximum, a long silent tail and buffers processed in place. Each run answers how it went
// as a small number, so that a forked child can hand it back as its exit status.
#pragma once

#include "BundleProcessRig.h"
#include "MeasuredSection.h"

namespace Tarnwick {
namespace Realtime {

enum class Scenario
{
	kSteady,
	kAutomation,
	kMidi,
	kProgramChange,
	kBypass,
	kSilenceFlags,
	kBlockSizes,
	kSilentTail,
	kInPlace,
	kTempoSync,
};
constexpr int kScenarioCount = 10;
inline constexpr Scenario kAllScenarios[kScenarioCount] = {
    Scenario::kSteady,     Scenario::kAutomation, Scenario::kMidi,
    Scenario::kProgramChange, Scenario::kBypass,  Scenario::kSilenceFlags,
    Scenario::kBlockSizes, Scenario::kSilentTail, Scenario::kInPlace,
    Scenario::kTempoSync,
};
const char* nameOf (Scenario scenario);

enum class ScenarioOutcome
{
	kPassed = 0,
	kProcessRefused = 1,
	kOutputNotFinite = 2,
	kHostSideFull = 3,
	kParameterMissing = 4,
};
constexpr int kHighestScenarioOutcome = 4;
const char* describe (ScenarioOutcome outcome);

class ProcessScenarios
{
public:
	explicit ProcessScenarios (BundleProcessRig& rig) : rig (rig) {}

	// Program changes also go to the edit controller between blocks, as from a DAW's UI thread.
	// Off where nothing but the audio path may run (the controller side allocates and notifies).
	void setControllerFollows (bool follows) { controllerFollows = follows; }

	// The scenario's blocks, each process call inside `section` (may be null).
	ScenarioOutcome run (Scenario scenario, MeasuredSection* section);
	// Every scenario in turn (kAllScenarios); the first failure ends the run.
	ScenarioOutcome runAll (MeasuredSection* section);

private:
	ScenarioOutcome steady (MeasuredSection* section);
	ScenarioOutcome automation (MeasuredSection* section);
	ScenarioOutcome tempoSync (MeasuredSection* section);
	ScenarioOutcome midi (MeasuredSection* section);
	ScenarioOutcome programChange (MeasuredSection* section);
	ScenarioOutcome bypass (MeasuredSection* section);
	ScenarioOutcome silenceFlags (MeasuredSection* section);
	ScenarioOutcome blockSizes (MeasuredSection* section);
	ScenarioOutcome silentTail (MeasuredSection* section);
	ScenarioOutcome inPlace (MeasuredSection* section);

	ScenarioOutcome block (Steinberg::int32 frames, MeasuredSection* section);
	bool change (Steinberg::Vst::ParamID id, Steinberg::int32 offset, double value);

	BundleProcessRig& rig;
	bool hostSideFull = false;
	bool controllerFollows = false;
};

} // namespace Realtime
} // namespace Tarnwick

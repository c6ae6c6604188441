// What initialize publishes: parameters, buses, units, the program list, and the
// MIDI controller mapping, tail and latency.
#include "ProcessorRig.h"
#include "ProbeEffect.h"
#include "TextHelpers.h"

#include "LogParameter.h"
#include "PeakParameter.h"
#include "VoltOctaveParameter.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Vire2VUR3;

namespace {

struct ExpectedParameter
{
	ParamID id;
	std::u16string title;
	std::u16string units;
	int32 stepCount;
	int32 flags;
	double defaultNormalized;
	std::u16string defaultText;
};

std::u16string valueText (Processor& processor, ParamID id, ParamValue normalized)
{
	String128 text {};
	EXPECT_EQ (processor.getParamStringByValue (id, normalized, text), kResultOk) << id;
	return text16 (text);
}

ProbeControl continuous (const char* name, float min, float max, float def)
{
	ProbeControl control;
	control.name = name;
	control.minValue = min;
	control.maxValue = max;
	control.defaultValue = def;
	return control;
}

} // namespace

TEST (ProcessorParameters, ProductPublishesItsParametersInOrder)
{
	ProcessorRig rig;
	ASSERT_EQ (rig.initialize (), kResultOk);
	Processor& processor = *rig.processor;

	const int32 automate = ParameterInfo::kCanAutomate;
	const std::vector<ExpectedParameter> expected = {
	    {0, u"Delay", u"mSec", 0, automate, 0., u"0.00"},
	    {1, u"Feedback", u"%", 0, automate, 0., u"0.00"},
	    {2, u"Cutoff", u"Hz", 0, automate, 1., u"16000.00"},
	    {3, u"Resonance", u"", 0, automate, 0., u"0.50"},
	    {4, u"Delay Ratio", u"Divide", 0, automate, 0., u"1.00"},
	    {5, u"Offset", u"", 0, automate, 0., u"0.00"},
	    {6, u"Wet/Dry", u"%", 0, automate, 0.5, u"50.00"},
	    {7, u"Volume", u"", 0, automate, static_cast<double> (0.7f), u"0.70"},
	    {8, u"Delay State", u"", 1, automate | ParameterInfo::kIsList, 0., u"Comb"},
	    {9, u"Active", u"", 1, automate | ParameterInfo::kIsList, 0., u"On"},
	    {kJoystickXId, u"VectorJoystick X", u"", 0, automate, 0.5, u"0.50"},
	    {kJoystickYId, u"VectorJoystick Y", u"", 0, automate, 0.5, u"0.50"},
	    {kAssignButton1Id, u"B1", u"", 0, automate, 0., u"0"},
	    {kAssignButton2Id, u"B2", u"", 0, automate, 0., u"0"},
	    {kAssignButton3Id, u"B3", u"", 0, automate, 0., u"0"},
	    {kBypassId, u"Bypass", u"", 0, automate | ParameterInfo::kIsBypass, 0., u"0.0000"},
	    {kPitchBendId, u"PitchBend", u"", 0, automate, 0., u"0.0"},
	    {kMidiVolumeId, u"MIDI Vol", u"", 0, automate, 0., u"0.0"},
	    {kMidiPanId, u"MIDI Pan", u"", 0, automate, 0., u"0.0"},
	    {kModWheelId, u"MIDI Mod Wheel", u"", 0, automate, 0., u"0.0"},
	    {kMidiExpressionId, u"MIDI Expression", u"", 0, automate, 0., u"0.0"},
	    {kChannelPressureId, u"MIDI Channel Pressure", u"", 0, automate, 0., u"0.0"},
	    {kSustainPedalId, u"MIDI Sustain Pedal", u"", 0, automate, 0., u"0.0"},
	    {kAllNotesOffId, u"All Notes Off", u"", 0, automate, 0., u"0.0"},
	    {kPresetsParamId, u"Factory Presets", u"", 10,
	     ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, 0., u"Factory Preset"},
	    {10, u"Sync", u"", 1, automate | ParameterInfo::kIsList, 0., u"Off"},
	    {11, u"Note", u"", 20, automate | ParameterInfo::kIsList, 12. / 20., u"1/4"},
	};

	ASSERT_EQ (processor.getParameterCount (), static_cast<int32> (expected.size ()));
	for (size_t index = 0; index < expected.size (); ++index)
	{
		const ExpectedParameter& e = expected[index];
		ParameterInfo info {};
		ASSERT_EQ (processor.getParameterInfo (static_cast<int32> (index), info), kResultOk);
		SCOPED_TRACE (std::string (e.title.begin (), e.title.end ()));
		EXPECT_EQ (info.id, e.id);
		EXPECT_EQ (text16 (info.title), e.title);
		EXPECT_EQ (text16 (info.units), e.units);
		EXPECT_EQ (info.stepCount, e.stepCount);
		EXPECT_EQ (info.flags, e.flags);
		EXPECT_EQ (info.unitId, 0);
		EXPECT_EQ (info.defaultNormalizedValue, e.defaultNormalized);
		EXPECT_EQ (processor.getParamNormalized (e.id), e.defaultNormalized);
		EXPECT_EQ (valueText (processor, e.id, info.defaultNormalizedValue), e.defaultText);
	}
}

TEST (ProcessorParameters, ProductRangesAndChoices)
{
	ProcessorRig rig;
	rig.initialize ();
	Processor& processor = *rig.processor;
	const double ranges[8][2] = {{0., 2000.}, {0., 100.}, {100., 16000.}, {0.5, 10.},
	                             {1., 20.},   {0., 1.},   {0., 100.},     {0., 1.}};
	for (ParamID id = 0; id < 8; ++id)
	{
		EXPECT_EQ (processor.normalizedParamToPlain (id, 0.), ranges[id][0]) << id;
		EXPECT_EQ (processor.normalizedParamToPlain (id, 1.), ranges[id][1]) << id;
	}
	EXPECT_EQ (valueText (processor, 8, 1.), u"Delay");
	EXPECT_EQ (valueText (processor, 9, 1.), u"Off");
	EXPECT_EQ (valueText (processor, 0, 0.25), u"500.00");
	EXPECT_EQ (valueText (processor, kPresetsParamId, 0.3), u"Banking");
	EXPECT_EQ (valueText (processor, kPresetsParamId, 1.), u"Automate Me");
}

TEST (ProcessorParameters, ProductBusesAndUnits)
{
	ProcessorRig rig;
	rig.initialize ();
	Processor& processor = *rig.processor;

	ASSERT_EQ (processor.getBusCount (kAudio, kOutput), 1);
	ASSERT_EQ (processor.getBusCount (kAudio, kInput), 1);
	ASSERT_EQ (processor.getBusCount (kEvent, kInput), 1);
	EXPECT_EQ (processor.getBusCount (kEvent, kOutput), 0);
	BusInfo bus {};
	ASSERT_EQ (processor.getBusInfo (kAudio, kOutput, 0, bus), kResultOk);
	EXPECT_EQ (text16 (bus.name), u"Audio Output");
	EXPECT_EQ (bus.channelCount, 2);
	EXPECT_EQ (bus.busType, kMain);
	EXPECT_EQ (bus.flags, static_cast<uint32> (BusInfo::kDefaultActive));
	ASSERT_EQ (processor.getBusInfo (kAudio, kInput, 0, bus), kResultOk);
	EXPECT_EQ (text16 (bus.name), u"AudioInput");
	EXPECT_EQ (bus.channelCount, 2);
	ASSERT_EQ (processor.getBusInfo (kEvent, kInput, 0, bus), kResultOk);
	EXPECT_EQ (text16 (bus.name), u"Event Input");
	EXPECT_EQ (bus.channelCount, 16);

	ASSERT_EQ (processor.getUnitCount (), 2);
	UnitInfo unit {};
	ASSERT_EQ (processor.getUnitInfo (0, unit), kResultOk);
	EXPECT_EQ (text16 (unit.name), u"RootUnit");
	EXPECT_EQ (unit.id, 1);
	EXPECT_EQ (unit.parentUnitId, 0);
	EXPECT_EQ (unit.programListId, kNoProgramListId);
	ASSERT_EQ (processor.getUnitInfo (1, unit), kResultOk);
	EXPECT_EQ (text16 (unit.name), u"PresetsUnit");
	EXPECT_EQ (unit.id, 0);
	EXPECT_EQ (unit.parentUnitId, 1);
	EXPECT_EQ (unit.programListId, static_cast<ProgramListID> (kPresetsParamId));
	EXPECT_EQ (processor.getUnitInfo (2, unit), kResultFalse);
	EXPECT_EQ (processor.selectUnit (0), kResultOk);
	EXPECT_EQ (processor.getSelectedUnit (), 0);
}

TEST (ProcessorParameters, ProgramListQueries)
{
	ProcessorRig rig;
	rig.initialize ();
	Processor& processor = *rig.processor;
	ASSERT_EQ (processor.getProgramListCount (), 1);
	ProgramListInfo list {};
	ASSERT_EQ (processor.getProgramListInfo (0, list), kResultOk);
	EXPECT_EQ (list.id, static_cast<ProgramListID> (kPresetsParamId));
	EXPECT_EQ (list.programCount, 11);
	EXPECT_EQ (text16 (list.name), u"Presets");
	EXPECT_EQ (processor.getProgramListInfo (1, list), kResultFalse);
	EXPECT_EQ (processor.getProgramListInfo (-1, list), kResultFalse);

	String128 name {};
	ASSERT_EQ (processor.getProgramName (kPresetsParamId, 3, name), kResultOk);
	EXPECT_EQ (text16 (name), u"Banking");
	ASSERT_EQ (processor.getProgramName (kPresetsParamId, 0, name), kResultOk);
	EXPECT_EQ (text16 (name), u"Factory Preset");
	ASSERT_EQ (processor.getProgramName (kPresetsParamId, 10, name), kResultOk);
	EXPECT_EQ (text16 (name), u"Automate Me");
	EXPECT_EQ (processor.getProgramName (kPresetsParamId, 11, name), kResultFalse);
	EXPECT_EQ (processor.getProgramName (kPresetsParamId, -1, name), kResultFalse);
	EXPECT_EQ (processor.getProgramName (1234, 0, name), kResultFalse);

	String128 value {};
	EXPECT_EQ (processor.getProgramInfo (kPresetsParamId, 0, "name", value), kResultFalse);
	EXPECT_EQ (processor.hasProgramPitchNames (kPresetsParamId, 0), kResultFalse);
}

TEST (ProcessorParameters, EffectWithoutPresetNamesGetsOnlyTheRootUnit)
{
	ProcessorRig rig (new ProbeEffect ({continuous ("Gain", 0.f, 1.f, 0.5f)}));
	rig.initialize ();
	Processor& processor = *rig.processor;
	ASSERT_EQ (processor.getUnitCount (), 1);
	UnitInfo unit {};
	ASSERT_EQ (processor.getUnitInfo (0, unit), kResultOk);
	EXPECT_EQ (text16 (unit.name), u"RootUnit");
	EXPECT_EQ (processor.getParameterObject (kPresetsParamId), nullptr);
	EXPECT_EQ (processor.getProgramListCount (), 0);
	ProgramListInfo list {};
	EXPECT_EQ (processor.getProgramListInfo (0, list), kResultFalse);
	String128 name {};
	EXPECT_EQ (processor.getProgramName (kPresetsParamId, 0, name), kResultFalse);
}

TEST (ProcessorParameters, PresetNamesSkipEmptySlots)
{
	ProcessorRig rig (new ProbeEffect ({continuous ("Gain", 0.f, 1.f, 0.5f)}, {"One", "", "Three"}));
	rig.initialize ();
	Processor& processor = *rig.processor;
	ProgramListInfo list {};
	ASSERT_EQ (processor.getProgramListInfo (0, list), kResultOk);
	EXPECT_EQ (list.programCount, 2);
	String128 name {};
	ASSERT_EQ (processor.getProgramName (kPresetsParamId, 1, name), kResultOk);
	EXPECT_EQ (text16 (name), u"Three");
}

TEST (ProcessorParameters, ParameterClassFollowsTheControlKind)
{
	ProbeControl log = continuous ("Log", 20.f, 20000.f, 1000.f);
	log.logTaper = true;
	ProbeControl octave = continuous ("Octave", 20.f, 20480.f, 640.f);
	octave.voltOctaveTaper = true;
	ProbeControl bothTapers = continuous ("Both", 20.f, 20480.f, 640.f);
	bothTapers.logTaper = true;
	bothTapers.voltOctaveTaper = true;
	ProbeControl integer = continuous ("Steps", 0.f, 8.f, 3.f);
	integer.dataType = kDataInt32;
	integer.controlType = kControlContinuousAlt;
	ProbeControl meter = continuous ("Level", 0.f, 1.f, 0.f);
	meter.controlType = kControlMeter;
	ProbeControl unknownKind = continuous ("Hidden", 0.f, 1.f, 0.f);
	unknownKind.controlType = 999;
	ProbeControl choices = continuous ("Mode", 0.f, 3.f, 0.f);
	choices.controlType = kControlEnumeratedAlt;
	choices.dataType = kDataEnumIndex;
	choices.choices = "SWITCH_OFF,SWITCH_ON,,switch_on, x ";
	ProbeControl after = continuous ("After", 0.f, 1.f, 0.f);

	ProcessorRig rig (new ProbeEffect ({log, octave, bothTapers, integer, meter, unknownKind, choices, after}));
	rig.initialize ();
	Processor& processor = *rig.processor;

	auto* logParameter = dynamic_cast<LogParameter*> (processor.getParameterObject (0));
	ASSERT_NE (logParameter, nullptr);
	EXPECT_EQ (logParameter->getMin (), 20.);
	EXPECT_EQ (logParameter->getMax (), 20000.);
	EXPECT_EQ (logParameter->getInfo ().defaultNormalizedValue, logParameter->toNormalized (1000.));
	EXPECT_NE (dynamic_cast<VoltOctaveParameter*> (processor.getParameterObject (1)), nullptr);
	// The logarithmic taper wins when a control asks for both.
	EXPECT_NE (dynamic_cast<LogParameter*> (processor.getParameterObject (2)), nullptr);

	Parameter* steps = processor.getParameterObject (3);
	ASSERT_NE (steps, nullptr);
	EXPECT_EQ (steps->getPrecision (), 0);
	EXPECT_EQ (valueText (processor, 3, 0.375), u"3");

	auto* level = dynamic_cast<PeakParameter*> (processor.getParameterObject (4));
	ASSERT_NE (level, nullptr);
	EXPECT_EQ (level->getInfo ().flags, ParameterInfo::kIsReadOnly);
	EXPECT_EQ (level->getNormalized (), 0.);

	// A kind the adapter does not publish leaves a gap; later ids stay positions.
	EXPECT_EQ (processor.getParameterObject (5), nullptr);
	Parameter* mode = processor.getParameterObject (6);
	ASSERT_NE (mode, nullptr);
	EXPECT_EQ (mode->getInfo ().stepCount, 4);
	EXPECT_EQ (mode->getInfo ().flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
	EXPECT_EQ (valueText (processor, 6, 0.), u"OFF");
	EXPECT_EQ (valueText (processor, 6, 0.25), u"ON");
	EXPECT_EQ (valueText (processor, 6, 0.5), u"");
	EXPECT_EQ (valueText (processor, 6, 0.75), u"switch_on");
	EXPECT_EQ (valueText (processor, 6, 1.), u" x ");
	ASSERT_NE (processor.getParameterObject (7), nullptr);
	EXPECT_EQ (text16 (processor.getParameterObject (7)->getInfo ().title), u"After");
}

TEST (ProcessorParameters, EmptyAssignButtonLabelsGetNoParameter)
{
	auto* effect = new ProbeEffect ({continuous ("Gain", 0.f, 1.f, 0.5f)});
	effect->assignButtonLabels[0] = "Kick";
	effect->assignButtonLabels[1] = "";
	effect->assignButtonLabels[2] = nullptr;
	ProcessorRig rig (effect);
	rig.initialize ();
	Processor& processor = *rig.processor;
	ASSERT_NE (processor.getParameterObject (kAssignButton1Id), nullptr);
	EXPECT_EQ (text16 (processor.getParameterObject (kAssignButton1Id)->getInfo ().title), u"Kick");
	EXPECT_EQ (processor.getParameterObject (kAssignButton2Id), nullptr);
	EXPECT_EQ (processor.getParameterObject (kAssignButton3Id), nullptr);
	EXPECT_EQ (processor.getParameterObject (32771), nullptr);
	EXPECT_EQ (processor.getParameterObject (32772), nullptr);
}

TEST (ProcessorParameters, MidiControllerAssignments)
{
	ProcessorRig rig;
	rig.initialize ();
	Processor& processor = *rig.processor;
	const std::pair<CtrlNumber, ParamID> table[] = {
	    {kCtrlModWheel, 2049}, {kCtrlVolume, 2050},      {kCtrlPan, 2051},    {kCtrlExpression, 2052},
	    {kCtrlSustainOnOff, 2053}, {kCtrlAllNotesOff, 2055}, {kAfterTouch, 2054}, {kPitchBend, 2048}};
	for (const auto& entry : table)
	{
		ParamID id = 12345;
		EXPECT_EQ (processor.getMidiControllerAssignment (0, 0, entry.first, id), kResultOk);
		EXPECT_EQ (id, entry.second) << entry.first;
		// The channel is not looked at.
		id = 12345;
		EXPECT_EQ (processor.getMidiControllerAssignment (0, 9, entry.first, id), kResultOk);
		EXPECT_EQ (id, entry.second);
	}
	ParamID id = 12345;
	EXPECT_EQ (processor.getMidiControllerAssignment (0, 0, 74, id), kResultFalse);
	EXPECT_EQ (id, 0u);
	id = 12345;
	EXPECT_EQ (processor.getMidiControllerAssignment (1, 0, kCtrlVolume, id), kResultFalse);
	EXPECT_EQ (id, 12345u);
}

TEST (ProcessorParameters, MidiEnabledControlsAnswerTheirControllerLastOneWins)
{
	ProbeControl a = continuous ("A", 0.f, 1.f, 0.f);
	a.midiControlEnabled = true;
	a.midiControlNumber = 74;
	ProbeControl b = continuous ("B", 0.f, 1.f, 0.f);
	b.midiControlNumber = 74;   // not enabled
	ProbeControl c = continuous ("C", 0.f, 1.f, 0.f);
	c.midiControlEnabled = true;
	c.midiControlNumber = 74;
	ProbeControl d = continuous ("D", 0.f, 1.f, 0.f);
	d.midiControlEnabled = true;
	d.midiControlNumber = 7;
	ProcessorRig rig (new ProbeEffect ({a, b, c, d}));
	rig.initialize ();
	ParamID id = 0;
	EXPECT_EQ (rig.processor->getMidiControllerAssignment (0, 0, 74, id), kResultOk);
	EXPECT_EQ (id, 2u);
	// The fixed table comes first.
	EXPECT_EQ (rig.processor->getMidiControllerAssignment (0, 0, kCtrlVolume, id), kResultOk);
	EXPECT_EQ (id, static_cast<ParamID> (kMidiVolumeId));
	EXPECT_EQ (rig.processor->getMidiControllerAssignment (0, 0, -3, id), kResultFalse);
}

TEST (ProcessorParameters, WithoutAnEffectNothingIsMapped)
{
	TestProcessor* processor = new TestProcessor;
	ParamID id = 77;
	EXPECT_EQ (processor->getMidiControllerAssignment (0, 0, kCtrlVolume, id), kResultFalse);
	EXPECT_EQ (id, 77u);
	EXPECT_EQ (processor->getTailSamples (), 0u);
	processor->release ();
}

TEST (ProcessorParameters, QueryInterfaceAnswersMidiMappingAndRefusesStrangers)
{
	ProcessorRig rig;
	rig.initialize ();
	void* object = nullptr;
	ASSERT_EQ (rig.processor->queryInterface (IMidiMapping::iid, &object), kResultOk);
	ASSERT_EQ (object, static_cast<IMidiMapping*> (rig.processor));
	static_cast<IMidiMapping*> (object)->release ();
	object = reinterpret_cast<void*> (1);
	EXPECT_EQ (rig.processor->queryInterface (IAudioPresentationLatency::iid, &object), kNoInterface);
	EXPECT_EQ (object, nullptr);
	ASSERT_EQ (rig.processor->queryInterface (IUnitInfo::iid, &object), kResultOk);
	static_cast<IUnitInfo*> (object)->release ();
	EXPECT_STREQ (rig.processor->isA (), "Processor");
}

TEST (ProcessorParameters, TailFollowsTheEffectsOptions)
{
	auto* effect = new ProbeEffect ({continuous ("Gain", 0.f, 1.f, 0.5f)});
	effect->options.tailTimeMs = 500.f;
	ProcessorRig rig (effect);
	rig.start (48000.);
	EXPECT_EQ (rig.processor->getTailSamples (), 24000u);
	effect->options.infiniteTail = 1;
	EXPECT_EQ (rig.processor->getTailSamples (), kInfiniteTail);
	effect->options.infiniteTail = 0;
	effect->options.tailTimeMs = 0.f;
	EXPECT_EQ (rig.processor->getTailSamples (), 0u);
}

TEST (ProcessorParameters, ProductHasNoLatencyAndAtItsDefaultsOnlyTheFiltersShortTail)
{
	ProcessorRig rig;
	rig.start (48000.);
	EXPECT_LT (rig.processor->getTailSamples (), 48u);
	EXPECT_EQ (rig.processor->getLatencySamples (), 0u);
}

TEST (ProcessorParameters, LatencyIsTruncatedFromTheEffect)
{
	auto* effect = new ProbeEffect ({continuous ("Gain", 0.f, 1.f, 0.5f)});
	effect->options.latencySamples = 64.9f;
	ProcessorRig rig (effect);
	rig.initialize ();
	EXPECT_EQ (rig.processor->getLatencySamples (), 64u);
}

TEST (ProcessorParameters, SecondInitializeAddsNothing)
{
	ProcessorRig rig;
	rig.initialize ();
	const int32 count = rig.processor->getParameterCount ();
	EXPECT_EQ (rig.processor->initialize (nullptr), kResultFalse);
	EXPECT_EQ (rig.processor->getParameterCount (), count);
	EXPECT_EQ (rig.processor->getUnitCount (), 2);
}

TEST (ProcessorParameters, KnobModeIsRecordedForTheEditor)
{
	ProcessorRig rig;
	rig.initialize ();
	EXPECT_EQ (rig.processor->setKnobMode (kLinearMode), kResultOk);
	EXPECT_EQ (EditController::getHostKnobMode (), kLinearMode);
	EXPECT_EQ (rig.processor->setKnobMode (kCircularMode), kResultOk);
	EXPECT_EQ (EditController::getHostKnobMode (), kCircularMode);
}

// What a DAW sees of the parameters, buses, units, programs and MIDI mapping.
#include "BundleFixture.h"

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/vstspeaker.h"

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

struct ExpectedParameter
{
	ParamID id;
	const char* title;
	const char* units;
	double plainMin;
	double plainMax;
	int32 stepCount;
	int32 flags;
	double defaultNormalized;
	const char* defaultText;
};

constexpr int32 kAutomate = ParameterInfo::kCanAutomate;
constexpr int32 kList = ParameterInfo::kCanAutomate | ParameterInfo::kIsList;

const std::vector<ExpectedParameter>& expectedParameters ()
{
	static const std::vector<ExpectedParameter> list = {
	    {0, "Delay", "mSec", 0.0, 2000.0, 0, kAutomate, 0.0, "0.00"},
	    {1, "Feedback", "%", 0.0, 100.0, 0, kAutomate, 0.0, "0.00"},
	    {2, "Cutoff", "Hz", 100.0, 16000.0, 0, kAutomate, 1.0, "16000.00"},
	    {3, "Resonance", "", 0.5, 10.0, 0, kAutomate, 0.0, "0.50"},
	    {4, "Delay Ratio", "Divide", 1.0, 20.0, 0, kAutomate, 0.0, "1.00"},
	    {5, "Offset", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.00"},
	    {6, "Wet/Dry", "%", 0.0, 100.0, 0, kAutomate, 0.5, "50.00"},
	    {7, "Volume", "", 0.0, 1.0, 0, kAutomate, static_cast<double> (0.7f), "0.70"},
	    {8, "Delay State", "", 0.0, 1.0, 1, kList, 0.0, "Comb"},
	    {9, "Active", "", 0.0, 1.0, 1, kList, 0.0, "On"},
	    {32773, "VectorJoystick X", "", 0.0, 1.0, 0, kAutomate, 0.5, "0.50"},
	    {32774, "VectorJoystick Y", "", 0.0, 1.0, 0, kAutomate, 0.5, "0.50"},
	    {32768, "B1", "", 0.0, 1.0, 0, kAutomate, 0.0, "0"},
	    {32769, "B2", "", 0.0, 1.0, 0, kAutomate, 0.0, "0"},
	    {32770, "B3", "", 0.0, 1.0, 0, kAutomate, 0.0, "0"},
	    {2056, "Bypass", "", 0.0, 1.0, 0, 0x10001, 0.0, "0.0000"},
	    {2048, "PitchBend", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2050, "MIDI Vol", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2051, "MIDI Pan", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2049, "MIDI Mod Wheel", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2052, "MIDI Expression", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2054, "MIDI Channel Pressure", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2053, "MIDI Sustain Pedal", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {2055, "All Notes Off", "", 0.0, 1.0, 0, kAutomate, 0.0, "0.0"},
	    {0x70727374, "Factory Presets", "", 0.0, 10.0, 10, 0x8008, 0.0, "Factory Preset"},
	    // Added after the first release: last, so that every earlier index stays.
	    {10, "Sync", "", 0.0, 1.0, 1, kList, 0.0, "Off"},
	    {11, "Note", "", 0.0, 20.0, 20, kList, 12.0 / 20.0, "1/4"},
	};
	return list;
}

const char* const kPresetNames[] = {"Factory Preset", "Heavy",           "Hollow Ring", "Banking",
                                    "Beats as Bass",  "Crude Verb",      "Some Space",
                                    "Padding for Pads", "Good on Atmos", "Pipes",       "Automate Me"};

class ParameterListTest : public BundleTest
{
};

TEST_F (ParameterListTest, ParametersInOrderWithTheirProperties)
{
	PluginInstance& instance = newInstance ();
	const std::vector<ParameterDescription> parameters = instance.parameters ();
	const auto& expected = expectedParameters ();
	ASSERT_EQ (parameters.size (), expected.size ());
	for (size_t i = 0; i < expected.size (); ++i)
	{
		SCOPED_TRACE (expected[i].title);
		const ParameterDescription& p = parameters[i];
		EXPECT_EQ (p.id, expected[i].id);
		EXPECT_EQ (p.title, expected[i].title);
		EXPECT_EQ (p.units, expected[i].units);
		EXPECT_EQ (p.stepCount, expected[i].stepCount);
		EXPECT_EQ (p.flags, expected[i].flags);
		EXPECT_EQ (p.unitId, 0);
		EXPECT_EQ (p.defaultNormalizedValue, expected[i].defaultNormalized);
		EXPECT_EQ (instance.getParamNormalized (p.id), expected[i].defaultNormalized);
		EXPECT_DOUBLE_EQ (instance.normalizedToPlain (p.id, 0.0), expected[i].plainMin);
		EXPECT_DOUBLE_EQ (instance.normalizedToPlain (p.id, 1.0), expected[i].plainMax);
		EXPECT_EQ (instance.parameterText (p.id), expected[i].defaultText);
	}
}

TEST_F (ParameterListTest, SwitchAndPresetTexts)
{
	PluginInstance& instance = newInstance ();
	EXPECT_EQ (instance.parameterText (kDelayState, 1.0), "Delay");
	EXPECT_EQ (instance.parameterText (kActive, 1.0), "Off");
	EXPECT_EQ (instance.parameterText (10, 1.0), "On");
	const char* const notes[] = {"1/64", "1/32T", "1/64D", "1/32", "1/16T", "1/32D", "1/16", "1/8T", "1/16D", "1/8", "1/4T",
	                             "1/8D", "1/4",  "1/2T",  "1/4D",  "1/2",  "1/1T",  "1/2D", "1/1",  "1/1D", "2/1"};
	for (int i = 0; i < 21; ++i)
		EXPECT_EQ (instance.parameterText (11, i / 20.0), notes[i]);
	for (int i = 0; i < 11; ++i)
		EXPECT_EQ (instance.parameterText (kPresets, i / 10.0), kPresetNames[i]);
	EXPECT_EQ (instance.parameterText (kDelay, 0.5), "1000.00");
	EXPECT_EQ (instance.parameterText (kCutoff, 0.0), "100.00");

	ParamValue normalized = -1.0;
	ASSERT_TRUE (instance.parameterFromText (kDelay, "500", normalized));
	EXPECT_DOUBLE_EQ (normalized, 0.25);
	ASSERT_TRUE (instance.parameterFromText (kDelayState, "Delay", normalized));
	EXPECT_EQ (normalized, 1.0);
}

TEST_F (ParameterListTest, Buses)
{
	PluginInstance& instance = newInstance ();
	IComponent* component = instance.getComponent ();
	ASSERT_EQ (component->getBusCount (kAudio, kOutput), 1);
	ASSERT_EQ (component->getBusCount (kAudio, kInput), 1);
	ASSERT_EQ (component->getBusCount (kEvent, kInput), 1);
	EXPECT_EQ (component->getBusCount (kEvent, kOutput), 0);

	BusInfo info {};
	ASSERT_EQ (component->getBusInfo (kAudio, kOutput, 0, info), kResultOk);
	EXPECT_EQ (toUtf8 (info.name), "Audio Output");
	EXPECT_EQ (info.channelCount, 2);
	EXPECT_EQ (info.busType, kMain);
	EXPECT_EQ (info.flags, static_cast<uint32> (BusInfo::kDefaultActive));
	ASSERT_EQ (component->getBusInfo (kAudio, kInput, 0, info), kResultOk);
	EXPECT_EQ (toUtf8 (info.name), "AudioInput");
	EXPECT_EQ (info.channelCount, 2);
	ASSERT_EQ (component->getBusInfo (kEvent, kInput, 0, info), kResultOk);
	EXPECT_EQ (toUtf8 (info.name), "Event Input");
	EXPECT_EQ (info.channelCount, 16);
	EXPECT_EQ (component->getBusInfo (kAudio, kInput, 1, info), kInvalidArgument);
	EXPECT_EQ (component->getBusInfo (kAudio, kInput, -1, info), kInvalidArgument);
	EXPECT_EQ (instance.getProcessor ()->getLatencySamples (), 0u);
}

TEST_F (ParameterListTest, UnitsAndProgramList)
{
	PluginInstance& instance = newInstance ();
	IUnitInfo* units = instance.getUnitInfo ();
	ASSERT_NE (units, nullptr);
	ASSERT_EQ (units->getUnitCount (), 2);
	UnitInfo unit {};
	ASSERT_EQ (units->getUnitInfo (0, unit), kResultOk);
	EXPECT_EQ (toUtf8 (unit.name), "RootUnit");
	EXPECT_EQ (unit.id, 1);
	EXPECT_EQ (unit.parentUnitId, 0);
	EXPECT_EQ (unit.programListId, kNoProgramListId);
	ASSERT_EQ (units->getUnitInfo (1, unit), kResultOk);
	EXPECT_EQ (toUtf8 (unit.name), "PresetsUnit");
	EXPECT_EQ (unit.id, 0);
	EXPECT_EQ (unit.parentUnitId, 1);
	EXPECT_EQ (unit.programListId, static_cast<ProgramListID> (kPresets));
	EXPECT_EQ (units->getUnitInfo (2, unit), kResultFalse);
	EXPECT_EQ (units->getUnitInfo (-1, unit), kResultFalse);

	ASSERT_EQ (units->getProgramListCount (), 1);
	ProgramListInfo list {};
	ASSERT_EQ (units->getProgramListInfo (0, list), kResultOk);
	EXPECT_EQ (list.id, static_cast<ProgramListID> (kPresets));
	EXPECT_EQ (toUtf8 (list.name), "Presets");
	EXPECT_EQ (list.programCount, 11);
	EXPECT_EQ (units->getProgramListInfo (1, list), kResultFalse);

	const std::vector<std::string> names = instance.programNames ();
	ASSERT_EQ (names.size (), 11u);
	for (size_t i = 0; i < names.size (); ++i)
		EXPECT_EQ (names[i], kPresetNames[i]);
	String128 name {};
	ASSERT_EQ (units->getProgramName (kPresets, 3, name), kResultOk);
	EXPECT_EQ (toUtf8 (name), "Banking");
	EXPECT_EQ (units->getProgramName (kPresets + 1, 3, name), kResultFalse);
	EXPECT_EQ (units->getProgramInfo (kPresets, 0, "name", name), kResultFalse);

	EXPECT_EQ (units->selectUnit (0), kResultOk);
	EXPECT_EQ (units->getSelectedUnit (), 0);
}

TEST_F (ParameterListTest, MidiControllerMapping)
{
	PluginInstance& instance = newInstance ();
	IMidiMapping* mapping = instance.getMidiMapping ();
	ASSERT_NE (mapping, nullptr);
	const std::vector<std::pair<CtrlNumber, ParamID>> table = {
	    {kCtrlModWheel, 2049}, {kCtrlVolume, 2050},     {kCtrlPan, 2051},      {kCtrlExpression, 2052},
	    {kCtrlSustainOnOff, 2053}, {kCtrlAllNotesOff, 2055}, {kAfterTouch, 2054}, {kPitchBend, 2048}};
	for (const auto& [controller, expected] : table)
	{
		ParamID id = 0;
		EXPECT_EQ (mapping->getMidiControllerAssignment (0, 0, controller, id), kResultOk);
		EXPECT_EQ (id, expected);
		// The channel is not looked at.
		EXPECT_EQ (mapping->getMidiControllerAssignment (0, 9, controller, id), kResultOk);
		EXPECT_EQ (id, expected);
	}
	ParamID id = 77;
	EXPECT_EQ (mapping->getMidiControllerAssignment (0, 0, 74, id), kResultFalse);
	EXPECT_EQ (id, 0u);
	EXPECT_EQ (mapping->getMidiControllerAssignment (1, 0, kCtrlVolume, id), kResultFalse);
}

} // namespace
} // namespace TarnwickHostTest

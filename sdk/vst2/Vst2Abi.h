// The VST 2 binary interface as this wrapper uses it.
//
// The record, the dispatcher opcodes and the string buffer sizes come from the
// clean-room header vst.h (dpf-source). That header leaves some opcodes unnamed
// and lacks the event and time-info records; those are defined here from their
// published numbers and layouts.
#pragma once

#include <cstddef>
#include <cstdint>

// vst.h marks its function pointers with the Windows calling convention;
// on Linux there is only one.
#if !defined(_WIN32) && !defined(__cdecl)
#define __cdecl
#endif
// The VST 3 SDK has a macro named VST_VERSION, vst.h an enum of that name.
#pragma push_macro ("VST_VERSION")
#undef VST_VERSION
#include <vst.h>
#pragma pop_macro ("VST_VERSION")

namespace Steinberg {
namespace Vst {
namespace Vst2Abi {

// The host callback as hosts really implement it: the last argument is a float
// (vst.h declares it as an int32, which would pass it in the wrong register).
using HostCallback = intptr_t (*) (vst_effect* effect, int32_t opcode, int32_t index,
                                   intptr_t value, void* ptr, float opt);

inline HostCallback hostCallbackOf (vst_host_callback callback)
{
	// Through void (*) (): the two types differ on purpose (see above).
	return reinterpret_cast<HostCallback> (reinterpret_cast<void (*) ()> (callback));
}

//------------------------------------------------------------------------
// Dispatcher opcodes (plug-in side)
enum EffectOpcode : int32_t
{
	kEffOpen = VST_EFFECT_OPCODE_CREATE,
	kEffClose = VST_EFFECT_OPCODE_DESTROY,
	kEffSetProgram = VST_EFFECT_OPCODE_02,
	kEffGetProgram = VST_EFFECT_OPCODE_03,
	kEffSetProgramName = VST_EFFECT_OPCODE_04,
	kEffGetProgramName = VST_EFFECT_OPCODE_05,
	kEffGetParamLabel = VST_EFFECT_OPCODE_PARAM_GETLABEL,
	kEffGetParamDisplay = VST_EFFECT_OPCODE_PARAM_GETVALUE,
	kEffGetParamName = VST_EFFECT_OPCODE_PARAM_GETNAME,
	kEffSetSampleRate = VST_EFFECT_OPCODE_SET_SAMPLE_RATE,
	kEffSetBlockSize = VST_EFFECT_OPCODE_SET_BLOCK_SIZE,
	kEffMainsChanged = VST_EFFECT_OPCODE_SUSPEND,
	kEffEditGetRect = VST_EFFECT_OPCODE_WINDOW_GETRECT,
	kEffEditOpen = VST_EFFECT_OPCODE_WINDOW_CREATE,
	kEffEditClose = VST_EFFECT_OPCODE_WINDOW_DESTROY,
	kEffEditIdle = VST_EFFECT_OPCODE_13,
	kEffIdentify = VST_EFFECT_OPCODE_16,
	kEffGetChunk = VST_EFFECT_OPCODE_17,
	kEffSetChunk = VST_EFFECT_OPCODE_18,
	kEffProcessEvents = VST_EFFECT_OPCODE_19,
	kEffCanBeAutomated = VST_EFFECT_OPCODE_PARAM_ISAUTOMATABLE,
	kEffString2Parameter = VST_EFFECT_OPCODE_1B,
	kEffGetProgramNameIndexed = VST_EFFECT_OPCODE_1D,
	kEffGetInputProperties = VST_EFFECT_OPCODE_INPUT_CHANNEL_NAME,
	kEffGetOutputProperties = VST_EFFECT_OPCODE_OUTPUT_CHANNEL_NAME,
	kEffGetPlugCategory = VST_EFFECT_OPCODE_EFFECT_CATEGORY,
	kEffSetSpeakerArrangement = VST_EFFECT_OPCODE_SET_SPEAKER_ARRANGEMENT,
	kEffSetBypass = VST_EFFECT_OPCODE_BYPASS,
	kEffGetEffectName = VST_EFFECT_OPCODE_EFFECT_NAME,
	kEffGetVendorString = VST_EFFECT_OPCODE_VENDOR_NAME,
	kEffGetProductString = VST_EFFECT_OPCODE_PRODUCT_NAME,
	kEffGetVendorVersion = VST_EFFECT_OPCODE_VENDOR_VERSION,
	kEffCanDo = VST_EFFECT_OPCODE_SUPPORTS,
	kEffGetTailSize = VST_EFFECT_OPCODE_TAIL_SAMPLES,
	// 56; vst.h gives this name to 57 (the keys-required opcode), which hosts never send for it.
	kEffGetParameterProperties = VST_EFFECT_OPCODE_38,
	kEffGetVstVersion = VST_EFFECT_OPCODE_VST_VERSION,
	kEffStartProcess = VST_EFFECT_OPCODE_PROCESS_BEGIN,
	kEffStopProcess = VST_EFFECT_OPCODE_PROCESS_END,
	kEffSetProcessPrecision = VST_EFFECT_OPCODE_4D,
	kEffGetNumMidiInputChannels = VST_EFFECT_OPCODE_4E,
	kEffGetNumMidiOutputChannels = VST_EFFECT_OPCODE_4F,
};

//------------------------------------------------------------------------
// Host callback opcodes
enum HostOpcode : int32_t
{
	kHostAutomate = VST_HOST_OPCODE_00,
	kHostVersion = VST_HOST_OPCODE_01,
	kHostGetTime = VST_HOST_OPCODE_07,
	kHostIOChanged = VST_HOST_OPCODE_0D,
	kHostSizeWindow = VST_HOST_OPCODE_0F,
	kHostGetProductString = VST_HOST_OPCODE_21,
	kHostUpdateDisplay = VST_HOST_OPCODE_2A,
	kHostBeginEdit = VST_HOST_OPCODE_2B,
	kHostEndEdit = VST_HOST_OPCODE_2C,
};

//------------------------------------------------------------------------
// vst_effect::flags
enum EffectFlags : int32_t
{
	kFlagHasEditor = 1 << 0,
	kFlagCanReplacing = 1 << 4,
	kFlagProgramChunks = 1 << 5,
	kFlagIsSynth = 1 << 8,
	kFlagNoSoundInStop = 1 << 9,
};

// String buffer sizes hosts assume (terminator included).
constexpr int32_t kParamStringSize = VST_BUFFER_8;
constexpr int32_t kProgramNameSize = VST_BUFFER_24;
constexpr int32_t kEffectNameSize = VST_EFFECT_BUFFER_SIZE;
constexpr int32_t kVendorStringSize = VST_VENDOR_BUFFER_SIZE;
constexpr int32_t kProductStringSize = VST_PRODUCT_BUFFER_SIZE;
constexpr int32_t kPinLabelSize = VST_BUFFER_64;
constexpr int32_t kPinShortLabelSize = VST_BUFFER_8;

constexpr int32_t kVstVersion = VST_VERSION_2_4_0_0;
// Answer of the identify opcode: 'NvEf'.
constexpr intptr_t kIdentifyAnswer = 0x4E764566;

//------------------------------------------------------------------------
// Events
enum EventType : int32_t
{
	kMidiEventType = 1,
};

struct Event
{
	int32_t type;
	int32_t byteSize;
	int32_t deltaFrames;
	int32_t flags;
	char data[16];
};

struct MidiEvent
{
	int32_t type;
	int32_t byteSize;
	int32_t deltaFrames;
	int32_t flags;
	int32_t noteLength;
	int32_t noteOffset;
	char midiData[4];
	char detune;
	char noteOffVelocity;
	char reserved1;
	char reserved2;
};

struct Events
{
	int32_t numEvents;
	intptr_t reserved;
	Event* events[2]; // numEvents entries in fact
};

//------------------------------------------------------------------------
// Time info (answer of kHostGetTime)
enum TimeInfoFlags : int32_t
{
	kTransportChanged = 1,
	kTransportPlaying = 1 << 1,
	kTransportCycleActive = 1 << 2,
	kTransportRecording = 1 << 3,
	kAutomationWriting = 1 << 6,
	kAutomationReading = 1 << 7,
	kNanosValid = 1 << 8,
	kPpqPosValid = 1 << 9,
	kTempoValid = 1 << 10,
	kBarsValid = 1 << 11,
	kCyclePosValid = 1 << 12,
	kTimeSigValid = 1 << 13,
	kSmpteValid = 1 << 14,
	kClockValid = 1 << 15,
};

struct TimeInfo
{
	double samplePos;
	double sampleRate;
	double nanoSeconds;
	double ppqPos;
	double tempo;
	double barStartPos;
	double cycleStartPos;
	double cycleEndPos;
	int32_t timeSigNumerator;
	int32_t timeSigDenominator;
	int32_t smpteOffset;
	int32_t smpteFrameRate;
	int32_t samplesToNextClock;
	int32_t flags;
};

//------------------------------------------------------------------------
// Pin properties (answer of the input/output properties opcodes)
enum PinFlags : int32_t
{
	kPinIsActive = 1,
	kPinIsStereo = 1 << 1,
};

struct PinProperties
{
	char label[kPinLabelSize];
	int32_t flags;
	int32_t arrangementType;
	char shortLabel[kPinShortLabelSize];
	char future[48];
};

//------------------------------------------------------------------------
// Parameter properties (answer of kEffGetParameterProperties). vst.h's record lacks the
// large integer step after stepInteger, which moves everything behind it by four bytes.
enum ParameterFlags : int32_t
{
	kParameterIsSwitch = VST_PARAMETER_FLAGS_SWITCH,
	kParameterUsesIntegerMinMax = VST_PARAMETER_FLAGS_INTEGER_LIMITS,
	kParameterUsesFloatStep = VST_PARAMETER_FLAGS_STEP_FLOAT,
	kParameterUsesIntStep = VST_PARAMETER_FLAGS_STEP_INT,
	kParameterSupportsDisplayIndex = VST_PARAMETER_FLAGS_INDEX,
	kParameterSupportsDisplayCategory = VST_PARAMETER_FLAGS_CATEGORY,
};

constexpr int32_t kParameterLabelSize = VST_BUFFER_64;
constexpr int32_t kParameterShortLabelSize = VST_BUFFER_8;
constexpr int32_t kParameterCategoryLabelSize = VST_BUFFER_24;

struct ParameterProperties
{
	float stepFloat;
	float smallStepFloat;
	float largeStepFloat;
	char label[kParameterLabelSize];
	int32_t flags;
	int32_t minInteger;
	int32_t maxInteger;
	int32_t stepInteger;
	int32_t largeStepInteger;
	char shortLabel[kParameterShortLabelSize];
	int16_t displayIndex;
	int16_t category;
	int16_t numParametersInCategory;
	int16_t reserved;
	char categoryLabel[kParameterCategoryLabelSize];
	char future[16];
};
static_assert (sizeof (ParameterProperties) == 152, "the host's record has 152 bytes");

// The head of a speaker arrangement record: the rest (per-speaker records) is
// not needed to learn the channel count.
struct SpeakerArrangementHead
{
	int32_t type;
	int32_t numChannels;
};

} // namespace Vst2Abi
} // namespace Vst
} // namespace Steinberg

#pragma once

#include "effect/ControlDescriptor.h"
#include "effect/ControlList.h"
#include "effect/GuiMessage.h"

#include <cstdint>

class IMidiEventList;

// Editor-facing record of one control (and of the two joystick controls,
// which take the two entries after the last control).
struct GuiExchangeEntry
{
    int32_t position;
    int32_t controlId;
    float normalizedValue;   // the meter value for meters
    float joystickValue;     // used by the two joystick entries
    uint8_t changed;
    uint8_t joystickOrientation;
};

// Host timing, as the adapter fills it for every frame.
struct HostInfoBlock
{
    uint64_t samplePosition;
    double timeSeconds;
    double tempoBpm;
    float timeSigNumerator;
    uint32_t timeSigDenominator;
    double reserved[4];      // zero
};

// Messages of CPlugIn::handleMessage.
enum EffectMessageKind : uint32_t
{
    kMessageApplyGuiChanges = 0,
    kMessageCollectMeters = 1,
    kMessageHostInfo = 2,
    kMessageMidiEventList = 5
};

// Argument of CPlugIn::handleMessage.
struct EffectMessage
{
    GuiExchangeEntry* guiTable;          // supplied by the caller
    GuiExchangeEntry* returnedGuiTable;  // the effect returns its own table here
    HostInfoBlock* hostInfo;
    IMidiEventList* midiEventList;       // carried by kMessageMidiEventList
    void* reserved;
    int32_t entryCount;                  // must be controlCount() + 2
    uint8_t ignoreSmoothing;
};

// One entry of the list that getDependentUpdates returns.
struct ControlUpdateNode
{
    uint32_t controlId;
    float plainValue;
    ControlUpdateNode* next;
};

// Side-chain input of one frame (or of one block), handed to onSidechain.
struct SidechainRecord
{
    int32_t structVersion;    // always 1
    float* frame;             // two floats (frame loop), else null
    int32_t reserved1;
    float** channelBuffers;   // the aux bus's channel pointers (block-wise), else null
    int32_t channelCount;
    int32_t reserved2;
    bool present;
};

// A vector-joystick program: timed steps of joystick positions. Nothing in
// this system plays one; each preset slot carries a zero-filled program.
static const int kJoystickProgramSteps = 16;
struct JoystickProgram
{
    int32_t stepCount;
    int32_t loopMode;
    float stepX[kJoystickProgramSteps];
    float stepY[kJoystickProgramSteps];
    float stepTimeMs[kJoystickProgramSteps];
};

// Four corner weights (A, B, C, D) and the two mixes of a joystick position.
struct JoystickMix
{
    float weightA;
    float weightB;
    float weightC;
    float weightD;
    float mixAC;
    float mixBD;
};

// Settings the host adapter and the editor read from an effect.
struct PlugInOptions
{
    int32_t knobMode;                     // editor knob mode
    bool wantsAuxInput;                   // adapter adds an "AuxInput" bus
    bool wantsSampleAccurateAutomation;   // adapter creates one update queue per control
    int32_t updateGranularity;            // handed to the update queues
    int32_t reserved[4];
    float latencySamples;                 // reported to the host, truncated
    int32_t infiniteTail;                 // 1: the tail never ends
    float tailTimeMs;                     // tail reported to the host, in milliseconds
};

static const int kMidiNoteCount = 127;
static const int kAssignButtonCount = 3;
static const uint32_t kJoystickXControlId = 32773;
static const uint32_t kJoystickYControlId = 32774;

// Host-independent base of every effect. The adapter drives an effect only
// through these operations; an effect overrides what it needs.
class CPlugIn
{
public:
    CPlugIn();
    virtual ~CPlugIn();

    // --- virtual operations, in table order ---
    virtual bool prepareToProcess();
    virtual bool processFrame(float* inputFrame, float* outputFrame, uint32_t inputChannels, uint32_t outputChannels);
    virtual bool onControlChange(uint32_t controlId);
    // The host's tempo, at the start of a block, when the host gives one.
    virtual void setHostTempo(double tempoBpm);
    virtual bool initializeEffect();
    virtual bool onJoystickChange(float weightA, float weightB, float weightC, float weightD, float mixAC, float mixBD);
    virtual bool processInterleavedBuffer(float* input, float* output, uint32_t inputChannels, uint32_t outputChannels,
                                          uint32_t sampleCount);
    virtual bool processChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount);
    virtual bool midiNoteOn(uint32_t channel, uint32_t note, uint32_t velocity);
    virtual bool midiNoteOff(uint32_t channel, uint32_t note, uint32_t velocity, bool allNotesOff);
    virtual bool midiModWheel(uint32_t channel, uint32_t value);
    virtual bool midiPitchBend(uint32_t channel, int32_t bend, float bendNormalized);
    virtual bool extraHook();
    virtual bool midiMessage(uint8_t channel, uint8_t kind, uint8_t data1, uint8_t data2);
    virtual bool buildControlList();
    virtual bool handleMessage(uint32_t message, EffectMessage* effectMessage);
    virtual bool getDependentUpdates(uint32_t controlId, float plainValue, ControlUpdateNode** list, bool flag);
    virtual void freeUpdateList(ControlUpdateNode** head);
    virtual void* handleGuiMessage(GuiMessage* message);
    virtual bool onSidechain(SidechainRecord* sidechain);
    virtual bool extraMessageHook(void* data);
    // Runs frameCount frames of channel buffers (inputs may be null: silent input). For each
    // frame: processFrame, then the host timing advanced by one sample and handed over with
    // kMessageHostInfo (its hostInfo null without a host context). An effect may replace the
    // loop by something faster that leaves the same outputs and the same state behind.
    virtual bool processFrameRun(const float* const* inputs, float* const* outputs, uint32_t channels,
                                 uint32_t frameCount, HostInfoBlock& timing, bool withContext,
                                 double secondsPerSample);
    // For an effect with runsOnSilence: true when, on silent input, its output is exact zeros from
    // now on and running it would change nothing that later output depends on, so the adapter
    // may skip it. Kept by processFrameRun. The base has nothing that rings.
    virtual bool hasRungOut();
    // The time in milliseconds for the output to fall by about 90 dB once the input falls silent,
    // for the given plain value of every control (by position); negative when it never does.
    // The base answers the options block's tail time.
    virtual float tailTimeMs(const float* plainValues) const;

    // --- controls by position ---
    int controlCount() const;
    ControlDescriptor* controlAt(int position) const;
    void removeControl(uint32_t controlId);
    float getPlainValue(int32_t position) const;
    // Non-finite values are ignored; the cooked plain value is clamped to the control's range.
    void setNormalizedValue(int32_t position, double normalizedValue, bool ignoreSmoothing);
    void setPlainValue(int32_t position, double plainValue);
    // The value the control's variable ends at (after any glide) when set through
    // setNormalizedValue or setPlainValue; 0 for a missing control or a value that is not a number.
    double valueFromNormalized(int32_t position, double normalizedValue) const;
    double valueFromPlain(int32_t position, double plainValue) const;
    // One smoothing step for every smoothed control (call at the start of a frame).
    void smoothControls();
    // True during onControlChange of a write that lands at once (a restore, or a write that
    // ignores smoothing), false for one that goes through the smoothers or has none.
    bool isLandingWrite() const { return landingWrite; }
    // True when every smoothed control has arrived (so smoothControls would only rewrite each
    // variable with its target); it then writes the targets as that step would.
    bool smoothersAtRest();
    // Every glide jumps to its target (a prepare starts from the values last asked for).
    void finishGlides();

    // --- vector joystick ---
    void setJoystickX(float value, uint8_t orientation);
    void setJoystickY(float value, uint8_t orientation);
    void getJoystickValues(float& x, float& y) const;
    static JoystickMix computeJoystickMix(float x, float y, uint8_t orientation);

    // --- data read by the adapter and the editor ---
    bool noAudioInput;
    bool wantsBuffers;
    // The output goes on after the input falls silent (echoes): the adapter runs the effect on
    // silent input until hasRungOut instead of skipping it at once.
    bool runsOnSilence;
    // How many controls, from the first, the effect's first release had: saved states hold them
    // in their first part and hosts list them first; later controls come after everything the
    // adapters had (so saved projects keep their parameter indexes). -1: all.
    int32_t firstReleaseControlCount;
    // firstReleaseControlCount within 0..controlCount(): all controls for -1.
    int controlsOfFirstRelease() const;
    int32_t sampleRate;
    JoystickProgram* presetJoystickPrograms[kPresetSlotCount];
    const char* presetNames[kPresetSlotCount];
    const char* effectName;
    bool hasEditor;
    PlugInOptions options;
    const char* assignButtonLabels[kAssignButtonCount];
    float MidiNoteTable[kMidiNoteCount];
    JoystickProgram* currentJoystickProgram;
    ControlDescriptor joystickX;
    ControlDescriptor joystickY;
    HostInfoBlock hostInfo;
    ControlDescriptor** controlIndexTable;
    int32_t controlIndexCount;
    GuiExchangeEntry* guiExchangeTable;
    ControlList controlList;

protected:
    // Called by a builder after its last appendControl: allocates the index
    // table and the GUI exchange table (control count + 2 entries each).
    bool buildIndexTables();
    // Framework defaults every builder writes: button labels, joystick names
    // and MIDI controllers, one zero-filled joystick program per preset slot.
    bool setFrameworkDefaults();

private:
    CPlugIn(const CPlugIn&) = delete;
    CPlugIn& operator=(const CPlugIn&) = delete;

    ControlDescriptor* descriptorAtPosition(int32_t position) const;
    static double plainFromNormalized(const ControlDescriptor& descriptor, double normalizedValue);
    void writeFloatControl(ControlDescriptor* descriptor, double plainValue, bool viaSmoother);
    void writeDoubleControl(ControlDescriptor* descriptor, double plainValue, bool viaSmoother);
    void writeEnumControl(ControlDescriptor* descriptor, double plainValue);
    void setUpSmoothing(ControlDescriptor& descriptor);
    bool smoothOneControl(ControlDescriptor& descriptor);
    void applyJoystickMix();

    // False until the first prepare has set up the smoothers; until then a
    // smoothed control takes its value at once.
    bool smoothingReady;
    bool landingWrite;
};

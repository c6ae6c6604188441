// A small effect for the adapter tests: its controls, options and presets are
// chosen by each test, and it records every call the adapter makes.
#pragma once

#include "effect/CPlugIn.h"

#include <string>
#include <vector>

struct ProbeControl
{
	std::string name;
	std::string units;
	uint32_t controlType = kControlContinuous;
	uint32_t dataType = kDataFloat;
	float minValue = 0.f;
	float maxValue = 1.f;
	float defaultValue = 0.f;
	std::string choices = "SEL1,SEL2,SEL3";
	bool logTaper = false;
	bool voltOctaveTaper = false;
	bool smoothing = false;
	bool midiControlEnabled = false;
	uint32_t midiControlNumber = 3;
	uint32_t controlId = 0;
	uint32_t displayPrecision = 2;
	std::vector<double> presets;   // plain values by preset slot
};

struct ProbeCall
{
	std::string what;
	int64_t a = 0;
	int64_t b = 0;
	int64_t c = 0;
	double value = 0.;
	int32_t frame = -1;   // processFrame calls seen before this one
};

class ProbeEffect : public CPlugIn
{
public:
	explicit ProbeEffect (const std::vector<ProbeControl>& controls,
	                      const std::vector<const char*>& presetNames = {});
	~ProbeEffect () override;

	bool prepareToProcess () override;
	bool processFrame (float* inputFrame, float* outputFrame, uint32_t inputChannels,
	                   uint32_t outputChannels) override;
	bool onControlChange (uint32_t controlId) override;
	bool processChannelBuffers (float** inputs, float** outputs, uint32_t channelCount,
	                            uint32_t frameCount) override;
	bool midiNoteOn (uint32_t channel, uint32_t note, uint32_t velocity) override;
	bool midiNoteOff (uint32_t channel, uint32_t note, uint32_t velocity, bool allNotesOff) override;
	bool midiModWheel (uint32_t channel, uint32_t value) override;
	bool midiPitchBend (uint32_t channel, int32_t bend, float bendNormalized) override;
	bool midiMessage (uint8_t channel, uint8_t kind, uint8_t data1, uint8_t data2) override;
	bool handleMessage (uint32_t message, EffectMessage* effectMessage) override;
	bool getDependentUpdates (uint32_t controlId, float plainValue, ControlUpdateNode** list,
	                          bool flag) override;
	void* handleGuiMessage (GuiMessage* message) override;
	bool onSidechain (SidechainRecord* sidechain) override;
	void freeUpdateList (ControlUpdateNode** head) override;

	int countCalls (const std::string& what) const;

	// Bound variables, one of each kind per control position.
	std::vector<float> floats;
	std::vector<double> doubles;
	std::vector<int32_t> ints;
	std::vector<uint32_t> enums;
	std::vector<float> meters;

	std::vector<ProbeCall> calls;
	std::vector<HostInfoBlock> hostInfos;   // every timing message with a block
	int framesProcessed = 0;
	bool prepareResult = true;
	float gain = 1.f;   // processFrame output = input * gain
	IMidiEventList* midiList = nullptr;
	bool fireMidiFromList = false;          // processFrame fires the list at its frame
	std::vector<int> fireResults;
	// When set, position -> values read with getNextValue in each frame (NaN: none).
	bool readUpdateQueues = false;
	std::vector<std::vector<double>> queueValues;
	// getDependentUpdates: when the control with this id changes, set `dependentTargetId` to
	// the plain value plus `dependentOffset`.
	bool hasDependency = false;
	uint32_t dependencySourceId = 0;
	uint32_t dependentTargetId = 0;
	float dependentOffset = 0.f;
	int freedLists = 0;

private:
	std::vector<ProbeControl> specs;
};

// One instance of an LV2 plug-in as a simple host runs it: control ports kept in
// the host's own buffers (starting at their defaults), audio connected per run,
// MIDI events queued for the next run, presets and state through lilv.
#pragma once

#include "Lv2World.h"
#include "UridMap.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Tarnwick {
namespace Lv2Host {

class Lv2Instance
{
public:
	// Without a map the instance gets no features at all (as lv2apply gives none).
	Lv2Instance (Lv2World& world, double sampleRate, UridMap* map);
	~Lv2Instance ();
	Lv2Instance (const Lv2Instance&) = delete;
	Lv2Instance& operator= (const Lv2Instance&) = delete;

	bool ok () const { return instance != nullptr; }
	LilvInstance* lilvInstance () const { return instance; }

	void activate ();
	void deactivate ();

	// Control input ports by symbol. False for an unknown symbol.
	bool setControl (const std::string& symbol, float value);
	float control (const std::string& symbol) const;
	int portIndex (const std::string& symbol) const;
	// Leaves a port unconnected (null) from now on.
	void disconnect (uint32_t port);

	// A three-byte MIDI message for the next run, at the given frame.
	void queueMidi (uint32_t frame, uint8_t status, uint8_t data1, uint8_t data2);
	// A time:Position with time:beatsPerMinute (a float) for the next run, as hosts send the tempo
	// (to the input that takes time positions).
	void queueTempo (uint32_t frame, float beatsPerMinute);

	// Runs one block: inputs and outputs hold `channels` (1 or 2) channels; with one, the
	// right ports stay unconnected.
	void run (const float* const* inputs, float* const* outputs, int channels, uint32_t frames);

	// Presets and state (need the map).
	bool applyPreset (const std::string& presetUri);
	LilvState* saveState ();
	void restoreState (const LilvState* state);

	std::vector<float>& controlBuffers () { return controls; }

private:
	void clearSequences ();
	static const void* portValue (const char* symbol, void* self, uint32_t* size, uint32_t* type);
	static void setPortValue (const char* symbol, void* self, const void* value, uint32_t size, uint32_t type);

	Lv2World& world;
	UridMap* map;
	double sampleRate;
	LilvInstance* instance = nullptr;
	std::vector<float> controls;        // one per port; used for control inputs
	std::vector<bool> isControlInput;
	std::vector<bool> disconnected;
	std::vector<uint64_t> midiBuffer;   // an atom sequence, 8-byte aligned
	uint32_t midiPort = UINT32_MAX;
	std::vector<uint64_t> timeBuffer;   // the same for time positions
	uint32_t timePort = UINT32_MAX;
	bool active = false;
};

} // namespace Lv2Host
} // namespace Tarnwick

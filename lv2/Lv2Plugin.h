// One Tarnwick instance as an LV2 host drives it: the effect, the host's port
// buffers, and what of the ports has already reached the effect.
#pragma once

#include "Lv2Ports.h"

#include <lv2/atom/atom.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <memory>

class CPlugIn;

namespace TarnwickLv2 {

struct Uris
{
	LV2_URID atomChunk = 0;
	LV2_URID atomSequence = 0;
	LV2_URID midiEvent = 0;
	LV2_URID state = 0;
	LV2_URID atomObject = 0;
	LV2_URID atomBlank = 0;
	LV2_URID atomFloat = 0;
	LV2_URID atomDouble = 0;
	LV2_URID atomInt = 0;
	LV2_URID atomLong = 0;
	LV2_URID timePosition = 0;
	LV2_URID timeBeatsPerMinute = 0;
};

class Lv2Plugin
{
public:
	// Null when the rate is one the effect cannot run at, or the host lacks urid:map.
	static Lv2Plugin* create (double sampleRate, const LV2_Feature* const* features);
	~Lv2Plugin ();

	void connectPort (uint32_t port, void* data);
	void activate ();
	void run (uint32_t frames);

	LV2_State_Status save (LV2_State_Store_Function store, LV2_State_Handle handle);
	LV2_State_Status restore (LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

	CPlugIn& effect () { return *fx; }

private:
	Lv2Plugin (std::unique_ptr<CPlugIn> effect, double sampleRate, const Uris& uris);

	void applyControlPorts ();
	void applyMidiControllers ();
	// The last tempo of the block's time:Position objects on the time input.
	void applyHostTempo ();
	void runEffect (uint32_t frames, uint32_t channels);
	void silenceOutputs (uint32_t frames);
	bool bypassed () const;

	std::unique_ptr<CPlugIn> fx;
	double sampleRate;
	Uris uris;
	bool prepared = false;
	// Until the first run after instantiate or activate: port values land without gliding.
	bool portsLand = true;

	const float* audioIn[2] = {nullptr, nullptr};
	float* audioOut[2] = {nullptr, nullptr};
	const float* controls[CStDelayFil::kControlCount] = {};
	const float* enabled = nullptr;
	const LV2_Atom_Sequence* midiIn = nullptr;
	const LV2_Atom_Sequence* timeIn = nullptr;

	// The port value each control last took, and controls a restore has set: their next
	// port value only counts when it asks for something else than the restored value.
	float lastPortValue[CStDelayFil::kControlCount] = {};
	bool restored[CStDelayFil::kControlCount] = {};
};

} // namespace TarnwickLv2

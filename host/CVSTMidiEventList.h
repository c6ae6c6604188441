// The block's MIDI events as an effect may fire them itself, frame by frame.
#pragma once

#include "effect/IMidiEventList.h"

#include "pluginterfaces/vst/ivstevents.h"

class CPlugIn;

namespace Vire2VUR3 {

class CVSTMidiEventList : public IMidiEventList
{
public:
	explicit CVSTMidiEventList (CPlugIn* effect);
	~CVSTMidiEventList () override;

	int32_t getEventCount () override;
	// Delivers the events at sampleOffset (from the cursor on); true when at
	// least one was delivered.
	bool fireMidiEvents (int32_t sampleOffset) override;

	// Called by the processing loop around each block: the host's list is
	// valid only while the block runs.
	void beginBlock (Steinberg::Vst::IEventList* hostList);
	void endBlock ();

private:
	CPlugIn* effect;
	Steinberg::Vst::IEventList* hostList;
	Steinberg::int32 cursor;
};

} // namespace Vire2VUR3

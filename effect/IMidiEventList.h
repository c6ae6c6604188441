#pragma once

#include <cstdint>

// The MIDI events of the current processing block. The host adapter
// implements it and hands it to the effect once (CPlugIn::handleMessage,
// kMessageMidiEventList). The slot order is fixed.
class IMidiEventList
{
public:
    // Number of events in the block; 0 outside a block.
    virtual int32_t getEventCount() = 0;
    // Delivers every event due at sampleOffset to the effect;
    // true when at least one was delivered.
    virtual bool fireMidiEvents(int32_t sampleOffset) = 0;
    virtual ~IMidiEventList() {}
};

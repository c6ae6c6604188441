#pragma once

#include <cstdint>

// One parameter's sample-accurate values inside the current processing block.
// The host adapter implements it; an effect reads it through the control's
// ControlDescriptor::updateQueue. The slot order is fixed.
class IParamUpdateQueue
{
public:
    // Host parameter id of this block's queue.
    virtual int32_t getParameterIndex() = 0;
    // Looks the value up at sampleOffset (which becomes the queue's cursor).
    // Writes *value and answers true only when the lookup yields a new value.
    virtual bool getValueAtOffset(int32_t sampleOffset, double unused, double* value) = 0;
    // Looks the value up at the cursor, then advances the cursor by one frame.
    virtual bool getNextValue(double* value) = 0;
    virtual ~IParamUpdateQueue() {}
};

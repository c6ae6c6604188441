#include "effect/PassThrough.h"

bool copyInterleavedBuffer(const float* input, float* output, uint32_t sampleCount)
{
    if (input == nullptr || output == nullptr)
        return false;
    for (uint32_t i = 0; i < sampleCount; ++i)
        output[i] = input[i];
    return true;
}

bool copyChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount)
{
    if (inputs == nullptr || outputs == nullptr || channelCount == 0 || inputs[0] == nullptr || outputs[0] == nullptr)
        return false;
    const bool right = channelCount >= 2 && inputs[1] != nullptr && outputs[1] != nullptr;
    for (uint32_t i = 0; i < frameCount; ++i)
    {
        outputs[0][i] = inputs[0][i];
        if (right)
            outputs[1][i] = inputs[1][i];
    }
    return true;
}

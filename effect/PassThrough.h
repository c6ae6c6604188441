#pragma once

#include <cstdint>

// Buffer copies shared by the effects whose buffer operations pass audio through.
bool copyInterleavedBuffer(const float* input, float* output, uint32_t sampleCount);
// Copies channel 0, and channel 1 when there are two channels and both pointers are present.
bool copyChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount);

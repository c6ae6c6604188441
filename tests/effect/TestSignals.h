#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace testsignal {

// Deterministic white noise in [-1, 1).
class Noise
{
public:
    explicit Noise(uint32_t seed) : state(seed) {}
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<int32_t>(state >> 8) - (1 << 23)) / static_cast<float>(1 << 23);
    }

private:
    uint32_t state;
};

// Noise with an impulse of 1.0 every `spacing` frames and silent gaps, so
// that both dense material and isolated echoes go through the line.
inline std::vector<float> noiseAndImpulses(size_t frames, uint32_t seed, size_t spacing)
{
    std::vector<float> signal(frames, 0.0f);
    Noise noise(seed);
    for (size_t i = 0; i < frames; ++i)
    {
        const size_t phase = i % spacing;
        if (phase == 0)
            signal[i] = 1.0f;
        else if (phase < spacing / 2)
            signal[i] = 0.5f * noise.next();
    }
    return signal;
}

inline uint32_t bitsOf(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace testsignal

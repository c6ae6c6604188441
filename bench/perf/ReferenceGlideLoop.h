// The automated case written as one straight stereo loop without the framework: each frame a
// one-pole step of the eight continuous controls (float, 100 ms), then, as the effect defines,
// a fresh cook from the moved values (delays, gains, and the low-pass recipe with libm's sine
// and cosine, once for both channels), then the two channels' biquad, line, mix and volume.
// The yardstick for the plug-in's cost while every control glides.
#pragma once

#include <cstdint>
#include <vector>

class ReferenceGlideLoop
{
public:
	// Plain values in control order: delay, feedback, cutoff, resonance, ratio, offset, wet, volume.
	ReferenceGlideLoop (int32_t sampleRate, const double start[8]);
	void setTargets (const double targets[8]);
	void process (const float* const input[2], float* const output[2], int32_t frames);

private:
	struct Channel
	{
		float x1, x2, y1, y2;
		std::vector<float> line;
		int32_t writePos;
	};
	void cook ();

	int32_t sampleRate;
	float smoothA, smoothB;
	float target[8];
	float value[8];
	float a0, a1, a2, b1, b2;
	float feedback, wet;
	float delaySamples[2];
	int32_t readPos[2];
	Channel channels[2];
};

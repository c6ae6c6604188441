// The product's DSP written as one straight loop per channel, without the framework: low-pass
// biquad (direct form I, with the same underflow flush), a two-second line read with linear
// interpolation, feedback, wet/dry mix and volume. The yardstick for the plug-in's cost.
#pragma once

#include <cstdint>
#include <vector>

class ReferenceDelayLoop
{
public:
	struct Settings
	{
		float delayMs[2];  // left, right
		float feedbackPct;
		float cutoffHz;
		float q;
		float wetPct;
		float volume;
	};

	ReferenceDelayLoop (int32_t sampleRate, const Settings& settings);
	void setSettings (const Settings& settings);
	// One block of one channel (0 or 1).
	void process (int channel, const float* input, float* output, int32_t frames);

private:
	struct Channel
	{
		float a0, a1, a2, b1, b2;
		float x1, x2, y1, y2;
		std::vector<float> line;
		int32_t writePos;
		int32_t readPos;
		float fraction;
	};
	int32_t sampleRate;
	float feedback;
	float wet;
	float volume;
	Channel channels[2];
};

#include "ReferenceDelayLoop.h"

#include "effect/CBiQuad.h"

#include <cstddef>

ReferenceDelayLoop::ReferenceDelayLoop (int32_t rate, const Settings& settings)
: sampleRate (rate)
{
	for (Channel& c : channels)
	{
		c.x1 = c.x2 = c.y1 = c.y2 = 0.f;
		c.line.assign (static_cast<size_t> (2 * rate + 2), 0.f);
		c.writePos = 0;
		c.readPos = 0;
	}
	setSettings (settings);
}

void ReferenceDelayLoop::setSettings (const Settings& s)
{
	const BiQuadCoefficients k = computeResonantLowPass (s.cutoffHz, s.q, sampleRate);
	feedback = s.feedbackPct * 0.01f;
	wet = s.wetPct * 0.01f;
	volume = s.volume;
	for (int index = 0; index < 2; ++index)
	{
		Channel& c = channels[index];
		const float delaySamples = static_cast<float> (sampleRate) * 0.001f * s.delayMs[index];
		c.fraction = delaySamples - static_cast<float> (static_cast<int32_t> (delaySamples));
		c.a0 = k.a0;
		c.a1 = k.a1;
		c.a2 = k.a2;
		c.b1 = k.b1;
		c.b2 = k.b2;
		const int32_t length = static_cast<int32_t> (c.line.size ());
		c.readPos = c.writePos - static_cast<int32_t> (delaySamples);
		if (c.readPos < 0)
			c.readPos += length;
	}
}

void ReferenceDelayLoop::process (int channel, const float* input, float* output, int32_t frames)
{
	Channel& c = channels[channel];
	float* line = c.line.data ();
	const int32_t length = static_cast<int32_t> (c.line.size ());
	const float a0 = c.a0, a1 = c.a1, a2 = c.a2, b1 = c.b1, b2 = c.b2;
	const float fraction = c.fraction;
	float x1 = c.x1, x2 = c.x2, y1 = c.y1, y2 = c.y2;
	int32_t writePos = c.writePos;
	int32_t readPos = c.readPos;
	for (int32_t i = 0; i < frames; ++i)
	{
		const float x = input[i];
		float y = a0 * x + a1 * x1 + a2 * x2 - b1 * y1 - b2 * y2;
		if (y > -1.175494351e-38f && y < 1.175494351e-38f)
			y = 0.f;
		x2 = x1;
		x1 = x;
		y2 = y1;
		y1 = y;

		const float tap0 = line[readPos];
		const float tap1 = line[readPos > 0 ? readPos - 1 : length - 1];
		const float yd = tap1 * fraction + (1.f - fraction) * tap0;
		line[writePos] = feedback * yd + y;
		output[i] = ((1.f - wet) * x + wet * yd) * volume;

		if (++writePos >= length)
			writePos = 0;
		if (++readPos >= length)
			readPos = 0;
	}
	c.x1 = x1;
	c.x2 = x2;
	c.y1 = y1;
	c.y2 = y2;
	c.writePos = writePos;
	c.readPos = readPos;
}

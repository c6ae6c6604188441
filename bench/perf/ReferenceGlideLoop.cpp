#include "ReferenceGlideLoop.h"

#include <cmath>
#include <cstddef>

ReferenceGlideLoop::ReferenceGlideLoop (int32_t rate, const double start[8])
: sampleRate (rate)
{
	const double frames = 100. * 0.001 * rate;
	smoothA = static_cast<float> (std::exp (-6.2831855 / frames));
	smoothB = 1.f - smoothA;
	for (int i = 0; i < 8; ++i)
		target[i] = value[i] = static_cast<float> (start[i]);
	for (Channel& c : channels)
	{
		c.x1 = c.x2 = c.y1 = c.y2 = 0.f;
		c.line.assign (static_cast<size_t> (2 * rate + 2), 0.f);
		c.writePos = 0;
	}
	cook ();
}

void ReferenceGlideLoop::setTargets (const double targets[8])
{
	for (int i = 0; i < 8; ++i)
		target[i] = static_cast<float> (targets[i]);
}

void ReferenceGlideLoop::cook ()
{
	// Delay mode: the delay divided by the ratio, the right channel later by the offset.
	const float delayMs = value[0] / value[4];
	const float rateMs = static_cast<float> (sampleRate) * 0.001f;
	delaySamples[0] = rateMs * delayMs;
	delaySamples[1] = rateMs * (delayMs + value[5]);
	feedback = value[1] * 0.01f;
	wet = value[6] * 0.01f;
	const int32_t length = static_cast<int32_t> (channels[0].line.size ());
	for (int c = 0; c < 2; ++c)
	{
		readPos[c] = channels[c].writePos - static_cast<int32_t> (delaySamples[c]);
		if (readPos[c] < 0)
			readPos[c] += length;
	}
	const float theta = static_cast<float> (value[2] * 6.283185307179586 / sampleRate);
	const double d = std::sin (static_cast<double> (theta)) * (0.5f / value[3]);
	const float beta = (static_cast<float> (1. - d) / static_cast<float> (1. + d)) * 0.5f;
	const float h = 0.5f + beta;
	const float gamma = static_cast<float> (std::cos (static_cast<double> (theta)) * h);
	b1 = -2.f * gamma;
	a0 = (h - gamma) * 0.5f;
	a2 = a0;
	a1 = a0 + a0;
	b2 = beta + beta;
}

void ReferenceGlideLoop::process (const float* const input[2], float* const output[2], int32_t frames)
{
	const int32_t length = static_cast<int32_t> (channels[0].line.size ());
	for (int32_t i = 0; i < frames; ++i)
	{
		bool moved = false;
		for (int k = 0; k < 8; ++k)
		{
			const float y = smoothB * target[k] + smoothA * value[k];
			moved = moved || y != value[k];
			value[k] = y;
		}
		if (moved)
			cook ();
		for (int ch = 0; ch < 2; ++ch)
		{
			Channel& c = channels[ch];
			const float x = input[ch][i];
			float y = a0 * x + a1 * c.x1 + a2 * c.x2 - b1 * c.y1 - b2 * c.y2;
			if (y > -1.175494351e-38f && y < 1.175494351e-38f)
				y = 0.f;
			c.x2 = c.x1;
			c.x1 = x;
			c.y2 = c.y1;
			c.y1 = y;
			float* line = c.line.data ();
			const int32_t r = readPos[ch];
			const float fraction = delaySamples[ch] - static_cast<float> (static_cast<int32_t> (delaySamples[ch]));
			const float yd = line[r > 0 ? r - 1 : length - 1] * fraction + (1.f - fraction) * line[r];
			line[c.writePos] = feedback * yd + y;
			output[ch][i] = ((1.f - wet) * x + wet * yd) * value[7];
			if (++c.writePos >= length)
				c.writePos = 0;
			if (++readPos[ch] >= length)
				readPos[ch] = 0;
		}
	}
}

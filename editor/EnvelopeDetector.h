// Meter ballistics: a one-pole attack/release follower, optionally on a dB scale.
#pragma once

#include <cstdint>

namespace VSTGUI {

class EnvelopeDetector
{
public:
	enum Mode : int32_t
	{
		kPeak = 0,
		kMeanSquare = 1,
		kRootMeanSquare = 2
	};

	// rate: updates per second (the editor updates its meters 20 times a second).
	void init (float rate, float attackMs, float releaseMs, bool analogTimeConstant, int32_t mode, bool dbScale);
	void reset () { envelope = 0.f; }
	// Follows x and answers the level to show, 0 .. 1.
	float process (float x);

	int32_t getMode () const { return detectorMode; }
	float getAttackCoefficient () const { return attackCoefficient; }
	float getReleaseCoefficient () const { return releaseCoefficient; }
	float getEnvelope () const { return envelope; }
	float getRate () const { return rate; }
	bool isDbScale () const { return dbScale; }

private:
	static float coefficient (float k, float rate, float timeMs);

	int32_t detectorMode {kPeak};
	float attackCoefficient {0.f};
	float releaseCoefficient {0.f};
	float attackTimeMs {0.f};
	float releaseTimeMs {0.f};
	float rate {44100.f};
	float envelope {0.f};
	bool analogTimeConstant {false};
	bool dbScale {false};
};

} // namespace VSTGUI

#include "EngineReference.h"

#include <xmmintrin.h>

namespace TarnwickHostTest {

namespace {

// The adapter runs the effect with subnormal numbers flushed to zero (and read as zero) for the
// duration of a block; so does the reference.
class SubnormalsFlushed
{
public:
	SubnormalsFlushed () : saved (_mm_getcsr ()) { _mm_setcsr (saved | 0x8000u | 0x0040u); }
	~SubnormalsFlushed () { _mm_setcsr (saved); }

private:
	unsigned int saved;
};

} // namespace

EngineReference::EngineReference (double sampleRate, int channelCount)
: fx (std::make_unique<CStDelayFil> ()), channels (channelCount)
{
	fx->initializeEffect ();
	// The adapter prepares on setupProcessing and again on setActive.
	fx->sampleRate = static_cast<int32_t> (sampleRate);
	fx->prepareToProcess ();
	fx->prepareToProcess ();
}

void EngineReference::change (Steinberg::Vst::ParamID id, double v)
{
	if (id < static_cast<Steinberg::Vst::ParamID> (fx->controlCount ()))
	{
		fx->setNormalizedValue (static_cast<int32_t> (id), v, false);
		return;
	}
	if (id == 2048)
	{
		const double b = 2.0 * v - 1.0;
		fx->midiPitchBend (0, b == -1.0 ? -8192 : static_cast<int32_t> (b * 8191.0),
		                  static_cast<float> (b));
	}
	if (id == 2049)
		fx->midiModWheel (0, static_cast<uint32_t> (static_cast<float> (v) * 127.f));
}

void EngineReference::noteOn (int frameOffset, int channel, int pitch, float velocity)
{
	pendingNotes.push_back ({frameOffset, channel, pitch, velocity});
}

void EngineReference::processBlock (const std::vector<std::vector<float>>& input,
                                    std::vector<std::vector<float>>& output, size_t start,
                                    size_t frames)
{
	const SubnormalsFlushed flushed;
	for (size_t i = 0; i < frames; ++i)
	{
		for (const Note& note : pendingNotes)
		{
			if (note.offset == static_cast<int> (i))
				fx->midiNoteOn (static_cast<uint32_t> (note.channel), static_cast<uint32_t> (note.pitch),
				               static_cast<uint32_t> (note.velocity * 127.f));
		}
		float in[2] = {0.f, 0.f};
		float out[2] = {0.f, 0.f};
		in[0] = input[0][start + i];
		if (channels == 2)
			in[1] = input[1][start + i];
		fx->processFrame (in, out, static_cast<uint32_t> (channels), static_cast<uint32_t> (channels));
		output[0][start + i] = out[0];
		if (channels == 2)
			output[1][start + i] = out[1];
	}
	pendingNotes.clear ();
}

} // namespace TarnwickHostTest

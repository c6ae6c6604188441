// The small synthesizers that make the built-in demo signal. Each renders one sound into a
// mono buffer; DemoSignal places the sounds in time and in the stereo field.
#pragma once

#include <cstdint>
#include <vector>

namespace Tarnwick {
namespace Render {

// Deterministic white noise (xorshift32), so that every run renders the same demo.
class NoiseSource
{
public:
    explicit NoiseSource (std::uint32_t seed = 0x2545F491u) : state (seed ? seed : 1u) {}
    double next (); // uniform in [-1, 1)

private:
    std::uint32_t state;
};

// Karplus-Strong plucked string: a noise burst circulating in a delay line through a
// two-point average, which acts as the string's losses.
class PluckString
{
public:
    PluckString (double sampleRate, double frequencyHz, NoiseSource& noise);
    std::vector<double> render (double seconds, double decay = 0.996);

private:
    double sampleRate;
    std::vector<double> line;
};

// A kick (falling sine sweep), a snare (noise plus a tone) and a closed hi-hat (differentiated noise).
class DrumKit
{
public:
    DrumKit (double sampleRate, NoiseSource& noise) : sampleRate (sampleRate), noise (noise) {}
    std::vector<double> kick ();
    std::vector<double> snare ();
    std::vector<double> hiHat ();

private:
    double sampleRate;
    NoiseSource& noise;
};

// A speech-like voice: a glottal pulse train through three formant resonators whose centre
// frequencies glide between the vowels /a/, /i/ and /u/, with a syllable-rate envelope.
class FormantVoice
{
public:
    explicit FormantVoice (double sampleRate) : sampleRate (sampleRate) {}
    std::vector<double> render (double seconds);

private:
    double sampleRate;
};

} // namespace Render
} // namespace Tarnwick

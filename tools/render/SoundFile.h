// Reading and writing audio files through libsndfile (WAV, FLAC, Ogg Vorbis and whatever else it knows).
#pragma once

#include "AudioClip.h"

#include <string>

namespace Tarnwick {
namespace Render {

enum class SampleFormat
{
    kFloat32, // lossless for what the plug-in produces; the default for WAV
    kPcm16,
    kPcm24,
};

// Parses "float", "16" or "24" (also "pcm16", "pcm24"); false for anything else.
bool parseSampleFormat (const std::string& text, SampleFormat& format);

// Reads a whole mono or stereo file. On failure returns false with a message in error.
bool readSoundFile (const std::string& path, AudioClip& clip, std::string& error);

// Writes the clip; the container follows the file extension (.wav, .flac, .ogg/.oga, .aif/.aiff).
// FLAC cannot hold float samples and is written with 24 bits then; Ogg is always Vorbis.
bool writeSoundFile (const std::string& path, const AudioClip& clip, SampleFormat format, std::string& error);

} // namespace Render
} // namespace Tarnwick

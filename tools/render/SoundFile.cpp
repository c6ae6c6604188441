#include "SoundFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

namespace Tarnwick {
namespace Render {

namespace {

struct SndFileCloser
{
    void operator() (SNDFILE* file) const { sf_close (file); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

constexpr sf_count_t kChunkFrames = 8192;

std::string lowerCaseExtension (const std::string& path)
{
    auto slash = path.find_last_of ('/');
    auto dot = path.find_last_of ('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr (dot + 1);
    std::transform (extension.begin (), extension.end (), extension.begin (),
                    [] (unsigned char c) { return static_cast<char> (std::tolower (c)); });
    return extension;
}

bool formatForPath (const std::string& path, SampleFormat format, int& sfFormat, std::string& error)
{
    int subtype = SF_FORMAT_FLOAT;
    if (format == SampleFormat::kPcm16)
        subtype = SF_FORMAT_PCM_16;
    else if (format == SampleFormat::kPcm24)
        subtype = SF_FORMAT_PCM_24;

    const std::string extension = lowerCaseExtension (path);
    if (extension == "wav" || extension.empty ())
        sfFormat = SF_FORMAT_WAV | subtype;
    else if (extension == "flac")
        sfFormat = SF_FORMAT_FLAC | (format == SampleFormat::kPcm16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
    else if (extension == "ogg" || extension == "oga")
        sfFormat = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    else if (extension == "aif" || extension == "aiff")
        sfFormat = SF_FORMAT_AIFF | subtype;
    else
    {
        error = "cannot tell the file type of '" + path + "' (use .wav, .flac, .ogg or .aiff)";
        return false;
    }
    return true;
}

} // namespace

bool parseSampleFormat (const std::string& text, SampleFormat& format)
{
    if (text == "float" || text == "32f" || text == "float32")
        format = SampleFormat::kFloat32;
    else if (text == "16" || text == "pcm16")
        format = SampleFormat::kPcm16;
    else if (text == "24" || text == "pcm24")
        format = SampleFormat::kPcm24;
    else
        return false;
    return true;
}

bool readSoundFile (const std::string& path, AudioClip& clip, std::string& error)
{
    SF_INFO info {};
    SndFilePtr file (sf_open (path.c_str (), SFM_READ, &info));
    if (!file)
    {
        error = "cannot read '" + path + "': " + sf_strerror (nullptr);
        return false;
    }
    if (info.channels < 1 || info.channels > 2)
    {
        error = "'" + path + "' has " + std::to_string (info.channels) +
                " channels; only mono and stereo files can be rendered";
        return false;
    }
    if (info.samplerate <= 0)
    {
        error = "'" + path + "' has no valid sample rate";
        return false;
    }
    if (info.frames <= 0)
    {
        error = "'" + path + "' holds no audio";
        return false;
    }

    clip = AudioClip (info.samplerate, info.channels, 0);
    for (auto& channel : clip.channels)
        channel.reserve (static_cast<std::size_t> (info.frames));

    std::vector<float> interleaved (static_cast<std::size_t> (kChunkFrames * info.channels));
    for (;;)
    {
        sf_count_t got = sf_readf_float (file.get (), interleaved.data (), kChunkFrames);
        if (got <= 0)
            break;
        for (sf_count_t frame = 0; frame < got; ++frame)
            for (int c = 0; c < info.channels; ++c)
                clip.channels[static_cast<std::size_t> (c)].push_back (
                    interleaved[static_cast<std::size_t> (frame * info.channels + c)]);
    }
    if (sf_error (file.get ()) != SF_ERR_NO_ERROR)
    {
        error = "error while reading '" + path + "': " + sf_strerror (file.get ());
        return false;
    }
    if (clip.frameCount () == 0)
    {
        error = "'" + path + "' holds no audio";
        return false;
    }
    return true;
}

bool writeSoundFile (const std::string& path, const AudioClip& clip, SampleFormat format, std::string& error)
{
    SF_INFO info {};
    info.samplerate = clip.sampleRate;
    info.channels = clip.channelCount ();
    if (!formatForPath (path, format, info.format, error))
        return false;
    if (!sf_format_check (&info))
    {
        error = "cannot write '" + path + "' with " + std::to_string (info.channels) + " channels at " +
                std::to_string (info.samplerate) + " Hz in that format";
        return false;
    }

    SndFilePtr file (sf_open (path.c_str (), SFM_WRITE, &info));
    if (!file)
    {
        error = "cannot write '" + path + "': " + sf_strerror (nullptr);
        return false;
    }
    // Integer formats clip instead of wrapping around on overs.
    sf_command (file.get (), SFC_SET_CLIPPING, nullptr, SF_TRUE);

    const int channelCount = clip.channelCount ();
    const std::size_t frames = clip.frameCount ();
    std::vector<float> interleaved (static_cast<std::size_t> (kChunkFrames) * static_cast<std::size_t> (channelCount));
    for (std::size_t start = 0; start < frames; start += static_cast<std::size_t> (kChunkFrames))
    {
        const std::size_t count = std::min (frames - start, static_cast<std::size_t> (kChunkFrames));
        for (std::size_t frame = 0; frame < count; ++frame)
            for (int c = 0; c < channelCount; ++c)
                interleaved[frame * static_cast<std::size_t> (channelCount) + static_cast<std::size_t> (c)] =
                    clip.channels[static_cast<std::size_t> (c)][start + frame];
        if (sf_writef_float (file.get (), interleaved.data (), static_cast<sf_count_t> (count)) !=
            static_cast<sf_count_t> (count))
        {
            error = "error while writing '" + path + "': " + sf_strerror (file.get ());
            file.reset ();
            std::remove (path.c_str ()); // no half-written file left behind
            return false;
        }
    }
    if (sf_close (file.release ()) != 0)
    {
        error = "error while finishing '" + path + "'";
        std::remove (path.c_str ());
        return false;
    }
    return true;
}

} // namespace Render
} // namespace Tarnwick

#include "SoundFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace Tarnwick::Render;

namespace {

class SoundFile : public ::testing::Test
{
protected:
    void SetUp () override
    {
        folder = ::testing::TempDir () + "tarnwick-soundfile-" + std::to_string (getpid ());
        std::filesystem::create_directories (folder);
    }
    void TearDown () override { std::filesystem::remove_all (folder); }

    static AudioClip ramp (int rate, int channels, std::size_t frames)
    {
        AudioClip clip (rate, channels, frames);
        for (int c = 0; c < channels; ++c)
            for (std::size_t i = 0; i < frames; ++i)
                clip.channels[static_cast<std::size_t> (c)][i] =
                    0.9f * std::sin (0.001f * static_cast<float> (i) * static_cast<float> (c + 1)) + 1e-7f * static_cast<float> (i % 7);
        return clip;
    }

    std::string folder;
};

TEST_F (SoundFile, FloatWavRoundTripsBitForBit)
{
    const AudioClip original = ramp (44100, 2, 20000); // more than one write chunk
    std::string error;
    ASSERT_TRUE (writeSoundFile (folder + "/a.wav", original, SampleFormat::kFloat32, error)) << error;
    AudioClip back;
    ASSERT_TRUE (readSoundFile (folder + "/a.wav", back, error)) << error;
    EXPECT_EQ (back.sampleRate, 44100);
    ASSERT_EQ (back.channelCount (), 2);
    ASSERT_EQ (back.frameCount (), 20000u);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (std::memcmp (back.channels[c].data (), original.channels[c].data (), 20000 * sizeof (float)), 0);
}

TEST_F (SoundFile, FlacKeepsTwentyFourBits)
{
    const AudioClip original = ramp (96000, 1, 5000);
    std::string error;
    ASSERT_TRUE (writeSoundFile (folder + "/a.flac", original, SampleFormat::kFloat32, error)) << error;
    AudioClip back;
    ASSERT_TRUE (readSoundFile (folder + "/a.flac", back, error)) << error;
    EXPECT_EQ (back.sampleRate, 96000);
    ASSERT_EQ (back.frameCount (), 5000u);
    for (std::size_t i = 0; i < 5000; ++i)
        ASSERT_NEAR (back.channels[0][i], original.channels[0][i], 1.0 / 8388608.0) << i;
}

TEST_F (SoundFile, OggIsReadBackWithItsLengthAndLevel)
{
    const AudioClip original = ramp (48000, 2, 48000);
    std::string error;
    ASSERT_TRUE (writeSoundFile (folder + "/a.ogg", original, SampleFormat::kFloat32, error)) << error;
    AudioClip back;
    ASSERT_TRUE (readSoundFile (folder + "/a.ogg", back, error)) << error;
    EXPECT_EQ (back.channelCount (), 2);
    EXPECT_EQ (back.frameCount (), 48000u);
    EXPECT_NEAR (peakLevel (back), 0.9f, 0.1f);
}

TEST_F (SoundFile, SixteenBitOutputClipsInsteadOfWrapping)
{
    AudioClip loud (48000, 1, 4);
    loud.channels[0] = {1.5f, -1.5f, 0.5f, 0.f};
    std::string error;
    ASSERT_TRUE (writeSoundFile (folder + "/loud.wav", loud, SampleFormat::kPcm16, error)) << error;
    AudioClip back;
    ASSERT_TRUE (readSoundFile (folder + "/loud.wav", back, error)) << error;
    EXPECT_GT (back.channels[0][0], 0.99f);
    EXPECT_LT (back.channels[0][1], -0.99f);
    EXPECT_NEAR (back.channels[0][2], 0.5f, 1e-4f);
}

TEST_F (SoundFile, RefusesWhatItCannotRead)
{
    AudioClip clip;
    std::string error;
    EXPECT_FALSE (readSoundFile (folder + "/missing.wav", clip, error));
    EXPECT_NE (error.find ("cannot read '" + folder + "/missing.wav'"), std::string::npos) << error;

    std::ofstream (folder + "/text.wav") << "RIFF but not really";
    EXPECT_FALSE (readSoundFile (folder + "/text.wav", clip, error));

    SF_INFO info {};
    info.samplerate = 48000;
    info.channels = 6;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open ((folder + "/surround.wav").c_str (), SFM_WRITE, &info);
    ASSERT_NE (file, nullptr);
    short frames[6 * 10] = {};
    sf_writef_short (file, frames, 10);
    sf_close (file);
    EXPECT_FALSE (readSoundFile (folder + "/surround.wav", clip, error));
    EXPECT_NE (error.find ("6 channels"), std::string::npos) << error;
}

TEST_F (SoundFile, RefusesWhatItCannotWrite)
{
    const AudioClip clip = ramp (48000, 2, 10);
    std::string error;
    EXPECT_FALSE (writeSoundFile (folder + "/no/such/folder/a.wav", clip, SampleFormat::kFloat32, error));
    EXPECT_NE (error.find ("cannot write"), std::string::npos);
    EXPECT_FALSE (writeSoundFile (folder + "/a.xyz", clip, SampleFormat::kFloat32, error));
    EXPECT_NE (error.find ("cannot tell the file type"), std::string::npos);
    EXPECT_FALSE (std::filesystem::exists (folder + "/a.xyz"));
}

TEST_F (SoundFile, SampleFormatNames)
{
    SampleFormat format = SampleFormat::kFloat32;
    EXPECT_TRUE (parseSampleFormat ("16", format));
    EXPECT_EQ (format, SampleFormat::kPcm16);
    EXPECT_TRUE (parseSampleFormat ("pcm24", format));
    EXPECT_EQ (format, SampleFormat::kPcm24);
    EXPECT_TRUE (parseSampleFormat ("float", format));
    EXPECT_EQ (format, SampleFormat::kFloat32);
    EXPECT_FALSE (parseSampleFormat ("8", format));
}

} // namespace

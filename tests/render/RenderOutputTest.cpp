// Good renders: the files the renderer writes hold what the plug-in must make of the input.
#include "AudioClip.h"
#include "DemoSignal.h"
#include "ProgramRunner.h"
#include "SoundFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

using Tarnwick::Render::AudioClip;
using Tarnwick::Render::readSoundFile;
using Tarnwick::Render::SampleFormat;
using Tarnwick::Render::writeSoundFile;
using Tarnwick::RenderTest::makeScratchFolder;
using Tarnwick::RenderTest::ProgramResult;
using Tarnwick::RenderTest::runRenderer;

namespace {

class RenderOutput : public ::testing::Test
{
protected:
    void SetUp () override
    {
        folder = makeScratchFolder (::testing::UnitTest::GetInstance ()->current_test_info ()->name ());
    }
    void TearDown () override { std::filesystem::remove_all (folder); }

    std::string path (const std::string& name) const { return folder + "/" + name; }

    std::string writeInput (const std::string& name, const AudioClip& clip)
    {
        std::string error;
        EXPECT_TRUE (writeSoundFile (path (name), clip, SampleFormat::kFloat32, error)) << error;
        return path (name);
    }

    AudioClip render (std::vector<std::string> arguments, const std::string& outputName)
    {
        arguments.push_back ("-o");
        arguments.push_back (path (outputName));
        const ProgramResult result = runRenderer (arguments);
        EXPECT_TRUE (result.exited && result.exitStatus == 0) << result.describe () << "\n" << result.err;
        return readBack (outputName);
    }

    AudioClip readBack (const std::string& name) const
    {
        AudioClip clip;
        std::string error;
        EXPECT_TRUE (readSoundFile (path (name), clip, error)) << error;
        return clip;
    }

    // Noise in both channels, different on each side, at -12 dBFS.
    static AudioClip noise (int rate, std::size_t frames)
    {
        AudioClip clip (rate, 2, frames);
        std::uint32_t state = 12345u;
        for (std::size_t i = 0; i < frames; ++i)
            for (auto& channel : clip.channels)
            {
                state = state * 1664525u + 1013904223u;
                channel[i] = 0.25f * (static_cast<float> (state >> 8) / 8388608.f - 1.f);
            }
        return clip;
    }

    std::string folder;
};

bool sameSamples (const std::vector<float>& a, const std::vector<float>& b, std::size_t frames)
{
    return a.size () >= frames && b.size () >= frames && std::memcmp (a.data (), b.data (), frames * sizeof (float)) == 0;
}

std::size_t loudestFrame (const std::vector<float>& channel, std::size_t from, std::size_t to)
{
    std::size_t best = from;
    for (std::size_t i = from; i < std::min (to, channel.size ()); ++i)
        if (std::fabs (channel[i]) > std::fabs (channel[best]))
            best = i;
    return best;
}

TEST_F (RenderOutput, DemoIsStereoFiniteAndAudible)
{
    const AudioClip demo = render ({}, "demo.wav");
    EXPECT_EQ (demo.sampleRate, 48000);
    ASSERT_EQ (demo.channelCount (), 2);
    EXPECT_GE (demo.frameCount (), static_cast<std::size_t> (Tarnwick::Render::DemoSignal::kLengthSeconds * 48000));
    EXPECT_TRUE (Tarnwick::Render::allSamplesFinite (demo));
    EXPECT_GT (Tarnwick::Render::peakLevel (demo), 0.1f);
    EXPECT_LT (Tarnwick::Render::peakLevel (demo), 1.0f);
}

TEST_F (RenderOutput, DemoRateFollowsTheRateOption)
{
    const AudioClip demo = render ({"--rate", "44100", "--preset", "Crude Verb"}, "demo.wav");
    EXPECT_EQ (demo.sampleRate, 44100);
    EXPECT_GE (demo.frameCount (), static_cast<std::size_t> (Tarnwick::Render::DemoSignal::kLengthSeconds * 44100));
    EXPECT_TRUE (Tarnwick::Render::allSamplesFinite (demo));
    EXPECT_GT (Tarnwick::Render::peakLevel (demo), 0.05f);
}

TEST_F (RenderOutput, BypassGivesTheInputBack)
{
    const AudioClip input = noise (44100, 30000);
    const AudioClip output = render ({writeInput ("in.wav", input), "--preset", "Heavy", "--set", "Bypass=1"}, "out.wav");
    ASSERT_EQ (output.channelCount (), 2);
    EXPECT_EQ (output.sampleRate, 44100);
    EXPECT_TRUE (sameSamples (output.channels[0], input.channels[0], input.frameCount ()));
    EXPECT_TRUE (sameSamples (output.channels[1], input.channels[1], input.frameCount ()));
}

TEST_F (RenderOutput, SettingsApplyAfterThePreset)
{
    // "Active" off passes the input scaled by the volume; Heavy's volume is 0.635.
    const AudioClip input = noise (48000, 20000);
    const AudioClip output =
        render ({writeInput ("in.wav", input), "--preset", "Heavy", "--set", "Active=Off"}, "out.wav");
    ASSERT_EQ (output.channelCount (), 2);
    ASSERT_GE (output.frameCount (), input.frameCount ());
    for (std::size_t c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < input.frameCount (); ++i)
            ASSERT_EQ (output.channels[c][i], input.channels[c][i] * 0.635f) << "channel " << c << " frame " << i;
}

TEST_F (RenderOutput, HeavyIsNotTheDrySignal)
{
    const AudioClip input = noise (48000, 24000);
    const std::string in = writeInput ("in.wav", input);
    const AudioClip heavy = render ({in, "--preset", "Heavy"}, "heavy.wav");
    const AudioClip plain = render ({in}, "plain.wav");
    ASSERT_EQ (heavy.channelCount (), 2);
    EXPECT_FALSE (sameSamples (heavy.channels[0], input.channels[0], input.frameCount ()));
    EXPECT_FALSE (sameSamples (heavy.channels[0], plain.channels[0], input.frameCount ()));
    EXPECT_TRUE (Tarnwick::Render::allSamplesFinite (heavy));
}

TEST_F (RenderOutput, PresetByIndexNameAndAnyCaseAreTheSame)
{
    const std::string in = writeInput ("in.wav", noise (48000, 12000));
    const AudioClip byIndex = render ({in, "--preset", "3"}, "index.wav");
    const AudioClip byName = render ({in, "--preset", "Banking"}, "name.wav");
    const AudioClip byLowerCase = render ({in, "--preset", "banking"}, "lower.wav");
    ASSERT_EQ (byIndex.frameCount (), byName.frameCount ());
    ASSERT_EQ (byIndex.frameCount (), byLowerCase.frameCount ());
    for (std::size_t c = 0; c < 2; ++c)
    {
        EXPECT_TRUE (sameSamples (byIndex.channels[c], byName.channels[c], byIndex.frameCount ()));
        EXPECT_TRUE (sameSamples (byIndex.channels[c], byLowerCase.channels[c], byIndex.frameCount ()));
    }
}

TEST_F (RenderOutput, EchoesLandAtTheDelayAndRingOutInTheTail)
{
    // One click; delay mode, 500 ms on the left and 501 ms on the right, all wet, half feedback.
    AudioClip click (48000, 1, 48000);
    const std::size_t at = 4800;
    click.channels[0][at] = 0.5f;
    const AudioClip output = render ({writeInput ("click.wav", click), "--set", "Delay State=Delay", "--set", "Delay=500",
                                      "--set", "Offset=1", "--set", "Wet/Dry=100", "--set", "Feedback=50"},
                                     "echo.wav");
    ASSERT_EQ (output.channelCount (), 2);

    // All wet: nothing comes out before the first echo.
    for (std::size_t i = 0; i < at + 24000 - 1; ++i)
        ASSERT_EQ (output.channels[0][i], 0.f) << i;

    const std::size_t left1 = loudestFrame (output.channels[0], at + 23000, at + 25000);
    const std::size_t right1 = loudestFrame (output.channels[1], at + 23000, at + 25000);
    const std::size_t left2 = loudestFrame (output.channels[0], at + 47000, at + 49000);
    EXPECT_NEAR (static_cast<double> (left1), static_cast<double> (at + 24000), 3.0);
    EXPECT_NEAR (static_cast<double> (right1), static_cast<double> (at + 24048), 3.0);
    EXPECT_EQ (left2 - left1, 24000u);
    EXPECT_NEAR (output.channels[0][left2] / output.channels[0][left1], 0.5f, 1e-4f);

    // Echoes fall 6 dB each; the file ends 50 ms after the last one above -90 dBFS, which is
    // on the right, the side with the longer delay.
    const float threshold = static_cast<float> (std::pow (10.0, -90.0 / 20.0));
    std::size_t audibleEchoes = 0;
    for (float peak = std::fabs (output.channels[1][right1]); peak >= threshold; peak *= 0.5f)
        ++audibleEchoes;
    ASSERT_GT (audibleEchoes, 5u);
    const std::size_t lastEcho = right1 + (audibleEchoes - 1) * 24048;
    EXPECT_GT (output.frameCount (), lastEcho + 2400 - 10);
    EXPECT_LT (output.frameCount (), lastEcho + 2400 + 100);
    EXPECT_LT (std::fabs (output.channels[0].back ()), threshold);
    EXPECT_LT (std::fabs (output.channels[1].back ()), threshold);
}

TEST_F (RenderOutput, NoTailWhenTheCapIsZero)
{
    const AudioClip input = noise (48000, 9000);
    const AudioClip output = render ({writeInput ("in.wav", input), "--preset", "Crude Verb", "--max-tail", "0"}, "out.wav");
    EXPECT_EQ (output.frameCount (), input.frameCount ());
}

TEST_F (RenderOutput, EndlessFeedbackIsCutAtTheCapAndFadedOut)
{
    AudioClip click (48000, 1, 4800);
    click.channels[0][10] = 0.5f;
    const std::string in = writeInput ("click.wav", click);
    const std::vector<std::string> arguments = {in, "--set", "Delay State=Delay", "--set", "Delay=100", "--set",
                                                "Feedback=100", "--set", "Wet/Dry=100", "--max-tail", "2", "-o",
                                                path ("out.wav")};
    const ProgramResult result = runRenderer (arguments);
    ASSERT_TRUE (result.exited && result.exitStatus == 0) << result.err;
    EXPECT_NE (result.err.find ("were faded out"), std::string::npos) << result.err;
    const AudioClip output = readBack ("out.wav");
    EXPECT_LE (output.frameCount (), click.frameCount () + 2u * 48000u);
    EXPECT_GT (output.frameCount (), click.frameCount () + 2u * 48000u - 4800u - 2400u);
    // Undamped echoes every 100 ms: the first at full level, the last one faded nearly away.
    const auto& left = output.channels[0];
    const float first = std::fabs (left[loudestFrame (left, 4000, 6000)]);
    const float last = std::fabs (left[loudestFrame (left, left.size () - 4800, left.size ())]);
    EXPECT_GT (first, 0.01f);
    EXPECT_LT (last, 0.2f * first);
}

TEST_F (RenderOutput, MonoInputFeedsBothSidesOrAMonoBus)
{
    AudioClip mono (48000, 1, 16000);
    mono.channels[0] = noise (48000, 16000).channels[0];
    const std::string in = writeInput ("mono.wav", mono);

    const AudioClip stereo = render ({in}, "stereo.wav");
    ASSERT_EQ (stereo.channelCount (), 2);
    // The default preset has no offset, so both voices make the same sound.
    EXPECT_TRUE (sameSamples (stereo.channels[0], stereo.channels[1], stereo.frameCount ()));

    const AudioClip onMonoBus = render ({in, "--mono"}, "monobus.wav");
    ASSERT_EQ (onMonoBus.channelCount (), 1);
    ASSERT_EQ (onMonoBus.frameCount (), stereo.frameCount ());
    EXPECT_TRUE (sameSamples (onMonoBus.channels[0], stereo.channels[0], stereo.frameCount ()));
}

TEST_F (RenderOutput, ReadsFlacAndOggAtTheirOwnRates)
{
    const AudioClip source = noise (96000, 9600);
    std::string error;
    ASSERT_TRUE (writeSoundFile (path ("in.flac"), source, SampleFormat::kPcm24, error)) << error;
    AudioClip monoSource (22050, 1, 11025);
    monoSource.channels[0] = noise (22050, 11025).channels[0];
    ASSERT_TRUE (writeSoundFile (path ("in.ogg"), monoSource, SampleFormat::kFloat32, error)) << error;

    const AudioClip fromFlac = render ({path ("in.flac"), "--preset", "Pipes"}, "flac.wav");
    EXPECT_EQ (fromFlac.sampleRate, 96000);
    EXPECT_GE (fromFlac.frameCount (), source.frameCount ());
    EXPECT_GT (Tarnwick::Render::peakLevel (fromFlac), 0.01f);

    const AudioClip fromOgg = render ({path ("in.ogg"), "--preset", "Pipes"}, "ogg.wav");
    EXPECT_EQ (fromOgg.sampleRate, 22050);
    EXPECT_EQ (fromOgg.channelCount (), 2);
    EXPECT_GT (Tarnwick::Render::peakLevel (fromOgg), 0.01f);
}

TEST_F (RenderOutput, WritesTheRequestedSampleFormat)
{
    const std::string in = writeInput ("in.wav", noise (48000, 4800));
    render ({in, "--format", "24"}, "pcm24.wav");
    SF_INFO info {};
    SNDFILE* file = sf_open (path ("pcm24.wav").c_str (), SFM_READ, &info);
    ASSERT_NE (file, nullptr);
    sf_close (file);
    EXPECT_EQ (info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24);
    EXPECT_EQ (info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_WAV);
}

TEST_F (RenderOutput, AllPresetsWritesOneNamedFilePerPreset)
{
    const std::string out = path ("presets");
    const ProgramResult result = runRenderer ({"--all-presets", "--out-dir", out, "--rate", "22050"});
    ASSERT_TRUE (result.exited && result.exitStatus == 0) << result.err;
    const char* const expected[] = {"00-Factory-Preset.wav", "01-Heavy.wav",          "02-Hollow-Ring.wav",
                                    "03-Banking.wav",        "04-Beats-as-Bass.wav",  "05-Crude-Verb.wav",
                                    "06-Some-Space.wav",     "07-Padding-for-Pads.wav", "08-Good-on-Atmos.wav",
                                    "09-Pipes.wav",          "10-Automate-Me.wav"};
    std::vector<AudioClip> clips;
    for (const char* name : expected)
    {
        SCOPED_TRACE (name);
        ASSERT_TRUE (std::filesystem::exists (out + "/" + name));
        EXPECT_NE (result.out.find (name), std::string::npos);
        clips.push_back (readBack (std::string ("presets/") + name));
        EXPECT_EQ (clips.back ().sampleRate, 22050);
        EXPECT_TRUE (Tarnwick::Render::allSamplesFinite (clips.back ()));
        EXPECT_GT (Tarnwick::Render::peakLevel (clips.back ()), 0.01f);
    }
    EXPECT_EQ (std::distance (std::filesystem::directory_iterator (out), std::filesystem::directory_iterator ()), 11);
    // Delay-mode presets ring longer than the plain one.
    EXPECT_GT (clips[5].frameCount (), clips[0].frameCount () + 22050u);
    EXPECT_FALSE (sameSamples (clips[0].channels[0], clips[1].channels[0], clips[0].frameCount ()));
}

TEST_F (RenderOutput, ListShowsParametersRangesTextsAndPresets)
{
    const ProgramResult result = runRenderer ({"--list"});
    ASSERT_TRUE (result.exited && result.exitStatus == 0) << result.err;
    const char* const expected[] = {"TarnwickFreex86",  "Vanter Moor",        "\"Delay\"",      "0.00 .. 2000.00 mSec",
                                    "\"Cutoff\"",       "100.00 .. 16000.00 Hz", "Comb | Delay", "On | Off",
                                    "\"Bypass\"",       "bypass",             "11 presets",     "Factory Preset",
                                    "Padding for Pads", "Automate Me"};
    for (const char* text : expected)
        EXPECT_NE (result.out.find (text), std::string::npos) << text << "\n" << result.out;
}

TEST_F (RenderOutput, NoProgressBarWhenStderrIsNotATerminal)
{
    AudioClip longInput (8000, 1, 8000 * 25);
    longInput.channels[0][100] = 0.5f;
    const std::string in = writeInput ("long.wav", longInput);
    const ProgramResult result = runRenderer ({in, "-o", path ("out.wav")});
    ASSERT_TRUE (result.exited && result.exitStatus == 0) << result.err;
    EXPECT_EQ (result.err, "");
    EXPECT_NE (result.out.find ("wrote "), std::string::npos);
}

TEST_F (RenderOutput, HelpDescribesTheOptions)
{
    const ProgramResult result = runRenderer ({"--help"});
    ASSERT_TRUE (result.exited && result.exitStatus == 0);
    for (const char* option : {"--preset", "--set", "--all-presets", "--out-dir", "--bundle", "--rate", "--list"})
        EXPECT_NE (result.out.find (option), std::string::npos) << option;
}

} // namespace

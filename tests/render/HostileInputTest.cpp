// Bad input must end the renderer with a message and a non-zero status, never with a crash,
// and must not leave a half-written output behind.
#include "AudioClip.h"
#include "ProgramRunner.h"
#include "SoundFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>

using Tarnwick::RenderTest::makeScratchFolder;
using Tarnwick::RenderTest::ProgramResult;
using Tarnwick::RenderTest::runProgram;
using Tarnwick::RenderTest::runRenderer;

namespace {

constexpr int kBadInput = 2;
constexpr int kFailure = 1;

void expectRefusal (const ProgramResult& result, int status, const std::string& message)
{
    ASSERT_TRUE (result.exited) << "killed by " << result.describe () << "\n" << result.err;
    EXPECT_EQ (result.exitStatus, status) << result.err;
    EXPECT_NE (result.err.find (message), std::string::npos) << "stderr: " << result.err;
    EXPECT_NE (result.err.find ("tarnwick-render: error: "), std::string::npos) << result.err;
}

class HostileInput : public ::testing::Test
{
protected:
    void SetUp () override
    {
        folder = makeScratchFolder (::testing::UnitTest::GetInstance ()->current_test_info ()->name ());
        output = folder + "/out.wav";
        Tarnwick::Render::AudioClip clip (44100, 1, 4410);
        clip.channels[0][100] = 0.5f;
        std::string error;
        ASSERT_TRUE (Tarnwick::Render::writeSoundFile (folder + "/in.wav", clip, Tarnwick::Render::SampleFormat::kFloat32,
                                                       error))
            << error;
        input = folder + "/in.wav";
    }
    void TearDown () override { std::filesystem::remove_all (folder); }

    bool outputWritten () const { return std::filesystem::exists (output); }

    std::string folder;
    std::string input;
    std::string output;
};

TEST_F (HostileInput, MissingInputFile)
{
    expectRefusal (runRenderer ({folder + "/no-such-file.wav", "-o", output}), kFailure, "cannot read");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, InputThatIsNotAudio)
{
    std::ofstream (folder + "/notes.wav") << "these are not samples\n";
    expectRefusal (runRenderer ({folder + "/notes.wav", "-o", output}), kFailure, "cannot read");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, InputWithThreeChannels)
{
    SF_INFO info {};
    info.samplerate = 48000;
    info.channels = 3;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open ((folder + "/three.wav").c_str (), SFM_WRITE, &info);
    ASSERT_NE (file, nullptr);
    float frames[3 * 64] = {};
    sf_writef_float (file, frames, 64);
    sf_close (file);
    expectRefusal (runRenderer ({folder + "/three.wav", "-o", output}), kFailure, "only mono and stereo");
}

TEST_F (HostileInput, InputWithoutFrames)
{
    SF_INFO info {};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open ((folder + "/empty.wav").c_str (), SFM_WRITE, &info);
    ASSERT_NE (file, nullptr);
    sf_close (file);
    expectRefusal (runRenderer ({folder + "/empty.wav", "-o", output}), kFailure, "holds no audio");
}

TEST_F (HostileInput, InputAtARateThePlugInRefuses)
{
    Tarnwick::Render::AudioClip clip (4000, 1, 400);
    std::string error;
    ASSERT_TRUE (Tarnwick::Render::writeSoundFile (folder + "/slow.wav", clip, Tarnwick::Render::SampleFormat::kFloat32,
                                                   error));
    expectRefusal (runRenderer ({folder + "/slow.wav", "-o", output}), kFailure, "cannot run at 4000 Hz");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, UnknownPresetName)
{
    expectRefusal (runRenderer ({input, "-o", output, "--preset", "Cathedral"}), kBadInput,
                   "unknown preset 'Cathedral'");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, PresetIndexPastTheEnd)
{
    expectRefusal (runRenderer ({input, "-o", output, "--preset", "11"}), kBadInput, "out of range (0 to 10)");
    expectRefusal (runRenderer ({input, "-o", output, "--preset", "-1"}), kBadInput, "out of range");
    expectRefusal (runRenderer ({input, "-o", output, "--preset", "2.5"}), kBadInput, "out of range");
}

TEST_F (HostileInput, UnknownParameter)
{
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Reverb=3"}), kBadInput, "unknown parameter 'Reverb'");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, ValueOutOfRange)
{
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Delay=2500"}), kBadInput,
                   "out of range for 'Delay' (0 to 2000 mSec)");
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Cutoff=99"}), kBadInput, "out of range for 'Cutoff'");
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Volume=-0.1"}), kBadInput, "out of range");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, ValueThatIsNotANumber)
{
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Delay=350ms"}), kBadInput, "is not a number");
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Delay=nan"}), kBadInput, "is not a number");
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Feedback=inf"}), kBadInput, "is not a number");
}

TEST_F (HostileInput, ChoiceThatTheSwitchDoesNotHave)
{
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Delay State=Sideways"}), kBadInput,
                   "not a choice of 'Delay State' (choices: Comb, Delay");
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Active=2"}), kBadInput, "not a choice of 'Active'");
}

TEST_F (HostileInput, ProgramChangeAndReadOnlyParametersCannotBeSet)
{
    expectRefusal (runRenderer ({input, "-o", output, "--set", "Factory Presets=2"}), kBadInput, "use --preset");
}

TEST_F (HostileInput, BundlePathThatDoesNotExist)
{
    expectRefusal (runProgram ({TARNWICK_RENDER_PROGRAM, "--bundle", folder + "/Nowhere.vst3", input, "-o", output}),
                   kFailure, "no plug-in bundle at");
    EXPECT_FALSE (outputWritten ());
}

TEST_F (HostileInput, FolderThatIsNotABundle)
{
    expectRefusal (runProgram ({TARNWICK_RENDER_PROGRAM, "--bundle", folder, input, "-o", output}), kFailure,
                   "cannot load the plug-in bundle");
}

TEST_F (HostileInput, BundleWhoseLibraryIsNotALibrary)
{
    const std::string bundle = folder + "/Fake.vst3";
    std::filesystem::create_directories (bundle + "/Contents/x86_64-linux");
    std::ofstream (bundle + "/Contents/x86_64-linux/Fake.so") << "not an ELF file";
    expectRefusal (runProgram ({TARNWICK_RENDER_PROGRAM, "--bundle", bundle, input, "-o", output}), kFailure,
                   "cannot load the plug-in bundle");
}

TEST_F (HostileInput, BundleWhoseLibraryIsNoPlugIn)
{
    // A real shared library without the VST 3 entry points.
    const std::string bundle = folder + "/Sndfile.vst3";
    std::filesystem::create_directories (bundle + "/Contents/x86_64-linux");
    std::error_code status;
    std::filesystem::create_symlink ("/usr/lib/x86_64-linux-gnu/libsndfile.so.1",
                                     bundle + "/Contents/x86_64-linux/Sndfile.so", status);
    ASSERT_FALSE (status) << status.message ();
    expectRefusal (runProgram ({TARNWICK_RENDER_PROGRAM, "--bundle", bundle, input, "-o", output}), kFailure,
                   "cannot load the plug-in bundle");
}

TEST_F (HostileInput, OutputIntoAMissingFolder)
{
    expectRefusal (runRenderer ({input, "-o", folder + "/missing/out.wav"}), kFailure, "cannot write");
}

TEST_F (HostileInput, OutputOfUnknownType)
{
    expectRefusal (runRenderer ({input, "-o", folder + "/out.mp9"}), kFailure, "cannot tell the file type");
}

TEST_F (HostileInput, CommandLineMistakes)
{
    expectRefusal (runRenderer ({"--frobnicate"}), kBadInput, "unknown option '--frobnicate'");
    expectRefusal (runRenderer ({"--preset"}), kBadInput, "--preset needs a value");
    expectRefusal (runRenderer ({"--set", "Delay"}), kBadInput, "expects TITLE=VALUE");
    expectRefusal (runRenderer ({"--all-presets"}), kBadInput, "--all-presets needs --out-dir");
    expectRefusal (runRenderer ({"--out-dir", folder}), kBadInput, "--out-dir is used with --all-presets only");
    expectRefusal (runRenderer ({"--rate", "1000"}), kBadInput, "--rate must be");
    expectRefusal (runRenderer ({"--rate", "44100.5"}), kBadInput, "--rate must be");
    expectRefusal (runRenderer ({input, "--rate", "44100"}), kBadInput, "an input file is rendered at its own rate");
    expectRefusal (runRenderer ({input, input}), kBadInput, "only one input file");
    expectRefusal (runRenderer ({"--max-tail", "-1"}), kBadInput, "--max-tail must be");
    expectRefusal (runRenderer ({"--format", "8"}), kBadInput, "--format must be");
    expectRefusal (runRenderer ({"--list=yes"}), kBadInput, "takes no value");
}

TEST_F (HostileInput, MonoBusForAStereoFile)
{
    Tarnwick::Render::AudioClip clip (48000, 2, 480);
    std::string error;
    ASSERT_TRUE (Tarnwick::Render::writeSoundFile (folder + "/stereo.wav", clip,
                                                   Tarnwick::Render::SampleFormat::kFloat32, error));
    expectRefusal (runRenderer ({folder + "/stereo.wav", "--mono", "-o", output}), kBadInput, "--mono needs a mono input");
}

} // namespace

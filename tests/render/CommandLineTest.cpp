#include "CommandLine.h"

#include <gtest/gtest.h>

using namespace Tarnwick::Render;

namespace {

CommandLineResult parse (std::vector<std::string> arguments)
{
    return parseCommandLine (arguments);
}

TEST (CommandLine, NoArgumentsRenderTheDemoWithDefaults)
{
    const auto result = parse ({});
    ASSERT_TRUE (result.ok) << result.error;
    EXPECT_TRUE (result.options.inputPath.empty ());
    EXPECT_EQ (result.options.demoRate, 48000);
    EXPECT_DOUBLE_EQ (result.options.maxTailSeconds, 30.0);
    EXPECT_EQ (result.options.sampleFormat, SampleFormat::kFloat32);
    EXPECT_FALSE (result.options.allPresets);
}

TEST (CommandLine, ReadsEveryOptionInBothSpellings)
{
    const auto result = parse ({"in.flac", "-o", "out.wav", "--bundle=/b/T.vst3", "--preset", "Pipes", "--set",
                                " Delay = 350 ", "--set=Delay State=Delay", "--max-tail", "12.5", "--format=24", "--mono",
                                "-q"});
    ASSERT_TRUE (result.ok) << result.error;
    const RenderOptions& o = result.options;
    EXPECT_EQ (o.inputPath, "in.flac");
    EXPECT_EQ (o.outputPath, "out.wav");
    EXPECT_EQ (o.bundlePath, "/b/T.vst3");
    EXPECT_EQ (o.preset, "Pipes");
    ASSERT_EQ (o.settings.size (), 2u);
    EXPECT_EQ (o.settings[0].title, "Delay");
    EXPECT_EQ (o.settings[0].value, "350");
    EXPECT_EQ (o.settings[1].title, "Delay State");
    EXPECT_EQ (o.settings[1].value, "Delay");
    EXPECT_DOUBLE_EQ (o.maxTailSeconds, 12.5);
    EXPECT_EQ (o.sampleFormat, SampleFormat::kPcm24);
    EXPECT_TRUE (o.monoBus);
    EXPECT_TRUE (o.quiet);
}

TEST (CommandLine, AllPresetsNeedsAnOutputFolderAndNothingThatPicksOnePreset)
{
    EXPECT_TRUE (parse ({"--all-presets", "--out-dir", "out"}).ok);
    EXPECT_FALSE (parse ({"--all-presets"}).ok);
    EXPECT_FALSE (parse ({"--all-presets", "--out-dir", "out", "-o", "x.wav"}).ok);
    EXPECT_FALSE (parse ({"--all-presets", "--out-dir", "out", "--preset", "1"}).ok);
    EXPECT_FALSE (parse ({"--out-dir", "out"}).ok);
}

TEST (CommandLine, RateIsAWholeNumberInThePlugInsRangeAndOnlyForTheDemo)
{
    EXPECT_EQ (parse ({"--rate", "8000"}).options.demoRate, 8000);
    EXPECT_EQ (parse ({"--rate", "384000"}).options.demoRate, 384000);
    EXPECT_FALSE (parse ({"--rate", "7999"}).ok);
    EXPECT_FALSE (parse ({"--rate", "384001"}).ok);
    EXPECT_FALSE (parse ({"--rate", "44100.5"}).ok);
    EXPECT_FALSE (parse ({"--rate", "fast"}).ok);
    EXPECT_FALSE (parse ({"in.wav", "--rate", "44100"}).ok);
}

TEST (CommandLine, MistakesAreNamed)
{
    EXPECT_EQ (parse ({"--nope"}).error, "unknown option '--nope' (see --help)");
    EXPECT_EQ (parse ({"-o"}).error, "option -o needs a value");
    EXPECT_EQ (parse ({"--help=1"}).error, "option --help takes no value");
    EXPECT_NE (parse ({"--set", "=3"}).error.find ("expects TITLE=VALUE"), std::string::npos);
    EXPECT_NE (parse ({"--set", "Delay="}).error.find ("expects TITLE=VALUE"), std::string::npos);
    EXPECT_NE (parse ({"a.wav", "b.wav"}).error.find ("only one input file"), std::string::npos);
    EXPECT_NE (parse ({"--max-tail", "601"}).error.find ("--max-tail"), std::string::npos);
    EXPECT_NE (parse ({"--max-tail", "nan"}).error.find ("--max-tail"), std::string::npos);
    EXPECT_NE (parse ({"--format", "float64"}).error.find ("--format"), std::string::npos);
    EXPECT_NE (parse ({"--preset", "  "}).error.find ("--preset"), std::string::npos);
}

TEST (CommandLine, HelpWinsOverEverythingElse)
{
    const auto result = parse ({"--all-presets", "--help"});
    ASSERT_TRUE (result.ok);
    EXPECT_TRUE (result.options.showHelp);
    EXPECT_NE (usageText ("tarnwick-render").find ("--set \"TITLE=VALUE\""), std::string::npos);
}

TEST (CommandLine, NumbersMustBeWholeFiniteNumbers)
{
    double value = 0.0;
    EXPECT_TRUE (parseNumber ("350", value));
    EXPECT_DOUBLE_EQ (value, 350.0);
    EXPECT_TRUE (parseNumber (" -1.5e2 ", value));
    EXPECT_DOUBLE_EQ (value, -150.0);
    EXPECT_FALSE (parseNumber ("350ms", value));
    EXPECT_FALSE (parseNumber ("", value));
    EXPECT_FALSE (parseNumber ("nan", value));
    EXPECT_FALSE (parseNumber ("inf", value));
    EXPECT_FALSE (parseNumber ("1e999", value));
    EXPECT_FALSE (parseNumber ("0x", value));
}

TEST (CommandLine, SettingsSplitAtTheFirstEqualsSign)
{
    ParameterSetting setting;
    ASSERT_TRUE (parseSetting ("Wet/Dry=40", setting));
    EXPECT_EQ (setting.title, "Wet/Dry");
    EXPECT_EQ (setting.value, "40");
    ASSERT_TRUE (parseSetting ("A=b=c", setting));
    EXPECT_EQ (setting.title, "A");
    EXPECT_EQ (setting.value, "b=c");
    EXPECT_FALSE (parseSetting ("Delay 350", setting));
}

} // namespace

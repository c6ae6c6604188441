#include "OutputNames.h"

#include <gtest/gtest.h>

using namespace Tarnwick::Render;

TEST (OutputNames, PresetFilesCarryTheProgramNumberAndACleanName)
{
    EXPECT_EQ (presetFileName (0, "Factory Preset"), "00-Factory-Preset.wav");
    EXPECT_EQ (presetFileName (2, "Hollow Ring"), "02-Hollow-Ring.wav");
    EXPECT_EQ (presetFileName (10, "Automate Me"), "10-Automate-Me.wav");
    EXPECT_EQ (presetFileName (123, "x"), "123-x.wav");
}

TEST (OutputNames, PresetNamesCannotEscapeTheFolder)
{
    EXPECT_EQ (presetFileName (1, "../../etc/passwd"), "01-etc-passwd.wav");
    EXPECT_EQ (presetFileName (3, "  Wet/Dry -- Mix!  "), "03-Wet-Dry-Mix.wav");
    EXPECT_EQ (presetFileName (4, "Caf\xc3\xa9 Noir"), "04-Caf-Noir.wav");
    EXPECT_EQ (presetFileName (5, ""), "05.wav");
    EXPECT_EQ (presetFileName (6, "///"), "06.wav");
    EXPECT_EQ (presetFileName (7, "Pipes", "flac"), "07-Pipes.flac");
}

TEST (OutputNames, JoinsFolderAndNameWithOneSlash)
{
    EXPECT_EQ (joinPath ("out", "a.wav"), "out/a.wav");
    EXPECT_EQ (joinPath ("out/", "a.wav"), "out/a.wav");
    EXPECT_EQ (joinPath ("", "a.wav"), "a.wav");
}

#include "effect/ControlList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

ControlDescriptor makeDescriptor(uint32_t id, const char* name)
{
    ControlDescriptor d;
    d.controlId = id;
    d.controlName = name;  // a builder may hand over static texts
    d.unitsText = "Hz";
    d.variableName = "m_fSomething";
    d.enumString = "A,B,C";
    d.presetValues[3] = 1.25;
    return d;
}

TEST(ControlDescriptor, InitialState)
{
    ControlDescriptor d;
    EXPECT_EQ(d.controlType, 0u);
    EXPECT_EQ(d.dataType, static_cast<uint32_t>(kDataNone));
    EXPECT_EQ(d.meterMode, 2u);
    EXPECT_EQ(d.smoothingTimeMs, 100.0f);
    EXPECT_FALSE(d.smoothingEnabled);
    EXPECT_EQ(d.meterAttackMs, 10.0f);
    EXPECT_EQ(d.meterReleaseMs, 500.0f);
    EXPECT_EQ(d.midiStatus, 176u);
    EXPECT_EQ(d.midiControlNumber, 3u);
    EXPECT_EQ(d.midiChannel, 0u);
    EXPECT_EQ(d.guiIndex, -1);
    EXPECT_EQ(d.guiIndexAux, -1);
    EXPECT_STREQ(d.controlName, "");
    EXPECT_STREQ(d.enumString, "");
    EXPECT_EQ(d.floatVariable, nullptr);
    EXPECT_EQ(d.updateQueue, nullptr);
    for (double v : d.presetValues)
        EXPECT_EQ(v, 0.0);
}

TEST(ControlDescriptor, CopyMovesTextsIntoOwnStorage)
{
    std::string name = "Delay";
    ControlDescriptor source;
    source.controlName = name.c_str();
    source.unitsText = "mSec";
    ControlDescriptor copy(source);
    name[0] = 'X';  // the copy must not see later changes of the sender's text
    EXPECT_STREQ(copy.controlName, "Delay");
    EXPECT_EQ(copy.controlName, copy.controlNameStorage);
    EXPECT_STREQ(copy.unitsText, "mSec");
    EXPECT_EQ(copy.unitsText, copy.unitsTextStorage);

    ControlDescriptor assigned;
    assigned = copy;
    EXPECT_STREQ(assigned.controlName, "Delay");
    EXPECT_EQ(assigned.controlName, assigned.controlNameStorage);
    assigned = assigned;  // self-assignment keeps the texts
    EXPECT_STREQ(assigned.controlName, "Delay");
}

TEST(ControlDescriptor, TextsAreCutAt1023Characters)
{
    const std::string longText(3000, 'k');
    ControlDescriptor d;
    d.setControlName(longText.c_str());
    EXPECT_EQ(std::strlen(d.controlName), 1023u);
    ControlDescriptor source;
    source.variableName = longText.c_str();
    ControlDescriptor copy(source);
    EXPECT_EQ(std::strlen(copy.variableName), 1023u);
}

TEST(ControlDescriptor, EnumeratedChoices)
{
    ControlDescriptor d;
    d.setEnumString("Comb,Delay");
    EXPECT_EQ(d.enumChoiceCount(), 2);
    char buffer[16];
    ASSERT_TRUE(d.enumChoice(0, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "Comb");
    ASSERT_TRUE(d.enumChoice(1, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "Delay");
    EXPECT_FALSE(d.enumChoice(2, buffer, sizeof buffer));
    char tiny[3];
    ASSERT_TRUE(d.enumChoice(1, tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "De");
}

TEST(ControlList, AppendCountAndLookup)
{
    ControlList list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.controlCount(), 0);
    EXPECT_EQ(list.controlAt(0), nullptr);

    ASSERT_TRUE(list.appendControl(makeDescriptor(7, "First")));
    ASSERT_TRUE(list.appendControl(makeDescriptor(41, "Second")));
    ASSERT_TRUE(list.appendControl(makeDescriptor(3, "Third")));
    EXPECT_EQ(list.controlCount(), 3);
    ASSERT_NE(list.controlAt(1), nullptr);
    EXPECT_EQ(list.controlAt(1)->controlId, 41u);
    EXPECT_STREQ(list.controlAt(1)->controlName, "Second");
    EXPECT_EQ(list.controlAt(1)->controlName, list.controlAt(1)->controlNameStorage);
    EXPECT_STREQ(list.controlAt(1)->enumString, "A,B,C");
    EXPECT_EQ(list.controlAt(2)->presetValues[3], 1.25);
    EXPECT_EQ(list.controlAt(3), nullptr);
    EXPECT_EQ(list.controlAt(-1), nullptr);
}

TEST(ControlList, RemoveUnknownIdLeavesListUnchanged)
{
    ControlList list;
    list.appendControl(makeDescriptor(1, "A"));
    list.appendControl(makeDescriptor(2, "B"));
    list.removeControl(99);
    ASSERT_EQ(list.controlCount(), 2);
    EXPECT_EQ(list.controlAt(0)->controlId, 1u);
    EXPECT_EQ(list.controlAt(1)->controlId, 2u);
}

TEST(ControlList, RemoveUnlinksFirstMatch)
{
    ControlList list;
    list.appendControl(makeDescriptor(1, "A"));
    list.appendControl(makeDescriptor(2, "B"));
    list.appendControl(makeDescriptor(2, "C"));
    list.appendControl(makeDescriptor(3, "D"));
    list.removeControl(2);
    ASSERT_EQ(list.controlCount(), 3);
    EXPECT_STREQ(list.controlAt(1)->controlName, "C");
    list.removeControl(1);
    ASSERT_EQ(list.controlCount(), 2);
    EXPECT_STREQ(list.controlAt(0)->controlName, "C");
    list.removeControl(3);
    ASSERT_EQ(list.controlCount(), 1);
    list.removeControl(2);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.controlAt(0), nullptr);
}

}  // namespace

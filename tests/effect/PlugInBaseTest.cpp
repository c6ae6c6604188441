#include "effect/CPlugIn.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using testsignal::bitsOf;

// A small effect with one control of every variable type.
class ProbeEffect : public CPlugIn
{
public:
    ProbeEffect()
    {
        buildControlList();
    }

    bool buildControlList() override
    {
        if (!controlList.isEmpty())
            return true;
        ControlDescriptor steps;
        steps.controlType = kControlContinuous;
        steps.controlId = 10;
        steps.dataType = kDataInt32;
        steps.intVariable = &intValue;
        steps.minValue = 0.0f;
        steps.maxValue = 3.0f;
        controlList.appendControl(steps);

        ControlDescriptor level;
        level.controlType = kControlContinuous;
        level.controlId = 11;
        level.dataType = kDataFloat;
        level.floatVariable = &floatValue;
        level.minValue = 0.0f;
        level.maxValue = 100.0f;
        level.smoothingEnabled = true;
        controlList.appendControl(level);

        ControlDescriptor precise;
        precise.controlType = kControlContinuous;
        precise.controlId = 12;
        precise.dataType = kDataDouble;
        precise.doubleVariable = &doubleValue;
        precise.minValue = -1.0f;
        precise.maxValue = 1.0f;
        precise.smoothingEnabled = true;
        controlList.appendControl(precise);

        ControlDescriptor mode;
        mode.controlType = kControlEnumerated;
        mode.controlId = 13;
        mode.dataType = kDataEnumIndex;
        mode.enumVariable = &enumValue;
        mode.minValue = 0.0f;
        mode.maxValue = 2.0f;
        mode.enumString = "One,Two,Three";
        controlList.appendControl(mode);

        ControlDescriptor meter;
        meter.controlType = kControlMeter;
        meter.controlId = 14;
        meter.meterVariable = &meterValue;
        meter.guiIndex = 4;
        controlList.appendControl(meter);
        return buildIndexTables();
    }

    bool onControlChange(uint32_t controlId) override
    {
        changes.push_back(controlId);
        return true;
    }

    bool onJoystickChange(float a, float b, float c, float d, float ac, float bd) override
    {
        lastMix = {a, b, c, d, ac, bd};
        ++joystickCalls;
        return true;
    }

    int32_t intValue = 0;
    float floatValue = 0.0f;
    double doubleValue = 0.0;
    uint32_t enumValue = 0;
    float meterValue = 0.0f;
    std::vector<uint32_t> changes;
    JoystickMix lastMix = {};
    int joystickCalls = 0;
};

TEST(PlugInBase, Defaults)
{
    CPlugIn effect;
    EXPECT_FALSE(effect.noAudioInput);
    EXPECT_FALSE(effect.wantsBuffers);
    EXPECT_EQ(effect.sampleRate, 44100);
    EXPECT_STREQ(effect.effectName, "Name Not Set.");
    EXPECT_FALSE(effect.hasEditor);
    EXPECT_EQ(effect.options.knobMode, 0);
    EXPECT_EQ(effect.presetNames[0], nullptr);
    EXPECT_STREQ(effect.assignButtonLabels[0], "B1");
    EXPECT_STREQ(effect.assignButtonLabels[2], "B3");
    EXPECT_STREQ(effect.joystickX.controlName, "MIDI JS X");
    EXPECT_EQ(effect.joystickX.midiControlNumber, 16u);
    EXPECT_EQ(effect.joystickX.midiStatus, 176u);
    EXPECT_FALSE(effect.joystickX.midiControlEnabled);
    EXPECT_STREQ(effect.joystickY.controlName, "MIDI JS Y");
    EXPECT_EQ(effect.joystickY.midiControlNumber, 17u);
    ASSERT_NE(effect.currentJoystickProgram, nullptr);
    EXPECT_EQ(effect.currentJoystickProgram->stepCount, 0);
    EXPECT_EQ(effect.controlIndexTable, nullptr);
    EXPECT_EQ(effect.controlCount(), 0);
}

TEST(PlugInBase, NoteTable)
{
    CPlugIn effect;
    EXPECT_EQ(bitsOf(effect.MidiNoteTable[69]), bitsOf(440.0f));
    EXPECT_EQ(bitsOf(effect.MidiNoteTable[60]), bitsOf(261.62558f));
    EXPECT_EQ(bitsOf(effect.MidiNoteTable[126]), bitsOf(11839.821f));
    EXPECT_EQ(bitsOf(effect.MidiNoteTable[0]), bitsOf(8.175798915636872f));
}

TEST(PlugInBase, JoystickMixAtCentre)
{
    const JoystickMix mix = CPlugIn::computeJoystickMix(0.0f, 0.0f, 0);
    EXPECT_EQ(mix.mixAC, 0.5f);
    EXPECT_EQ(mix.mixBD, 0.5f);
    EXPECT_EQ(mix.weightA, 0.25f);
    EXPECT_EQ(mix.weightB, 0.25f);
    EXPECT_EQ(mix.weightC, 0.25f);
    EXPECT_EQ(mix.weightD, 0.25f);

    const JoystickMix rotated = CPlugIn::computeJoystickMix(0.0f, 0.0f, 1);
    EXPECT_EQ(rotated.mixAC, 0.5f);
    EXPECT_EQ(rotated.mixBD, 0.5f);
    EXPECT_EQ(rotated.weightA, 0.25f);
}

TEST(PlugInBase, JoystickMixOffCentre)
{
    // Orientation 0, x = 1, y = 0: a = 254, b = 127.
    const JoystickMix mix = CPlugIn::computeJoystickMix(1.0f, 0.0f, 0);
    const double k = 1.0 / 645.0;
    const double q = 254.0 * 127.0 * k;
    const double r = 128.0 * 254.0 * k;
    const double s = 1.0 * 128.0 * k;
    EXPECT_FLOAT_EQ(mix.weightB, static_cast<float>(q * 0.01));
    EXPECT_FLOAT_EQ(mix.weightC, static_cast<float>(r * 0.01));
    EXPECT_FLOAT_EQ(mix.weightD, static_cast<float>(s * 0.01));
    // 100 - q - r - s is negative here: the weight is clamped to 0.
    EXPECT_EQ(mix.weightA, 0.0f);
    EXPECT_FLOAT_EQ(mix.mixAC, static_cast<float>((1.0 * 0.5000000016780315 + 1.0) * 0.5));
    // Weights stay inside 0..1 anywhere on the pad.
    for (float x = -1.0f; x <= 1.0f; x += 0.25f)
        for (float y = -1.0f; y <= 1.0f; y += 0.25f)
            for (uint8_t o = 0; o < 2; ++o)
            {
                const JoystickMix m = CPlugIn::computeJoystickMix(x, y, o);
                for (float w : {m.weightA, m.weightB, m.weightC, m.weightD})
                {
                    EXPECT_GE(w, 0.0f);
                    EXPECT_LE(w, 1.0f);
                }
            }
}

TEST(PlugInBase, SetJoystickCallsMixWhenNotSmoothed)
{
    ProbeEffect effect;
    effect.setJoystickX(0.0f, 0);
    EXPECT_EQ(effect.joystickCalls, 1);
    EXPECT_EQ(effect.lastMix.weightA, 0.25f);
    effect.setJoystickY(0.5f, 1);
    EXPECT_EQ(effect.joystickCalls, 2);
    float x = 9.0f;
    float y = 9.0f;
    effect.getJoystickValues(x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.5f);
    EXPECT_EQ(effect.joystickY.joystickOrientation, 1);
    effect.setJoystickY(NAN, 1);
    effect.getJoystickValues(x, y);
    EXPECT_EQ(y, 0.5f);
}

TEST(PlugInBase, IntegerControlRounding)
{
    ProbeEffect effect;
    effect.setNormalizedValue(0, 0.5, false);
    EXPECT_EQ(effect.intValue, 2);
    effect.setNormalizedValue(0, 0.49, false);
    EXPECT_EQ(effect.intValue, 1);
    effect.setPlainValue(0, 2.9);
    EXPECT_EQ(effect.intValue, 2);  // plain values are truncated
    ASSERT_EQ(effect.changes.size(), 3u);
    EXPECT_EQ(effect.changes[0], 10u);
}

TEST(PlugInBase, EnumeratedSameIndexCallsNoChange)
{
    ProbeEffect effect;
    effect.setNormalizedValue(3, 0.5, false);
    EXPECT_EQ(effect.enumValue, 1u);
    ASSERT_EQ(effect.changes.size(), 1u);
    EXPECT_EQ(effect.changes[0], 13u);
    effect.setNormalizedValue(3, 0.55, false);  // still index 1
    effect.setPlainValue(3, 1.2);               // still index 1
    EXPECT_EQ(effect.changes.size(), 1u);
    effect.setPlainValue(3, 1.6);
    EXPECT_EQ(effect.enumValue, 2u);
    EXPECT_EQ(effect.changes.size(), 2u);
}

TEST(PlugInBase, GlideEndsExactlyOnTarget)
{
    ProbeEffect effect;
    effect.sampleRate = 48000;
    ASSERT_TRUE(effect.prepareToProcess());
    effect.changes.clear();

    effect.setNormalizedValue(1, 0.637, false);
    const float target = static_cast<float>(0.637 * 100.0);
    EXPECT_EQ(effect.floatValue, 0.0f);  // nothing moves before the first frame
    EXPECT_EQ(effect.controlAt(1)->smoothingTarget, target);
    ASSERT_EQ(effect.changes.size(), 1u);

    float previous = effect.floatValue;
    int frames = 0;
    int notified = 0;
    while (frames < 48000 * 5)
    {
        const size_t before = effect.changes.size();
        effect.smoothControls();
        ++frames;
        notified += static_cast<int>(effect.changes.size() - before);
        ASSERT_GE(effect.floatValue, previous);  // a rising glide never falls back
        ASSERT_LE(effect.floatValue, target);
        previous = effect.floatValue;
        if (effect.changes.size() == before && effect.floatValue == target)
            break;
    }
    EXPECT_EQ(bitsOf(effect.floatValue), bitsOf(target));
    EXPECT_GT(notified, 100);  // it glided over many frames
    EXPECT_GT(frames, 480);    // and took longer than 10 ms
    // Settled: further frames neither move nor notify.
    const size_t settled = effect.changes.size();
    for (int i = 0; i < 100; ++i)
        effect.smoothControls();
    EXPECT_EQ(effect.changes.size(), settled);
    EXPECT_EQ(effect.floatValue, target);
}

TEST(PlugInBase, DoubleGlideEndsOnTarget)
{
    ProbeEffect effect;
    ASSERT_TRUE(effect.prepareToProcess());
    effect.setNormalizedValue(2, 0.8, false);
    const float target = static_cast<float>(0.8 * 2.0 - 1.0);
    for (int i = 0; i < 44100 * 5 && effect.doubleValue != static_cast<double>(target); ++i)
        effect.smoothControls();
    EXPECT_EQ(effect.doubleValue, static_cast<double>(target));
}

TEST(PlugInBase, IgnoreSmoothingJumpsAndStays)
{
    ProbeEffect effect;
    ASSERT_TRUE(effect.prepareToProcess());
    effect.setNormalizedValue(1, 0.25, true);
    EXPECT_EQ(effect.floatValue, 25.0f);
    // Later frames keep the value near where it jumped to (no glide back to the old target).
    for (int i = 0; i < 2000; ++i)
        effect.smoothControls();
    EXPECT_NEAR(effect.floatValue, 25.0f, 1e-4f);
}

TEST(PlugInBase, SmoothedControlBeforePrepareTakesValueAtOnce)
{
    ProbeEffect effect;
    effect.setNormalizedValue(1, 0.4, false);
    EXPECT_EQ(effect.floatValue, 40.0f);
    effect.smoothControls();  // no smoother yet: nothing moves
    EXPECT_EQ(effect.floatValue, 40.0f);
    ASSERT_TRUE(effect.prepareToProcess());
    EXPECT_EQ(effect.controlAt(1)->smoothingTarget, 40.0f);
}

TEST(PlugInBase, GetPlainValue)
{
    ProbeEffect effect;
    effect.intValue = 3;
    effect.floatValue = 12.5f;
    effect.doubleValue = 0.25;
    effect.enumValue = 2;
    EXPECT_EQ(effect.getPlainValue(0), 3.0f);
    EXPECT_EQ(effect.getPlainValue(1), 12.5f);
    EXPECT_EQ(effect.getPlainValue(2), 0.25f);
    EXPECT_EQ(effect.getPlainValue(3), 2.0f);
    EXPECT_EQ(effect.getPlainValue(4), 0.0f);   // meter: no bound variable of a settable type
    EXPECT_EQ(effect.getPlainValue(99), 0.0f);  // past the end
    EXPECT_EQ(effect.getPlainValue(-1), 0.0f);
}

TEST(PlugInBase, FreeUpdateList)
{
    CPlugIn effect;
    ControlUpdateNode* empty = nullptr;
    effect.freeUpdateList(&empty);
    EXPECT_EQ(empty, nullptr);

    ControlUpdateNode* head = nullptr;
    for (uint32_t i = 0; i < 5; ++i)
        head = new ControlUpdateNode{i, 1.0f * i, head};
    effect.freeUpdateList(&head);  // the leak checker of the sanitizer build sees any node left behind
    EXPECT_EQ(head, nullptr);
    effect.freeUpdateList(nullptr);
    EXPECT_FALSE(effect.getDependentUpdates(0, 1.0f, &head, true));
    EXPECT_EQ(head, nullptr);
}

TEST(PlugInBase, CollectMetersRequiresMatchingCount)
{
    ProbeEffect effect;
    effect.meterValue = 0.75f;
    EffectMessage message;
    std::memset(&message, 0, sizeof message);
    message.entryCount = effect.controlCount() + 1;  // stale
    effect.handleMessage(kMessageCollectMeters, &message);
    EXPECT_EQ(message.returnedGuiTable, nullptr);

    message.entryCount = effect.controlCount() + 2;
    effect.handleMessage(kMessageCollectMeters, &message);
    ASSERT_EQ(message.returnedGuiTable, effect.guiExchangeTable);
    EXPECT_EQ(message.returnedGuiTable[4].normalizedValue, 0.75f);
    EXPECT_EQ(message.returnedGuiTable[4].changed, 1);
}

TEST(PlugInBase, ApplyGuiChanges)
{
    ProbeEffect effect;
    ASSERT_TRUE(effect.prepareToProcess());
    const int count = effect.controlCount();
    std::vector<GuiExchangeEntry> table(count + 2);
    std::memset(table.data(), 0, sizeof(GuiExchangeEntry) * table.size());
    table[1].changed = 1;
    table[1].normalizedValue = 0.5f;
    table[3].normalizedValue = 1.0f;  // not flagged
    table[count].changed = 1;
    table[count].joystickValue = 0.25f;
    table[count].joystickOrientation = 1;
    table[count + 1].joystickValue = -0.5f;

    HostInfoBlock info;
    std::memset(&info, 0, sizeof info);
    info.tempoBpm = 133.0;
    EffectMessage message;
    std::memset(&message, 0, sizeof message);
    message.guiTable = table.data();
    message.hostInfo = &info;
    message.entryCount = count + 2;
    message.ignoreSmoothing = 1;
    effect.handleMessage(kMessageApplyGuiChanges, &message);

    EXPECT_EQ(effect.floatValue, 50.0f);  // jumped: ignore-smoothing flag set
    EXPECT_EQ(effect.enumValue, 0u);      // not flagged, not applied
    EXPECT_EQ(effect.hostInfo.tempoBpm, 133.0);
    EXPECT_EQ(effect.joystickX.joystickValue, 0.25f);
    EXPECT_EQ(effect.joystickY.joystickValue, -0.5f);
    EXPECT_EQ(effect.joystickY.joystickOrientation, 1);
    EXPECT_EQ(effect.joystickCalls, 1);

    // A wrong entry count changes nothing.
    table[1].normalizedValue = 0.1f;
    message.entryCount = count;
    effect.handleMessage(kMessageApplyGuiChanges, &message);
    EXPECT_EQ(effect.floatValue, 50.0f);
    effect.handleMessage(kMessageApplyGuiChanges, nullptr);
}

TEST(PlugInBase, HostInfoMessage)
{
    CPlugIn effect;
    HostInfoBlock info;
    std::memset(&info, 0, sizeof info);
    info.samplePosition = 4096;
    info.tempoBpm = 98.5;
    info.timeSigDenominator = 8;
    EffectMessage message;
    std::memset(&message, 0, sizeof message);
    message.entryCount = -1;
    message.hostInfo = &info;
    effect.handleMessage(kMessageHostInfo, &message);
    EXPECT_EQ(effect.hostInfo.samplePosition, 4096u);
    EXPECT_EQ(effect.hostInfo.tempoBpm, 98.5);
    EXPECT_EQ(effect.hostInfo.timeSigDenominator, 8u);
    message.hostInfo = nullptr;
    effect.handleMessage(kMessageHostInfo, &message);  // keeps the previous timing
    EXPECT_EQ(effect.hostInfo.samplePosition, 4096u);
}

TEST(PlugInBase, GuiMessagesAreDeclined)
{
    CPlugIn effect;
    GuiMessage message;
    std::memset(&message, 0, sizeof message);
    message.messageCode = kGuiQueryOwnEditor;
    EXPECT_EQ(effect.handleGuiMessage(&message), nullptr);
    EXPECT_FALSE(message.ownEditorAnswer);

    message.messageCode = kGuiParameterChanged;
    message.parameterId = 3;
    message.value = 0.25;
    EXPECT_EQ(effect.handleGuiMessage(&message), nullptr);
    EXPECT_EQ(message.parameterId, 3);
}

}  // namespace

// What a DAW built on JUCE sees of the bundle: JUCE's own VST 3 hosting code loads it by path,
// reads its description, parameters and programs, saves and restores it, and renders audio
// that must equal our own rendering bit for bit.
#include "DemoSignal.h"
#include "DirectEffectRenderer.h"
#include "JucePluginHost.h"
#include "RenderTiming.h"
#include "SoundFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using Tarnwick::JuceHostTest::DirectEffectRenderer;
using Tarnwick::JuceHostTest::JucePluginHost;
using Tarnwick::JuceHostTest::processSilence;
using Tarnwick::JuceHostTest::renderThroughJuce;
using Tarnwick::Render::AudioClip;

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = Tarnwick::Render::kBlockFrames;

std::string bundlePath ()
{
    if (const char* fromEnvironment = std::getenv ("TARNWICK_BUNDLE"))
        return fromEnvironment;
    return TARNWICK_TEST_BUNDLE_DIR;
}

const char* const kProgramNames[] = {"Factory Preset", "Heavy",          "Hollow Ring",      "Banking",
                                     "Beats as Bass",  "Crude Verb",     "Some Space",       "Padding for Pads",
                                     "Good on Atmos",  "Pipes",          "Automate Me"};

// First index at which the two clips differ, or -1 when they are equal sample for sample.
long firstDifference (const AudioClip& a, const AudioClip& b)
{
    if (a.channelCount () != b.channelCount () || a.frameCount () != b.frameCount ())
        return 0;
    for (std::size_t c = 0; c < a.channels.size (); ++c)
        for (std::size_t i = 0; i < a.frameCount (); ++i)
            if (std::memcmp (&a.channels[c][i], &b.channels[c][i], sizeof (float)) != 0)
                return static_cast<long> (i);
    return -1;
}

AudioClip monoMix (const AudioClip& stereo)
{
    AudioClip mono (stereo.sampleRate, 1, stereo.frameCount ());
    for (std::size_t i = 0; i < stereo.frameCount (); ++i)
        mono.channels[0][i] = 0.5f * (stereo.channels[0][i] + stereo.channels[1][i]);
    return mono;
}

class JuceHost : public ::testing::Test
{
protected:
    std::unique_ptr<juce::AudioPluginInstance> load (int channels = 2)
    {
        juce::String error;
        auto instance = host.createInstance (kRate, kBlock, error);
        EXPECT_NE (instance, nullptr) << error;
        if (instance == nullptr)
            return nullptr;
        if (channels == 1)
        {
            juce::AudioProcessor::BusesLayout layout;
            layout.inputBuses.add (juce::AudioChannelSet::mono ());
            layout.outputBuses.add (juce::AudioChannelSet::mono ());
            EXPECT_TRUE (instance->setBusesLayout (layout));
        }
        instance->prepareToPlay (kRate, kBlock);
        return instance;
    }

    static juce::String parameterId (juce::AudioProcessorParameter* parameter)
    {
        auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameter);
        return hosted != nullptr ? hosted->getParameterID () : juce::String ();
    }

    JucePluginHost host {bundlePath ()};
};

TEST_F (JuceHost, ScannerFindsOneEffectWithItsNameVendorAndVersion)
{
    auto types = host.scan ();
    ASSERT_EQ (types.size (), 1);
    const juce::PluginDescription& description = *types[0];
    EXPECT_EQ (description.pluginFormatName, "VST3");
    EXPECT_EQ (description.name, "TarnwickFreex86");
    // The class names no vendor, so the factory's vendor applies.
    EXPECT_EQ (description.manufacturerName, "Vanter Moor");
    EXPECT_EQ (description.version, "1.1.0.0");
    EXPECT_FALSE (description.isInstrument);
    EXPECT_TRUE (description.category.contains ("Fx")) << description.category;
    EXPECT_EQ (description.numInputChannels, 2);
    EXPECT_EQ (description.numOutputChannels, 2);
}

TEST_F (JuceHost, InstanceReportsNameBusesAndNoLatency)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (instance->getName (), "TarnwickFreex86");
    EXPECT_EQ (instance->getTotalNumInputChannels (), 2);
    EXPECT_EQ (instance->getTotalNumOutputChannels (), 2);
    EXPECT_EQ (instance->getLatencySamples (), 0);
    EXPECT_FALSE (instance->acceptsMidi () && instance->producesMidi ());
}

TEST_F (JuceHost, SeesEveryParameterInOrderWithTitlesAndUnits)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    struct Expected
    {
        const char* id;
        const char* name;
        const char* label;
    };
    const Expected expected[] = {
        {"0", "Delay", "mSec"},         {"1", "Feedback", "%"},
        {"2", "Cutoff", "Hz"},          {"3", "Resonance", ""},
        {"4", "Delay Ratio", "Divide"}, {"5", "Offset", ""},
        {"6", "Wet/Dry", "%"},          {"7", "Volume", ""},
        {"8", "Delay State", ""},       {"9", "Active", ""},
        {"32773", "VectorJoystick X", ""}, {"32774", "VectorJoystick Y", ""},
        {"32768", "B1", ""},            {"32769", "B2", ""},
        {"32770", "B3", ""},            {"2056", "Bypass", ""},
        {"2048", "PitchBend", ""},      {"2050", "MIDI Vol", ""},
        {"2051", "MIDI Pan", ""},       {"2049", "MIDI Mod Wheel", ""},
        {"2052", "MIDI Expression", ""}, {"2054", "MIDI Channel Pressure", ""},
        {"2053", "MIDI Sustain Pedal", ""}, {"2055", "All Notes Off", ""},
        {"1886548852", "Factory Presets", ""}, // "prst"
        {"10", "Sync", ""},             {"11", "Note", ""},
    };
    const auto& parameters = instance->getParameters ();
    ASSERT_EQ (parameters.size (), static_cast<int> (std::size (expected)));
    for (int i = 0; i < parameters.size (); ++i)
    {
        SCOPED_TRACE (expected[i].name);
        EXPECT_EQ (parameterId (parameters[i]), expected[i].id);
        EXPECT_EQ (parameters[i]->getName (128), expected[i].name);
        EXPECT_EQ (parameters[i]->getLabel (), expected[i].label);
    }
    ASSERT_NE (instance->getBypassParameter (), nullptr);
    EXPECT_EQ (instance->getBypassParameter ()->getName (128), "Bypass");
}

TEST_F (JuceHost, ShowsTheDefaultTextsAndConvertsValuesToText)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    const auto& parameters = instance->getParameters ();
    ASSERT_GE (parameters.size (), 10);
    const char* const defaults[] = {"0.00", "0.00", "16000.00", "0.50", "1.00", "0.00", "50.00", "0.70", "Comb", "On"};
    for (int i = 0; i < 10; ++i)
    {
        SCOPED_TRACE (i);
        EXPECT_EQ (parameters[i]->getCurrentValueAsText (), defaults[i]);
        EXPECT_FLOAT_EQ (parameters[i]->getDefaultValue (), parameters[i]->getValue ());
    }
    EXPECT_EQ (parameters[0]->getText (0.5f, 128), "1000.00");  // Delay: 0..2000 mSec
    EXPECT_EQ (parameters[2]->getText (0.0f, 128), "100.00");   // Cutoff: 100..16000 Hz
    EXPECT_EQ (parameters[4]->getText (1.0f, 128), "20.00");    // Delay Ratio: 1..20
    EXPECT_EQ (parameters[8]->getText (1.0f, 128), "Delay");
    EXPECT_EQ (parameters[9]->getText (1.0f, 128), "Off");
    EXPECT_EQ (parameters[24]->getText (0.3f, 128), "Banking"); // program 3 of 0..10
}

TEST_F (JuceHost, ListsTheElevenFactoryProgramsByName)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    ASSERT_EQ (instance->getNumPrograms (), 11);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ (instance->getProgramName (i), kProgramNames[i]) << i;
}

TEST_F (JuceHost, ProgramChangeMovesTheParametersJuceShows)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    instance->setCurrentProgram (2); // "Hollow Ring"
    processSilence (*instance, 2, kBlock, kBlock);
    EXPECT_EQ (instance->getCurrentProgram (), 2);
    const auto& parameters = instance->getParameters ();
    // The plug-in tells JUCE of the moved values outside JUCE's own call, with JUCE's next call
    // into it on this thread (headless JUCE offers no run loop): here the first text it asks for.
    EXPECT_EQ (parameters[0]->getCurrentValueAsText (), "0.00");
    EXPECT_EQ (parameters[0]->getCurrentValueAsText (), "1140.00");
    EXPECT_EQ (parameters[1]->getCurrentValueAsText (), "82.50");
    EXPECT_EQ (parameters[6]->getCurrentValueAsText (), "64.00");
    EXPECT_EQ (parameters[7]->getCurrentValueAsText (), "0.63"); // 0.635 in single precision is 0.63499999
    EXPECT_EQ (parameters[8]->getCurrentValueAsText (), "Comb");
}

// The plain control values in the component state JUCE saved: JUCE keeps it base64-encoded under
// "IComponent"; the stream is an int64 version, eight float32 and two uint32 values, then bypass
// and the joystick (58 bytes), then the tail.
std::vector<double> controlValuesInState (const juce::MemoryBlock& saved)
{
    std::vector<double> values;
    auto xml = juce::AudioProcessor::getXmlFromBinary (saved.getData (), static_cast<int> (saved.getSize ()));
    if (xml == nullptr || xml->getChildByName ("IComponent") == nullptr)
        return values;
    juce::MemoryBlock stream;
    stream.fromBase64Encoding (xml->getChildByName ("IComponent")->getAllSubText ());
    if (stream.getSize () < 58)
        return values;
    const auto* bytes = static_cast<const char*> (stream.getData ());
    for (int i = 0; i < 8; ++i)
    {
        float value = 0.f;
        std::memcpy (&value, bytes + 8 + 4 * i, sizeof (value)); // little-endian, as this machine
        values.push_back (value);
    }
    for (int i = 0; i < 2; ++i)
    {
        uint32_t index = 0;
        std::memcpy (&index, bytes + 40 + 4 * i, sizeof (index));
        values.push_back (index);
    }
    return values;
}

TEST_F (JuceHost, StateRoundTripRestoresParametersAndSound)
{
    auto original = load ();
    ASSERT_NE (original, nullptr);
    original->setCurrentProgram (3); // "Banking"
    original->getParameters ()[0]->setValueNotifyingHost (0.3f); // Delay 600 mSec
    original->getParameters ()[8]->setValueNotifyingHost (1.0f); // Delay State "Delay"
    // Let the changes arrive and the smoothing settle before saving.
    processSilence (*original, 2, Tarnwick::Render::settleFrames (static_cast<int> (kRate)), kBlock);

    juce::MemoryBlock saved;
    original->getStateInformation (saved);
    const std::vector<double> values = controlValuesInState (saved);
    ASSERT_EQ (values.size (), 10u);
    EXPECT_NEAR (values[0], 600.0, 1e-3);
    EXPECT_FLOAT_EQ (static_cast<float> (values[2]), 5108.500488f);
    EXPECT_EQ (values[8], 1.0);

    auto restored = load ();
    ASSERT_NE (restored, nullptr);
    restored->setStateInformation (saved.getData (), static_cast<int> (saved.getSize ()));

    juce::MemoryBlock savedAgain;
    restored->getStateInformation (savedAgain);
    EXPECT_EQ (savedAgain, saved);

    const auto& before = original->getParameters ();
    const auto& after = restored->getParameters ();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (after[i]->getCurrentValueAsText (), before[i]->getCurrentValueAsText ()) << i;
    EXPECT_EQ (after[0]->getCurrentValueAsText (), "600.00");
    EXPECT_EQ (after[8]->getCurrentValueAsText (), "Delay");

    // The restored plug-in sounds exactly like the effect set to the saved values at once.
    DirectEffectRenderer reference (static_cast<int> (kRate), values);
    const AudioClip demo = Tarnwick::Render::DemoSignal::generate (static_cast<int> (kRate));
    const AudioClip fromRestored = renderThroughJuce (*restored, demo, kBlock, kBlock);
    EXPECT_EQ (firstDifference (fromRestored, reference.render (demo, kBlock)), -1);
    EXPECT_NE (firstDifference (fromRestored, demo), -1);
}

class JuceHostProgramAudio : public JuceHost, public ::testing::WithParamInterface<int>
{
};

TEST_P (JuceHostProgramAudio, RendersBitForBitWhatTheEffectRendersItself)
{
    const int program = GetParam ();
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    instance->setCurrentProgram (program);

    DirectEffectRenderer reference (static_cast<int> (kRate));
    reference.selectPreset (program);

    const AudioClip demo = Tarnwick::Render::DemoSignal::generate (static_cast<int> (kRate));
    const long settle = Tarnwick::Render::settleFrames (static_cast<int> (kRate));
    const AudioClip throughJuce = renderThroughJuce (*instance, demo, settle, kBlock);
    const AudioClip direct = reference.render (demo, settle);

    EXPECT_EQ (firstDifference (throughJuce, direct), -1);
    EXPECT_TRUE (Tarnwick::Render::allSamplesFinite (throughJuce));
    EXPECT_GT (Tarnwick::Render::peakLevel (throughJuce), 0.01f);
}

INSTANTIATE_TEST_SUITE_P (EveryProgram, JuceHostProgramAudio, ::testing::Range (0, 11));

TEST_F (JuceHost, ParameterChangesFromJuceGiveTheSameSoundAsDirectControl)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    const auto& parameters = instance->getParameters ();
    const struct
    {
        int position;
        float value;
    } changes[] = {{8, 1.0f}, {0, 0.125f}, {1, 0.6f}, {2, 0.3f}, {3, 0.2f}, {5, 1.0f}, {6, 0.8f}};

    DirectEffectRenderer reference (static_cast<int> (kRate));
    for (const auto& change : changes)
    {
        parameters[change.position]->setValueNotifyingHost (change.value);
        reference.setNormalized (change.position, change.value);
    }

    const AudioClip demo = Tarnwick::Render::DemoSignal::generate (static_cast<int> (kRate));
    const AudioClip throughJuce = renderThroughJuce (*instance, demo, 0, kBlock);
    const AudioClip direct = reference.render (demo, 0);
    EXPECT_EQ (firstDifference (throughJuce, direct), -1);
    EXPECT_NE (firstDifference (throughJuce, demo), -1);
}

TEST_F (JuceHost, MonoLayoutRendersLikeTheEffectOnOneChannel)
{
    auto instance = load (1);
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (instance->getTotalNumInputChannels (), 1);
    EXPECT_EQ (instance->getTotalNumOutputChannels (), 1);
    instance->setCurrentProgram (4); // "Beats as Bass"

    DirectEffectRenderer reference (static_cast<int> (kRate));
    reference.selectPreset (4);

    const AudioClip demo = monoMix (Tarnwick::Render::DemoSignal::generate (static_cast<int> (kRate)));
    const long settle = Tarnwick::Render::settleFrames (static_cast<int> (kRate));
    const AudioClip throughJuce = renderThroughJuce (*instance, demo, settle, kBlock);
    EXPECT_EQ (firstDifference (throughJuce, reference.render (demo, settle)), -1);
    EXPECT_NE (firstDifference (throughJuce, demo), -1);
}

TEST_F (JuceHost, BypassPassesTheInputThrough)
{
    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    instance->setCurrentProgram (1);
    instance->getBypassParameter ()->setValueNotifyingHost (1.0f);
    const AudioClip demo = Tarnwick::Render::DemoSignal::generate (static_cast<int> (kRate));
    EXPECT_EQ (firstDifference (renderThroughJuce (*instance, demo, kBlock, kBlock), demo), -1);
}

#ifdef TARNWICK_TEST_RENDER_TOOL
// The renderer's output file must hold exactly what JUCE renders with the same program.
TEST_F (JuceHost, RendererOutputEqualsJuceRendering)
{
    const std::string output = ::testing::TempDir () + "juce-host-banking.wav";
    const std::string command = std::string ("\"") + TARNWICK_TEST_RENDER_TOOL + "\" --quiet --bundle \"" +
                                bundlePath () + "\" --preset Banking --rate 48000 -o \"" + output + "\"";
    ASSERT_EQ (std::system (command.c_str ()), 0) << command;

    AudioClip rendered;
    std::string error;
    ASSERT_TRUE (Tarnwick::Render::readSoundFile (output, rendered, error)) << error;

    auto instance = load ();
    ASSERT_NE (instance, nullptr);
    instance->setCurrentProgram (3);
    const AudioClip demo = Tarnwick::Render::DemoSignal::generate (static_cast<int> (kRate));
    const AudioClip throughJuce =
        renderThroughJuce (*instance, demo, Tarnwick::Render::settleFrames (static_cast<int> (kRate)), kBlock);

    ASSERT_GE (rendered.frameCount (), demo.frameCount ());
    rendered.resizeFrames (demo.frameCount ());
    EXPECT_EQ (firstDifference (rendered, throughJuce), -1);
    std::remove (output.c_str ());
}
#endif

} // namespace

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juceRuntime; // this thread becomes JUCE's message thread
    return RUN_ALL_TESTS ();
}

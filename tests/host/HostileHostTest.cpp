// Hosts that get things wrong must not crash the plug-in or corrupt it.
#include "BundleFixture.h"
#include "EngineReference.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

class HostileHostTest : public BundleTest
{
protected:
	static bool silentOrPassThrough (const std::vector<float>& in, const std::vector<float>& out)
	{
		bool silent = true, same = true;
		for (size_t i = 0; i < out.size (); ++i)
		{
			silent = silent && out[i] == 0.f;
			same = same && out[i] == in[i];
		}
		return silent || same;
	}
	ProcessSetup setupAt (double rate)
	{
		ProcessSetup setup {};
		setup.processMode = kRealtime;
		setup.symbolicSampleSize = kSample32;
		setup.maxSamplesPerBlock = 512;
		setup.sampleRate = rate;
		return setup;
	}
};

TEST_F (HostileHostTest, ProcessBeforeSetupProcessingOrActivation)
{
	PluginInstance& instance = newInstance ();
	IAudioProcessor* processor = instance.getProcessor ();
	std::vector<float> in0 (256, 0.25f), in1 (256, -0.25f), out0 (256, 9.f), out1 (256, 9.f);
	float* inputs[2] = {in0.data (), in1.data ()};
	float* outputs[2] = {out0.data (), out1.data ()};
	AudioBusBuffers inBus, outBus;
	inBus.numChannels = 2;
	inBus.channelBuffers32 = inputs;
	outBus.numChannels = 2;
	outBus.channelBuffers32 = outputs;
	ProcessData data;
	data.numSamples = 256;
	data.numInputs = 1;
	data.numOutputs = 1;
	data.inputs = &inBus;
	data.outputs = &outBus;
	EXPECT_NO_THROW (processor->process (data));
	EXPECT_TRUE (silentOrPassThrough (in0, out0));
	EXPECT_TRUE (silentOrPassThrough (in1, out1));

	// setupProcessing without setActive.
	ProcessSetup setup = setupAt (48000.0);
	ASSERT_EQ (processor->setupProcessing (setup), kResultOk);
	std::fill (out0.begin (), out0.end (), 9.f);
	EXPECT_NO_THROW (processor->process (data));
	for (float v : out0)
		ASSERT_TRUE (std::isfinite (v));
}

TEST_F (HostileHostTest, NullBuffersAndOddBlockSizes)
{
	PluginInstance& instance = newActiveInstance (48000.0, 256, 2);
	IAudioProcessor* processor = instance.getProcessor ();
	std::vector<float> buffer (4096, 0.1f), out (4096, 0.f);
	float* inputs[2] = {buffer.data (), buffer.data ()};
	float* outputs[2] = {out.data (), nullptr};
	float* none[2] = {nullptr, nullptr};
	AudioBusBuffers inBus, outBus;
	inBus.numChannels = 2;
	outBus.numChannels = 2;

	ProcessData data;
	data.numInputs = 1;
	data.numOutputs = 1;
	data.inputs = &inBus;
	data.outputs = &outBus;

	// Null channel pointers on either side.
	inBus.channelBuffers32 = inputs;
	outBus.channelBuffers32 = outputs;
	data.numSamples = 256;
	EXPECT_NO_THROW (processor->process (data));
	inBus.channelBuffers32 = none;
	outBus.channelBuffers32 = inputs;
	EXPECT_NO_THROW (processor->process (data));
	// Null channel arrays.
	inBus.channelBuffers32 = nullptr;
	outBus.channelBuffers32 = nullptr;
	EXPECT_NO_THROW (processor->process (data));
	// Bus counts that claim buses without arrays.
	data.inputs = nullptr;
	data.outputs = nullptr;
	EXPECT_NO_THROW (processor->process (data));

	// Zero, negative and more frames than announced.
	data.inputs = &inBus;
	data.outputs = &outBus;
	inBus.channelBuffers32 = inputs;
	float* outputs2[2] = {out.data (), out.data ()};
	outBus.channelBuffers32 = outputs2;
	for (int32 frames : {0, -5, 4096})
	{
		data.numSamples = frames;
		EXPECT_NO_THROW (processor->process (data)) << frames;
	}

	// A channel count that disagrees with the arrangement.
	inBus.numChannels = 1;
	outBus.numChannels = 1;
	data.numSamples = 256;
	EXPECT_NO_THROW (processor->process (data));

	// And it still works normally afterwards.
	const auto signal = makeTestSignal (2, 2048, 48000.0, 21);
	std::vector<std::vector<float>> rendered;
	EXPECT_TRUE (instance.render (signal, rendered));
	for (const auto& channel : rendered)
	{
		for (float v : channel)
			ASSERT_TRUE (std::isfinite (v));
	}
}

TEST_F (HostileHostTest, SampleRatesOutsideTheSupportedRangeAreRefused)
{
	PluginInstance& instance = newInstance ();
	IAudioProcessor* processor = instance.getProcessor ();
	for (double rate : {7999.0, 384001.0, 0.0, -48000.0, 1e12, std::numeric_limits<double>::quiet_NaN (),
	                    std::numeric_limits<double>::infinity ()})
	{
		ProcessSetup setup = setupAt (rate);
		EXPECT_EQ (processor->setupProcessing (setup), kResultFalse) << rate;
	}
}

TEST_F (HostileHostTest, ARefusedSetupLeavesTheLastAcceptedOneInForce)
{
	// What Steinberg's validator does: a working set-up, then rates nothing supports, then
	// activation. The plug-in must then sound exactly as after the working set-up alone.
	const auto signal = makeTestSignal (2, 24000, 48000.0, 31);
	PluginInstance& reference = newActiveInstance (48000.0, 512);
	ASSERT_EQ (reference.selectProgram (2), kResultOk);
	std::vector<std::vector<float>> expected;
	ASSERT_TRUE (reference.render (signal, expected));

	PluginInstance& instance = newActiveInstance (48000.0, 512);
	instance.stop ();
	IAudioProcessor* processor = instance.getProcessor ();
	for (double rate : {1234.568, 1234567.8, std::numeric_limits<double>::quiet_NaN ()})
	{
		ProcessSetup setup = setupAt (rate);
		EXPECT_EQ (processor->setupProcessing (setup), kResultFalse) << rate;
	}
	ASSERT_EQ (instance.getComponent ()->setActive (true), kResultOk);
	processor->setProcessing (true);
	ASSERT_EQ (instance.selectProgram (2), kResultOk);

	std::vector<std::vector<float>> rendered (2, std::vector<float> (signal[0].size ()));
	for (size_t start = 0; start < signal[0].size (); start += 512)
	{
		const int32 frames = static_cast<int32> (std::min<size_t> (512, signal[0].size () - start));
		const float* inputs[2] = {signal[0].data () + start, signal[1].data () + start};
		float* outputs[2] = {rendered[0].data () + start, rendered[1].data () + start};
		ASSERT_EQ (instance.process (inputs, outputs, frames), kResultOk);
	}
	EXPECT_TRUE (sameSamples (rendered, expected));
	processor->setProcessing (false);
	instance.getComponent ()->setActive (false);
}

TEST_F (HostileHostTest, EveryRateInTheRangeWorks)
{
	for (double rate : {8000.0, 11025.0, 22050.0, 32000.0, 44100.0, 96000.0, 192000.0, 384000.0})
	{
		SCOPED_TRACE (rate);
		PluginInstance& instance = newInstance ();
		ASSERT_TRUE (instance.setup (rate, 512, 2)) << instance.error ();
		ASSERT_EQ (instance.selectProgram (4), kResultOk); // 2000 ms, ratio 2.33, resonant filter
		instance.setParameter (kDelayState, 1.0);
		instance.setParameter (kOffset, 1.0);
		instance.setParameter (kDelay, 1.0);
		instance.setParameter (kDelayRatio, 0.0); // 2001 ms on the right voice
		const auto signal = makeTestSignal (2, static_cast<int32> (rate * 2.2), rate, 22);
		std::vector<std::vector<float>> rendered;
		ASSERT_TRUE (instance.render (signal, rendered));
		for (const auto& channel : rendered)
		{
			for (float v : channel)
				ASSERT_TRUE (std::isfinite (v));
		}
		instance.destroy ();
	}
}

TEST_F (HostileHostTest, ArrangementsWiderThanStereoOrUnequalAreRefused)
{
	PluginInstance& instance = newInstance ();
	IAudioProcessor* processor = instance.getProcessor ();
	SpeakerArrangement surround = SpeakerArr::k51;
	SpeakerArrangement quad = SpeakerArr::k40Music;
	SpeakerArrangement stereo = SpeakerArr::kStereo;
	SpeakerArrangement mono = SpeakerArr::kMono;
	EXPECT_EQ (processor->setBusArrangements (&surround, 1, &surround, 1), kResultFalse);
	EXPECT_EQ (processor->setBusArrangements (&quad, 1, &quad, 1), kResultFalse);
	EXPECT_EQ (processor->setBusArrangements (&stereo, 1, &mono, 1), kResultFalse);
	EXPECT_EQ (processor->setBusArrangements (&stereo, 0, &stereo, 1), kResultFalse);
	EXPECT_EQ (processor->setBusArrangements (&stereo, 1, &stereo, 2), kResultFalse);
	SpeakerArrangement arrangement = 0;
	ASSERT_EQ (processor->getBusArrangement (kOutput, 0, arrangement), kResultOk);
	EXPECT_EQ (arrangement, SpeakerArr::kStereo);
	ASSERT_EQ (processor->getBusArrangement (kInput, 0, arrangement), kResultOk);
	EXPECT_EQ (arrangement, SpeakerArr::kStereo);

	EXPECT_EQ (processor->setBusArrangements (&mono, 1, &mono, 1), kResultOk);
	ASSERT_EQ (processor->getBusArrangement (kOutput, 0, arrangement), kResultOk);
	EXPECT_EQ (arrangement, SpeakerArr::kMono);
	EXPECT_EQ (processor->setBusArrangements (&stereo, 1, &stereo, 1), kResultOk);
	EXPECT_EQ (processor->canProcessSampleSize (kSample64), kResultFalse);
}

TEST_F (HostileHostTest, ControllerValuesOutsideZeroToOne)
{
	PluginInstance& instance = newInstance ();
	IEditController* controller = instance.getController ();
	EXPECT_EQ (controller->setParamNormalized (kDelay, 1.7), kResultOk);
	EXPECT_EQ (controller->getParamNormalized (kDelay), 1.0);
	EXPECT_EQ (controller->setParamNormalized (kDelay, -3.0), kResultOk);
	EXPECT_EQ (controller->getParamNormalized (kDelay), 0.0);
	controller->setParamNormalized (kDelay, 0.25);
	controller->setParamNormalized (kDelay, std::numeric_limits<double>::quiet_NaN ());
	EXPECT_EQ (controller->getParamNormalized (kDelay), 0.25);
	controller->setParamNormalized (kPresets, std::numeric_limits<double>::quiet_NaN ());
	controller->setParamNormalized (kPresets, 7.5);
	EXPECT_LE (controller->getParamNormalized (kPresets), 1.0);
}

TEST_F (HostileHostTest, TextsForValuesOutsideZeroToOne)
{
	PluginInstance& instance = newInstance ();
	IEditController* controller = instance.getController ();
	for (const ParameterDescription& p : instance.parameters ())
	{
		for (double v : {-1.0, 2.0, 1e300, std::numeric_limits<double>::quiet_NaN ()})
		{
			String128 text {};
			EXPECT_NO_THROW (controller->getParamStringByValue (p.id, v, text)) << p.title << " " << v;
			EXPECT_NO_THROW (controller->normalizedParamToPlain (p.id, v));
		}
	}
	ParamValue value = 0;
	String128 garbage {};
	for (int i = 0; i < 127; ++i)
		garbage[i] = static_cast<TChar> ('9');
	EXPECT_NO_THROW (controller->getParamValueByString (kDelay, garbage, value));
	EXPECT_EQ (instance.getController ()->getParamStringByValue (12345, 0.5, garbage), kResultFalse);
}

TEST_F (HostileHostTest, ProcessValuesOutsideZeroToOneAreClampedOrIgnored)
{
	const double rate = 48000.0;
	PluginInstance& instance = newActiveInstance (rate, 256, 2);
	EngineReference engine (rate, 2);
	const auto input = makeTestSignal (2, 256 * 40, rate, 23);
	std::vector<std::vector<float>> output (2, std::vector<float> (input[0].size ())), expected = output;

	HostParameterChanges changes;
	for (size_t block = 0; block < 40; ++block)
	{
		changes.clear ();
		if (block == 1)
		{
			changes.addChange (kDelay, 0, 1.8);      // clamped to 1
			changes.addChange (kFeedback, 0, -0.5);  // clamped to 0
			changes.addChange (kWetDry, 0, 0.9);
			engine.change (kDelay, 1.0);
			engine.change (kFeedback, 0.0);
			engine.change (kWetDry, 0.9);
		}
		if (block == 5)
		{
			changes.addChange (kCutoff, 0, std::numeric_limits<double>::quiet_NaN ()); // ignored
			changes.addChange (kDelayState, 0, 40.0);                                  // clamped to 1
			engine.change (kDelayState, 1.0);
		}
		const float* in[2] = {input[0].data () + block * 256, input[1].data () + block * 256};
		float* out[2] = {output[0].data () + block * 256, output[1].data () + block * 256};
		ASSERT_EQ (instance.process (in, out, 256, &changes), kResultOk);
		engine.processBlock (input, expected, block * 256, 256);
	}
	EXPECT_TRUE (sameSamples (output, expected));
}

TEST_F (HostileHostTest, InfiniteValuesInProcessKeepTheOutputFinite)
{
	PluginInstance& instance = newActiveInstance (48000.0, 256, 2);
	HostParameterChanges changes;
	for (ParamID id : {kDelay, kFeedback, kCutoff, kResonance, kDelayRatio, kOffset, kWetDry, kVolume,
	                   kDelayState, kActive, kJoystickX, kJoystickY, kPitchBendParam, kModWheelParam})
		changes.addChange (id, 0, (id % 2) ? std::numeric_limits<double>::infinity ()
		                                   : -std::numeric_limits<double>::infinity ());
	const auto input = makeTestSignal (2, 256 * 20, 48000.0, 25);
	std::vector<std::vector<float>> output (2, std::vector<float> (input[0].size ()));
	for (size_t block = 0; block < 20; ++block)
	{
		const float* in[2] = {input[0].data () + block * 256, input[1].data () + block * 256};
		float* out[2] = {output[0].data () + block * 256, output[1].data () + block * 256};
		ASSERT_EQ (instance.process (in, out, 256, block == 0 ? &changes : nullptr), kResultOk);
	}
	for (const auto& channel : output)
	{
		for (float v : channel)
			ASSERT_TRUE (std::isfinite (v));
	}
}

TEST_F (HostileHostTest, EventsOutsideTheBlockAndBadEventData)
{
	PluginInstance& instance = newActiveInstance (48000.0, 256, 2);
	HostEventList events;
	events.addNoteOn (-3, 0, 60, 1.0f);
	events.addNoteOn (5, 0, 200, 5.0f);
	events.addNoteOn (5, -1, -7, -1.0f);
	events.addNoteOff (9999, 0, 60, 0.5f);
	const auto input = makeTestSignal (2, 256, 48000.0, 24);
	std::vector<float> out0 (256), out1 (256);
	const float* in[2] = {input[0].data (), input[1].data ()};
	float* out[2] = {out0.data (), out1.data ()};
	EXPECT_EQ (instance.process (in, out, 256, nullptr, &events), kResultOk);
	for (float v : out0)
		ASSERT_TRUE (std::isfinite (v));
}

TEST_F (HostileHostTest, TerminateWithoutStoppingAndCallsAfterTerminate)
{
	PluginInstance& instance = newActiveInstance (48000.0, 256, 2);
	IComponent* component = instance.getComponent ();
	IAudioProcessor* processor = instance.getProcessor ();
	EXPECT_EQ (component->terminate (), kResultOk);
	std::vector<float> buffer (256, 0.1f);
	float* channels[2] = {buffer.data (), buffer.data ()};
	AudioBusBuffers bus;
	bus.numChannels = 2;
	bus.channelBuffers32 = channels;
	ProcessData data;
	data.numSamples = 256;
	data.numInputs = 1;
	data.numOutputs = 1;
	data.inputs = &bus;
	data.outputs = &bus;
	EXPECT_NO_THROW (processor->process (data));
	BusInfo info {};
	EXPECT_NE (component->getBusInfo (kAudio, kOutput, 0, info), kResultOk);
	ParameterInfo pinfo {};
	EXPECT_NE (instance.getController ()->getParameterInfo (0, pinfo), kResultOk);
	// A second initialize after terminate works again.
	EXPECT_EQ (component->initialize (nullptr), kResultOk);
}

} // namespace
} // namespace TarnwickHostTest

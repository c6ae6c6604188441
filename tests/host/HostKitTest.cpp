// The in-process host's own pieces, and a module built from our SDK pieces loaded through it.
#include "hostkit/HostKit.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace TarnwickHostTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Tarnwick::HostKit;

TEST (HostParameterChanges, QueuesKeepPointsInOffsetOrder)
{
	HostParameterChanges changes (4, 3);
	EXPECT_TRUE (changes.addChange (7, 100, 0.5));
	EXPECT_TRUE (changes.addChange (7, 10, 0.1));
	EXPECT_TRUE (changes.addChange (7, 100, 0.75)); // same offset: replaced
	EXPECT_TRUE (changes.addChange (9, 0, 1.0));
	ASSERT_EQ (changes.getParameterCount (), 2);
	IParamValueQueue* queue = changes.getParameterData (0);
	ASSERT_NE (queue, nullptr);
	EXPECT_EQ (queue->getParameterId (), 7u);
	ASSERT_EQ (queue->getPointCount (), 2);
	int32 offset = -1;
	ParamValue value = -1;
	ASSERT_EQ (queue->getPoint (0, offset, value), kResultTrue);
	EXPECT_EQ (offset, 10);
	EXPECT_EQ (value, 0.1);
	ASSERT_EQ (queue->getPoint (1, offset, value), kResultTrue);
	EXPECT_EQ (offset, 100);
	EXPECT_EQ (value, 0.75);
	EXPECT_EQ (queue->getPoint (2, offset, value), kResultFalse);
	EXPECT_EQ (queue->getPoint (-1, offset, value), kResultFalse);
	EXPECT_TRUE (changes.lastValue (7, value));
	EXPECT_EQ (value, 0.75);
	EXPECT_FALSE (changes.lastValue (8, value));
	EXPECT_EQ (changes.getParameterData (2), nullptr);
	EXPECT_EQ (changes.getParameterData (-1), nullptr);
}

TEST (HostParameterChanges, CapacityIsFixed)
{
	HostParameterChanges changes (2, 2);
	EXPECT_TRUE (changes.addChange (1, 0, 0.0));
	EXPECT_TRUE (changes.addChange (1, 1, 0.0));
	EXPECT_FALSE (changes.addChange (1, 2, 0.0));
	EXPECT_TRUE (changes.addChange (2, 0, 0.0));
	EXPECT_FALSE (changes.addChange (3, 0, 0.0));
	int32 index = -1;
	EXPECT_NE (changes.addParameterData (2, index), nullptr);
	EXPECT_EQ (index, 1);
	changes.clear ();
	EXPECT_EQ (changes.getParameterCount (), 0);
	EXPECT_TRUE (changes.addChange (3, 0, 0.0));
	ASSERT_EQ (changes.getParameterData (0)->getPointCount (), 1);
}

TEST (HostEventList, HoldsEventsUpToItsCapacity)
{
	HostEventList events (2);
	EXPECT_TRUE (events.addNoteOn (5, 1, 60, 0.5f));
	EXPECT_TRUE (events.addNoteOff (9, 1, 60, 0.0f));
	EXPECT_FALSE (events.addNoteOn (10, 1, 61, 0.5f));
	ASSERT_EQ (events.getEventCount (), 2);
	Event e {};
	ASSERT_EQ (events.getEvent (0, e), kResultOk);
	EXPECT_EQ (e.type, Event::kNoteOnEvent);
	EXPECT_EQ (e.sampleOffset, 5);
	EXPECT_EQ (e.noteOn.pitch, 60);
	EXPECT_EQ (e.noteOn.velocity, 0.5f);
	ASSERT_EQ (events.getEvent (1, e), kResultOk);
	EXPECT_EQ (e.type, Event::kNoteOffEvent);
	EXPECT_EQ (events.getEvent (2, e), kResultFalse);
	events.clear ();
	EXPECT_EQ (events.getEventCount (), 0);
}

TEST (ComponentHandlerRecorder, RecordsAndCounts)
{
	ComponentHandlerRecorder handler;
	IComponentHandler* asHandler = &handler;
	asHandler->beginEdit (3);
	asHandler->performEdit (3, 0.25);
	asHandler->performEdit (4, 0.5);
	asHandler->endEdit (3);
	asHandler->restartComponent (kParamValuesChanged | kLatencyChanged);
	ASSERT_EQ (handler.calls ().size (), 5u);
	EXPECT_EQ (handler.count (HandlerCall::kPerformEdit), 2u);
	EXPECT_EQ (handler.countEdits (HandlerCall::kPerformEdit, 3), 1u);
	EXPECT_EQ (handler.calls ()[1].value, 0.25);
	EXPECT_EQ (handler.countRestarts (kParamValuesChanged), 1u);
	EXPECT_EQ (handler.countRestarts (kIoChanged), 0u);

	void* unitHandler = nullptr;
	ASSERT_EQ (asHandler->queryInterface (IUnitHandler::iid, &unitHandler), kResultOk);
	EXPECT_EQ (handler.referencesHeld (), 1);
	static_cast<IUnitHandler*> (unitHandler)->notifyProgramListChange (77, 2);
	static_cast<IUnitHandler*> (unitHandler)->release ();
	EXPECT_EQ (handler.referencesHeld (), 0);
	EXPECT_EQ (handler.calls ().back ().kind, HandlerCall::kNotifyProgramListChange);
	EXPECT_EQ (handler.calls ().back ().flags, 2);
	void* other = reinterpret_cast<void*> (1);
	EXPECT_EQ (asHandler->queryInterface (IPlugFrame::iid, &other), kNoInterface);
	EXPECT_EQ (other, nullptr);
}

class CountingTimer : public Linux::ITimerHandler
{
public:
	void PLUGIN_API onTimer () override
	{
		++calls;
		if (action)
			action ();
	}
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }
	int calls = 0;
	std::function<void ()> action;
};

class CountingReader : public Linux::IEventHandler
{
public:
	void PLUGIN_API onFDIsSet (Linux::FileDescriptor fd) override
	{
		char byte;
		if (read (fd, &byte, 1) == 1)
			++calls;
		if (action)
			action ();
	}
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }
	int calls = 0;
	std::function<void ()> action;
};

TEST (HostRunLoop, TimersFireUntilUnregistered)
{
	HostRunLoop loop;
	CountingTimer timer;
	ASSERT_EQ (loop.registerTimer (&timer, 10), kResultTrue);
	loop.runFor (120);
	EXPECT_GE (timer.calls, 3);
	EXPECT_LE (timer.calls, 13);
	ASSERT_EQ (loop.unregisterTimer (&timer), kResultTrue);
	const int before = timer.calls;
	loop.runFor (40);
	EXPECT_EQ (timer.calls, before);
	EXPECT_EQ (loop.unregisterTimer (&timer), kResultFalse);
	EXPECT_EQ (loop.registerTimer (nullptr, 10), kInvalidArgument);
	EXPECT_EQ (loop.registerTimer (&timer, 0), kInvalidArgument);
}

TEST (HostRunLoop, HandlersMayChangeRegistrationsFromInsideACallback)
{
	HostRunLoop loop;
	CountingTimer first, second;
	first.action = [&] {
		loop.unregisterTimer (&first);
		loop.registerTimer (&second, 5);
	};
	second.action = [&] { loop.unregisterTimer (&second); };
	ASSERT_EQ (loop.registerTimer (&first, 5), kResultTrue);
	loop.runFor (80);
	EXPECT_EQ (first.calls, 1);
	EXPECT_EQ (second.calls, 1);
	EXPECT_EQ (loop.timerCount (), 0u);
}

TEST (HostRunLoop, DescriptorHandlersRunWhenDataArrives)
{
	int fds[2];
	ASSERT_EQ (pipe (fds), 0);
	HostRunLoop loop;
	CountingReader reader;
	ASSERT_EQ (loop.registerEventHandler (&reader, fds[0]), kResultTrue);
	EXPECT_EQ (loop.eventHandlerCount (), 1u);
	loop.runOnce (10);
	EXPECT_EQ (reader.calls, 0);
	ASSERT_EQ (write (fds[1], "xy", 2), 2);
	loop.runOnce (50);
	loop.runOnce (50);
	EXPECT_EQ (reader.calls, 2);
	reader.action = [&] { loop.unregisterEventHandler (&reader); };
	ASSERT_EQ (write (fds[1], "z", 1), 1);
	loop.runOnce (50);
	EXPECT_EQ (loop.eventHandlerCount (), 0u);
	EXPECT_EQ (loop.registerEventHandler (&reader, -1), kInvalidArgument);
	close (fds[0]);
	close (fds[1]);
}

TEST (HostPlugFrame, OffersTheRunLoopOnlyWhenItHasOne)
{
	HostRunLoop loop;
	HostPlugFrame withLoop (&loop);
	HostPlugFrame withoutLoop;
	void* obj = nullptr;
	ASSERT_EQ (withLoop.queryInterface (Linux::IRunLoop::iid, &obj), kResultOk);
	EXPECT_EQ (obj, static_cast<Linux::IRunLoop*> (&loop));
	ASSERT_EQ (withLoop.queryInterface (IPlugFrame::iid, &obj), kResultOk);
	EXPECT_EQ (obj, static_cast<IPlugFrame*> (&withLoop));
	obj = reinterpret_cast<void*> (1);
	EXPECT_EQ (withoutLoop.queryInterface (Linux::IRunLoop::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	ViewRect rect (0, 0, 100, 50);
	EXPECT_EQ (withoutLoop.resizeView (nullptr, &rect), kInvalidArgument);
	EXPECT_TRUE (withoutLoop.resizeRequests ().empty ());
}

TEST (HostTransport, AdvancesOnlyWhilePlaying)
{
	HostTransport transport (48000.0, 120.0, 3, 4);
	ProcessContext* context = transport.context ();
	EXPECT_EQ (context->sampleRate, 48000.0);
	EXPECT_EQ (context->timeSigNumerator, 3);
	EXPECT_TRUE (context->state & ProcessContext::kTempoValid);
	transport.advance (24000);
	EXPECT_EQ (context->projectTimeSamples, 0);
	transport.setPlaying (true);
	EXPECT_TRUE (context->state & ProcessContext::kPlaying);
	transport.advance (24000); // half a second at 120 bpm: one quarter note
	EXPECT_EQ (context->projectTimeSamples, 24000);
	EXPECT_DOUBLE_EQ (context->projectTimeMusic, 1.0);
	EXPECT_DOUBLE_EQ (context->barPositionMusic, 0.0);
	transport.advance (24000 * 3); // four quarters: the second bar of 3/4 began at quarter 3
	EXPECT_DOUBLE_EQ (context->projectTimeMusic, 4.0);
	EXPECT_DOUBLE_EQ (context->barPositionMusic, 3.0);
	transport.setPlaying (false);
	EXPECT_FALSE (context->state & ProcessContext::kPlaying);
	transport.advance (100);
	EXPECT_EQ (context->projectTimeSamples, 96000);
}

TEST (StringConvert, RoundTripsThroughUtf16)
{
	const std::string text = "Delay \xC2\xB5s \xE2\x88\x9E \xF0\x9F\x8E\xB5";
	const std::u16string wide = toUtf16 (text);
	EXPECT_EQ (wide.size (), 13u); // the last character takes a surrogate pair
	EXPECT_EQ (toUtf8 (reinterpret_cast<const char16*> (wide.c_str ())), text);
	EXPECT_EQ (toUtf8 (nullptr), "");
	EXPECT_EQ (toUtf16 ("\xFF"), u"\xFFFD");
}

TEST (PluginModule, BinaryPathInsideTheBundle)
{
	EXPECT_EQ (PluginModule::binaryPathOf ("/a/b/Tarnwick.vst3"),
	           "/a/b/Tarnwick.vst3/Contents/x86_64-linux/Tarnwick.so");
	EXPECT_EQ (PluginModule::binaryPathOf ("/a/b/Tarnwick.vst3/"),
	           "/a/b/Tarnwick.vst3/Contents/x86_64-linux/Tarnwick.so");
	EXPECT_EQ (PluginModule::binaryPathOf ("Other.vst3"), "Other.vst3/Contents/x86_64-linux/Other.so");
}

TEST (SdkTestModule, LoadsAndRunsThroughTheHost)
{
	PluginModule module;
	ASSERT_TRUE (module.load (TARNWICK_SDK_TEST_BUNDLE_PATH)) << module.error ();
	EXPECT_NE (module.findSymbol ("ModuleEntry"), nullptr);
	EXPECT_NE (module.findSymbol ("ModuleExit"), nullptr);
	PClassInfo2 info;
	ASSERT_TRUE (module.findAudioEffectClass (info));
	EXPECT_STREQ (info.name, "SDK Test Effect");
	EXPECT_STREQ (module.factoryInfo ().vendor, "Tarnwick Tests");

	PluginInstance instance (module);
	ASSERT_TRUE (instance.create ()) << instance.error ();
	const std::vector<ParameterDescription> parameters = instance.parameters ();
	ASSERT_EQ (parameters.size (), 3u);
	EXPECT_EQ (parameters[0].title, "Gain");
	EXPECT_EQ (parameters[0].units, "dB");
	EXPECT_EQ (instance.parameterText (2, 1.0), "Far");
	EXPECT_EQ (instance.programNames (), (std::vector<std::string> {"First", "Second"}));
	std::vector<uint8> state;
	ASSERT_TRUE (instance.getState (state));
	EXPECT_EQ (state, std::vector<uint8> {0x5A});
	ASSERT_TRUE (instance.setup (44100.0, 64, 2)) << instance.error ();
	EXPECT_EQ (instance.setParameter (1, 0.5), kResultTrue);
	EXPECT_EQ (instance.getParamNormalized (1), 0.5);
	EXPECT_EQ (instance.createView (), nullptr);
	EXPECT_FALSE (instance.setup (44100.0, 64, 3));
	instance.destroy ();
	module.unload ();
	EXPECT_EQ (module.getFactory (), nullptr);
}

} // namespace
} // namespace TarnwickHostTest

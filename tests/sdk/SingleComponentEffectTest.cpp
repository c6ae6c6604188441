#include "TestEffect.h"

#include "public.sdk/source/common/memorystream.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace TarnwickTest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Host context and component handler that count the references they are given.
class CountingHostContext : public FUnknown
{
public:
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return static_cast<uint32> (++refs); }
	uint32 PLUGIN_API release () override { return static_cast<uint32> (--refs); }
	int refs = 1;
};

class RecordingHandler : public IComponentHandler, public IUnitHandler
{
public:
	tresult PLUGIN_API beginEdit (ParamID) override { return kResultOk; }
	tresult PLUGIN_API performEdit (ParamID, ParamValue) override
	{
		++edits;
		return kResultOk;
	}
	tresult PLUGIN_API endEdit (ParamID) override { return kResultOk; }
	tresult PLUGIN_API restartComponent (int32) override { return kResultOk; }
	tresult PLUGIN_API notifyUnitSelection (UnitID) override { return kResultOk; }
	tresult PLUGIN_API notifyProgramListChange (ProgramListID listId, int32 index) override
	{
		lastList = listId;
		lastIndex = index;
		++listChanges;
		return kResultOk;
	}
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) override
	{
		QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
		QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
		QUERY_INTERFACE (iid, obj, IUnitHandler::iid, IUnitHandler)
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return static_cast<uint32> (++refs); }
	uint32 PLUGIN_API release () override { return static_cast<uint32> (--refs); }
	int refs = 1;
	int edits = 0;
	int listChanges = 0;
	ProgramListID lastList = 0;
	int32 lastIndex = 0;
};

class SingleComponentEffectTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		effect = new TestEffect ();
		ASSERT_EQ (effect->initialize (&host), kResultOk);
	}
	void TearDown () override
	{
		if (effect)
		{
			effect->terminate ();
			effect->release ();
		}
		EXPECT_EQ (TestEffect::liveInstances, 0);
	}
	uint32 refCount ()
	{
		effect->addRef ();
		return effect->release ();
	}

	CountingHostContext host;
	TestEffect* effect = nullptr;
};

TEST_F (SingleComponentEffectTest, QueryInterfaceAnswersBothHalvesAndAddsAReference)
{
	const std::vector<const TUID*> offered = {
	    &IComponent::iid.toTUID (),     &IAudioProcessor::iid.toTUID (), &IUnitInfo::iid.toTUID (),
	    &IEditController::iid.toTUID (), &IEditController2::iid.toTUID (), &IPluginBase::iid.toTUID (),
	    &FUnknown::iid.toTUID (),        &IDependent::iid.toTUID ()};
	for (const TUID* iid : offered)
	{
		const uint32 before = refCount ();
		void* obj = nullptr;
		ASSERT_EQ (effect->queryInterface (*iid, &obj), kResultOk);
		ASSERT_NE (obj, nullptr);
		EXPECT_EQ (refCount (), before + 1);
		static_cast<FUnknown*> (obj)->release ();
		EXPECT_EQ (refCount (), before);
	}
}

TEST_F (SingleComponentEffectTest, QueryInterfaceReturnsTheRightSubobjects)
{
	void* obj = nullptr;
	ASSERT_EQ (effect->queryInterface (IComponent::iid, &obj), kResultOk);
	EXPECT_EQ (obj, static_cast<IComponent*> (effect));
	static_cast<IComponent*> (obj)->release ();
	ASSERT_EQ (effect->queryInterface (IAudioProcessor::iid, &obj), kResultOk);
	EXPECT_EQ (obj, static_cast<IAudioProcessor*> (effect));
	static_cast<IAudioProcessor*> (obj)->release ();
	ASSERT_EQ (effect->queryInterface (IEditController::iid, &obj), kResultOk);
	EXPECT_EQ (obj, static_cast<IEditController*> (effect));
	static_cast<IEditController*> (obj)->release ();
}

TEST_F (SingleComponentEffectTest, RefusesConnectionPointAndUnknownInterfaces)
{
	const uint32 before = refCount ();
	void* obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (effect->queryInterface (IConnectionPoint::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	obj = reinterpret_cast<void*> (0x1);
	EXPECT_EQ (effect->queryInterface (IMidiMapping::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	EXPECT_EQ (refCount (), before);
	EXPECT_EQ (effect->queryInterface (IComponent::iid, nullptr), kInvalidArgument);
}

TEST_F (SingleComponentEffectTest, LastReleaseDeletes)
{
	auto* other = new TestEffect ();
	EXPECT_EQ (TestEffect::liveInstances, 2);
	EXPECT_EQ (other->addRef (), 2u);
	EXPECT_EQ (other->release (), 1u);
	EXPECT_EQ (other->release (), 0u);
	EXPECT_EQ (TestEffect::liveInstances, 1);
}

TEST (SingleComponentEffectDefaults, ProcessSetupBeforeAnyCall)
{
	auto* effect = new TestEffect ();
	const ProcessSetup& setup = effect->getProcessSetup ();
	EXPECT_EQ (setup.sampleRate, 44100.0);
	EXPECT_EQ (setup.maxSamplesPerBlock, 1024);
	EXPECT_EQ (setup.processMode, kRealtime);
	EXPECT_EQ (setup.symbolicSampleSize, kSample32);
	EXPECT_EQ (effect->getLatencySamples (), 0u);
	EXPECT_EQ (effect->getTailSamples (), 0u);
	effect->release ();
}

TEST_F (SingleComponentEffectTest, SecondInitializeWithoutTerminateIsRefused)
{
	EXPECT_EQ (effect->initialize (&host), kResultFalse);
	EXPECT_EQ (effect->getParameterCount (), 3);
	EXPECT_EQ (effect->getBusCount (kAudio, kInput), 1);
}

TEST_F (SingleComponentEffectTest, TerminateRemovesParametersBusesAndReleasesHostObjects)
{
	RecordingHandler handler;
	ASSERT_EQ (effect->setComponentHandler (&handler), kResultTrue);
	EXPECT_EQ (handler.refs, 2);
	EXPECT_EQ (host.refs, 2);

	EXPECT_EQ (effect->terminate (), kResultOk);
	EXPECT_EQ (effect->getParameterCount (), 0);
	EXPECT_EQ (effect->getBusCount (kAudio, kInput), 0);
	EXPECT_EQ (effect->getBusCount (kAudio, kOutput), 0);
	EXPECT_EQ (effect->getBusCount (kEvent, kInput), 0);
	EXPECT_EQ (effect->getUnitCount (), 0);
	EXPECT_EQ (effect->getProgramListCount (), 0);
	EXPECT_EQ (handler.refs, 1);
	EXPECT_EQ (host.refs, 1);

	// A terminated effect can be initialised again.
	EXPECT_EQ (effect->initialize (&host), kResultOk);
	EXPECT_EQ (effect->getParameterCount (), 3);
}

TEST_F (SingleComponentEffectTest, SetParamNormalizedClampsStoresAndNotifiesOnChangeOnly)
{
	RecordingHandler handler;
	effect->setComponentHandler (&handler);
	TestEffect::gainNotifications = 0;

	EXPECT_EQ (effect->setParamNormalized (TestEffect::kGain, 0.25), kResultTrue);
	EXPECT_EQ (effect->getParamNormalized (TestEffect::kGain), 0.25);
	EXPECT_EQ (TestEffect::gainNotifications, 1);
	EXPECT_EQ (effect->setParamNormalized (TestEffect::kGain, 0.25), kResultTrue);
	EXPECT_EQ (TestEffect::gainNotifications, 1);

	EXPECT_EQ (effect->setParamNormalized (TestEffect::kGain, 1.5), kResultTrue);
	EXPECT_EQ (effect->getParamNormalized (TestEffect::kGain), 1.0);
	EXPECT_EQ (effect->setParamNormalized (TestEffect::kGain, -0.3), kResultTrue);
	EXPECT_EQ (effect->getParamNormalized (TestEffect::kGain), 0.0);
	EXPECT_EQ (TestEffect::gainNotifications, 3);

	// It neither tells the host nor accepts what is not a number.
	EXPECT_EQ (handler.edits, 0);
	EXPECT_EQ (effect->setParamNormalized (TestEffect::kGain, std::numeric_limits<double>::quiet_NaN ()),
	           kResultFalse);
	EXPECT_EQ (effect->setParamNormalized (TestEffect::kGain, std::numeric_limits<double>::infinity ()),
	           kResultFalse);
	EXPECT_EQ (effect->getParamNormalized (TestEffect::kGain), 0.0);
	effect->setComponentHandler (nullptr);
}

TEST_F (SingleComponentEffectTest, UnknownParameterIds)
{
	EXPECT_EQ (effect->setParamNormalized (999, 0.5), kResultFalse);
	EXPECT_EQ (effect->getParamNormalized (999), 0.0);
	EXPECT_EQ (effect->normalizedParamToPlain (999, 0.375), 0.375);
	EXPECT_EQ (effect->plainParamToNormalized (999, 12.5), 12.5);
	EXPECT_DOUBLE_EQ (effect->normalizedParamToPlain (TestEffect::kTime, 0.25), 500.0);
	EXPECT_DOUBLE_EQ (effect->plainParamToNormalized (TestEffect::kTime, 1500.0), 0.75);
}

TEST_F (SingleComponentEffectTest, ParameterInfoByIndexChecksBounds)
{
	ParameterInfo info {};
	EXPECT_EQ (effect->getParameterInfo (1, info), kResultTrue);
	EXPECT_EQ (info.id, TestEffect::kTime);
	EXPECT_EQ (effect->getParameterInfo (2, info), kResultTrue);
	EXPECT_EQ (info.id, TestEffect::kMode);
	EXPECT_EQ (effect->getParameterInfo (3, info), kResultFalse);
	EXPECT_EQ (effect->getParameterInfo (-1, info), kResultFalse);
}

std::u16string textOf (TestEffect* effect, ParamID id, ParamValue value, tresult* result = nullptr)
{
	String128 text {};
	const tresult r = effect->getParamStringByValue (id, value, text);
	if (result)
		*result = r;
	return std::u16string (reinterpret_cast<const char16_t*> (text));
}

TEST_F (SingleComponentEffectTest, ParameterTextsOfValuesOutsideZeroToOne)
{
	EXPECT_EQ (textOf (effect, TestEffect::kMode, 0.0), u"Near");
	EXPECT_EQ (textOf (effect, TestEffect::kMode, 1.0), u"Far");
	// Out of range: clamped, never past the end of the list.
	EXPECT_EQ (textOf (effect, TestEffect::kMode, 7.0), u"Far");
	EXPECT_EQ (textOf (effect, TestEffect::kMode, -2.0), u"Near");
	EXPECT_EQ (textOf (effect, TestEffect::kTime, 3.0), u"2000.0000");
	tresult result = kResultOk;
	textOf (effect, TestEffect::kMode, std::numeric_limits<double>::quiet_NaN (), &result);
	EXPECT_EQ (result, kResultFalse);
	textOf (effect, 999, 0.5, &result);
	EXPECT_EQ (result, kResultFalse);
}

TEST_F (SingleComponentEffectTest, BusInfoOfEachList)
{
	BusInfo info {};
	ASSERT_EQ (effect->getBusInfo (kAudio, kInput, 0, info), kResultTrue);
	EXPECT_EQ (info.mediaType, kAudio);
	EXPECT_EQ (info.direction, kInput);
	EXPECT_EQ (info.channelCount, 2);
	EXPECT_EQ (info.busType, kMain);
	EXPECT_EQ (info.flags, static_cast<uint32> (BusInfo::kDefaultActive));

	ASSERT_EQ (effect->getBusInfo (kEvent, kInput, 0, info), kResultTrue);
	EXPECT_EQ (info.mediaType, kEvent);
	EXPECT_EQ (info.channelCount, 16);
	EXPECT_EQ (info.busType, kMain);
	EXPECT_EQ (effect->getBusCount (kEvent, kOutput), 0);
}

TEST_F (SingleComponentEffectTest, BusIndicesOutOfRangeAreInvalidArguments)
{
	BusInfo info {};
	EXPECT_EQ (effect->getBusInfo (kAudio, kInput, 1, info), kInvalidArgument);
	EXPECT_EQ (effect->getBusInfo (kAudio, kInput, -1, info), kInvalidArgument);
	EXPECT_EQ (effect->getBusInfo (kAudio, kOutput, -7, info), kInvalidArgument);
	EXPECT_EQ (effect->getBusInfo (kEvent, kOutput, 0, info), kInvalidArgument);
	EXPECT_EQ (effect->getBusInfo (42, kInput, 0, info), kInvalidArgument);
	EXPECT_EQ (effect->activateBus (kAudio, kInput, 1, true), kInvalidArgument);
	EXPECT_EQ (effect->activateBus (kAudio, kInput, -1, true), kInvalidArgument);
	SpeakerArrangement arr = 0;
	EXPECT_EQ (effect->getBusArrangement (kOutput, 1, arr), kInvalidArgument);
	EXPECT_EQ (effect->getBusArrangement (kOutput, -1, arr), kInvalidArgument);
}

TEST_F (SingleComponentEffectTest, ActivateBusSetsTheFlag)
{
	EXPECT_EQ (effect->activateBus (kAudio, kOutput, 0, false), kResultTrue);
	EXPECT_FALSE (effect->getAudioOutput (0)->isActive ());
	EXPECT_EQ (effect->activateBus (kAudio, kOutput, 0, true), kResultTrue);
	EXPECT_TRUE (effect->getAudioOutput (0)->isActive ());
	EXPECT_EQ (effect->getAudioOutput (1), nullptr);
	EXPECT_EQ (effect->getEventInput (-1), nullptr);
}

TEST_F (SingleComponentEffectTest, DefaultBusArrangementHandling)
{
	SpeakerArrangement mono = SpeakerArr::kMono;
	SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
	EXPECT_EQ (effect->setBusArrangements (&mono, -1, &mono, 1), kInvalidArgument);
	EXPECT_EQ (effect->setBusArrangements (&mono, 1, &mono, -1), kInvalidArgument);
	EXPECT_EQ (effect->setBusArrangements (nullptr, 1, &mono, 1), kInvalidArgument);
	EXPECT_EQ (effect->setBusArrangements (two, 2, &mono, 1), kResultFalse);
	EXPECT_EQ (effect->setBusArrangements (&mono, 1, two, 2), kResultFalse);

	SpeakerArrangement arr = 0;
	ASSERT_EQ (effect->getBusArrangement (kInput, 0, arr), kResultTrue);
	EXPECT_EQ (arr, SpeakerArr::kStereo); // refused requests changed nothing

	EXPECT_EQ (effect->setBusArrangements (&mono, 1, &mono, 1), kResultTrue);
	ASSERT_EQ (effect->getBusArrangement (kInput, 0, arr), kResultTrue);
	EXPECT_EQ (arr, SpeakerArr::kMono);
	ASSERT_EQ (effect->getBusArrangement (kOutput, 0, arr), kResultTrue);
	EXPECT_EQ (arr, SpeakerArr::kMono);
	BusInfo info {};
	effect->getBusInfo (kAudio, kOutput, 0, info);
	EXPECT_EQ (info.channelCount, 1);
}

TEST_F (SingleComponentEffectTest, SampleSizeAndSetup)
{
	EXPECT_EQ (effect->canProcessSampleSize (kSample32), kResultTrue);
	EXPECT_EQ (effect->canProcessSampleSize (kSample64), kResultFalse);

	ProcessSetup setup {kOffline, kSample64, 256, 96000.0};
	EXPECT_EQ (effect->setupProcessing (setup), kResultFalse);
	EXPECT_EQ (effect->getProcessSetup ().sampleRate, 44100.0);
	EXPECT_EQ (effect->getProcessSetup ().maxSamplesPerBlock, 1024);

	setup.symbolicSampleSize = kSample32;
	EXPECT_EQ (effect->setupProcessing (setup), kResultOk);
	EXPECT_EQ (effect->getProcessSetup ().sampleRate, 96000.0);
	EXPECT_EQ (effect->getProcessSetup ().maxSamplesPerBlock, 256);
	EXPECT_EQ (effect->getProcessSetup ().processMode, kOffline);

	EXPECT_EQ (effect->setActive (true), kResultOk);
	EXPECT_EQ (effect->setActive (false), kResultOk);
}

TEST_F (SingleComponentEffectTest, UnitInfoWithBadIndexAnswersFalse)
{
	UnitInfo info {};
	ASSERT_EQ (effect->getUnitCount (), 1);
	EXPECT_EQ (effect->getUnitInfo (0, info), kResultTrue);
	EXPECT_EQ (info.programListId, TestEffect::kProgramListId);
	EXPECT_EQ (effect->getUnitInfo (1, info), kResultFalse);
	EXPECT_EQ (effect->getUnitInfo (-1, info), kResultFalse);
}

TEST_F (SingleComponentEffectTest, ProgramListsAndHostNotification)
{
	ProgramListInfo listInfo {};
	ASSERT_EQ (effect->getProgramListInfo (0, listInfo), kResultTrue);
	EXPECT_EQ (listInfo.id, TestEffect::kProgramListId);
	EXPECT_EQ (listInfo.programCount, 2);
	EXPECT_EQ (effect->getProgramListInfo (1, listInfo), kResultFalse);

	String128 name {};
	EXPECT_EQ (effect->getProgramName (TestEffect::kProgramListId, 1, name), kResultTrue);
	EXPECT_EQ (std::u16string (reinterpret_cast<const char16_t*> (name)), u"Second");
	EXPECT_EQ (effect->getProgramName (TestEffect::kProgramListId + 1, 0, name), kResultFalse);

	RecordingHandler handler;
	effect->setComponentHandler (&handler);
	EXPECT_EQ (effect->notifyProgramListChange (TestEffect::kProgramListId, 1), kResultOk);
	EXPECT_EQ (handler.listChanges, 1);
	EXPECT_EQ (handler.lastList, TestEffect::kProgramListId);
	EXPECT_EQ (handler.lastIndex, 1);
	effect->setComponentHandler (nullptr);
}

TEST_F (SingleComponentEffectTest, ComponentAndControllerStateAreSeparateSlots)
{
	auto componentStream = owned (new MemoryStream ());
	auto controllerStream = owned (new MemoryStream ());
	IComponent* asComponent = effect;
	IEditController* asController = effect;
	EXPECT_EQ (asComponent->getState (componentStream), kResultOk);
	EXPECT_EQ (asController->getEditorState (controllerStream), kResultOk);
	ASSERT_EQ (componentStream->getSize (), 1);
	EXPECT_EQ (static_cast<uint8> (componentStream->getData ()[0]), 0x5A);
	EXPECT_EQ (controllerStream->getSize (), 0);
	EXPECT_EQ (asController->setEditorState (componentStream), kResultOk);
	EXPECT_EQ (asComponent->setState (componentStream), kNotImplemented);
}

TEST_F (SingleComponentEffectTest, UnimplementedDefaults)
{
	TUID cid {};
	RoutingInfo in {}, out {};
	ProcessData data;
	EXPECT_EQ (effect->getControllerClassId (cid), kNotImplemented);
	EXPECT_EQ (effect->setIoMode (kAdvanced), kNotImplemented);
	EXPECT_EQ (effect->getRoutingInfo (in, out), kNotImplemented);
	EXPECT_EQ (effect->process (data), kNotImplemented);
}

} // namespace
} // namespace TarnwickTest

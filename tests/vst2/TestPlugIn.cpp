#include "TestPlugIn.h"

#include "public.sdk/source/main/pluginfactory.h"

#include "base/source/fstreamer.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "public.sdk/source/common/pluginview.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vstcomponent.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <unistd.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Vst2Test {

const TUID kComponentClassId = INLINE_UID (0x11111111, 0x22222222, 0x33333333, 0x44444444);
const TUID kControllerClassId = INLINE_UID (0x55555555, 0x66666666, 0x77777777, 0x88888888);

Probe& probe ()
{
	static Probe instance;
	return instance;
}

namespace {

//------------------------------------------------------------------------
class TestComponent : public Component, public IAudioProcessor
{
public:
	static FUnknown* create (void*) { return static_cast<IAudioProcessor*> (new TestComponent); }

	tresult PLUGIN_API initialize (FUnknown* context) override
	{
		const tresult result = Component::initialize (context);
		if (result != kResultOk)
			return result;
		audioInputs.push_back (owned (new AudioBus (STR16 ("In"), kMain, BusInfo::kDefaultActive, SpeakerArr::kStereo)));
		audioInputs.push_back (owned (new AudioBus (STR16 ("Side"), kAux, BusInfo::kDefaultActive, SpeakerArr::kStereo)));
		audioOutputs.push_back (owned (new AudioBus (STR16 ("Out"), kMain, BusInfo::kDefaultActive, SpeakerArr::kStereo)));
		eventInputs.push_back (owned (new EventBus (STR16 ("Events"), kMain, BusInfo::kDefaultActive, 16)));
		setControllerClass (FUID::fromTUID (kControllerClassId));
		return kResultOk;
	}

	tresult PLUGIN_API connect (IConnectionPoint* other) override
	{
		++probe ().connections;
		return Component::connect (other);
	}

	tresult PLUGIN_API setActive (TBool state) override
	{
		if (state)
			++probe ().setActiveTrue;
		else
			++probe ().setActiveFalse;
		return kResultOk;
	}

	tresult PLUGIN_API getState (IBStream* state) override
	{
		IBStreamer s (state, kLittleEndian);
		return s.writeDouble (gain) && s.writeInt32 (bypass ? 1 : 0) ? kResultOk : kResultFalse;
	}

	tresult PLUGIN_API setState (IBStream* state) override
	{
		IBStreamer s (state, kLittleEndian);
		double g = 0;
		int32 b = 0;
		if (!s.readDouble (g) || !s.readInt32 (b))
			return kResultFalse;
		gain = g;
		bypass = b != 0;
		return kResultOk;
	}

	// IAudioProcessor
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
	                                       int32 numOuts) override
	{
		if (numIns != 2 || numOuts != 1 || inputs[0] != outputs[0] ||
		    (inputs[0] != SpeakerArr::kMono && inputs[0] != SpeakerArr::kStereo))
			return kResultFalse;
		static_cast<AudioBus*> (audioInputs[0].get ())->setArrangement (inputs[0]);
		static_cast<AudioBus*> (audioInputs[1].get ())->setArrangement (inputs[1]);
		static_cast<AudioBus*> (audioOutputs[0].get ())->setArrangement (outputs[0]);
		return kResultTrue;
	}
	tresult PLUGIN_API getBusArrangement (BusDirection dir, int32 index, SpeakerArrangement& arr) override
	{
		BusList& list = dir == kInput ? audioInputs : audioOutputs;
		if (index < 0 || index >= static_cast<int32> (list.size ()))
			return kInvalidArgument;
		arr = static_cast<AudioBus*> (list[static_cast<size_t> (index)].get ())->getArrangement ();
		return kResultOk;
	}
	tresult PLUGIN_API canProcessSampleSize (int32 size) override
	{
		return size == kSample32 ? kResultTrue : kResultFalse;
	}
	uint32 PLUGIN_API getLatencySamples () override { return probe ().latency; }
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) override
	{
		probe ().lastSetup = setup;
		return kResultOk;
	}
	tresult PLUGIN_API setProcessing (TBool state) override
	{
		if (state)
			++probe ().processingOn;
		else
			++probe ().processingOff;
		return kResultOk;
	}
	uint32 PLUGIN_API getTailSamples () override { return 4800; }

	tresult PLUGIN_API process (ProcessData& data) override
	{
		Probe& p = probe ();
		++p.processCalls;
		if (data.numSamples > p.maxBlockSeen)
			p.maxBlockSeen = data.numSamples;
		if (IParameterChanges* changes = data.inputParameterChanges)
		{
			for (int32 i = 0; i < changes->getParameterCount (); ++i)
			{
				IParamValueQueue* queue = changes->getParameterData (i);
				for (int32 k = 0; queue && k < queue->getPointCount (); ++k)
				{
					int32 offset = 0;
					ParamValue value = 0;
					queue->getPoint (k, offset, value);
					p.changedIds.push_back (queue->getParameterId ());
					p.changeOffsets.push_back (offset);
					p.changeValues.push_back (value);
					if (queue->getParameterId () == kGainId)
						gain = value;
					else if (queue->getParameterId () == kBypassId)
						bypass = value > 0.5;
					else if (queue->getParameterId () == kProgramId)
						gain = kProgramGain[static_cast<int> (value * 2 + 0.5)];
				}
			}
		}
		if (IEventList* events = data.inputEvents)
		{
			for (int32 i = 0; i < events->getEventCount (); ++i)
			{
				Event e {};
				if (events->getEvent (i, e) == kResultOk)
					p.events.push_back (e);
			}
		}
		p.hadContext = data.processContext != nullptr;
		if (data.processContext)
			p.lastContext = *data.processContext;
		if (data.numInputs < 1 || data.numOutputs < 1)
			return kResultOk;
		const AudioBusBuffers& in = data.inputs[0];
		AudioBusBuffers& out = data.outputs[0];
		for (int32 c = 0; c < out.numChannels; ++c)
			for (int32 s = 0; s < data.numSamples; ++s)
			{
				const float x = c < in.numChannels ? in.channelBuffers32[c][s] : 0.f;
				out.channelBuffers32[c][s] = bypass ? x : x * static_cast<float> (gain);
			}
		return kResultOk;
	}

	OBJ_METHODS (TestComponent, Component)
	DEFINE_INTERFACES
		DEF_INTERFACE (IAudioProcessor)
	END_DEFINE_INTERFACES (Component)
	REFCOUNT_METHODS (Component)

private:
	double gain {1.0};
	bool bypass {false};
};

//------------------------------------------------------------------------
// An editor whose "knob" edits the gain from a run-loop timer, the way a real
// editor reports a user's edit.
class TestView : public CPluginView, public Linux::ITimerHandler
{
public:
	TestView (IComponentHandler* handler) : CPluginView (nullptr), handler (handler)
	{
		ViewRect r (0, 0, 485, 270);
		setRect (r);
	}

	tresult PLUGIN_API isPlatformTypeSupported (FIDString type) override
	{
		return FIDStringsEqual (type, kPlatformTypeX11EmbedWindowID) ? kResultTrue : kResultFalse;
	}

	tresult PLUGIN_API attached (void* parent, FIDString type) override
	{
		if (plugFrame == nullptr)
			return kResultFalse;
		plugFrame->queryInterface (Linux::IRunLoop::iid, reinterpret_cast<void**> (&runLoop));
		if (runLoop == nullptr)
			return kResultFalse;
		runLoop->registerTimer (this, 1);
		return CPluginView::attached (parent, type);
	}

	tresult PLUGIN_API removed () override
	{
		if (runLoop)
		{
			runLoop->unregisterTimer (this);
			runLoop->release ();
			runLoop = nullptr;
		}
		return CPluginView::removed ();
	}

	void PLUGIN_API onTimer () override
	{
		if (!probe ().editorPerformsEdit || handler == nullptr)
			return;
		probe ().editorPerformsEdit = false;
		handler->beginEdit (kGainId);
		handler->performEdit (kGainId, 0.125);
		handler->endEdit (kGainId);
	}

	OBJ_METHODS (TestView, CPluginView)
	DEFINE_INTERFACES
		DEF_INTERFACE (Linux::ITimerHandler)
	END_DEFINE_INTERFACES (CPluginView)
	REFCOUNT_METHODS (CPluginView)

private:
	IComponentHandler* handler;
	Linux::IRunLoop* runLoop {nullptr};
};

//------------------------------------------------------------------------
class TestController : public EditControllerEx1, public IMidiMapping
{
public:
	static FUnknown* create (void*) { return static_cast<IEditController*> (new TestController); }

	tresult PLUGIN_API initialize (FUnknown* context) override
	{
		const tresult result = EditControllerEx1::initialize (context);
		if (result != kResultOk)
			return result;
		addUnit (new Unit (STR16 ("Root"), kRootUnitId, kNoParentUnitId, kProgramId));
		auto* list = new ProgramList (STR16 ("Programs"), kProgramId, kRootUnitId);
		list->addProgram (STR16 ("Alpha"));
		list->addProgram (STR16 ("Beta"));
		list->addProgram (STR16 ("Gamma Program Long Name"));
		addProgramList (list);

		parameters.addParameter (STR16 ("Very Long Parameter Name"), STR16 ("millisec"), 0, 0.5,
		                         ParameterInfo::kCanAutomate, kLongNameId);
		parameters.addParameter (STR16 ("Gain"), STR16 ("dB"), 0, 1.0, ParameterInfo::kCanAutomate, kGainId);
		parameters.addParameter (STR16 ("Meter"), nullptr, 0, 0, ParameterInfo::kIsReadOnly, kMeterId);
		parameters.addParameter (STR16 ("Hidden"), nullptr, 0, 0, ParameterInfo::kIsHidden | ParameterInfo::kIsReadOnly,
		                         kHiddenId);
		parameters.addParameter (STR16 ("Fixed"), nullptr, 3, 0, 0, kFixedId);
		parameters.addParameter (STR16 ("Bypass"), nullptr, 1, 0,
		                         ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, kBypassId);
		parameters.addParameter (list->getParameter ());
		return kResultOk;
	}

	tresult PLUGIN_API setParamNormalized (ParamID id, ParamValue value) override
	{
		const tresult result = EditControllerEx1::setParamNormalized (id, value);
		if (result == kResultOk && id == kFixedId && componentHandler)
		{
			if (Parameter* fixed = parameters.getParameter (kFixedId))
				UString (fixed->getInfo ().title, 128).assign (STR16 ("Renamed"));
			componentHandler->restartComponent (kLatencyChanged | kParamTitlesChanged);
		}
		if (result == kResultOk && id == kProgramId)
		{
			const auto index = static_cast<int> (normalizedParamToPlain (id, value) + 0.5);
			EditControllerEx1::setParamNormalized (kGainId, kProgramGain[index]);
			if (componentHandler)
				componentHandler->restartComponent (kParamValuesChanged);
		}
		return result;
	}

	tresult PLUGIN_API setComponentState (IBStream* state) override
	{
		IBStreamer s (state, kLittleEndian);
		double g = 0;
		int32 b = 0;
		if (!s.readDouble (g) || !s.readInt32 (b))
			return kResultFalse;
		EditControllerEx1::setParamNormalized (kGainId, g);
		EditControllerEx1::setParamNormalized (kBypassId, b ? 1 : 0);
		return kResultOk;
	}

	tresult PLUGIN_API getState (IBStream* state) override
	{
		++probe ().controllerStateWrites;
		IBStreamer s (state, kLittleEndian);
		return s.writeInt32 (editorState) ? kResultOk : kResultFalse;
	}

	tresult PLUGIN_API setState (IBStream* state) override
	{
		++probe ().controllerStateReads;
		IBStreamer s (state, kLittleEndian);
		return s.readInt32 (editorState) ? kResultOk : kResultFalse;
	}

	IPlugView* PLUGIN_API createView (FIDString name) override
	{
		if (!probe ().editorAvailable || !FIDStringsEqual (name, ViewType::kEditor))
			return nullptr;
		return new TestView (componentHandler);
	}

	tresult PLUGIN_API getMidiControllerAssignment (int32 busIndex, int16, CtrlNumber number, ParamID& id) override
	{
		if (busIndex != 0)
			return kResultFalse;
		if (number == kCtrlVolume)
			id = kGainId;
		else if (number == kPitchBend)
			id = kLongNameId;
		else
			return kResultFalse;
		return kResultTrue;
	}

	OBJ_METHODS (TestController, EditControllerEx1)
	DEFINE_INTERFACES
		DEF_INTERFACE (IMidiMapping)
	END_DEFINE_INTERFACES (EditControllerEx1)
	REFCOUNT_METHODS (EditControllerEx1)

private:
	int32 editorState {42};
};

} // namespace

IPluginFactory* createTestFactory ()
{
	PFactoryInfo info ("Test Vendor", "", "", PFactoryInfo::kUnicode);
	auto* factory = new CPluginFactory (info);
	static const PClassInfo2 componentInfo (kComponentClassId, PClassInfo::kManyInstances, kVstAudioEffectClass,
	                                        "Test Fx With A Name Longer Than 32", 0, "Fx|Delay", nullptr, "1.2.3.4",
	                                        kVstVersionString);
	static const PClassInfo controllerInfo (kControllerClassId, PClassInfo::kManyInstances,
	                                        kVstComponentControllerClass, "Test Fx Controller");
	factory->registerClass (&componentInfo, &TestComponent::create);
	factory->registerClass (&controllerInfo, &TestController::create);
	return factory;
}

} // namespace Vst2Test

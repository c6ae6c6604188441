#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

SingleComponentEffect::SingleComponentEffect ()
: audioInputs (kAudio, kInput)
, audioOutputs (kAudio, kOutput)
, eventInputs (kEvent, kInput)
, eventOutputs (kEvent, kOutput)
{
	processSetup.maxSamplesPerBlock = 1024;
	processSetup.processMode = kRealtime;
	processSetup.sampleRate = 44100.0;
	processSetup.symbolicSampleSize = kSample32;
}

SingleComponentEffect::~SingleComponentEffect () = default;

tresult PLUGIN_API SingleComponentEffect::queryInterface (const TUID iid, void** obj)
{
	if (obj == nullptr)
		return kInvalidArgument;
	// Processor and controller are one object: there is no peer to connect to.
	if (FUnknownPrivate::iidEqual (iid, IConnectionPoint::iid))
	{
		*obj = nullptr;
		return kNoInterface;
	}
	QUERY_INTERFACE (iid, obj, IComponent::iid, IComponent)
	QUERY_INTERFACE (iid, obj, IAudioProcessor::iid, IAudioProcessor)
	return EditControllerEx1::queryInterface (iid, obj);
}

tresult PLUGIN_API SingleComponentEffect::initialize (FUnknown* context)
{
	return EditControllerEx1::initialize (context);
}

tresult PLUGIN_API SingleComponentEffect::terminate ()
{
	parameters.removeAll ();
	removeAllBusses ();
	// Releases the units, program lists, component handler and host context.
	return EditControllerEx1::terminate ();
}

//---Buses---------------------------------------------------------------------

AudioBus* SingleComponentEffect::addAudioInput (const TChar* name, SpeakerArrangement arr,
                                                BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	audioInputs.push_back (IPtr<Bus> (bus, false));
	return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput (const TChar* name, SpeakerArrangement arr,
                                                 BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	audioOutputs.push_back (IPtr<Bus> (bus, false));
	return bus;
}

EventBus* SingleComponentEffect::addEventInput (const TChar* name, int32 channels,
                                                BusType busType, int32 flags)
{
	auto* bus = new EventBus (name, busType, flags, channels);
	eventInputs.push_back (IPtr<Bus> (bus, false));
	return bus;
}

EventBus* SingleComponentEffect::addEventOutput (const TChar* name, int32 channels,
                                                 BusType busType, int32 flags)
{
	auto* bus = new EventBus (name, busType, flags, channels);
	eventOutputs.push_back (IPtr<Bus> (bus, false));
	return bus;
}

BusList* SingleComponentEffect::getBusList (MediaType type, BusDirection dir)
{
	if (type == kAudio)
		return dir == kInput ? &audioInputs : &audioOutputs;
	if (type == kEvent)
		return dir == kInput ? &eventInputs : &eventOutputs;
	return nullptr;
}

Bus* SingleComponentEffect::getBus (MediaType type, BusDirection dir, int32 index)
{
	BusList* list = getBusList (type, dir);
	if (list == nullptr || index < 0 || index >= static_cast<int32> (list->size ()))
		return nullptr;
	return list->at (static_cast<size_t> (index));
}

AudioBus* SingleComponentEffect::getAudioInput (int32 index)
{
	return FCast<AudioBus> (getBus (kAudio, kInput, index));
}

AudioBus* SingleComponentEffect::getAudioOutput (int32 index)
{
	return FCast<AudioBus> (getBus (kAudio, kOutput, index));
}

EventBus* SingleComponentEffect::getEventInput (int32 index)
{
	return FCast<EventBus> (getBus (kEvent, kInput, index));
}

EventBus* SingleComponentEffect::getEventOutput (int32 index)
{
	return FCast<EventBus> (getBus (kEvent, kOutput, index));
}

tresult SingleComponentEffect::removeAudioBusses ()
{
	audioInputs.clear ();
	audioOutputs.clear ();
	return kResultOk;
}

tresult SingleComponentEffect::removeEventBusses ()
{
	eventInputs.clear ();
	eventOutputs.clear ();
	return kResultOk;
}

tresult SingleComponentEffect::removeAllBusses ()
{
	removeAudioBusses ();
	removeEventBusses ();
	return kResultOk;
}

//---IEditController-----------------------------------------------------------

tresult PLUGIN_API SingleComponentEffect::setEditorState (IBStream* /*state*/)
{
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::getEditorState (IBStream* /*state*/)
{
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::getParameterInfo (int32 paramIndex, ParameterInfo& info)
{
	// The container's index lookup throws on a bad index.
	if (paramIndex < 0 || paramIndex >= parameters.getParameterCount ())
		return kResultFalse;
	return EditControllerEx1::getParameterInfo (paramIndex, info);
}

tresult PLUGIN_API SingleComponentEffect::setParamNormalized (ParamID tag, ParamValue value)
{
	Parameter* parameter = getParameterObject (tag);
	if (parameter == nullptr)
		return kResultFalse;
	// A NaN would pass the parameter's clamp unchanged.
	if (!std::isfinite (value))
		return kResultFalse;
	parameter->setNormalized (value); // clamps to 0..1, notifies dependents on a change
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getParamStringByValue (ParamID tag,
                                                                 ParamValue valueNormalized,
                                                                 String128 string)
{
	Parameter* parameter = getParameterObject (tag);
	if (parameter == nullptr || string == nullptr || !std::isfinite (valueNormalized))
		return kResultFalse;
	// A list parameter indexes its strings with the value unchecked (and throws past the end).
	if (valueNormalized < 0.0)
		valueNormalized = 0.0;
	else if (valueNormalized > 1.0)
		valueNormalized = 1.0;
	parameter->toString (valueNormalized, string);
	return kResultTrue;
}

//---IUnitInfo-----------------------------------------------------------------

tresult PLUGIN_API SingleComponentEffect::getUnitInfo (int32 unitIndex, UnitInfo& info)
{
	// The base's lookup throws on a bad index.
	if (unitIndex < 0 || unitIndex >= static_cast<int32> (units.size ()))
		return kResultFalse;
	return EditControllerEx1::getUnitInfo (unitIndex, info);
}

//---IComponent----------------------------------------------------------------

tresult PLUGIN_API SingleComponentEffect::getControllerClassId (TUID /*classID*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setIoMode (IoMode /*mode*/)
{
	return kNotImplemented;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount (MediaType type, BusDirection dir)
{
	BusList* list = getBusList (type, dir);
	return list ? static_cast<int32> (list->size ()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo (MediaType type, BusDirection dir,
                                                      int32 index, BusInfo& info)
{
	Bus* bus = getBus (type, dir, index);
	if (bus == nullptr)
		return kInvalidArgument;
	info.mediaType = type;
	info.direction = dir;
	return bus->getInfo (info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo (RoutingInfo& /*inInfo*/,
                                                          RoutingInfo& /*outInfo*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus (MediaType type, BusDirection dir,
                                                       int32 index, TBool state)
{
	Bus* bus = getBus (type, dir, index);
	if (bus == nullptr)
		return kInvalidArgument;
	bus->setActive (state);
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive (TBool /*state*/)
{
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setState (IBStream* /*state*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::getState (IBStream* /*state*/)
{
	return kNotImplemented;
}

//---IAudioProcessor-----------------------------------------------------------

tresult PLUGIN_API SingleComponentEffect::setBusArrangements (SpeakerArrangement* inputs,
                                                              int32 numIns,
                                                              SpeakerArrangement* outputs,
                                                              int32 numOuts)
{
	if (numIns < 0 || numOuts < 0)
		return kInvalidArgument;
	if ((numIns > 0 && inputs == nullptr) || (numOuts > 0 && outputs == nullptr))
		return kInvalidArgument;
	if (numIns > static_cast<int32> (audioInputs.size ()) ||
	    numOuts > static_cast<int32> (audioOutputs.size ()))
		return kResultFalse;

	for (int32 i = 0; i < numIns; ++i)
	{
		if (auto* bus = FCast<AudioBus> (audioInputs.at (static_cast<size_t> (i)).get ()))
			bus->setArrangement (inputs[i]);
	}
	for (int32 i = 0; i < numOuts; ++i)
	{
		if (auto* bus = FCast<AudioBus> (audioOutputs.at (static_cast<size_t> (i)).get ()))
			bus->setArrangement (outputs[i]);
	}
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement (BusDirection dir, int32 index,
                                                             SpeakerArrangement& arr)
{
	auto* bus = FCast<AudioBus> (getBus (kAudio, dir, index));
	if (bus == nullptr)
		return kInvalidArgument;
	arr = bus->getArrangement ();
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize (int32 symbolicSampleSize)
{
	return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API SingleComponentEffect::getLatencySamples ()
{
	return 0;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing (ProcessSetup& setup)
{
	if (canProcessSampleSize (setup.symbolicSampleSize) != kResultTrue)
		return kResultFalse;
	processSetup = setup;
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing (TBool /*state*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::process (ProcessData& /*data*/)
{
	return kNotImplemented;
}

uint32 PLUGIN_API SingleComponentEffect::getTailSamples ()
{
	return 0;
}

} // namespace Vst
} // namespace Steinberg

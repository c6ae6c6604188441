#include "Processor.h"

#include "CVSTMidiEventList.h"
#include "CVSTParamUpdateQueue.h"
#include "LogParameter.h"
#include "ParameterText.h"
#include "PeakParameter.h"
#include "ShortTitles.h"
#include "VoltOctaveParameter.h"

#include "effect/CStDelayFil.h"
#if TARNWICK_HAS_EDITOR
#include "vstgui/lib/cframe.h"
#endif

#include "pluginterfaces/base/ustring.h"

#include <cstring>
#include <new>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Adds a RangeParameter with an ASCII title, empty units and unit 0.
void addRangeParameter (ParameterContainer& parameters, const char* title, ParamID id,
                        ParamValue defaultPlain, int32 flags, int32 precision)
{
	String128 title16 {};
	copyUtf8 (title, title16, 128);
	auto* parameter = new RangeParameter (title16, id, nullptr, 0., 1., defaultPlain, 0, flags, 0);
	if (precision >= 0)
		parameter->setPrecision (precision);
	parameters.addParameter (parameter);
}

} // namespace

Processor::Processor ()
: delegateMessage {}
, latency (0)
, effect (nullptr)
, joystickX (0.5)
, joystickY (0.5)
, bypass (false)
, auxInputWanted (false)
, updateQueues (nullptr)
, updateQueueCount (0)
, updateGranularity (1)
, sampleAccurateUpdates (false)
, midiEventList (nullptr)
, prepared (false)
, initialized (false)
{
}

Processor::~Processor ()
{
	// terminate normally releases these; a host that never called it still
	// must not leak them.
	if (updateQueues)
	{
		for (int32 i = 0; i < updateQueueCount; ++i)
			delete updateQueues[i];
		delete[] updateQueues;
	}
	delete midiEventList;
	delete effect;
}

FUnknown* Processor::createInstance (void*)
{
	auto* processor = new (std::nothrow) Processor;
	if (!processor)
		return nullptr;
	return static_cast<IAudioProcessor*> (processor);
}

CPlugIn* Processor::createEffect ()
{
	return new (std::nothrow) CStDelayFil;
}

tresult PLUGIN_API Processor::queryInterface (const TUID iid, void** obj)
{
	if (FUnknownPrivate::iidEqual (iid, IMidiMapping::iid))
	{
		addRef ();
		*obj = static_cast<IMidiMapping*> (this);
		return kResultOk;
	}
	return SingleComponentEffect::queryInterface (iid, obj);
}

tresult PLUGIN_API Processor::initialize (FUnknown* context)
{
	// A second initialize without terminate must not publish everything twice.
	if (initialized)
		return kResultFalse;
	const tresult result = SingleComponentEffect::initialize (context);
	initialized = result == kResultOk;
	pendingRestart.findRunLoop (context);

	// A second initialize keeps the effect it has.
	if (!effect)
	{
		effect = createEffect ();
		if (effect)
		{
			effect->initializeEffect ();
			const float effectLatency = effect->options.latencySamples;
			latency = effectLatency > 0.f && effectLatency < 4294967295.f
			              ? static_cast<uint32> (effectLatency)
			              : 0;
			auxInputWanted = effect->options.wantsAuxInput;
			sampleAccurateUpdates = effect->options.wantsSampleAccurateAutomation;
			updateGranularity = effect->options.updateGranularity;
		}
	}

	if (result == kResultOk)
	{
		addAudioOutput (STR16 ("Audio Output"), SpeakerArr::kStereo);
		if (!effect || !effect->noAudioInput)
			addAudioInput (STR16 ("AudioInput"), SpeakerArr::kStereo);
		if (auxInputWanted)
			addAudioInput (STR16 ("AuxInput"), SpeakerArr::kStereo, kAux);
		addEventInput (STR16 ("Event Input"), 16);

		if (effect)
		{
			if (!midiEventList)
				midiEventList = new (std::nothrow) CVSTMidiEventList (effect);
			if (midiEventList)
			{
				EffectMessage message {};
				message.midiEventList = midiEventList;
				effect->handleMessage (kMessageMidiEventList, &message);
			}
			addControlParameters (0, effect->controlsOfFirstRelease ());
			latestValues.reset (*effect, bypass);
			programValueCount = effect->controlCount () + 2;
			programValues.reset (new (std::nothrow)
			                         std::atomic<double>[static_cast<size_t> (programValueCount)]);
			if (!programValues)
				programValueCount = 0;
			addRangeParameter (parameters, "VectorJoystick X", kJoystickXId, 0.5,
			                   ParameterInfo::kCanAutomate, 2);
			addRangeParameter (parameters, "VectorJoystick Y", kJoystickYId, 0.5,
			                   ParameterInfo::kCanAutomate, 2);
			for (int32 k = 0; k < kAssignButtonCount; ++k)
			{
				const char* label = effect->assignButtonLabels[k];
				if (label && label[0])
					addRangeParameter (parameters, label, kAssignButton1Id + k, 0.,
					                   ParameterInfo::kCanAutomate, 0);
			}
		}
		addAdapterParameters ();
	}
	// After a failed base initialize the units are still published, once.
	if (units.empty ())
		addUnitsAndPresets ();
	// Controls added after the first release come last, so that hosts that know parameters by
	// their index (saved automation, VST 2 sessions) find every earlier one where it was.
	if (result == kResultOk && effect)
		addControlParameters (effect->controlsOfFirstRelease (), effect->controlCount ());
	assignShortTitles (parameters);
	return result;
}

void Processor::addControlParameters (int32 begin, int32 end)
{
	const int32 count = effect->controlCount ();
	if (sampleAccurateUpdates && count > 0 && !updateQueues)
	{
		updateQueues = new (std::nothrow) CVSTParamUpdateQueue*[count];
		if (updateQueues)
		{
			updateQueueCount = count;
			for (int32 i = 0; i < count; ++i)
				updateQueues[i] = nullptr;
		}
	}

	for (int32 i = begin; i < end; ++i)
	{
		const ControlDescriptor* d = effect->controlAt (i);
		if (!d)
			continue;
		const double defaultPlain = effect->getPlainValue (i);
		if (updateQueues && !updateQueues[i])
			updateQueues[i] = new (std::nothrow)
			    CVSTParamUpdateQueue (&updateGranularity, d->minValue, d->maxValue);

		String128 title {};
		String128 units {};
		copyUtf8 (d->controlName, title, 128);
		copyUtf8 (d->unitsText, units, 128);

		Parameter* parameter = nullptr;
		switch (d->controlType)
		{
			case kControlContinuous:
			case kControlEnumerated:
			case kControlContinuousAlt:
			case kControlEnumeratedAlt:
				if (d->dataType == kDataEnumIndex)
				{
					auto* list = new StringListParameter (
					    title, i, nullptr, ParameterInfo::kCanAutomate | ParameterInfo::kIsList, 0);
					char item[kControlTextCapacity];
					for (int k = 0; d->enumChoice (k, item, sizeof (item)); ++k)
					{
						String128 item16 {};
						if (std::strcmp (item, "SWITCH_OFF") == 0)
							copyUtf8 ("OFF", item16, 128);
						else if (std::strcmp (item, "SWITCH_ON") == 0)
							copyUtf8 ("ON", item16, 128);
						else
							copyUtf8 (item, item16, 128);
						list->appendString (item16);
					}
					// A list whose control starts elsewhere than its first item starts there too.
					if (defaultPlain > 0.)
					{
						list->getInfo ().defaultNormalizedValue = list->toNormalized (defaultPlain);
						list->setNormalized (list->getInfo ().defaultNormalizedValue);
					}
					parameter = list;
				}
				else
				{
					if (d->logTaper)
						parameter = new LogParameter (title, i, units, d->minValue, d->maxValue,
						                              defaultPlain, 0, ParameterInfo::kCanAutomate, 0);
					else if (d->voltOctaveTaper)
						parameter = new VoltOctaveParameter (title, i, units, d->minValue, d->maxValue,
						                                     defaultPlain, 0,
						                                     ParameterInfo::kCanAutomate, 0);
					else
						parameter = new RangeParameter (title, i, units, d->minValue, d->maxValue,
						                                defaultPlain, 0, ParameterInfo::kCanAutomate, 0);
					parameter->setPrecision (d->dataType == kDataInt32
					                             ? 0
					                             : static_cast<int32> (d->displayPrecision));
				}
				break;
			case kControlMeter:
				parameter = new PeakParameter (ParameterInfo::kIsReadOnly, i, title);
				parameter->setNormalized (0.);
				meterIndices.push_back (i);
				break;
			default:
				break;
		}
		if (parameter)
			parameters.addParameter (parameter);
	}
}

void Processor::addAdapterParameters ()
{
	// Bypass keeps the SDK's default precision.
	addRangeParameter (parameters, "Bypass", kBypassId, 0.,
	                   ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, -1);
	addRangeParameter (parameters, "PitchBend", kPitchBendId, 0., ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "MIDI Vol", kMidiVolumeId, 0., ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "MIDI Pan", kMidiPanId, 0., ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "MIDI Mod Wheel", kModWheelId, 0., ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "MIDI Expression", kMidiExpressionId, 0.,
	                   ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "MIDI Channel Pressure", kChannelPressureId, 0.,
	                   ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "MIDI Sustain Pedal", kSustainPedalId, 0.,
	                   ParameterInfo::kCanAutomate, 1);
	addRangeParameter (parameters, "All Notes Off", kAllNotesOffId, 0., ParameterInfo::kCanAutomate, 1);
}

void Processor::addUnitsAndPresets ()
{
	int32 presetCount = 0;
	if (effect)
	{
		for (int32 slot = 0; slot < kPresetSlotCount; ++slot)
			if (effect->presetNames[slot] && effect->presetNames[slot][0])
				++presetCount;
	}

	addUnit (new Unit (STR16 ("RootUnit"), 1, 0, kNoProgramListId));
	if (presetCount < 1)
		return;
	addUnit (new Unit (STR16 ("PresetsUnit"), 0, 1, kPresetsParamId));

	auto* presets = new StringListParameter (STR16 ("Factory Presets"), kPresetsParamId, nullptr,
	                                         ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, 0);
	for (int32 slot = 0; slot < kPresetSlotCount; ++slot)
	{
		const char* name = effect->presetNames[slot];
		if (!name || !name[0])
			continue;
		String128 name16 {};
		copyUtf8 (name, name16, 128);
		presets->appendString (name16);
	}
	parameters.addParameter (presets);
}

tresult PLUGIN_API Processor::terminate ()
{
	meterIndices.clear ();
	if (updateQueues)
	{
		for (int32 i = 0; i < updateQueueCount; ++i)
		{
			// The effect must not keep reading a queue that is gone.
			if (effect)
				if (ControlDescriptor* d = effect->controlAt (i))
					d->updateQueue = nullptr;
			delete updateQueues[i];
		}
		delete[] updateQueues;
		updateQueues = nullptr;
		updateQueueCount = 0;
	}
	if (midiEventList)
	{
		if (effect)
		{
			EffectMessage message {};
			message.midiEventList = nullptr;
			effect->handleMessage (kMessageMidiEventList, &message);
		}
		delete midiEventList;
		midiEventList = nullptr;
	}
	prepared = false;
	initialized = false;
	pendingRestart.stop ();
#if TARNWICK_HAS_EDITOR
	// Run-loop registrations an editor could not undo inside the host's own callback go now:
	// the host may unload the module next.
	VSTGUI::idle ();
#endif
	return SingleComponentEffect::terminate ();
}

tresult PLUGIN_API Processor::setKnobMode (KnobMode mode)
{
	SingleComponentEffect::setKnobMode (mode);
	return kResultOk;
}

tresult PLUGIN_API Processor::setComponentHandler (IComponentHandler* handler)
{
	const tresult result = SingleComponentEffect::setComponentHandler (handler);
	// Some hosts offer their run loop here rather than through the context.
	if (initialized)
		pendingRestart.findRunLoop (handler);
	return result;
}

ParamValue PLUGIN_API Processor::getParamNormalized (ParamID tag)
{
	pendingRestart.deliverIfDue ();
	return SingleComponentEffect::getParamNormalized (tag);
}

tresult PLUGIN_API Processor::getParameterInfo (int32 paramIndex, ParameterInfo& info)
{
	pendingRestart.deliverIfDue ();
	return SingleComponentEffect::getParameterInfo (paramIndex, info);
}

tresult PLUGIN_API Processor::getParamStringByValue (ParamID tag, ParamValue valueNormalized,
                                                     String128 string)
{
	pendingRestart.deliverIfDue ();
	return SingleComponentEffect::getParamStringByValue (tag, valueNormalized, string);
}

tresult PLUGIN_API Processor::getMidiControllerAssignment (int32 busIndex, int16 /*channel*/,
                                                           CtrlNumber midiControllerNumber,
                                                           ParamID& id)
{
	if (!effect || busIndex != 0)
		return kResultFalse;
	uint32_t target = 0;
	if (!findMidiControllerTarget (*effect, midiControllerNumber, target))
	{
		id = 0;
		return kResultFalse;
	}
	id = static_cast<ParamID> (target);
	return kResultOk;
}

} // namespace Vire2VUR3

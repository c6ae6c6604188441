// State persistence, the program list and the controller side of parameter changes.
#include "Processor.h"

#include "RangedParameterInfo.h"
#include "SavedState.h"
#include "adapter/ControlChange.h"
#include "adapter/Tapers.h"

#include "pluginterfaces/base/ustring.h"

#include <cmath>

namespace Vire2VUR3 {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The automatable adapter parameters that the state holds beside the controls, in the order of
// its host values: a restore brings them back as they were saved.
const ParamID kSavedHostParameterIds[StateImage::kHostValueCount] = {
    kAssignButton1Id,  kAssignButton2Id, kAssignButton3Id,  kPitchBendId,       kModWheelId,   kMidiVolumeId,
    kMidiPanId,        kMidiExpressionId, kSustainPedalId,   kChannelPressureId, kAllNotesOffId};

} // namespace

tresult PLUGIN_API Processor::getState (IBStream* state)
{
	pendingRestart.deliverIfDue ();
	if (!effect)
		return kResultFalse;
	// The values last asked for, also those no block has carried yet (a host saving at once).
	const std::vector<float> values = latestValues.values ();
	const bool haveValues = static_cast<int32> (values.size ()) == effect->controlCount ();
	const bool saveBypass = latestValues.bypass (bypass);
	float hostValues[StateImage::kHostValueCount];
	for (int32 k = 0; k < StateImage::kHostValueCount; ++k)
		hostValues[k] = static_cast<float> (SingleComponentEffect::getParamNormalized (kSavedHostParameterIds[k]));
	return SavedState::write (state, *effect, saveBypass, haveValues ? values.data () : nullptr, hostValues)
	           ? kResultOk
	           : kResultFalse;
}

void Processor::restoreHostParameters (const StateImage& saved)
{
	if (!saved.hasHostValues)
		return;
	for (int32 k = 0; k < StateImage::kHostValueCount; ++k)
		if (getParameterObject (kSavedHostParameterIds[k]))
			SingleComponentEffect::setParamNormalized (kSavedHostParameterIds[k], saved.hostValues[k]);
}

tresult PLUGIN_API Processor::setState (IBStream* state)
{
	if (!effect)
		return kResultFalse;
	SavedState saved;
	if (!saved.read (state, *effect))
		return kResultFalse;

	saved.applyTo (*effect);
	// A program selected before the restore is not reported over it.
	programToReport.store (false);
	// What the restore wrote is what a save right after it must carry.
	const int32 count = static_cast<int32> (saved.controlValues.size ());
	for (int32 i = 0; i < count; ++i)
		if (saved.hasValue[static_cast<size_t> (i)])
			latestValues.setFromHost (i, static_cast<float> (effect->valueFromPlain (
			                                 i, static_cast<float> (saved.controlValues[static_cast<size_t> (i)]))));
	bypass = saved.bypass;
	latestValues.setBypassFromHost (saved.bypass);
	restoreHostParameters (saved);
	return kResultOk;
}

tresult PLUGIN_API Processor::setComponentState (IBStream* state)
{
	if (!effect)
		return kResultFalse;
	SavedState saved;
	if (!saved.read (state, *effect))
		return kResultFalse;
	const DeferredRestart::Hold hold (pendingRestart);
	programToReport.store (false);

	const int32 count = static_cast<int32> (saved.controlValues.size ());
	for (int32 i = 0; i < count; ++i)
	{
		if (!saved.hasValue[static_cast<size_t> (i)])
			continue;
		if (Parameter* parameter = getParameterObject (static_cast<ParamID> (i)))
			SingleComponentEffect::setParamNormalized (
			    static_cast<ParamID> (i),
			    parameter->toNormalized (saved.controlValues[static_cast<size_t> (i)]));
	}
	if (Parameter* parameter = getParameterObject (kBypassId))
		SingleComponentEffect::setParamNormalized (kBypassId,
		                                           parameter->toNormalized (saved.bypass ? 1. : 0.));
	if (saved.hasJoystick)
	{
		if (Parameter* parameter = getParameterObject (kJoystickXId))
			SingleComponentEffect::setParamNormalized (
			    kJoystickXId, parameter->toNormalized ((saved.joystickX + 1.) * 0.5));
		if (Parameter* parameter = getParameterObject (kJoystickYId))
			SingleComponentEffect::setParamNormalized (
			    kJoystickYId, parameter->toNormalized ((saved.joystickY + 1.) * 0.5));
	}
	restoreHostParameters (saved);
	refreshDependentControls ();
	return kResultOk;
}

void Processor::sendParameterMessage (ParamID id, ParamValue value)
{
	if (!effect)
		return;
	GuiMessage message {};
	message.messageCode = kGuiParameterChanged;
	message.parameterId = static_cast<int32_t> (id);
	message.value = value;
	effect->handleGuiMessage (&message);
}

Parameter* Processor::presetsParameter ()
{
	return getParameterObject (kPresetsParamId);
}

tresult PLUGIN_API Processor::setParamNormalized (ParamID tag, ParamValue value)
{
	// Values that are not numbers never reach the parameters or the effect.
	if (!std::isfinite (value))
		return kResultFalse;
	value = clampNormalized (value);
	const DeferredRestart::Hold hold (pendingRestart);

	const tresult result = SingleComponentEffect::setParamNormalized (tag, value);
	sendParameterMessage (tag, value);
	// The processor receives the value with a later block; a save before that must have it.
	if (effect && tag < static_cast<ParamID> (effect->controlCount ()))
		if (const ControlDescriptor* d = effect->controlAt (static_cast<int32> (tag)))
			latestValues.setFromHost (static_cast<int32> (tag),
			                          static_cast<float> (effect->valueFromNormalized (
			                              static_cast<int32> (tag), controlFractionOfHostValue (*d, value))));
	// A program report still to come carries what the host set since.
	if (result == kResultOk && programValues)
	{
		const int32 controls = programValueCount - 2;
		if (tag < static_cast<ParamID> (controls))
			programValues[static_cast<size_t> (tag)].store (value);
		else if (tag == kJoystickXId || tag == kJoystickYId)
			programValues[static_cast<size_t> (controls + (tag == kJoystickXId ? 0 : 1))].store (value);
	}
	if (tag == kBypassId && result == kResultOk)
		latestValues.setBypassFromHost (value != 0.);
	if (result != kResultOk || tag != kPresetsParamId)
		return result;

	Parameter* presets = presetsParameter ();
	if (!effect || !presets)
		return result;
	selectPreset (static_cast<int32> (presets->toPlain (value)));
	return result;
}

void Processor::selectPreset (int32 slot)
{
	if (slot < 0 || slot >= kPresetSlotCount)
		return;
	const int32 count = effect->controlCount ();
	for (int32 i = 0; i < count; ++i)
	{
		const ControlDescriptor* d = effect->controlAt (i);
		if (!d)
			continue;
		const float fraction = presetFraction (*d, slot);
		double hostValue = fraction;
		if (d->logTaper)
			hostValue = logTaperHostValue (fraction);
		else if (d->voltOctaveTaper)
			hostValue = voltOctaveHostValue (static_cast<float> (d->presetValues[slot]), d->minValue,
			                                 d->maxValue);
		if (!std::isfinite (hostValue))
			hostValue = 0.;
		effect->setNormalizedValue (i, fraction, false);
		if (i < programValueCount)
			programValues[static_cast<size_t> (i)].store (clampNormalized (hostValue));
		latestValues.setFromHost (i, static_cast<float> (effect->valueFromNormalized (i, fraction)));
		SingleComponentEffect::setParamNormalized (static_cast<ParamID> (i), hostValue);
		sendParameterMessage (static_cast<ParamID> (i), clampNormalized (hostValue));
	}

	const double a = effect->joystickX.presetValues[slot];
	const double b = effect->joystickY.presetValues[slot];
	const double x = (a - b) * 0.5000755179441972;
	const double y = (a + b) * 0.5000755179441972;
	effect->setJoystickX (static_cast<float> (x), 1);
	SingleComponentEffect::setParamNormalized (kJoystickXId, (x + 1.) * 0.5);
	sendParameterMessage (kJoystickXId, clampNormalized ((x + 1.) * 0.5));
	effect->setJoystickY (static_cast<float> (y), 1);
	SingleComponentEffect::setParamNormalized (kJoystickYId, (y + 1.) * 0.5);
	sendParameterMessage (kJoystickYId, clampNormalized ((y + 1.) * 0.5));

	if (programValueCount >= 2)
	{
		programValues[static_cast<size_t> (programValueCount - 2)].store (
		    clampNormalized ((x + 1.) * 0.5));
		programValues[static_cast<size_t> (programValueCount - 1)].store (
		    clampNormalized ((y + 1.) * 0.5));
		programToReport.store (true);
	}
	announceMovedParameters ();
	refreshDependentControls ();
}

void Processor::announceMovedParameters ()
{
	// Not from inside the host's call: a host may hold a lock there that its restart handling
	// takes again (Ardour 7.3 hangs). (Telling it by edits instead would be worse: hosts also
	// select the program while loading a session, before the saved state, and would replay
	// the edits over that state.)
	if (componentHandler)
		pendingRestart.request (kParamValuesChanged);
}

void Processor::refreshDependentControls ()
{
	if (!effect)
		return;
	const int32 count = effect->controlCount ();
	for (int32 k = 0; k < count; ++k)
	{
		const ControlDescriptor* d = effect->controlAt (k);
		if (!d)
			continue;
		const ParamID id = static_cast<ParamID> (k);
		const ParamValue plain = normalizedParamToPlain (id, getParamNormalized (id));
		ControlUpdateNode* updates = nullptr;
		if (effect->getDependentUpdates (d->controlId, static_cast<float> (plain), &updates, true))
		{
			for (ControlUpdateNode* node = updates; node; node = node->next)
			{
				for (int32 j = 0; j < count; ++j)
				{
					const ControlDescriptor* target = effect->controlAt (j);
					if (!target || target->controlId != node->controlId)
						continue;
					const ParamID targetId = static_cast<ParamID> (j);
					const ParamValue normalized = plainParamToNormalized (targetId, node->plainValue);
					setParamNormalized (targetId, normalized);
					performEdit (targetId, clampNormalized (normalized));
					break;
				}
			}
		}
		effect->freeUpdateList (&updates);
	}
}

int32 PLUGIN_API Processor::getProgramListCount ()
{
	return presetsParameter () ? 1 : 0;
}

tresult PLUGIN_API Processor::getProgramListInfo (int32 listIndex, ProgramListInfo& info)
{
	Parameter* presets = presetsParameter ();
	if (!presets || listIndex != 0)
		return kResultFalse;
	info.id = kPresetsParamId;
	info.programCount = static_cast<int32> (presets->toPlain (1.)) + 1;
	UString (info.name, str16BufferSize (String128)).assign (STR16 ("Presets"));
	return kResultOk;
}

tresult PLUGIN_API Processor::getProgramName (ProgramListID listId, int32 programIndex,
                                              String128 name)
{
	Parameter* presets = presetsParameter ();
	if (listId != kPresetsParamId || !presets)
		return kResultFalse;
	// Only indices of the list have names.
	if (programIndex < 0 || programIndex > presets->getInfo ().stepCount)
		return kResultFalse;
	presets->toString (presets->toNormalized (programIndex), name);
	return kResultOk;
}

} // namespace Vire2VUR3

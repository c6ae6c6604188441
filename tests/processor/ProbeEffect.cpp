#include "ProbeEffect.h"

#include "effect/IMidiEventList.h"
#include "effect/IParamUpdateQueue.h"

#include <cmath>
#include <limits>

ProbeEffect::ProbeEffect (const std::vector<ProbeControl>& controls,
                          const std::vector<const char*>& names)
: specs (controls)
{
	const size_t count = controls.size ();
	floats.assign (count, 0.f);
	doubles.assign (count, 0.);
	ints.assign (count, 0);
	enums.assign (count, 0u);
	meters.assign (count, 0.f);
	queueValues.assign (count, {});

	for (size_t position = 0; position < count; ++position)
	{
		const ProbeControl& control = controls[position];
		ControlDescriptor d;
		d.controlType = control.controlType;
		d.controlId = control.controlId;
		d.dataType = control.dataType;
		d.minValue = control.minValue;
		d.maxValue = control.maxValue;
		d.defaultValue = control.defaultValue;
		d.setControlName (control.name.c_str ());
		d.setUnitsText (control.units.c_str ());
		d.setEnumString (control.choices.c_str ());
		d.logTaper = control.logTaper;
		d.voltOctaveTaper = control.voltOctaveTaper;
		d.smoothingEnabled = control.smoothing;
		d.midiControlEnabled = control.midiControlEnabled;
		d.midiControlNumber = control.midiControlNumber;
		d.displayPrecision = control.displayPrecision;
		d.guiIndex = static_cast<int32_t> (position);
		for (size_t slot = 0; slot < control.presets.size () && slot < kPresetSlotCount; ++slot)
			d.presetValues[slot] = control.presets[slot];
		switch (control.dataType)
		{
			case kDataInt32:
				ints[position] = static_cast<int32_t> (control.defaultValue);
				d.intVariable = &ints[position];
				break;
			case kDataFloat:
				floats[position] = control.defaultValue;
				d.floatVariable = &floats[position];
				break;
			case kDataDouble:
				doubles[position] = control.defaultValue;
				d.doubleVariable = &doubles[position];
				break;
			case kDataEnumIndex:
				enums[position] = static_cast<uint32_t> (control.defaultValue);
				d.enumVariable = &enums[position];
				break;
			default:
				break;
		}
		if (control.controlType == kControlMeter)
			d.meterVariable = &meters[position];
		controlList.appendControl (d);
	}
	setFrameworkDefaults ();
	for (size_t slot = 0; slot < names.size () && slot < kPresetSlotCount; ++slot)
		presetNames[slot] = names[slot];
	options.updateGranularity = 1;
	buildIndexTables ();
}

ProbeEffect::~ProbeEffect () = default;

int ProbeEffect::countCalls (const std::string& what) const
{
	int count = 0;
	for (const auto& call : calls)
		if (call.what == what)
			++count;
	return count;
}

bool ProbeEffect::prepareToProcess ()
{
	calls.push_back ({"prepare", sampleRate, 0, 0, 0., framesProcessed});
	if (!prepareResult)
		return false;
	return CPlugIn::prepareToProcess ();
}

bool ProbeEffect::processFrame (float* inputFrame, float* outputFrame, uint32_t inputChannels,
                                uint32_t outputChannels)
{
	if (readUpdateQueues)
	{
		const int count = controlCount ();
		for (int position = 0; position < count; ++position)
		{
			ControlDescriptor* d = controlAt (position);
			double value = std::numeric_limits<double>::quiet_NaN ();
			if (d && d->updateQueue)
			{
				double read = 0.;
				if (d->updateQueue->getNextValue (&read))
					value = read;
				queueValues[static_cast<size_t> (position)].push_back (value);
			}
		}
	}
	if (fireMidiFromList && midiList)
		fireResults.push_back (midiList->fireMidiEvents (framesProcessed) ? 1 : 0);
	for (uint32_t c = 0; c < outputChannels && c < 2; ++c)
		outputFrame[c] = (c < inputChannels ? inputFrame[c] : 0.f) * gain;
	++framesProcessed;
	return true;
}

bool ProbeEffect::onControlChange (uint32_t controlId)
{
	calls.push_back ({"control", controlId, 0, 0, 0., framesProcessed});
	return true;
}

bool ProbeEffect::processChannelBuffers (float** inputs, float** outputs, uint32_t channelCount,
                                         uint32_t frameCount)
{
	calls.push_back ({"buffers", channelCount, frameCount, 0, 0., framesProcessed});
	for (uint32_t c = 0; c < channelCount; ++c)
		for (uint32_t i = 0; i < frameCount; ++i)
			outputs[c][i] = inputs[c][i] * gain + 0.25f;
	return true;
}

bool ProbeEffect::midiNoteOn (uint32_t channel, uint32_t note, uint32_t velocity)
{
	calls.push_back ({"noteOn", channel, note, velocity, 0., framesProcessed});
	return true;
}

bool ProbeEffect::midiNoteOff (uint32_t channel, uint32_t note, uint32_t velocity, bool allNotesOff)
{
	calls.push_back ({allNotesOff ? "allNotesOff" : "noteOff", channel, note, velocity, 0., framesProcessed});
	return true;
}

bool ProbeEffect::midiModWheel (uint32_t channel, uint32_t value)
{
	calls.push_back ({"modWheel", channel, value, 0, 0., framesProcessed});
	return true;
}

bool ProbeEffect::midiPitchBend (uint32_t channel, int32_t bend, float bendNormalized)
{
	calls.push_back ({"pitchBend", channel, bend, 0, bendNormalized, framesProcessed});
	return true;
}

bool ProbeEffect::midiMessage (uint8_t channel, uint8_t kind, uint8_t data1, uint8_t data2)
{
	calls.push_back ({"midi", channel, kind, data1, static_cast<double> (data2), framesProcessed});
	return true;
}

bool ProbeEffect::handleMessage (uint32_t message, EffectMessage* effectMessage)
{
	if (message == kMessageMidiEventList && effectMessage)
		midiList = effectMessage->midiEventList;
	if (message == kMessageHostInfo && effectMessage && effectMessage->hostInfo)
		hostInfos.push_back (*effectMessage->hostInfo);
	if (message == kMessageHostInfo && effectMessage && !effectMessage->hostInfo)
		calls.push_back ({"timingWithoutBlock", 0, 0, 0, 0., framesProcessed});
	return CPlugIn::handleMessage (message, effectMessage);
}

bool ProbeEffect::getDependentUpdates (uint32_t controlId, float plainValue, ControlUpdateNode** list,
                                       bool)
{
	if (!hasDependency || controlId != dependencySourceId)
		return false;
	auto* node = new ControlUpdateNode {};
	node->controlId = dependentTargetId;
	node->plainValue = plainValue + dependentOffset;
	node->next = nullptr;
	*list = node;
	return true;
}

void ProbeEffect::freeUpdateList (ControlUpdateNode** head)
{
	if (head && *head)
		++freedLists;
	CPlugIn::freeUpdateList (head);
}

void* ProbeEffect::handleGuiMessage (GuiMessage* message)
{
	if (message)
		calls.push_back ({"gui", message->messageCode, message->parameterId, 0, message->value,
		                  framesProcessed});
	return nullptr;
}

bool ProbeEffect::onSidechain (SidechainRecord* sidechain)
{
	calls.push_back ({"sidechain", sidechain->channelCount, sidechain->frame ? 1 : 0,
	                  sidechain->channelBuffers ? 1 : 0,
	                  sidechain->frame ? sidechain->frame[0] : 0., framesProcessed});
	return true;
}

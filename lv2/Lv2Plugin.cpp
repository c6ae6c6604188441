#include "Lv2Plugin.h"

#include "TarnwickLv2Uris.h"

#include "adapter/ControlChange.h"
#include "adapter/FlushSubnormals.h"
#include "adapter/MidiControllers.h"
#include "adapter/MidiNotes.h"
#include "adapter/SampleRates.h"
#include "adapter/StateFormat.h"

#include "effect/CStDelayFil.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <cmath>
#include <cstring>
#include <new>

namespace TarnwickLv2 {

using namespace Vire2VUR3;

namespace {

const LV2_URID_Map* findUridMap (const LV2_Feature* const* features)
{
	for (const LV2_Feature* const* f = features; f && *f; ++f)
		if (std::strcmp ((*f)->URI, LV2_URID__map) == 0)
			return static_cast<const LV2_URID_Map*> ((*f)->data);
	return nullptr;
}

// The body of a MIDI event, or null for any other event.
const uint8_t* midiMessage (const LV2_Atom_Event& event, LV2_URID midiEvent)
{
	if (event.body.type != midiEvent || event.body.size == 0)
		return nullptr;
	return reinterpret_cast<const uint8_t*> (&event + 1);
}

} // namespace

Lv2Plugin* Lv2Plugin::create (double sampleRate, const LV2_Feature* const* features)
{
	if (!isSupportedSampleRate (sampleRate))
		return nullptr;
	// Without urid:map (a plain host such as lv2apply) the audio runs without MIDI and state.
	Uris uris;
	const LV2_URID_Map* map = findUridMap (features);
	if (map && map->map)
	{
		uris.atomChunk = map->map (map->handle, LV2_ATOM__Chunk);
		uris.atomSequence = map->map (map->handle, LV2_ATOM__Sequence);
		uris.midiEvent = map->map (map->handle, LV2_MIDI__MidiEvent);
		uris.state = map->map (map->handle, TARNWICK_LV2_STATE_URI);
		uris.atomObject = map->map (map->handle, LV2_ATOM__Object);
		uris.atomBlank = map->map (map->handle, LV2_ATOM__Blank);
		uris.atomFloat = map->map (map->handle, LV2_ATOM__Float);
		uris.atomDouble = map->map (map->handle, LV2_ATOM__Double);
		uris.atomInt = map->map (map->handle, LV2_ATOM__Int);
		uris.atomLong = map->map (map->handle, LV2_ATOM__Long);
		uris.timePosition = map->map (map->handle, LV2_TIME__Position);
		uris.timeBeatsPerMinute = map->map (map->handle, LV2_TIME__beatsPerMinute);
	}

	std::unique_ptr<CPlugIn> effect (new (std::nothrow) CStDelayFil ());
	if (!effect || effect->controlCount () != CStDelayFil::kControlCount)
		return nullptr;
	effect->initializeEffect ();
	return new (std::nothrow) Lv2Plugin (std::move (effect), sampleRate, uris);
}

Lv2Plugin::Lv2Plugin (std::unique_ptr<CPlugIn> effect, double rate, const Uris& ids)
: fx (std::move (effect)), sampleRate (rate), uris (ids)
{
	for (int i = 0; i < CStDelayFil::kControlCount; ++i)
		lastPortValue[i] = fx->getPlainValue (i);
}

Lv2Plugin::~Lv2Plugin () = default;

void Lv2Plugin::connectPort (uint32_t port, void* data)
{
	switch (port)
	{
		case kAudioInLeft: audioIn[0] = static_cast<const float*> (data); break;
		case kAudioInRight: audioIn[1] = static_cast<const float*> (data); break;
		case kAudioOutLeft: audioOut[0] = static_cast<float*> (data); break;
		case kAudioOutRight: audioOut[1] = static_cast<float*> (data); break;
		case kEnabledPort: enabled = static_cast<const float*> (data); break;
		case kMidiInPort: midiIn = static_cast<const LV2_Atom_Sequence*> (data); break;
		case kTimeInPort: timeIn = static_cast<const LV2_Atom_Sequence*> (data); break;
		default:
			if (controlPositionOfPort (port) >= 0)
				controls[controlPositionOfPort (port)] = static_cast<const float*> (data);
			break;
	}
}

void Lv2Plugin::activate ()
{
	fx->sampleRate = static_cast<int32_t> (sampleRate);
	prepared = fx->prepareToProcess ();
	portsLand = true;
}

// Each control's port value reaches the effect once per run, as the VST 3 adapter's
// parameter changes do at a block's start: converted to the same fraction of the range.
// The ports are how an LV2 host sets an instance up: the first run after instantiate and
// after each activate takes their values at once, as a restore does; later changes glide.
void Lv2Plugin::applyControlPorts ()
{
	const bool landAll = portsLand;
	portsLand = false;
	for (int i = 0; i < CStDelayFil::kControlCount; ++i)
	{
		const ControlDescriptor* d = fx->controlAt (i);
		if (!controls[i] || !d)
			continue;
		const float value = *controls[i];
		if (!std::isfinite (value))
			continue;
		// The first value after a restore lands at once, as the restore itself did.
		const bool jump = restored[i] || landAll;
		restored[i] = false;
		if (!jump && value == lastPortValue[i])
			continue;
		lastPortValue[i] = value;
		if (jump && value == fx->getPlainValue (i))
			continue;
		fx->setNormalizedValue (i, controlFractionOfPlain (*d, value), jump);
	}
}

// Controllers, channel pressure and pitch bend reach the effect at the block's start, as a
// VST 3 host's mapped controller parameters do, with the value scaled as those hosts scale it.
void Lv2Plugin::applyMidiControllers ()
{
	if (!midiIn || uris.atomSequence == 0 || midiIn->atom.type != uris.atomSequence)
		return;
	LV2_ATOM_SEQUENCE_FOREACH (midiIn, event)
	{
		const uint8_t* message = midiMessage (*event, uris.midiEvent);
		if (!message)
			continue;
		const uint32_t size = event->body.size;
		int controller = -1;
		double value = 0.;
		switch (lv2_midi_message_type (message))
		{
			case LV2_MIDI_MSG_CONTROLLER:
				if (size < 3)
					continue;
				controller = message[1] & 0x7F;
				value = (message[2] & 0x7F) / 127.;
				break;
			case LV2_MIDI_MSG_CHANNEL_PRESSURE:
				if (size < 2)
					continue;
				controller = kChannelPressureController;
				value = (message[1] & 0x7F) / 127.;
				break;
			case LV2_MIDI_MSG_BENDER:
				if (size < 3)
					continue;
				controller = kPitchBendController;
				value = ((message[1] & 0x7F) | ((message[2] & 0x7F) << 7)) / 16383.;
				break;
			default:
				continue;
		}
		uint32_t target = 0;
		if (!findMidiControllerTarget (*fx, controller, target))
			continue;
		if (applyMidiControllerValue (*fx, target, value))
			continue;
		if (const ControlDescriptor* d = fx->controlAt (static_cast<int> (target)))
			fx->setNormalizedValue (static_cast<int> (target), controlFractionOfHostValue (*d, value), false);
	}
}

void Lv2Plugin::applyHostTempo ()
{
	if (!timeIn || uris.atomSequence == 0 || timeIn->atom.type != uris.atomSequence)
		return;
	double tempo = 0.;
	LV2_ATOM_SEQUENCE_FOREACH (timeIn, event)
	{
		if ((event->body.type != uris.atomObject && event->body.type != uris.atomBlank) ||
		    event->body.size < sizeof (LV2_Atom_Object_Body))
			continue;
		const auto* object = reinterpret_cast<const LV2_Atom_Object*> (&event->body);
		if (object->body.otype != uris.timePosition)
			continue;
		const LV2_Atom* bpm = nullptr;
		lv2_atom_object_get (object, uris.timeBeatsPerMinute, &bpm, 0);
		if (!bpm)
			continue;
		if (bpm->type == uris.atomFloat && bpm->size >= sizeof (float))
			tempo = reinterpret_cast<const LV2_Atom_Float*> (bpm)->body;
		else if (bpm->type == uris.atomDouble && bpm->size >= sizeof (double))
			tempo = reinterpret_cast<const LV2_Atom_Double*> (bpm)->body;
		else if (bpm->type == uris.atomInt && bpm->size >= sizeof (int32_t))
			tempo = reinterpret_cast<const LV2_Atom_Int*> (bpm)->body;
		else if (bpm->type == uris.atomLong && bpm->size >= sizeof (int64_t))
			tempo = static_cast<double> (reinterpret_cast<const LV2_Atom_Long*> (bpm)->body);
	}
	// No position with a tempo in this block: the last one stands.
	if (tempo > 0.)
		fx->setHostTempo (tempo);
}

bool Lv2Plugin::bypassed () const
{
	return enabled && std::isfinite (*enabled) && *enabled <= 0.f;
}

void Lv2Plugin::silenceOutputs (uint32_t frames)
{
	for (float* out : audioOut)
		if (out)
			std::memset (out, 0, sizeof (float) * frames);
}

// The effect runs frame by frame; a run is cut where a note event falls, which reaches the
// effect before its frame.
void Lv2Plugin::runEffect (uint32_t frames, uint32_t channels)
{
	HostInfoBlock timing {};
	const double secondsPerSample = 1. / fx->sampleRate;
	const float* inputs[2] = {nullptr, nullptr};
	float* outputs[2] = {nullptr, nullptr};
	uint32_t done = 0;
	auto runUpTo = [&] (uint32_t end) {
		if (end <= done)
			return;
		for (uint32_t c = 0; c < channels; ++c)
		{
			inputs[c] = audioIn[c] + done;
			outputs[c] = audioOut[c] + done;
		}
		fx->processFrameRun (inputs, outputs, channels, end - done, timing, false, secondsPerSample);
		done = end;
	};

	if (midiIn && uris.atomSequence != 0 && midiIn->atom.type == uris.atomSequence)
	{
		LV2_ATOM_SEQUENCE_FOREACH (midiIn, event)
		{
			const uint8_t* message = midiMessage (*event, uris.midiEvent);
			if (!message || event->body.size < 3)
				continue;
			const int64_t at = event->time.frames;
			runUpTo (at <= 0 ? 0u : at >= frames ? frames : static_cast<uint32_t> (at));
			const int32_t channel = message[0] & 0x0F;
			const int32_t pitch = message[1] & 0x7F;
			const uint32_t data = message[2] & 0x7F;
			switch (lv2_midi_message_type (message))
			{
				case LV2_MIDI_MSG_NOTE_ON:
					if (data > 0)
						deliverNoteOn (*fx, channel, pitch, data);
					else
						deliverNoteOff (*fx, channel, pitch, 0);
					break;
				case LV2_MIDI_MSG_NOTE_OFF: deliverNoteOff (*fx, channel, pitch, data); break;
				case LV2_MIDI_MSG_NOTE_PRESSURE: deliverPolyPressure (*fx, channel, pitch, data); break;
				default: break;
			}
		}
	}
	runUpTo (frames);
}

void Lv2Plugin::run (uint32_t frames)
{
	const FlushSubnormalsScope flushSubnormals;
	applyControlPorts ();
	applyMidiControllers ();
	applyHostTempo ();
	if (frames == 0 || !audioOut[0])
		return;
	// Without usable input, or before activation, the block is silent.
	if (!prepared || !audioIn[0])
	{
		silenceOutputs (frames);
		return;
	}
	// A mono host (or one that leaves the right side unconnected) gets the left voice.
	const uint32_t channels = audioIn[1] && audioOut[1] ? 2 : 1;
	if (bypassed ())
	{
		for (uint32_t c = 0; c < channels; ++c)
			if (audioIn[c] != audioOut[c])
				std::memmove (audioOut[c], audioIn[c], sizeof (float) * frames);
	}
	else
	{
		runEffect (frames, channels);
	}
	if (channels == 1 && audioOut[1])
		std::memset (audioOut[1], 0, sizeof (float) * frames);
}

LV2_State_Status Lv2Plugin::save (LV2_State_Store_Function store, LV2_State_Handle handle)
{
	if (uris.state == 0)
		return LV2_STATE_ERR_NO_FEATURE;
	MemoryStateWriter writer;
	if (!StateImage::write (writer, *fx, bypassed ()))
		return LV2_STATE_ERR_UNKNOWN;
	return store (handle, uris.state, writer.bytes.data (), writer.bytes.size (), uris.atomChunk,
	              LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

// All or nothing: a missing, foreign, truncated or over-long state, or one with a value that
// is not a number, changes nothing. (A later version's tail may carry more than this one reads.)
LV2_State_Status Lv2Plugin::restore (LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
	if (uris.state == 0)
		return LV2_STATE_ERR_NO_FEATURE;
	size_t size = 0;
	uint32_t type = 0;
	uint32_t flags = 0;
	const void* data = retrieve (handle, uris.state, &size, &type, &flags);
	if (!data)
		return LV2_STATE_ERR_NO_PROPERTY;
	if (type != uris.atomChunk)
		return LV2_STATE_ERR_BAD_TYPE;
	MemoryStateReader reader (data, size);
	StateImage image;
	if (!image.read (reader, *fx) || (!reader.atEnd () && !image.hasUnreadFields))
		return LV2_STATE_ERR_UNKNOWN;
	// The bypass flag is the host's: it rides on the enable port.
	image.applyTo (*fx);
	for (int i = 0; i < CStDelayFil::kControlCount; ++i)
		restored[i] = image.hasValue[static_cast<size_t> (i)];
	return LV2_STATE_SUCCESS;
}

} // namespace TarnwickLv2

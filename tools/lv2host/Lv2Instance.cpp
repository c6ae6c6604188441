#include "Lv2Instance.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>

#include <cmath>
#include <cstring>

namespace Tarnwick {
namespace Lv2Host {

namespace {

constexpr std::size_t kMidiBufferWords = 1024;

} // namespace

Lv2Instance::Lv2Instance (Lv2World& lv2World, double rate, UridMap* uridMap)
: world (lv2World), map (uridMap), sampleRate (rate)
{
	const LilvPlugin* plugin = world.lilvPlugin ();
	if (!plugin)
		return;
	const uint32_t ports = lilv_plugin_get_num_ports (plugin);
	controls.assign (ports, 0.f);
	isControlInput.assign (ports, false);
	disconnected.assign (ports, false);
	std::vector<float> defaults (ports, NAN);
	lilv_plugin_get_port_ranges_float (plugin, nullptr, nullptr, defaults.data ());

	LilvNode* controlClass = lilv_new_uri (world.world (), LILV_URI_CONTROL_PORT);
	LilvNode* inputClass = lilv_new_uri (world.world (), LILV_URI_INPUT_PORT);
	LilvNode* atomClass = lilv_new_uri (world.world (), LV2_ATOM__AtomPort);
	LilvNode* midiEvent = lilv_new_uri (world.world (), LV2_MIDI__MidiEvent);
	LilvNode* timePosition = lilv_new_uri (world.world (), LV2_TIME__Position);
	for (uint32_t i = 0; i < ports; ++i)
	{
		const LilvPort* port = lilv_plugin_get_port_by_index (plugin, i);
		const bool input = lilv_port_is_a (plugin, port, inputClass);
		if (input && lilv_port_is_a (plugin, port, controlClass))
		{
			isControlInput[i] = true;
			controls[i] = std::isnan (defaults[i]) ? 0.f : defaults[i];
		}
		if (input && lilv_port_is_a (plugin, port, atomClass))
		{
			if (lilv_port_supports_event (plugin, port, midiEvent))
				midiPort = i;
			else if (lilv_port_supports_event (plugin, port, timePosition))
				timePort = i;
		}
	}
	lilv_node_free (timePosition);
	lilv_node_free (midiEvent);
	lilv_node_free (atomClass);
	lilv_node_free (inputClass);
	lilv_node_free (controlClass);

	const LV2_Feature* features[3] = {nullptr, nullptr, nullptr};
	if (map)
	{
		features[0] = map->mapFeature ();
		features[1] = map->unmapFeature ();
	}
	instance = lilv_plugin_instantiate (plugin, sampleRate, map ? features : nullptr);
	if (!instance)
		return;
	for (uint32_t i = 0; i < ports; ++i)
		if (isControlInput[i])
			lilv_instance_connect_port (instance, i, &controls[i]);
	midiBuffer.assign (kMidiBufferWords, 0);
	timeBuffer.assign (kMidiBufferWords, 0);
	if (map && midiPort != UINT32_MAX)
		lilv_instance_connect_port (instance, midiPort, midiBuffer.data ());
	if (map && timePort != UINT32_MAX)
		lilv_instance_connect_port (instance, timePort, timeBuffer.data ());
	clearSequences ();
}

Lv2Instance::~Lv2Instance ()
{
	if (instance)
	{
		deactivate ();
		lilv_instance_free (instance);
	}
}

void Lv2Instance::activate ()
{
	if (instance && !active)
		lilv_instance_activate (instance);
	active = true;
}

void Lv2Instance::deactivate ()
{
	if (instance && active)
		lilv_instance_deactivate (instance);
	active = false;
}

int Lv2Instance::portIndex (const std::string& symbol) const
{
	LilvNode* node = lilv_new_string (world.world (), symbol.c_str ());
	const LilvPort* port = lilv_plugin_get_port_by_symbol (world.lilvPlugin (), node);
	lilv_node_free (node);
	return port ? static_cast<int> (lilv_port_get_index (world.lilvPlugin (), port)) : -1;
}

bool Lv2Instance::setControl (const std::string& symbol, float value)
{
	const int index = portIndex (symbol);
	if (index < 0 || !isControlInput[static_cast<std::size_t> (index)])
		return false;
	controls[static_cast<std::size_t> (index)] = value;
	return true;
}

float Lv2Instance::control (const std::string& symbol) const
{
	const int index = portIndex (symbol);
	return index < 0 ? NAN : controls[static_cast<std::size_t> (index)];
}

void Lv2Instance::disconnect (uint32_t port)
{
	if (port >= disconnected.size ())
		return;
	disconnected[port] = true;
	if (instance)
		lilv_instance_connect_port (instance, port, nullptr);
}

void Lv2Instance::queueMidi (uint32_t frame, uint8_t status, uint8_t data1, uint8_t data2)
{
	if (!map)
		return;
	auto* sequence = reinterpret_cast<LV2_Atom_Sequence*> (midiBuffer.data ());
	const uint32_t capacity = static_cast<uint32_t> (kMidiBufferWords * sizeof (uint64_t) - sizeof (LV2_Atom));
	struct
	{
		LV2_Atom_Event event;
		uint8_t message[3];
	} record {};
	record.event.time.frames = frame;
	record.event.body.type = map->map (LV2_MIDI__MidiEvent);
	record.event.body.size = 3;
	record.message[0] = status;
	record.message[1] = data1;
	record.message[2] = data2;
	lv2_atom_sequence_append_event (sequence, capacity, &record.event);
}

void Lv2Instance::queueTempo (uint32_t frame, float beatsPerMinute)
{
	if (!map)
		return;
	auto* sequence =
	    reinterpret_cast<LV2_Atom_Sequence*> (timePort != UINT32_MAX ? timeBuffer.data () : midiBuffer.data ());
	const uint32_t capacity = static_cast<uint32_t> (kMidiBufferWords * sizeof (uint64_t) - sizeof (LV2_Atom));
	struct
	{
		LV2_Atom_Event event;
		LV2_Atom_Object_Body object;
		LV2_Atom_Property_Body property;
		float value;
		uint32_t pad;
	} record {};
	record.event.time.frames = frame;
	record.event.body.type = map->map (LV2_ATOM__Object);
	record.event.body.size = static_cast<uint32_t> (sizeof (record) - sizeof (LV2_Atom_Event) - sizeof (uint32_t));
	record.object.otype = map->map (LV2_TIME__Position);
	record.property.key = map->map (LV2_TIME__beatsPerMinute);
	record.property.value.type = map->map (LV2_ATOM__Float);
	record.property.value.size = sizeof (float);
	record.value = beatsPerMinute;
	lv2_atom_sequence_append_event (sequence, capacity, &record.event);
}

void Lv2Instance::run (const float* const* inputs, float* const* outputs, int channels, uint32_t frames)
{
	if (!instance)
		return;
	for (int c = 0; c < 2; ++c)
	{
		const bool used = c < channels;
		if (!disconnected[static_cast<std::size_t> (c)])
			lilv_instance_connect_port (instance, static_cast<uint32_t> (c),
			                            used ? const_cast<float*> (inputs[c]) : nullptr);
		if (!disconnected[static_cast<std::size_t> (2 + c)])
			lilv_instance_connect_port (instance, static_cast<uint32_t> (2 + c), used ? outputs[c] : nullptr);
	}
	lilv_instance_run (instance, frames);
	clearSequences (); // events are used once
}

void Lv2Instance::clearSequences ()
{
	if (!map)
		return;
	for (std::vector<uint64_t>* buffer : {&midiBuffer, &timeBuffer})
	{
		auto* sequence = reinterpret_cast<LV2_Atom_Sequence*> (buffer->data ());
		sequence->atom.type = map->map (LV2_ATOM__Sequence);
		sequence->atom.size = sizeof (LV2_Atom_Sequence_Body);
		sequence->body.unit = 0;
		sequence->body.pad = 0;
	}
}

void Lv2Instance::setPortValue (const char* symbol, void* self, const void* value, uint32_t size, uint32_t type)
{
	auto* host = static_cast<Lv2Instance*> (self);
	float number = NAN;
	if (type == host->map->map (LV2_ATOM__Float) && size == sizeof (float))
		std::memcpy (&number, value, sizeof (float));
	else if (type == host->map->map (LV2_ATOM__Double) && size == sizeof (double))
	{
		double wide = 0.;
		std::memcpy (&wide, value, sizeof (double));
		number = static_cast<float> (wide);
	}
	else if (type == host->map->map (LV2_ATOM__Int) && size == sizeof (int32_t))
	{
		int32_t whole = 0;
		std::memcpy (&whole, value, sizeof (int32_t));
		number = static_cast<float> (whole);
	}
	else
		return;
	host->setControl (symbol, number);
}

const void* Lv2Instance::portValue (const char* symbol, void* self, uint32_t* size, uint32_t* type)
{
	auto* host = static_cast<Lv2Instance*> (self);
	const int index = host->portIndex (symbol);
	if (index < 0 || !host->isControlInput[static_cast<std::size_t> (index)])
		return nullptr;
	*size = sizeof (float);
	*type = host->map->map (LV2_ATOM__Float);
	return &host->controls[static_cast<std::size_t> (index)];
}

bool Lv2Instance::applyPreset (const std::string& presetUri)
{
	if (!map || !instance)
		return false;
	LilvNode* preset = lilv_new_uri (world.world (), presetUri.c_str ());
	lilv_world_load_resource (world.world (), preset);
	LilvState* state = lilv_state_new_from_world (world.world (), const_cast<LV2_URID_Map*> (
	                                                  static_cast<const LV2_URID_Map*> (map->mapFeature ()->data)),
	                                              preset);
	lilv_node_free (preset);
	if (!state)
		return false;
	restoreState (state);
	lilv_state_free (state);
	return true;
}

LilvState* Lv2Instance::saveState ()
{
	if (!map || !instance)
		return nullptr;
	const LV2_Feature* features[] = {map->mapFeature (), map->unmapFeature (), nullptr};
	return lilv_state_new_from_instance (
	    world.lilvPlugin (), instance,
	    const_cast<LV2_URID_Map*> (static_cast<const LV2_URID_Map*> (map->mapFeature ()->data)), nullptr, nullptr,
	    nullptr, nullptr, portValue, this, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features);
}

void Lv2Instance::restoreState (const LilvState* state)
{
	if (!map || !instance || !state)
		return;
	const LV2_Feature* features[] = {map->mapFeature (), map->unmapFeature (), nullptr};
	lilv_state_restore (state, instance, setPortValue, this, 0, features);
}

} // namespace Lv2Host
} // namespace Tarnwick

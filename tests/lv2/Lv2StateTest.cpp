// The plug-in's state interface called directly, as hosts call it: the saved bytes are the
// VST 3 state's, and a restore takes all of a good state or nothing of a bad one.
#include "Lv2TestRig.h"

#include "hostkit/PluginInstance.h"
#include "Vst3Module.h"
#include "lv2/TarnwickLv2Uris.h"

#include <lv2/atom/atom.h>
#include <lv2/state/state.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace Tarnwick {
namespace Lv2Test {
namespace {

// One property store for the state interface's callbacks.
struct PropertyStore
{
	Lv2Host::UridMap* map = nullptr;
	uint32_t key = 0;
	uint32_t type = 0;
	std::vector<uint8_t> bytes;
	bool present = false;

	static LV2_State_Status store (LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
	                               uint32_t type, uint32_t)
	{
		auto* self = static_cast<PropertyStore*> (handle);
		self->key = key;
		self->type = type;
		self->bytes.assign (static_cast<const uint8_t*> (value), static_cast<const uint8_t*> (value) + size);
		self->present = true;
		return LV2_STATE_SUCCESS;
	}
	static const void* retrieve (LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
	                             uint32_t* flags)
	{
		auto* self = static_cast<PropertyStore*> (handle);
		if (!self->present || key != self->key)
			return nullptr;
		*size = self->bytes.size ();
		*type = self->type;
		*flags = LV2_STATE_IS_POD;
		return self->bytes.data ();
	}
};

class Lv2State : public ::testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_TRUE (t.instance.ok ());
		iface = static_cast<const LV2_State_Interface*> (
		    lilv_instance_get_extension_data (t.instance.lilvInstance (), LV2_STATE__interface));
		ASSERT_NE (iface, nullptr);
		handle = lilv_instance_get_handle (t.instance.lilvInstance ());
	}
	PropertyStore save ()
	{
		PropertyStore store;
		EXPECT_EQ (iface->save (handle, PropertyStore::store, &store, 0, nullptr), LV2_STATE_SUCCESS);
		return store;
	}
	LV2_State_Status restore (PropertyStore& store)
	{
		return iface->restore (handle, PropertyStore::retrieve, &store, 0, nullptr);
	}

	TestInstance t;
	const LV2_State_Interface* iface = nullptr;
	LV2_Handle handle = nullptr;
};

void putFloat (std::vector<uint8_t>& bytes, std::size_t at, float value)
{
	std::memcpy (bytes.data () + at, &value, sizeof (float)); // little-endian machine, as the format
}

float getFloat (const std::vector<uint8_t>& bytes, std::size_t at)
{
	float value = 0.f;
	std::memcpy (&value, bytes.data () + at, sizeof (float));
	return value;
}

TEST_F (Lv2State, SavesTheVst3StateBytesAsAChunk)
{
	t.instance.setControl ("delay", 640.f);
	t.instance.setControl ("delay_state", 1.f);
	runInBlocks (t.instance, silence (48000), {512});
	t.instance.setControl ("enabled", 0.f);
	runInBlocks (t.instance, silence (512), {512});
	const PropertyStore saved = save ();
	EXPECT_EQ (saved.key, t.map.map (TARNWICK_LV2_STATE_URI));
	EXPECT_EQ (saved.type, t.map.map (LV2_ATOM__Chunk));

	HostKit::PluginInstance vst3 (vst3Module ());
	ASSERT_TRUE (vst3.create ());
	ASSERT_TRUE (vst3.setup (kRate, 512, 2));
	vst3.setParameter (0, 640. / 2000.);
	vst3.setParameter (8, 1.);
	Signal quiet = silence (512);
	for (int block = 0; block < 95; ++block)
	{
		if (block == 94)
			vst3.setParameter (2056, 1.); // bypass
		const float* in[2] = {quiet[0].data (), quiet[1].data ()};
		float* out[2] = {quiet[0].data (), quiet[1].data ()};
		vst3.process (in, out, 512);
	}
	std::vector<Steinberg::uint8> vst3Bytes;
	ASSERT_TRUE (vst3.getState (vst3Bytes));
	EXPECT_EQ (saved.bytes, std::vector<uint8_t> (vst3Bytes.begin (), vst3Bytes.end ()));
	EXPECT_EQ (saved.bytes.size (), 114u);
}

TEST_F (Lv2State, RestoresTheJoystickAndTheControlsAtOnce)
{
	PropertyStore state = save ();
	putFloat (state.bytes, 8, 1500.f);       // delay
	putFloat (state.bytes, 50, 0.25f);       // joystick X
	putFloat (state.bytes, 54, -0.5f);       // joystick Y
	ASSERT_EQ (restore (state), LV2_STATE_SUCCESS);
	const PropertyStore again = save ();
	EXPECT_EQ (getFloat (again.bytes, 8), 1500.f); // no glide
	EXPECT_EQ (getFloat (again.bytes, 50), 0.25f);
	EXPECT_EQ (getFloat (again.bytes, 54), -0.5f);
	// The host's port value, the same as the restored one, starts no glide either.
	t.instance.setControl ("delay", 1500.f);
	runInBlocks (t.instance, testSignal (512), {512});
	EXPECT_EQ (getFloat (save ().bytes, 8), 1500.f);
}

TEST_F (Lv2State, RefusesBadStatesAndChangesNothing)
{
	t.instance.setControl ("feedback", 42.f);
	runInBlocks (t.instance, silence (48000), {4096});
	const PropertyStore before = save ();
	const float nan = std::numeric_limits<float>::quiet_NaN ();

	std::vector<PropertyStore> bad;
	for (std::size_t length = 0; length < before.bytes.size (); length += 5) // truncated
	{
		bad.push_back (before);
		bad.back ().bytes.resize (length);
	}
	bad.push_back (before); // one byte too many
	bad.back ().bytes.push_back (0);
	bad.push_back (before); // a version this code never wrote
	bad.back ().bytes[0] = 7;
	bad.push_back (before); // a control that is not a number
	putFloat (bad.back ().bytes, 12, nan);
	bad.push_back (before); // a joystick that is not a number
	putFloat (bad.back ().bytes, 54, std::numeric_limits<float>::infinity ());
	bad.push_back (before); // the right bytes as another type
	bad.back ().type = t.map.map (LV2_ATOM__String);
	bad.push_back (before); // another plug-in's state: its own key only
	bad.back ().key = t.map.map ("urn:example:other-plugin#state");
	for (std::size_t i = 0; i < bad.size (); ++i)
	{
		EXPECT_NE (restore (bad[i]), LV2_STATE_SUCCESS) << "bad state " << i;
		EXPECT_EQ (save ().bytes, before.bytes) << "bad state " << i;
	}
	const Signal output = runInBlocks (t.instance, testSignal (4800), {480});
	EXPECT_TRUE (allFinite (output));
}

} // namespace
} // namespace Lv2Test
} // namespace Tarnwick

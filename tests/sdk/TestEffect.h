// A tiny single-component effect for the SDK tests: stereo in and out, one event input, two
// parameters, a root unit and a program list.
#pragma once

#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

namespace TarnwickTest {

class TestEffect : public Steinberg::Vst::SingleComponentEffect
{
public:
	enum ParamIds : Steinberg::Vst::ParamID
	{
		kGain = 0,
		kTime = 1,
		kMode = 2,
	};
	static constexpr Steinberg::Vst::ProgramListID kProgramListId = 77;

	TestEffect ();
	~TestEffect () override;

	static Steinberg::FUnknown* createInstance (void* context);

	Steinberg::tresult PLUGIN_API initialize (Steinberg::FUnknown* context) override;
	// The component state: one byte, 0x5A.
	Steinberg::tresult PLUGIN_API getState (Steinberg::IBStream* state) override;

	Steinberg::Vst::ProgramList* programList () { return getProgramList (kProgramListId); }
	Steinberg::Vst::Parameter* parameter (Steinberg::Vst::ParamID id) { return getParameterObject (id); }

	static int liveInstances;
	// Calls of the gain parameter's change notification.
	static int gainNotifications;
};

} // namespace TarnwickTest

#include "TestEffect.h"

#include "base/source/fstreamer.h"

namespace TarnwickTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

int TestEffect::liveInstances = 0;
int TestEffect::gainNotifications = 0;

namespace {

class CountingParameter : public RangeParameter
{
public:
	CountingParameter ()
	: RangeParameter (STR16 ("Gain"), TestEffect::kGain, STR16 ("dB"), -60.0, 12.0, 0.0)
	{
	}
	void updateDone (int32 message) override
	{
		++TestEffect::gainNotifications;
		RangeParameter::updateDone (message);
	}
};

} // namespace

TestEffect::TestEffect ()
{
	++liveInstances;
}

TestEffect::~TestEffect ()
{
	--liveInstances;
}

FUnknown* TestEffect::createInstance (void* /*context*/)
{
	return static_cast<IAudioProcessor*> (new TestEffect ());
}

tresult PLUGIN_API TestEffect::initialize (FUnknown* context)
{
	const tresult result = SingleComponentEffect::initialize (context);
	if (result != kResultOk)
		return result;

	addAudioInput (STR16 ("In"), SpeakerArr::kStereo);
	addAudioOutput (STR16 ("Out"), SpeakerArr::kStereo);
	addEventInput (STR16 ("Events"));

	parameters.addParameter (new CountingParameter ());
	parameters.addParameter (new RangeParameter (STR16 ("Time"), kTime, STR16 ("ms"), 0.0, 2000.0, 500.0));
	auto* mode = new StringListParameter (STR16 ("Mode"), kMode);
	mode->appendString (STR16 ("Near"));
	mode->appendString (STR16 ("Far"));
	parameters.addParameter (mode);

	addUnit (new Unit (STR16 ("Root"), kRootUnitId, kNoParentUnitId, kProgramListId));
	auto* list = new ProgramList (STR16 ("Programs"), kProgramListId, kRootUnitId);
	list->addProgram (STR16 ("First"));
	list->addProgram (STR16 ("Second"));
	addProgramList (list);
	return kResultOk;
}

tresult PLUGIN_API TestEffect::getState (IBStream* state)
{
	IBStreamer streamer (state, kLittleEndian);
	return streamer.writeInt8u (0x5A) ? kResultOk : kResultFalse;
}

} // namespace TarnwickTest

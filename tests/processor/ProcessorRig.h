// A Processor set up the way hosts do it, for the tests: created, initialized,
// stereo (or mono), set up at a sample rate and activated.
#pragma once

#include "Processor.h"
#include "TestHost.h"

#include "public.sdk/source/common/memorystream.h"

class TestProcessor : public Vire2VUR3::Processor
{
public:
	// Takes ownership of effect; null means the product's own effect.
	explicit TestProcessor (CPlugIn* effect = nullptr) : injected (effect) {}
	~TestProcessor () override { delete injected; }

protected:
	CPlugIn* createEffect () override
	{
		if (!injected)
			return Processor::createEffect ();
		CPlugIn* effect = injected;
		injected = nullptr;
		return effect;
	}

private:
	CPlugIn* injected;
};

class ProcessorRig
{
public:
	explicit ProcessorRig (CPlugIn* effect = nullptr) : processor (new TestProcessor (effect)) {}
	~ProcessorRig ()
	{
		if (initialized)
			processor->terminate ();
		processor->release ();
	}
	ProcessorRig (const ProcessorRig&) = delete;
	ProcessorRig& operator= (const ProcessorRig&) = delete;

	Steinberg::tresult initialize ()
	{
		initialized = true;
		return processor->initialize (nullptr);
	}

	// initialize, arrangement, setupProcessing, setActive, setProcessing.
	void start (double sampleRate = 48000., Steinberg::int32 channels = 2, Steinberg::int32 maxBlock = 512)
	{
		initialize ();
		Steinberg::Vst::SpeakerArrangement arrangement =
		    channels == 1 ? Steinberg::Vst::SpeakerArr::kMono : Steinberg::Vst::SpeakerArr::kStereo;
		processor->setBusArrangements (&arrangement, 1, &arrangement, 1);
		Steinberg::Vst::ProcessSetup setup {Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32,
		                                    maxBlock, sampleRate};
		processor->setupProcessing (setup);
		processor->setActive (true);
		processor->setProcessing (true);
	}

	CPlugIn* effect () const { return processor->getEffect (); }

	// Connects the recording host handler (it outlives the processor's terminate).
	TestHost::ComponentHandler& connectHandler ()
	{
		processor->setComponentHandler (&handler);
		return handler;
	}

	TestHost::ComponentHandler handler;
	TestProcessor* processor;
	bool initialized = false;
};

// The module's plug-in factory: one audio-effect class, the Processor.
#include "Processor.h"
#include "TarnwickIds.h"
#include "TarnwickVersion.h"

#include "public.sdk/source/main/pluginfactory.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

using namespace Steinberg;

BEGIN_FACTORY_DEF (TARNWICK_VENDOR, "", "")
	DEF_CLASS2 (TARNWICK_COM_ORDER_UID (Vire2VUR3::kProcessorClassIdWord1,
	                                    Vire2VUR3::kProcessorClassIdWord2,
	                                    Vire2VUR3::kProcessorClassIdWord3,
	                                    Vire2VUR3::kProcessorClassIdWord4),
	            PClassInfo::kManyInstances, kVstAudioEffectClass, "TarnwickFreex86", 0, "Fx",
	            TARNWICK_VST3_VERSION, "VST 3.6.8", Vire2VUR3::Processor::createInstance)
END_FACTORY

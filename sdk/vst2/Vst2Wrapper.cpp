#include "Vst2Wrapper.h"

#include "Vst2Chunk.h"
#include "Vst2HostApplication.h"
#include "Vst2Text.h"

#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {

// 'VstP', spelled out to keep multi-character literals out of the build.
constexpr int32_t kEffectMagic = ('V' << 24) | ('s' << 16) | ('t' << 8) | 'P';

enum ParameterText
{
	kTextName,
	kTextLabel,
	kTextDisplay,
};

//------------------------------------------------------------------------
// Entry points of the effect record; nothing thrown inside ever leaves them.
intptr_t VST_FUNCTION_INTERFACE dispatchEntry (vst_effect* e, VST_EFFECT_OPCODE opcode, int32_t index,
                                               intptr_t value, void* ptr, float opt)
{
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	if (wrapper == nullptr)
		return 0;
	try
	{
		return wrapper->dispatch (static_cast<int32_t> (opcode), index, value, ptr, opt);
	}
	catch (...)
	{
		return 0;
	}
}

void VST_FUNCTION_INTERFACE setParameterEntry (vst_effect* e, uint32_t index, float value)
{
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	if (wrapper == nullptr || index > static_cast<uint32_t> (INT32_MAX))
		return;
	try
	{
		wrapper->setParameter (static_cast<int32_t> (index), value);
	}
	catch (...)
	{
	}
}

float VST_FUNCTION_INTERFACE getParameterEntry (vst_effect* e, uint32_t index)
{
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	if (wrapper == nullptr || index > static_cast<uint32_t> (INT32_MAX))
		return 0.f;
	try
	{
		return wrapper->getParameter (static_cast<int32_t> (index));
	}
	catch (...)
	{
		return 0.f;
	}
}

Vst2AudioBridge* audioOf (vst_effect* e);

void VST_FUNCTION_INTERFACE processReplacingEntry (vst_effect* e, const float* const* inputs, float** outputs,
                                                   int32_t samples)
{
	if (Vst2AudioBridge* audio = audioOf (e))
		audio->processReplacing (inputs, outputs, samples);
}

void VST_FUNCTION_INTERFACE processAccumulatingEntry (vst_effect* e, const float* const* inputs,
                                                      float** outputs, int32_t samples)
{
	if (Vst2AudioBridge* audio = audioOf (e))
		audio->processAccumulating (inputs, outputs, samples);
}

//------------------------------------------------------------------------
// "1.2.3.4" → 1234, the usual VST 2 vendor-version form.
int32_t versionNumber (const char* text)
{
	int parts[4] = {0, 0, 0, 0};
	std::sscanf (text, "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]);
	return parts[0] * 1000 + parts[1] * 100 + parts[2] * 10 + parts[3];
}

bool hasSubCategory (const std::string& list, const char* name)
{
	size_t start = 0;
	while (start <= list.size ())
	{
		size_t end = list.find ('|', start);
		if (end == std::string::npos)
			end = list.size ();
		if (list.compare (start, end - start, name) == 0)
			return true;
		start = end + 1;
	}
	return false;
}

int32_t categoryOf (const std::string& subCategories)
{
	if (hasSubCategory (subCategories, "Instrument"))
		return VST_CATEGORY_02; // synth
	if (hasSubCategory (subCategories, "Analyzer"))
		return VST_CATEGORY_03;
	if (hasSubCategory (subCategories, "Mastering"))
		return VST_CATEGORY_04;
	if (hasSubCategory (subCategories, "Spatial"))
		return VST_CATEGORY_05;
	if (hasSubCategory (subCategories, "Reverb"))
		return VST_CATEGORY_06; // room effect
	if (hasSubCategory (subCategories, "Restoration"))
		return VST_CATEGORY_RESTORATION;
	if (hasSubCategory (subCategories, "Generator"))
		return VST_CATEGORY_0B;
	if (hasSubCategory (subCategories, "Fx"))
		return VST_CATEGORY_01; // effect
	return VST_CATEGORY_UNCATEGORIZED;
}

} // namespace

//------------------------------------------------------------------------
vst_effect* Vst2Wrapper::create (IPluginFactory* factory, const TUID vst3ComponentID, int32_t vst2ID,
                                 vst_host_callback audioMaster,
                                 const std::vector<ParamID>& parametersAddedLater)
{
	if (factory == nullptr || vst3ComponentID == nullptr || audioMaster == nullptr)
		return nullptr;
	try
	{
		auto* wrapper = new Vst2Wrapper (factory, Vst2Abi::hostCallbackOf (audioMaster));
		wrapper->parametersAddedLater = parametersAddedLater;
		if (!wrapper->init (vst3ComponentID, vst2ID))
		{
			delete wrapper;
			return nullptr;
		}
		return &wrapper->effect;
	}
	catch (...)
	{
		return nullptr;
	}
}

Vst2Wrapper* Vst2Wrapper::fromEffect (vst_effect* e)
{
	if (e == nullptr || e->magic_number != kEffectMagic || e->control != &dispatchEntry)
		return nullptr;
	return static_cast<Vst2Wrapper*> (e->effect_internal);
}

namespace {
Vst2AudioBridge* audioOf (vst_effect* e)
{
	// Reached through Vst2Wrapper's public accessors only.
	Vst2Wrapper* wrapper = Vst2Wrapper::fromEffect (e);
	return wrapper != nullptr ? wrapper->getAudio () : nullptr;
}
} // namespace

Vst2Wrapper::Vst2Wrapper (IPluginFactory* factory, Vst2Abi::HostCallback hostCallback)
: hostCallback (hostCallback), factory (factory)
{
	effect.magic_number = kEffectMagic;
	effect.control = &dispatchEntry;
	effect.set_parameter = &setParameterEntry;
	effect.get_parameter = &getParameterEntry;
	effect.effect_internal = this;
}

Vst2Wrapper::~Vst2Wrapper ()
{
	shutdown ();
}

intptr_t Vst2Wrapper::callHost (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) const
{
	if (hostCallback == nullptr)
		return 0;
	return hostCallback (const_cast<vst_effect*> (&effect), opcode, index, value, ptr, opt);
}

bool Vst2Wrapper::init (const TUID classId, int32_t vst2ID)
{
	char hostProduct[Vst2Abi::kProductStringSize + 1] = {};
	callHost (Vst2Abi::kHostGetProductString, 0, 0, hostProduct);
	hostProduct[Vst2Abi::kProductStringSize] = 0;
	hostApplication.reset (new Vst2HostApplication (hostProduct));
	FUnknown* hostContext = static_cast<IHostApplication*> (hostApplication.get ());

	IComponent* createdComponent = nullptr;
	if (factory->createInstance (classId, IComponent::iid, reinterpret_cast<void**> (&createdComponent)) !=
	        kResultOk ||
	    createdComponent == nullptr)
		return false;
	component = owned (createdComponent);
	if (component->initialize (hostContext) != kResultOk)
		return false;
	componentInitialized = true;

	processor = FUnknownPtr<IAudioProcessor> (component);
	if (!processor)
		return false;

	// The controller: the component itself, or a second object connected to it.
	controller = FUnknownPtr<IEditController> (component);
	if (controller)
		controllerIsComponent = true;
	else
	{
		TUID controllerId {};
		IEditController* createdController = nullptr;
		if (component->getControllerClassId (controllerId) == kResultOk &&
		    factory->createInstance (controllerId, IEditController::iid,
		                             reinterpret_cast<void**> (&createdController)) == kResultOk &&
		    createdController != nullptr)
		{
			controller = owned (createdController);
			if (controller->initialize (hostContext) != kResultOk)
			{
				controller = nullptr;
				return false;
			}
			controllerInitialized = true;
			componentConnection = FUnknownPtr<IConnectionPoint> (component);
			controllerConnection = FUnknownPtr<IConnectionPoint> (controller);
			if (componentConnection && controllerConnection)
			{
				componentConnection->connect (controllerConnection);
				controllerConnection->connect (componentConnection);
			}
		}
	}

	if (controller)
	{
		componentHandler = new Vst2ComponentHandler (this);
		controller->setComponentHandler (componentHandler);

		MemoryStream state;
		if (component->getState (&state) == kResultOk)
		{
			state.seek (0, IBStream::kIBSeekSet, nullptr);
			controller->setComponentState (&state);
		}
		midiMapping = FUnknownPtr<IMidiMapping> (controller);
		unitInfo = FUnknownPtr<IUnitInfo> (controller);
	}

	parameters.build (controller, parametersAddedLater);
	programs.build (unitInfo);

	// A program change goes first in a block, so that parameter changes made
	// after it are not overwritten by the program's values.
	std::vector<ParamID> changeIds;
	if (parameters.programChangeId () != kNoParamId)
	{
		programSlot = static_cast<int32_t> (changeIds.size ());
		changeIds.push_back (parameters.programChangeId ());
	}
	firstParameterSlot = static_cast<int32_t> (changeIds.size ());
	for (int32 i = 0; i < parameters.count (); ++i)
		changeIds.push_back (parameters.idAt (i));
	if (parameters.bypassId () != kNoParamId)
	{
		bypassSlot = static_cast<int32_t> (changeIds.size ());
		changeIds.push_back (parameters.bypassId ());
	}
	audio.reset (new Vst2AudioBridge (component, processor, midiMapping, std::move (changeIds), &effect,
	                                  hostCallback));
	if (!audio->setupBuses ())
		return false;

	editor.reset (new Vst2Editor (controller, &effect, hostCallback));
	readClassInfo (classId);
	fillEffectRecord (vst2ID);
	return true;
}

void Vst2Wrapper::readClassInfo (const TUID classId)
{
	PFactoryInfo factoryInfo {};
	if (factory->getFactoryInfo (&factoryInfo) == kResultOk)
		vendorName.assign (factoryInfo.vendor, strnlen (factoryInfo.vendor, PFactoryInfo::kNameSize));

	FUnknownPtr<IPluginFactory2> factory2 (factory);
	const int32 classes = factory->countClasses ();
	for (int32 i = 0; i < classes; ++i)
	{
		PClassInfo info {};
		if (factory->getClassInfo (i, &info) != kResultOk || std::memcmp (info.cid, classId, sizeof (TUID)) != 0)
			continue;
		effectName.assign (info.name, strnlen (info.name, PClassInfo::kNameSize));
		productName = effectName;
		PClassInfo2 info2 {};
		if (factory2 && factory2->getClassInfo2 (i, &info2) == kResultOk)
		{
			subCategories.assign (info2.subCategories, strnlen (info2.subCategories, PClassInfo2::kSubCategoriesSize));
			if (info2.vendor[0] != 0)
				vendorName.assign (info2.vendor, strnlen (info2.vendor, PClassInfo2::kVendorSize));
			char version[PClassInfo2::kVersionSize + 1] = {};
			std::memcpy (version, info2.version, PClassInfo2::kVersionSize);
			vendorVersion = versionNumber (version);
		}
		break;
	}
	category = categoryOf (subCategories);
}

void Vst2Wrapper::fillEffectRecord (int32_t vst2ID)
{
	effect.process = &processAccumulatingEntry;
	effect.process_float = &processReplacingEntry;
	effect.process_double = nullptr;
	effect.num_programs = programs.count ();
	effect.num_params = parameters.count ();
	effect.num_inputs = audio->inputChannels ();
	effect.num_outputs = audio->outputChannels ();
	effect.flags = Vst2Abi::kFlagCanReplacing | Vst2Abi::kFlagProgramChunks;
	if (editor->isAvailable ())
		effect.flags |= Vst2Abi::kFlagHasEditor;
	if (category == VST_CATEGORY_02)
		effect.flags |= Vst2Abi::kFlagIsSynth;
	effect.delay = static_cast<int32_t> (processor->getLatencySamples ());
	effect._unknown_float_00 = 1.f; // I/O ratio
	effect.unique_id = vst2ID;
	effect.version = vendorVersion;
}

void Vst2Wrapper::shutdown ()
{
	editor.reset ();
	if (audio)
		audio->suspend ();
	if (componentHandler != nullptr)
	{
		componentHandler->detach ();
		if (controller)
			controller->setComponentHandler (nullptr);
		componentHandler->release ();
		componentHandler = nullptr;
	}
	if (componentConnection && controllerConnection)
	{
		componentConnection->disconnect (controllerConnection);
		controllerConnection->disconnect (componentConnection);
	}
	componentConnection = nullptr;
	controllerConnection = nullptr;
	midiMapping = nullptr;
	unitInfo = nullptr;
	programs.build (nullptr);
	if (controller && controllerInitialized)
		controller->terminate ();
	controller = nullptr;
	if (component && componentInitialized)
		component->terminate ();
	audio.reset ();
	processor = nullptr;
	component = nullptr;
	// Not reference counted (the SDK's host application): it goes once the plug-in has let go.
	hostApplication.reset ();
	factory = nullptr;
	componentInitialized = controllerInitialized = false;
}

//------------------------------------------------------------------------
void Vst2Wrapper::setControllerValue (ParamID id, ParamValue value)
{
	if (controller)
		controller->setParamNormalized (id, value);
}

void Vst2Wrapper::setParameter (int32_t index, float value)
{
	if (!parameters.isValidIndex (index) || !std::isfinite (value))
		return;
	const ParamValue normalized = value < 0.f ? 0.0 : (value > 1.f ? 1.0 : static_cast<ParamValue> (value));
	setControllerValue (parameters.idAt (index), normalized);
	audio->queueChange (firstParameterSlot + index, normalized);
}

float Vst2Wrapper::getParameter (int32_t index) const
{
	if (!parameters.isValidIndex (index) || !controller)
		return 0.f;
	return static_cast<float> (controller->getParamNormalized (parameters.idAt (index)));
}

bool Vst2Wrapper::copyParameterText (int32_t index, char* text, int32_t which)
{
	if (text == nullptr)
		return false;
	text[0] = 0;
	const ParameterInfo* info = parameters.infoAt (index);
	if (info == nullptr || !controller)
		return false;
	switch (which)
	{
		case kTextName:
		    Vst2Text::copyBytes (text, Vst2Abi::kParamStringSize, parameters.shortNameAt (index));
		    return true;
		case kTextLabel:
			Vst2Text::copyUtf16 (text, Vst2Abi::kParamStringSize, info->units);
			return true;
		default:
		{
			String128 display {};
			if (controller->getParamStringByValue (info->id, controller->getParamNormalized (info->id), display) !=
			    kResultOk)
				return false;
			display[127] = 0;
			Vst2Text::copyUtf16 (text, Vst2Abi::kParamStringSize, display);
			return true;
		}
	}
}

bool Vst2Wrapper::parameterProperties (int32_t index,
                                       Vst2Abi::ParameterProperties* properties) const
{
	using namespace Vst2Abi;
	const ParameterInfo* info = parameters.infoAt (index);
	if (properties == nullptr || info == nullptr || !controller)
		return false;
	std::memset (properties, 0, sizeof (ParameterProperties));
	Vst2Text::copyUtf16 (properties->label, kParameterLabelSize, info->title);
	Vst2Text::copyBytes (properties->shortLabel, kParameterShortLabelSize,
	                     parameters.shortNameAt (index));
	// Stepped parameters count in their steps (a list in its item numbers); two steps make a
	// switch. Categories would come from units, and this plug-in keeps its parameters in the
	// root unit: none are given.
	if (info->stepCount > 0)
	{
		properties->flags = kParameterUsesIntegerMinMax | kParameterUsesIntStep;
		properties->maxInteger = info->stepCount;
		properties->stepInteger = 1;
		properties->largeStepInteger = 1;
		if (info->stepCount == 1)
			properties->flags |= kParameterIsSwitch;
	}
	return true;
}

bool Vst2Wrapper::stringToParameter (int32_t index, const char* text)
{
	if (text == nullptr || !parameters.isValidIndex (index) || !controller)
		return false;
	String128 wide {};
	Vst2Text::toUtf16 (wide, 128, text);
	ParamValue normalized = 0.0;
	if (controller->getParamValueByString (parameters.idAt (index), wide, normalized) != kResultOk ||
	    !std::isfinite (normalized))
		return false;
	setParameter (index, static_cast<float> (normalized));
	return true;
}

bool Vst2Wrapper::setProgram (intptr_t program)
{
	const ParamID id = parameters.programChangeId ();
	if (program < 0 || program >= programs.count () || id == kNoParamId || !controller)
		return false;
	const ParamValue normalized = controller->plainParamToNormalized (id, static_cast<ParamValue> (program));
	setControllerValue (id, normalized);
	audio->queueChange (programSlot, normalized);
	return true;
}

int32_t Vst2Wrapper::currentProgram () const
{
	const ParamID id = parameters.programChangeId ();
	if (id == kNoParamId || !controller || programs.count () == 0)
		return 0;
	const ParamValue plain = controller->normalizedParamToPlain (id, controller->getParamNormalized (id));
	const auto index = static_cast<int32_t> (std::floor (plain + 0.5));
	return index < 0 ? 0 : (index >= programs.count () ? programs.count () - 1 : index);
}

bool Vst2Wrapper::programName (int32_t index, char* text)
{
	if (text == nullptr)
		return false;
	text[0] = 0;
	String128 name {};
	if (!programs.nameAt (index, name))
		return false;
	Vst2Text::copyUtf16 (text, Vst2Abi::kProgramNameSize, name);
	return true;
}

intptr_t Vst2Wrapper::getChunk (void** data)
{
	if (data == nullptr)
		return 0;
	*data = nullptr;
	if (!Vst2Chunk::write (component, controller, chunk) || chunk.empty ())
		return 0;
	*data = chunk.data ();
	return static_cast<intptr_t> (chunk.size ());
}

bool Vst2Wrapper::setChunk (const void* data, intptr_t size)
{
	if (data == nullptr || size <= 0)
		return false;
	if (!Vst2Chunk::read (data, static_cast<int64_t> (size), component, controller))
		return false;
	// Values the host set before loading must not reach the processor over the chunk's.
	audio->discardPendingChanges ();
	callHost (Vst2Abi::kHostUpdateDisplay);
	return true;
}

bool Vst2Wrapper::setBypass (bool on)
{
	const ParamID id = parameters.bypassId ();
	if (id == kNoParamId)
		return false;
	const ParamValue value = on ? 1.0 : 0.0;
	setControllerValue (id, value);
	audio->queueChange (bypassSlot, value);
	return true;
}

intptr_t Vst2Wrapper::canDo (const char* feature) const
{
	if (feature == nullptr)
		return 0;
	const auto is = [feature] (const char* name) { return std::strcmp (feature, name) == 0; };
	if (is ("receiveVstEvents") || is ("receiveVstMidiEvent"))
		return audio->hasEventInput () ? 1 : -1;
	if (is ("receiveVstTimeInfo") || is ("plugAsChannelInsert") || is ("plugAsSend"))
		return 1;
	if (is ("bypass"))
		return parameters.bypassId () != kNoParamId ? 1 : -1;
	if (is ("sendVstEvents") || is ("sendVstMidiEvent") || is ("offline") || is ("midiProgramNames") ||
	    is ("noRealTime") || is ("mixDryWet"))
		return -1;
	char io[16];
	std::snprintf (io, sizeof (io), "%din%dout", audio->inputChannels (), audio->outputChannels ());
	if (is (io))
		return 1;
	return 0;
}

intptr_t Vst2Wrapper::tailSize () const
{
	const uint32 tail = processor->getTailSamples ();
	if (tail == kNoTail)
		return 1; // VST 2: 1 means no tail, 0 means "don't know"
	return tail > static_cast<uint32> (INT32_MAX) ? INT32_MAX : static_cast<intptr_t> (tail);
}

bool Vst2Wrapper::pinProperties (bool input, int32_t index, Vst2Abi::PinProperties* properties) const
{
	if (properties == nullptr)
		return false;
	const int32_t channels = input ? audio->inputChannels () : audio->outputChannels ();
	if (index < 0 || index >= channels)
		return false;
	std::memset (properties, 0, sizeof (Vst2Abi::PinProperties));
	const bool stereo = channels == 2;
	const char* side = !stereo ? "" : (index == 0 ? " L" : " R");
	char label[Vst2Abi::kPinLabelSize];
	std::snprintf (label, sizeof (label), "%s%s", input ? "Input" : "Output", side);
	Vst2Text::copyBytes (properties->label, Vst2Abi::kPinLabelSize, label);
	std::snprintf (label, sizeof (label), "%s%s", input ? "In" : "Out", side);
	Vst2Text::copyBytes (properties->shortLabel, Vst2Abi::kPinShortLabelSize, label);
	properties->flags = Vst2Abi::kPinIsActive;
	if (stereo && index % 2 == 0)
		properties->flags |= Vst2Abi::kPinIsStereo;
	properties->arrangementType = stereo ? VST_ARRANGEMENT_TYPE_STEREO : VST_ARRANGEMENT_TYPE_MONO;
	return true;
}

bool Vst2Wrapper::setSpeakerArrangement (intptr_t inputArrangement, void* outputArrangement)
{
	const auto* in = reinterpret_cast<const Vst2Abi::SpeakerArrangementHead*> (inputArrangement);
	const auto* out = static_cast<const Vst2Abi::SpeakerArrangementHead*> (outputArrangement);
	if (in == nullptr || out == nullptr)
		return false;
	if (!audio->setMainChannels (in->numChannels, out->numChannels))
		return false;
	effect.num_inputs = audio->inputChannels ();
	effect.num_outputs = audio->outputChannels ();
	return true;
}

//------------------------------------------------------------------------
intptr_t Vst2Wrapper::dispatch (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
	using namespace Vst2Abi;
	switch (opcode)
	{
		case kEffOpen: return 0;
		case kEffClose:
			delete this;
			return 1;

		case kEffSetProgram: return setProgram (value) ? 1 : 0;
		case kEffGetProgram: return currentProgram ();
		case kEffSetProgramName: return 0; // factory programs keep their names
		case kEffGetProgramName: return programName (currentProgram (), static_cast<char*> (ptr)) ? 1 : 0;
		case kEffGetProgramNameIndexed: return programName (index, static_cast<char*> (ptr)) ? 1 : 0;

		case kEffGetParamLabel: return copyParameterText (index, static_cast<char*> (ptr), kTextLabel) ? 1 : 0;
		case kEffGetParamDisplay: return copyParameterText (index, static_cast<char*> (ptr), kTextDisplay) ? 1 : 0;
		case kEffGetParamName: return copyParameterText (index, static_cast<char*> (ptr), kTextName) ? 1 : 0;
		case kEffCanBeAutomated:
		{
			const ParameterInfo* info = parameters.infoAt (index);
			return (info != nullptr && (info->flags & ParameterInfo::kCanAutomate) != 0) ? 1 : 0;
		}
	    case kEffGetParameterProperties:
		    return parameterProperties (index, static_cast<ParameterProperties*> (ptr)) ? 1 : 0;
	    case kEffString2Parameter: return stringToParameter (index, static_cast<const char*> (ptr)) ? 1 : 0;

		case kEffSetSampleRate: return audio->setSampleRate (static_cast<double> (opt)) ? 1 : 0;
		case kEffSetBlockSize:
			return (value > 0 && value <= INT32_MAX && audio->setBlockSize (static_cast<int32> (value))) ? 1 : 0;
		case kEffMainsChanged:
			if (value != 0)
				audio->resume ();
			else
				audio->suspend ();
			return 1;
		case kEffSetProcessPrecision: return value == 0 ? 1 : 0; // 32-bit only
		case kEffSetSpeakerArrangement: return setSpeakerArrangement (value, ptr) ? 1 : 0;
		case kEffGetInputProperties:
			return pinProperties (true, index, static_cast<PinProperties*> (ptr)) ? 1 : 0;
		case kEffGetOutputProperties:
			return pinProperties (false, index, static_cast<PinProperties*> (ptr)) ? 1 : 0;
		case kEffProcessEvents:
			if (ptr == nullptr)
				return 0;
			audio->processEvents (static_cast<const Events*> (ptr));
			return 1;
		case kEffGetNumMidiInputChannels: return audio->hasEventInput () ? 16 : 0;
		case kEffGetNumMidiOutputChannels: return 0;

		case kEffGetChunk: return getChunk (static_cast<void**> (ptr));
		case kEffSetChunk: return setChunk (ptr, value) ? 1 : 0;
		case kEffSetBypass: return setBypass (value != 0) ? 1 : 0;
		case kEffGetTailSize: return tailSize ();

		case kEffGetEffectName:
		case kEffGetVendorString:
		case kEffGetProductString:
		{
			if (ptr == nullptr)
				return 0;
			if (opcode == kEffGetEffectName)
				Vst2Text::copyBytes (static_cast<char*> (ptr), kEffectNameSize, effectName.c_str ());
			else if (opcode == kEffGetVendorString)
				Vst2Text::copyBytes (static_cast<char*> (ptr), kVendorStringSize, vendorName.c_str ());
			else
				Vst2Text::copyBytes (static_cast<char*> (ptr), kProductStringSize, productName.c_str ());
			return 1;
		}
		case kEffGetVendorVersion: return vendorVersion;
		case kEffGetPlugCategory: return category;
		case kEffCanDo: return canDo (static_cast<const char*> (ptr));
		case kEffGetVstVersion: return kVstVersion;
		case kEffIdentify: return kIdentifyAnswer;

		case kEffEditGetRect: return editor->getRect (static_cast<vst_rect**> (ptr)) ? 1 : 0;
		case kEffEditOpen: return editor->open (ptr) ? 1 : 0;
		case kEffEditClose: return editor->close () ? 1 : 0;
		case kEffEditIdle:
			editor->idle ();
			return editor->isOpen () ? 1 : 0;

		default: return 0;
	}
}

//------------------------------------------------------------------------
tresult Vst2Wrapper::onBeginEdit (ParamID id)
{
	const int32 index = parameters.indexOf (id);
	if (index < 0)
		return id == parameters.bypassId () || id == parameters.programChangeId () ? kResultOk : kInvalidArgument;
	callHost (Vst2Abi::kHostBeginEdit, index);
	return kResultOk;
}

tresult Vst2Wrapper::onPerformEdit (ParamID id, ParamValue value)
{
	const int32 index = parameters.indexOf (id);
	if (index >= 0)
	{
		audio->queueChange (firstParameterSlot + index, value);
		callHost (Vst2Abi::kHostAutomate, index, 0, nullptr, static_cast<float> (value));
		return kResultOk;
	}
	if (id == parameters.bypassId ())
	{
		audio->queueChange (bypassSlot, value);
		return kResultOk;
	}
	if (id == parameters.programChangeId ())
	{
		audio->queueChange (programSlot, value);
		callHost (Vst2Abi::kHostUpdateDisplay);
		return kResultOk;
	}
	return kInvalidArgument;
}

tresult Vst2Wrapper::onEndEdit (ParamID id)
{
	const int32 index = parameters.indexOf (id);
	if (index < 0)
		return id == parameters.bypassId () || id == parameters.programChangeId () ? kResultOk : kInvalidArgument;
	callHost (Vst2Abi::kHostEndEdit, index);
	return kResultOk;
}

tresult Vst2Wrapper::onRestart (int32 flags)
{
	if (flags & kLatencyChanged)
	{
		effect.delay = static_cast<int32_t> (processor->getLatencySamples ());
		callHost (Vst2Abi::kHostIOChanged);
	}
	if (flags & kParamTitlesChanged)
		parameters.refreshInfos (controller);
	if (flags & (kParamValuesChanged | kParamTitlesChanged))
		callHost (Vst2Abi::kHostUpdateDisplay);
	return kResultOk;
}

void Vst2Wrapper::onProgramListChanged ()
{
	programs.build (unitInfo);
	effect.num_programs = programs.count ();
	callHost (Vst2Abi::kHostUpdateDisplay);
}

} // namespace Vst
} // namespace Steinberg

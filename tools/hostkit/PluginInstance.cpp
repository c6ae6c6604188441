#include "hostkit/PluginInstance.h"
#include "hostkit/StringConvert.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vstspeaker.h"

namespace Tarnwick {
namespace HostKit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <class Interface>
void releaseInterface (Interface*& object)
{
	if (object)
		object->release ();
	object = nullptr;
}

IPtr<MemoryStream> streamOver (const std::vector<uint8>& bytes)
{
	auto stream = owned (new MemoryStream ());
	if (!bytes.empty ())
	{
		int32 written = 0;
		stream->write (const_cast<uint8*> (bytes.data ()), static_cast<int32> (bytes.size ()), &written);
		stream->seek (0, IBStream::kIBSeekSet, nullptr);
	}
	return stream;
}

std::vector<uint8> bytesOf (MemoryStream& stream)
{
	const auto* data = reinterpret_cast<const uint8*> (stream.getData ());
	return std::vector<uint8> (data, data + stream.getSize ());
}

} // namespace

PluginInstance::PluginInstance (PluginModule& module)
: module (module), pendingChanges (256, 16), mergedChanges (512, 128), outputChanges (256, 64)
{
	inputBus.numChannels = 0;
	outputBus.numChannels = 0;
}

PluginInstance::~PluginInstance ()
{
	destroy ();
}

bool PluginInstance::fail (const std::string& message)
{
	lastError = message;
	return false;
}

bool PluginInstance::create ()
{
	PClassInfo2 info;
	if (!module.findAudioEffectClass (info))
		return fail ("the module offers no audio effect class");
	return create (info.cid);
}

bool PluginInstance::create (const TUID classId)
{
	destroy ();
	IPluginFactory* factory = module.getFactory ();
	if (factory == nullptr)
		return fail ("no module loaded");

	void* object = nullptr;
	if (factory->createInstance (classId, IComponent::iid, &object) != kResultOk || object == nullptr)
		return fail ("createInstance failed for IComponent");
	component = static_cast<IComponent*> (object);

	hostApplication = std::make_unique<HostApplication> ();
	if (component->initialize (hostApplication.get ()) != kResultOk)
	{
		releaseInterface (component);
		return fail ("IComponent::initialize failed");
	}
	componentInitialized = true;

	if (component->queryInterface (IAudioProcessor::iid, reinterpret_cast<void**> (&processor)) !=
	        kResultOk ||
	    processor == nullptr)
	{
		destroy ();
		return fail ("the component has no IAudioProcessor");
	}

	if (component->queryInterface (IEditController::iid, reinterpret_cast<void**> (&controller)) !=
	        kResultOk ||
	    controller == nullptr)
	{
		// A separate controller class, as the component names it.
		controller = nullptr;
		TUID controllerId;
		if (component->getControllerClassId (controllerId) != kResultOk ||
		    factory->createInstance (controllerId, IEditController::iid, &object) != kResultOk ||
		    object == nullptr)
		{
			destroy ();
			return fail ("no edit controller");
		}
		controller = static_cast<IEditController*> (object);
		separateController = true;
		if (controller->initialize (hostApplication.get ()) != kResultOk)
		{
			destroy ();
			return fail ("IEditController::initialize failed");
		}
		controllerInitialized = true;
		FUnknownPtr<IConnectionPoint> componentPoint (component);
		FUnknownPtr<IConnectionPoint> controllerPoint (controller);
		if (componentPoint && controllerPoint)
		{
			componentPoint->connect (controllerPoint);
			controllerPoint->connect (componentPoint);
		}
		std::vector<uint8> state;
		if (getState (state))
			setControllerComponentState (state);
	}

	controller->setComponentHandler (&componentHandler);
	controller->queryInterface (IUnitInfo::iid, reinterpret_cast<void**> (&unitInfo));
	controller->queryInterface (IMidiMapping::iid, reinterpret_cast<void**> (&midiMapping));
	return true;
}

void PluginInstance::destroy ()
{
	if (component == nullptr)
		return;
	stop ();
	if (controller)
		controller->setComponentHandler (nullptr);
	if (separateController && controller)
	{
		FUnknownPtr<IConnectionPoint> componentPoint (component);
		FUnknownPtr<IConnectionPoint> controllerPoint (controller);
		if (componentPoint && controllerPoint)
		{
			componentPoint->disconnect (controllerPoint);
			controllerPoint->disconnect (componentPoint);
		}
		if (controllerInitialized)
			controller->terminate ();
	}
	releaseInterface (unitInfo);
	releaseInterface (midiMapping);
	releaseInterface (controller);
	if (componentInitialized)
		component->terminate ();
	releaseInterface (processor);
	releaseInterface (component);
	hostApplication.reset ();
	separateController = false;
	componentInitialized = false;
	controllerInitialized = false;
	channels = 0;
}

//---Processing------------------------------------------------------------------

void PluginInstance::allocateBuffers (int32 maxBlockSize)
{
	inputPointers.assign (static_cast<size_t> (channels), nullptr);
	outputPointers.assign (static_cast<size_t> (channels), nullptr);
	inputBuffers.assign (static_cast<size_t> (channels),
	                     std::vector<float> (static_cast<size_t> (maxBlockSize), 0.f));
	outputBuffers.assign (static_cast<size_t> (channels),
	                      std::vector<float> (static_cast<size_t> (maxBlockSize), 0.f));
}

bool PluginInstance::setup (double rate, int32 maxBlockSize, int32 numChannels)
{
	if (component == nullptr)
		return fail ("no instance");
	if (numChannels != 1 && numChannels != 2)
		return fail ("only mono or stereo");
	if (maxBlockSize <= 0)
		return fail ("block size must be positive");
	stop ();

	SpeakerArrangement input = numChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
	SpeakerArrangement output = input;
	const tresult arranged = processor->setBusArrangements (&input, 1, &output, 1);
	if (arranged != kResultOk)
		return fail ("setBusArrangements refused the arrangement");

	if (component->getBusCount (kAudio, kInput) > 0)
		component->activateBus (kAudio, kInput, 0, true);
	if (component->getBusCount (kAudio, kOutput) > 0)
		component->activateBus (kAudio, kOutput, 0, true);
	if (component->getBusCount (kEvent, kInput) > 0)
		component->activateBus (kEvent, kInput, 0, true);

	if (processor->canProcessSampleSize (kSample32) != kResultOk)
		return fail ("32-bit processing not supported");

	setupData.processMode = kRealtime;
	setupData.symbolicSampleSize = kSample32;
	setupData.maxSamplesPerBlock = maxBlockSize;
	setupData.sampleRate = rate;
	if (processor->setupProcessing (setupData) != kResultOk)
		return fail ("setupProcessing refused the set-up");

	channels = numChannels;
	allocateBuffers (maxBlockSize);

	if (component->setActive (true) != kResultOk)
		return fail ("setActive(true) failed");
	active = true;
	processor->setProcessing (true); // optional for plug-ins; the answer does not matter
	return true;
}

void PluginInstance::stop ()
{
	if (!active)
		return;
	processor->setProcessing (false);
	component->setActive (false);
	active = false;
}

void PluginInstance::mergePendingInto (IParameterChanges* changes)
{
	mergedChanges.clear ();
	if (changes)
	{
		const int32 queues = changes->getParameterCount ();
		for (int32 q = 0; q < queues; ++q)
		{
			IParamValueQueue* queue = changes->getParameterData (q);
			if (queue == nullptr)
				continue;
			const int32 points = queue->getPointCount ();
			for (int32 p = 0; p < points; ++p)
			{
				int32 offset = 0;
				ParamValue value = 0;
				if (queue->getPoint (p, offset, value) == kResultOk)
					mergedChanges.addChange (queue->getParameterId (), offset, value);
			}
		}
	}
	const int32 pendingQueues = pendingChanges.getParameterCount ();
	for (int32 q = 0; q < pendingQueues; ++q)
	{
		IParamValueQueue* queue = pendingChanges.getParameterData (q);
		int32 offset = 0;
		ParamValue value = 0;
		if (queue && queue->getPoint (queue->getPointCount () - 1, offset, value) == kResultOk)
			mergedChanges.addChange (queue->getParameterId (), offset, value);
	}
}

tresult PluginInstance::process (const float* const* inputs, float* const* outputs, int32 numFrames,
                                 IParameterChanges* changes, IEventList* events,
                                 ProcessContext* context)
{
	if (processor == nullptr)
		return kNotInitialized;

	ProcessData data;
	data.processMode = kRealtime;
	data.symbolicSampleSize = kSample32;
	data.numSamples = numFrames;

	for (int32 c = 0; c < channels; ++c)
	{
		inputPointers[static_cast<size_t> (c)] = inputs ? const_cast<float*> (inputs[c]) : nullptr;
		outputPointers[static_cast<size_t> (c)] = outputs ? outputs[c] : nullptr;
	}
	inputBus.numChannels = channels;
	inputBus.silenceFlags = inputSilence;
	inputBus.channelBuffers32 = inputPointers.data ();
	outputBus.numChannels = channels;
	outputBus.silenceFlags = 0;
	outputBus.channelBuffers32 = outputPointers.data ();
	data.numInputs = inputs ? 1 : 0;
	data.inputs = inputs ? &inputBus : nullptr;
	data.numOutputs = outputs ? 1 : 0;
	data.outputs = outputs ? &outputBus : nullptr;

	if (pendingChanges.getParameterCount () > 0)
	{
		mergePendingInto (changes);
		data.inputParameterChanges = &mergedChanges;
	}
	else
		data.inputParameterChanges = changes ? changes : &pendingChanges;
	outputChanges.clear ();
	data.outputParameterChanges = &outputChanges;
	data.inputEvents = events ? events : &emptyEvents;
	data.processContext = context;

	const tresult result = processor->process (data);
	outputSilence = outputBus.silenceFlags;
	pendingChanges.clear ();
	return result;
}

bool PluginInstance::render (const std::vector<std::vector<float>>& input,
                             std::vector<std::vector<float>>& output)
{
	if (!active || static_cast<int32> (input.size ()) != channels)
		return fail ("render needs an active instance and one input vector per channel");
	const size_t length = input[0].size ();
	for (const auto& channel : input)
	{
		if (channel.size () != length)
			return fail ("input channels differ in length");
	}
	output.assign (input.size (), std::vector<float> (length, 0.f));

	std::vector<const float*> in (input.size ());
	std::vector<float*> out (input.size ());
	const size_t block = static_cast<size_t> (setupData.maxSamplesPerBlock);
	for (size_t start = 0; start < length; start += block)
	{
		const size_t frames = std::min (block, length - start);
		for (size_t c = 0; c < input.size (); ++c)
		{
			in[c] = input[c].data () + start;
			out[c] = output[c].data () + start;
		}
		if (process (in.data (), out.data (), static_cast<int32> (frames)) != kResultOk)
			return fail ("process failed");
	}
	return true;
}

//---Parameters------------------------------------------------------------------

std::vector<ParameterDescription> PluginInstance::parameters () const
{
	std::vector<ParameterDescription> result;
	if (controller == nullptr)
		return result;
	const int32 count = controller->getParameterCount ();
	for (int32 i = 0; i < count; ++i)
	{
		ParameterInfo info {};
		if (controller->getParameterInfo (i, info) != kResultOk)
			continue;
		result.push_back ({info.id, toUtf8 (info.title), toUtf8 (info.shortTitle), toUtf8 (info.units),
		                   info.stepCount, info.defaultNormalizedValue, info.unitId, info.flags});
	}
	return result;
}

bool PluginInstance::findParameter (const std::string& title, ParameterDescription& description) const
{
	for (const ParameterDescription& candidate : parameters ())
	{
		if (candidate.title == title)
		{
			description = candidate;
			return true;
		}
	}
	return false;
}

ParamValue PluginInstance::getParamNormalized (ParamID id) const
{
	return controller ? controller->getParamNormalized (id) : 0.0;
}

std::string PluginInstance::parameterText (ParamID id, ParamValue normalized) const
{
	String128 text {};
	if (controller == nullptr || controller->getParamStringByValue (id, normalized, text) != kResultOk)
		return {};
	text[127] = 0;
	return toUtf8 (text);
}

std::string PluginInstance::parameterText (ParamID id) const
{
	return parameterText (id, getParamNormalized (id));
}

bool PluginInstance::parameterFromText (ParamID id, const std::string& text,
                                        ParamValue& normalized) const
{
	if (controller == nullptr)
		return false;
	std::u16string wide = toUtf16 (text);
	return controller->getParamValueByString (id, reinterpret_cast<TChar*> (&wide[0]), normalized) ==
	       kResultOk;
}

double PluginInstance::normalizedToPlain (ParamID id, ParamValue normalized) const
{
	return controller ? controller->normalizedParamToPlain (id, normalized) : normalized;
}

ParamValue PluginInstance::plainToNormalized (ParamID id, double plain) const
{
	return controller ? controller->plainParamToNormalized (id, plain) : plain;
}

tresult PluginInstance::setParameter (ParamID id, ParamValue normalized)
{
	if (controller == nullptr)
		return kNotInitialized;
	const tresult result = controller->setParamNormalized (id, normalized);
	pendingChanges.addChange (id, 0, normalized);
	return result;
}

//---State-----------------------------------------------------------------------

bool PluginInstance::getState (std::vector<uint8>& bytes)
{
	if (component == nullptr)
		return false;
	auto stream = owned (new MemoryStream ());
	if (component->getState (stream) != kResultOk)
		return false;
	bytes = bytesOf (*stream);
	return true;
}

tresult PluginInstance::setComponentState (const std::vector<uint8>& bytes)
{
	if (component == nullptr)
		return kNotInitialized;
	return component->setState (streamOver (bytes));
}

tresult PluginInstance::setControllerComponentState (const std::vector<uint8>& bytes)
{
	if (controller == nullptr)
		return kNotInitialized;
	return controller->setComponentState (streamOver (bytes));
}

tresult PluginInstance::restoreState (const std::vector<uint8>& bytes)
{
	const tresult componentResult = setComponentState (bytes);
	const tresult controllerResult = setControllerComponentState (bytes);
	return componentResult != kResultOk ? componentResult : controllerResult;
}

bool PluginInstance::getControllerState (std::vector<uint8>& bytes)
{
	if (controller == nullptr)
		return false;
	auto stream = owned (new MemoryStream ());
	if (controller->getState (stream) != kResultOk)
		return false;
	bytes = bytesOf (*stream);
	return true;
}

tresult PluginInstance::setControllerState (const std::vector<uint8>& bytes)
{
	if (controller == nullptr)
		return kNotInitialized;
	return controller->setState (streamOver (bytes));
}

//---Programs--------------------------------------------------------------------

std::vector<std::string> PluginInstance::programNames () const
{
	std::vector<std::string> names;
	if (unitInfo == nullptr || unitInfo->getProgramListCount () < 1)
		return names;
	ProgramListInfo list {};
	if (unitInfo->getProgramListInfo (0, list) != kResultOk)
		return names;
	for (int32 i = 0; i < list.programCount; ++i)
	{
		String128 name {};
		if (unitInfo->getProgramName (list.id, i, name) != kResultOk)
			break;
		name[127] = 0;
		names.push_back (toUtf8 (name));
	}
	return names;
}

tresult PluginInstance::selectProgram (int32 index)
{
	for (const ParameterDescription& p : parameters ())
	{
		if ((p.flags & ParameterInfo::kIsProgramChange) == 0)
			continue;
		const ParamValue normalized =
		    p.stepCount > 0 ? static_cast<double> (index) / static_cast<double> (p.stepCount) : 0.0;
		return setParameter (p.id, normalized);
	}
	return kResultFalse;
}

IPtr<IPlugView> PluginInstance::createView ()
{
	if (controller == nullptr)
		return nullptr;
	return owned (controller->createView (ViewType::kEditor));
}

} // namespace HostKit
} // namespace Tarnwick

// The built bundle loaded as a DAW loads it (tools/hostkit), set up for mono or stereo blocks of
// up to 8192 frames, with everything a block needs on the host side made beforehand: the input
// material, output buffers, parameter changes, events and the transport. Assembling and
// processing a block allocates nothing and makes no system call on the host side, so whatever
// happens inside a measured process call is the plug-in's.
#pragma once

#include "MeasuredSection.h"

#include "hostkit/HostKit.h"

#include <memory>
#include <string>
#include <vector>

namespace Tarnwick {
namespace Realtime {

class BundleProcessRig
{
public:
	static constexpr Steinberg::int32 kMaxBlock = 8192;
	static constexpr Steinberg::int32 kMaxChannels = 2;
	static constexpr double kSampleRate = 48000.;

	BundleProcessRig ();
	~BundleProcessRig ();
	BundleProcessRig (const BundleProcessRig&) = delete;
	BundleProcessRig& operator= (const BundleProcessRig&) = delete;

	// Loads the bundle, creates its effect and sets it up for `channels` (1 or 2) channels in and
	// out; the instance is active and processing. false with error() set.
	bool load (const std::string& bundlePath, Steinberg::int32 channels = 2);
	const std::string& error () const { return lastError; }
	Steinberg::int32 channelCount () const { return channels; }
	// Silence flags with a bit for each channel of the bus.
	Steinberg::uint64 allChannelsSilent () const { return (1ull << channels) - 1; }

	// The host side of the next block (cleared after each block).
	HostKit::HostParameterChanges& changes () { return inputChanges; }
	HostKit::HostEventList& events () { return inputEvents; }
	HostKit::HostTransport& hostTransport () { return transport; }
	// Input silence flags of the following blocks (0: none).
	void setInputSilence (Steinberg::uint64 flags) { inputSilence = flags; }
	// The following blocks read silence instead of the test material.
	void setSilentInput (bool silent) { silentInput = silent; }
	// The following blocks are processed in place: the input buffers are the output buffers.
	void setInPlace (bool inPlace) { processInPlace = inPlace; }

	// One block of `frames` (0..kMaxBlock) frames; `section` (may be null) is entered right
	// before IAudioProcessor::process and left right after it.
	Steinberg::tresult process (Steinberg::int32 frames, MeasuredSection* section);
	// Whether the last block's output is all finite numbers.
	bool outputFinite () const;
	// Largest output magnitude since load or resetOutputPeak (proof that audio came through).
	float outputPeak () const { return peak; }
	void resetOutputPeak () { peak = 0.f; }

	// Parameters a host can write (all but read-only ones), the bypass and the program-change
	// parameter with its number of programs (found in load).
	const std::vector<Steinberg::Vst::ParamID>& writableParameters () const { return writable; }
	bool hasBypass () const { return bypassFound; }
	Steinberg::Vst::ParamID bypassParameter () const { return bypassId; }
	bool hasProgramChange () const { return programChangeFound; }
	Steinberg::Vst::ParamID programChangeParameter () const { return programChangeId; }
	Steinberg::int32 programCount () const { return programs; }

	HostKit::PluginInstance& instance () { return *pluginInstance; }

private:
	bool fail (const std::string& message);
	void findParameters ();
	const float* const* nextInput (Steinberg::int32 frames);

	std::string lastError;
	HostKit::PluginModule module;
	std::unique_ptr<HostKit::PluginInstance> pluginInstance;
	Steinberg::Vst::IAudioProcessor* processor = nullptr;

	std::vector<std::vector<float>> material;
	size_t materialPosition = 0;
	std::vector<float> silence;
	std::vector<std::vector<float>> outputs;
	Steinberg::int32 channels = 0;
	const float* inputPointers[kMaxChannels] = {};
	float* outputPointers[kMaxChannels] = {};
	Steinberg::uint64 inputSilence = 0;
	bool silentInput = false;
	bool processInPlace = false;
	Steinberg::int32 lastFrames = 0;
	float peak = 0.f;

	HostKit::HostParameterChanges inputChanges;
	HostKit::HostParameterChanges outputChanges;
	HostKit::HostEventList inputEvents;
	HostKit::HostTransport transport;

	std::vector<Steinberg::Vst::ParamID> writable;
	bool bypassFound = false;
	Steinberg::Vst::ParamID bypassId = 0;
	bool programChangeFound = false;
	Steinberg::Vst::ParamID programChangeId = 0;
	Steinberg::int32 programs = 0;
};

} // namespace Realtime
} // namespace Tarnwick

// Loading the bundle with Debian's JUCE, as a DAW built on JUCE does, and rendering through it.
#pragma once

#include "AudioClip.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <string>

namespace Tarnwick {
namespace JuceHostTest {

class JucePluginHost
{
public:
    explicit JucePluginHost (std::string bundlePath);

    // The plug-in descriptions JUCE's VST 3 scanner finds in the bundle.
    juce::OwnedArray<juce::PluginDescription> scan ();

    // A new instance of the bundle's first class, or null with the reason in error.
    std::unique_ptr<juce::AudioPluginInstance> createInstance (double sampleRate, int blockSize, juce::String& error);

private:
    std::string bundlePath;
    juce::AudioPluginFormatManager formats;
};

// Renders silentLeadFrames of silence (not returned), then the input, in blocks of blockSize;
// the instance must be prepared for the input's channel count.
Render::AudioClip renderThroughJuce (juce::AudioPluginInstance& instance, const Render::AudioClip& input,
                                     long silentLeadFrames, int blockSize);

// Processes silence, so that parameter changes made through JUCE reach the plug-in and settle.
void processSilence (juce::AudioPluginInstance& instance, int channels, long frames, int blockSize);

} // namespace JuceHostTest
} // namespace Tarnwick

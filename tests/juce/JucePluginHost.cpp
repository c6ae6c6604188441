#include "JucePluginHost.h"

#include <algorithm>

namespace Tarnwick {
namespace JuceHostTest {

JucePluginHost::JucePluginHost (std::string bundlePath) : bundlePath (std::move (bundlePath))
{
    formats.addFormat (new juce::VST3PluginFormat ());
}

juce::OwnedArray<juce::PluginDescription> JucePluginHost::scan ()
{
    juce::OwnedArray<juce::PluginDescription> types;
    juce::VST3PluginFormat format;
    format.findAllTypesForFile (types, juce::String (bundlePath));
    return types;
}

std::unique_ptr<juce::AudioPluginInstance> JucePluginHost::createInstance (double sampleRate, int blockSize,
                                                                          juce::String& error)
{
    auto types = scan ();
    if (types.isEmpty ())
    {
        error = "no plug-in found in " + juce::String (bundlePath);
        return nullptr;
    }
    return formats.createPluginInstance (*types[0], sampleRate, blockSize, error);
}

Render::AudioClip renderThroughJuce (juce::AudioPluginInstance& instance, const Render::AudioClip& input,
                                     long silentLeadFrames, int blockSize)
{
    const int channels = input.channelCount ();
    juce::MidiBuffer midi;
    processSilence (instance, channels, silentLeadFrames, blockSize);

    Render::AudioClip output (input.sampleRate, channels, input.frameCount ());
    const std::size_t frames = input.frameCount ();
    for (std::size_t start = 0; start < frames; start += static_cast<std::size_t> (blockSize))
    {
        const int count = static_cast<int> (std::min<std::size_t> (static_cast<std::size_t> (blockSize), frames - start));
        juce::AudioBuffer<float> buffer (channels, count);
        for (int c = 0; c < channels; ++c)
            buffer.copyFrom (c, 0, input.channels[static_cast<std::size_t> (c)].data () + start, count);
        instance.processBlock (buffer, midi);
        for (int c = 0; c < channels; ++c)
            std::copy (buffer.getReadPointer (c), buffer.getReadPointer (c) + count,
                       output.channels[static_cast<std::size_t> (c)].begin () + static_cast<long> (start));
    }
    return output;
}

void processSilence (juce::AudioPluginInstance& instance, int channels, long frames, int blockSize)
{
    juce::MidiBuffer midi;
    for (long done = 0; done < frames; done += blockSize)
    {
        const int count = static_cast<int> (std::min<long> (blockSize, frames - done));
        juce::AudioBuffer<float> buffer (channels, count);
        buffer.clear ();
        instance.processBlock (buffer, midi);
    }
}

} // namespace JuceHostTest
} // namespace Tarnwick

#include "effect/CFilteredDelay.h"

#include "effect/PassThrough.h"

#include <cstring>
#include <new>

namespace {

struct VoiceControlRow
{
    const char* name;
    const char* units;
    const char* variableName;
    float minValue;
    float maxValue;
    float defaultValue;
};

const VoiceControlRow kVoiceControls[] = {
    {"Cutoff", "Hz", "m_f_fc_Hz", 10.0f, 16000.0f, 16000.0f},
    {"Resonance", "%", "m_f_Q", 0.5f, 5.0f, 0.5f},
    {"Delay", "mSec", "m_fDelay_ms", 0.0f, 2000.0f, 0.0f},
    {"Feedback", "%", "m_fFeedback_pct", 0.0f, 100.0f, 0.0f},
    {"Wet/Dry", "%", "m_fWetLevel_pct", 0.0f, 100.0f, 50.0f},
};

const int kUnitsFieldWidth = 64;

}  // namespace

CFilteredDelay::CFilteredDelay()
    : m_fDelaySamples(0.0f),
      m_fFeedbackGain(0.0f),
      m_fWetGain(0.0f),
      m_pDelayLine(nullptr),
      m_nReadPos(0),
      m_nWritePos(0),
      m_nLineLength(0),
      m_f_fc_Hz(16000.0f),
      m_f_Q(0.5f),
      m_fDelay_ms(0.0f),
      m_fFeedback_pct(0.0f),
      m_fWetLevel_pct(50.0f),
      m_bCoefficientsValid(false),
      m_fCookedCutoff(0.0f),
      m_fCookedQ(0.0f),
      m_nCookedRate(0),
      m_fRequestedCutoff(0.0f),
      m_fRequestedQ(0.0f)
{
    buildControlList();
    effectName = "FilteredDelay";
    hasEditor = true;

    m_fDelay_ms = 0.0f;
    m_fFeedback_pct = 0.0f;
    m_nWritePos = 0;
    m_pDelayLine = nullptr;
    m_nLineLength = 0;
    m_fFeedbackGain = 0.0f;
    m_fDelaySamples = 0.0f;
    m_nReadPos = 0;
    m_fWetGain = static_cast<float>(static_cast<double>(m_fWetLevel_pct) * 0.01);
}

CFilteredDelay::~CFilteredDelay()
{
    releaseLine();
}

void CFilteredDelay::releaseLine()
{
    delete[] m_pDelayLine;
    m_pDelayLine = nullptr;
}

bool CFilteredDelay::buildControlList()
{
    if (!controlList.isEmpty())
        return true;

    float* const variables[] = {&m_f_fc_Hz, &m_f_Q, &m_fDelay_ms, &m_fFeedback_pct, &m_fWetLevel_pct};
    for (uint32_t position = 0; position < 5; ++position)
    {
        const VoiceControlRow& row = kVoiceControls[position];
        *variables[position] = row.defaultValue;

        // Units are kept space-padded to a fixed width.
        char units[kUnitsFieldWidth + 1];
        std::memset(units, ' ', kUnitsFieldWidth);
        units[kUnitsFieldWidth] = '\0';
        std::memcpy(units, row.units, std::strlen(row.units));

        ControlDescriptor descriptor;
        descriptor.controlType = kControlContinuous;
        descriptor.controlId = position;
        descriptor.minValue = row.minValue;
        descriptor.maxValue = row.maxValue;
        descriptor.defaultValue = row.defaultValue;
        descriptor.dataType = kDataFloat;
        descriptor.floatVariable = variables[position];
        descriptor.setControlName(row.name);
        descriptor.setUnitsText(units);
        descriptor.setVariableName(row.variableName);
        descriptor.setEnumString("SEL1,SEL2,SEL3");
        descriptor.presetValues[0] = row.defaultValue;
        controlList.appendControl(descriptor);
    }

    setFrameworkDefaults();
    presetNames[0] = "Factory Preset";
    for (int slot = 1; slot < kPresetSlotCount; ++slot)
        presetNames[slot] = "";
    return true;
}

bool CFilteredDelay::prepareToProcess()
{
    m_InputFilter.clearHistory();
    m_bCoefficientsValid = false;

    releaseLine();
    m_nLineLength = 0;
    m_nWritePos = 0;
    m_nReadPos = 0;

    if (sampleRate < kMinSampleRate || sampleRate > kMaxSampleRate)
    {
        updateDelayVariables();
        return false;
    }

    computeFilterCoefficients(m_f_fc_Hz, m_f_Q);

    const int32_t length = lineLengthFor(sampleRate);
    float* line = new (std::nothrow) float[static_cast<size_t>(length)];
    if (line == nullptr)
    {
        updateDelayVariables();
        return false;
    }
    std::memset(line, 0, sizeof(float) * static_cast<size_t>(length));
    m_pDelayLine = line;
    m_nLineLength = length;

    updateDelayVariables();
    return true;
}

bool CFilteredDelay::onControlChange(uint32_t)
{
    computeFilterCoefficients(m_f_fc_Hz, m_f_Q);
    updateDelayVariables();
    return true;
}

bool CFilteredDelay::processFrame(float* inputFrame, float* outputFrame, uint32_t inputChannels,
                                  uint32_t outputChannels)
{
    if (inputFrame == nullptr || outputFrame == nullptr)
        return false;

    outputFrame[0] = processSample(inputFrame[0]);

    if (inputChannels == 1 && outputChannels == 2)
        outputFrame[1] = outputFrame[0];
    else if (inputChannels == 2 && outputChannels == 2)
        outputFrame[1] = inputFrame[1];
    return true;
}

bool CFilteredDelay::processInterleavedBuffer(float* input, float* output, uint32_t, uint32_t, uint32_t sampleCount)
{
    return copyInterleavedBuffer(input, output, sampleCount);
}

bool CFilteredDelay::processChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount)
{
    return copyChannelBuffers(inputs, outputs, channelCount, frameCount);
}

void* CFilteredDelay::handleGuiMessage(GuiMessage* message)
{
    return CPlugIn::handleGuiMessage(message);
}

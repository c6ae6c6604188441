#include "effect/CStDelayFil.h"

#include "effect/ControlGlide.h"
#include "effect/PassThrough.h"
#include "effect/VoicePair.h"

#include <cmath>

namespace {

struct StereoControlRow
{
    uint32_t controlId;
    const char* name;
    const char* units;
    const char* variableName;
    float minValue;
    float maxValue;
    float defaultValue;
    const char* choices;  // null for continuous controls
};

// Positions of the switches (their ids differ).
const int kDelayStatePosition = 8;
const int kActivePosition = 9;
const int kSyncPosition = 10;
const int kNotePosition = 11;
// The longest synced time: the knob's, which every voice's line holds.
const float kLongestSyncedMs = 2000.0f;

const StereoControlRow kStereoControls[CStDelayFil::kControlCount] = {
    {CStDelayFil::kDelay, "Delay", "mSec", "m_fDelay_ms", 0.0f, 2000.0f, 0.0f, nullptr},
    {CStDelayFil::kFeedback, "Feedback", "%", "m_fFeedback_pct", 0.0f, 100.0f, 0.0f, nullptr},
    {CStDelayFil::kCutoff, "Cutoff", "Hz", "m_f_fc_Hz", 100.0f, 16000.0f, 16000.0f, nullptr},
    {CStDelayFil::kResonance, "Resonance", "", "m_f_Q", 0.5f, 10.0f, 0.5f, nullptr},
    {CStDelayFil::kDelayRatio, "Delay Ratio", "Divide", "m_fRatio", 1.0f, 20.0f, 1.0f, nullptr},
    {CStDelayFil::kOffset, "Offset", "", "m_fOffset", 0.0f, 1.0f, 0.0f, nullptr},
    {CStDelayFil::kWetDry, "Wet/Dry", "%", "m_fWetLevel_pct", 0.0f, 100.0f, 50.0f, nullptr},
    {CStDelayFil::kVolume, "Volume", "", "m_fVolume", 0.0f, 1.0f, 0.7f, nullptr},
    {CStDelayFil::kDelayState, "Delay State", "", "m_uDState", 0.0f, 1.0f, 0.0f, "Comb,Delay"},
    {CStDelayFil::kActive, "Active", "", "m_uActive", 0.0f, 1.0f, 0.0f, "On,Off"},
    {CStDelayFil::kSync, "Sync", "", "m_uSync", 0.0f, 1.0f, 0.0f, "Off,On"},
    {CStDelayFil::kNote, "Note", "", "m_uNote", 0.0f, static_cast<float>(TempoSync::kNoteCount - 1),
     static_cast<float>(TempoSync::kDefaultNote), TempoSync::kNoteChoices},
};

const char* const kFactoryPresetNames[CStDelayFil::kFactoryPresetCount] = {
    "Factory Preset", "Heavy",         "Hollow Ring",      "Banking",       "Beats as Bass", "Crude Verb",
    "Some Space",     "Padding for Pads", "Good on Atmos", "Pipes",         "Automate Me"};

// Plain values per preset slot, in control order:
// Delay, Feedback, Cutoff, Resonance, Delay Ratio, Offset, Wet/Dry, Volume, Delay State, Active.
// The presets leave the later controls at their defaults (Sync off).
const double kFactoryPresets[CStDelayFil::kFactoryPresetCount][CStDelayFil::kFirstReleaseControlCount] = {
    {0.0, 0.0, 16000.0, 0.5, 1.0, 0.0, 50.0, 0.7, 0, 0},
    {139.999985, 58.499996, 16000.0, 0.69, 15.44, 0.0, 100.0, 0.635, 0, 0},
    {1140.0, 82.499992, 16000.0, 0.69, 14.775, 0.0, 64.0, 0.635, 0, 0},
    {740.0, 100.0, 5108.500488, 3.35, 6.224999, 0.41, 61.0, 0.635, 0, 0},
    {2000.0, 81.000008, 1133.50061, 8.7175, 2.33, 0.105, 100.0, 0.635, 0, 0},
    {1550.0, 79.0, 4949.500488, 2.352499, 14.68, 0.0, 27.000002, 0.635, 1, 0},
    {750.0, 88.499992, 13058.5, 9.192499, 19.240002, 0.0, 15.000002, 0.635, 1, 0},
    {1300.000122, 91.999992, 8129.5, 6.152499, 12.305001, 1.0, 33.0, 0.52, 1, 0},
    {850.000061, 66.999992, 3995.5, 7.054999, 2.330002, 1.0, 37.5, 0.52, 1, 0},
    {850.000061, 78.499992, 12979.0, 7.3875, 20.0, 0.15, 37.5, 0.52, 1, 0},
    {830.000122, 73.999992, 12979.0, 5.915, 20.0, 0.07, 55.0, 0.52, 0, 0},
};

}  // namespace

CStDelayFil::CStDelayFil()
    : m_fDelay_ms(0.0f),
      m_fFeedback_pct(0.0f),
      m_f_fc_Hz(16000.0f),
      m_f_Q(0.5f),
      m_fRatio(1.0f),
      m_fOffset(0.0f),
      m_fWetLevel_pct(50.0f),
      m_fVolume(0.7f),
      m_uDState(0),
      m_uActive(0),
      m_uSync(0),
      m_uNote(TempoSync::kDefaultNote),
      m_bSmoothingPass(false),
      m_bRecookPending(false),
      m_PendingSettings(),
      m_dTempoBpm(TempoSync::kDefaultTempoBpm),
      m_bTempoSincePrepare(false)
{
    buildControlList();
    effectName = "Tarnwick";
    hasEditor = true;
    noAudioInput = false;
    runsOnSilence = true;
    // Saved states and hosts' parameter lists hold the first release's ten controls first.
    firstReleaseControlCount = kFirstReleaseControlCount;
    pushControlsToVoices(true);
}

CStDelayFil::~CStDelayFil() {}

bool CStDelayFil::buildControlList()
{
    if (!controlList.isEmpty())
        return true;

    float* const floatVariables[] = {&m_fDelay_ms, &m_fFeedback_pct, &m_f_fc_Hz,      &m_f_Q,
                                     &m_fRatio,    &m_fOffset,       &m_fWetLevel_pct, &m_fVolume};
    uint32_t* const enumVariables[] = {&m_uDState, &m_uActive, &m_uSync, &m_uNote};

    for (int position = 0; position < kControlCount; ++position)
    {
        const StereoControlRow& row = kStereoControls[position];
        ControlDescriptor descriptor;
        descriptor.controlId = row.controlId;
        descriptor.minValue = row.minValue;
        descriptor.maxValue = row.maxValue;
        descriptor.defaultValue = row.defaultValue;
        descriptor.setControlName(row.name);
        descriptor.setUnitsText(row.units);
        descriptor.setVariableName(row.variableName);
        descriptor.logTaper = false;
        descriptor.voltOctaveTaper = false;
        descriptor.displayPrecision = 2;
        descriptor.midiControlEnabled = false;
        descriptor.midiControlNumber = 3;
        descriptor.midiStatus = 176;
        descriptor.midiChannel = 0;
        descriptor.smoothingTimeMs = 100.0f;
        descriptor.guiIndex = position;

        if (row.choices == nullptr)
        {
            float* variable = floatVariables[position];
            *variable = row.defaultValue;
            descriptor.controlType = kControlContinuous;
            descriptor.dataType = kDataFloat;
            descriptor.floatVariable = variable;
            descriptor.smoothingEnabled = true;
            descriptor.setEnumString("SEL1,SEL2,SEL3");
        }
        else
        {
            uint32_t* variable = enumVariables[position - 8];
            *variable = static_cast<uint32_t>(row.defaultValue);
            descriptor.controlType = kControlEnumerated;
            descriptor.dataType = kDataEnumIndex;
            descriptor.enumVariable = variable;
            descriptor.smoothingEnabled = false;
            descriptor.setEnumString(row.choices);
        }

        for (int slot = 0; slot < kPresetSlotCount; ++slot)
        {
            double value = 0.0;
            if (slot < kFactoryPresetCount)
                value = position < kFirstReleaseControlCount ? kFactoryPresets[slot][position] : row.defaultValue;
            descriptor.presetValues[slot] = value;
        }

        controlList.appendControl(descriptor);
    }

    options.knobMode = 2;
    options.wantsAuxInput = false;
    options.wantsSampleAccurateAutomation = false;
    options.updateGranularity = 1;
    options.latencySamples = 0.0f;
    hasEditor = true;

    for (int slot = 0; slot < kPresetSlotCount; ++slot)
        presetNames[slot] = slot < kFactoryPresetCount ? kFactoryPresetNames[slot] : "";

    setFrameworkDefaults();

    joystickX.controlId = kJoystickXControlId;
    joystickX.guiIndex = kControlCount;
    joystickX.smoothingEnabled = false;
    joystickX.joystickValue = 0.0f;
    joystickX.joystickOrientation = 1;
    joystickY.controlId = kJoystickYControlId;
    joystickY.guiIndex = kControlCount + 1;
    joystickY.smoothingEnabled = false;
    joystickY.joystickValue = 0.0f;
    joystickY.joystickOrientation = 1;

    return buildIndexTables();
}

CStDelayFil::VoiceSettings CStDelayFil::currentSettings() const
{
    VoiceSettings settings;
    settings.delayMs = m_TempoSync.engaged() ? m_TempoSync.value() : m_fDelay_ms;
    settings.feedbackPct = m_fFeedback_pct;
    settings.cutoffHz = m_f_fc_Hz;
    settings.q = m_f_Q;
    settings.ratio = m_fRatio;
    settings.offsetMs = m_fOffset;
    settings.wetPct = m_fWetLevel_pct;
    settings.delayState = m_uDState;
    return settings;
}

void CStDelayFil::pushControlsToVoices(bool recook)
{
    pushSettingsToVoices(currentSettings(), recook);
}

inline VoiceInputs CStDelayFil::voiceInputsFor(const VoiceSettings& settings)
{
    float delay;
    float feedback;
    if (settings.delayState != 0)
    {
        delay = settings.delayMs / settings.ratio;
        feedback = settings.feedbackPct;
    }
    else
    {
        // Comb mode: the 0..2000 range spans 0..20 ms and the feedback is 5 points lower.
        delay = settings.delayMs * 0.01f / settings.ratio;
        feedback = settings.feedbackPct - 5.0f;
    }

    VoiceInputs inputs;
    inputs.leftDelayMs = delay;
    inputs.rightDelayMs = settings.offsetMs + delay;
    inputs.feedbackPct = feedback;
    inputs.wetPct = settings.wetPct;
    inputs.cutoffHz = settings.cutoffHz;
    inputs.q = settings.q;
    return inputs;
}

inline void CStDelayFil::pushSettingsToVoices(const VoiceSettings& settings, bool recook)
{
    const VoiceInputs inputs = voiceInputsFor(settings);
    inputs.writeTo(m_LeftVoice, m_RightVoice);

    if (!recook)
        return;
    m_LeftVoice.updateDelayVariables();
    m_RightVoice.updateDelayVariables();
    m_LeftVoice.computeFilterCoefficients(m_LeftVoice.m_f_fc_Hz, m_LeftVoice.m_f_Q);
    // Same cutoff, Q and rate: the right voice takes the left one's coefficients.
    m_RightVoice.computeFilterCoefficientsLike(m_LeftVoice, m_RightVoice.m_f_fc_Hz, m_RightVoice.m_f_Q);
}

float CStDelayFil::syncedDelayMs() const
{
    return TempoSync::noteMs(m_uNote, m_dTempoBpm, kLongestSyncedMs);
}

inline float CStDelayFil::tempoSyncTarget() const
{
    return m_uSync != 0 ? syncedDelayMs() : m_fDelay_ms;
}

void CStDelayFil::retargetTempoSync(bool land)
{
    // Nothing to glide from or to while Sync stays off.
    if (m_uSync == 0 && !m_TempoSync.engaged())
        return;
    m_TempoSync.retarget(m_fDelay_ms);
    if (land)
        m_TempoSync.land(tempoSyncTarget(), m_uSync != 0);
}

void CStDelayFil::setHostTempo(double tempoBpm)
{
    if (!std::isfinite(tempoBpm) || tempoBpm <= 0.0)
        return;
    // Before the first block the echoes have not started: the host's tempo lands at once.
    const bool land = !m_bTempoSincePrepare;
    m_bTempoSincePrepare = true;
    if (tempoBpm == m_dTempoBpm)
        return;
    m_dTempoBpm = tempoBpm;
    if (m_uSync == 0)
        return;
    retargetTempoSync(land);
    if (land)
        pushControlsToVoices(true);
}

bool CStDelayFil::prepareToProcess()
{
    // The voices start from the values last asked for, not from where a glide had got to.
    finishGlides();
    m_TempoSync.land(tempoSyncTarget(), m_uSync != 0);
    m_bTempoSincePrepare = false;
    m_LeftVoice.sampleRate = sampleRate;
    m_RightVoice.sampleRate = sampleRate;
    pushControlsToVoices(false);
    const bool leftReady = m_LeftVoice.prepareToProcess();
    const bool rightReady = m_RightVoice.prepareToProcess();
    m_LeftSilence.reset();
    m_RightSilence.reset();
    const bool smoothingReady = CPlugIn::prepareToProcess();
    // The synced time glides as the knob does.
    if (const ControlDescriptor* delay = controlAt(kDelay))
        m_TempoSync.setCoefficients(delay->smoothCoeffA, delay->smoothCoeffB);
    return smoothingReady && leftReady && rightReady;
}

bool CStDelayFil::onControlChange(uint32_t controlId)
{
    // Sync and Note move the delay time as a turn of the knob would, unless written at once.
    if (controlId == kSync || controlId == kNote)
    {
        if (controlId == kNote && m_uSync == 0 && !m_TempoSync.engaged())
            return true;
        retargetTempoSync(isLandingWrite());
    }
    if (m_bSmoothingPass)
    {
        m_PendingSettings = currentSettings();
        m_bRecookPending = true;
    }
    else
        pushControlsToVoices(true);
    return true;
}

bool CStDelayFil::processFrame(float* inputFrame, float* outputFrame, uint32_t inputChannels, uint32_t outputChannels)
{
    if (inputFrame == nullptr || outputFrame == nullptr)
        return false;

    m_bSmoothingPass = true;
    smoothControls();
    if (m_TempoSync.gliding() && m_TempoSync.step(tempoSyncTarget(), m_uSync != 0))
    {
        m_PendingSettings = currentSettings();
        m_bRecookPending = true;
    }
    m_bSmoothingPass = false;
    if (m_bRecookPending)
    {
        m_bRecookPending = false;
        pushSettingsToVoices(m_PendingSettings, true);
    }

    const bool stereo = inputChannels >= 2 && outputChannels >= 2;

    if (m_uActive != 0)
    {
        outputFrame[0] = inputFrame[0] * m_fVolume;
        if (stereo)
            outputFrame[1] = inputFrame[1] * m_fVolume;
        else if (outputChannels >= 2)
            outputFrame[1] = outputFrame[0];
        return true;
    }

    // Each voice runs as a one-in, one-out frame.
    outputFrame[0] = m_LeftVoice.processSample(inputFrame[0]);
    outputFrame[0] *= m_fVolume;
    if (stereo)
    {
        outputFrame[1] = m_RightVoice.processSample(inputFrame[1]);
        outputFrame[1] *= m_fVolume;
    }
    else if (outputChannels >= 2)
    {
        outputFrame[1] = outputFrame[0];  // mono in, stereo out
    }
    return true;
}

namespace {

const uint32_t kShortestRunInLanes = 4;

// CFilteredDelay::processSample over a run of samples, scaled by the volume, with the voice's
// state in locals. The read and write positions move together, so whether the tap is the input
// itself and the interpolation fraction stay the same over the run.
void runVoice(CFilteredDelay& voice, const float* input, float* output, uint32_t count, float volume)
{
    const float wet = voice.m_fWetGain;
    if (voice.m_pDelayLine == nullptr)
    {
        for (uint32_t i = 0; i < count; ++i)
            output[i] = (1.0f - wet) * input[i] * volume;
        return;
    }
    CBiQuad& filter = voice.m_InputFilter;
    const float a0 = filter.m_fA0, a1 = filter.m_fA1, a2 = filter.m_fA2, b1 = filter.m_fB1, b2 = filter.m_fB2;
    float x1 = filter.m_fX1, x2 = filter.m_fX2, h1 = filter.m_fY1, h2 = filter.m_fY2;
    float* const line = voice.m_pDelayLine;
    const int32_t length = voice.m_nLineLength;
    int32_t readPos = voice.m_nReadPos;
    int32_t writePos = voice.m_nWritePos;
    const float delay = voice.m_fDelaySamples;
    const float feedback = voice.m_fFeedbackGain;
    const bool inputIsTap = readPos == writePos && delay < 1.0f;
    const bool noDelay = delay == 0.0f;
    const float frac = delay - static_cast<float>(static_cast<int32_t>(delay));
    for (uint32_t i = 0; i < count; ++i)
    {
        const float x = input[i];
        const float y = CBiQuad::filterSample(a0, a1, a2, b1, b2, x1, x2, h1, h2, x);
        const float y0 = inputIsTap ? x : line[readPos];
        const float y1 = line[readPos > 0 ? readPos - 1 : length - 1];
        const float yd = noDelay ? y : y1 * frac + (1.0f - frac) * y0;
        line[writePos] = feedback * yd + y;
        const float out = (1.0f - wet) * x + wet * yd;
        output[i] = out * volume;
        if (++writePos >= length)
            writePos = 0;
        if (++readPos >= length)
            readPos = 0;
    }
    filter.m_fX1 = x1;
    filter.m_fX2 = x2;
    filter.m_fY1 = h1;
    filter.m_fY2 = h2;
    voice.m_nReadPos = readPos;
    voice.m_nWritePos = writePos;
}

}  // namespace

bool CStDelayFil::hasRungOut()
{
    // The voices first: while echoes ring they answer at less cost than the smoothers.
    if (m_uActive == 0 && !(m_LeftSilence.isQuiet(m_LeftVoice) && m_RightSilence.isQuiet(m_RightVoice)))
        return false;
    return !m_TempoSync.gliding() && smoothersAtRest();
}

float CStDelayFil::tailTimeMs(const float* plainValues) const
{
    const float* v = plainValues;
    // Switched off, all dry or silent: nothing follows the input.
    if (v[kActivePosition] != 0.0f || v[kWetDry] <= 0.0f || v[kVolume] <= 0.0f)
        return 0.0f;
    const bool delayMode = v[kDelayStatePosition] != 0.0f;
    const double ratio = v[kDelayRatio] > 0.0f ? v[kDelayRatio] : 1.0;
    const double knobMs =
        v[kSyncPosition] != 0.0f
            ? TempoSync::noteMs(static_cast<uint32_t>(v[kNotePosition]), m_dTempoBpm, kLongestSyncedMs)
            : v[kDelay];
    const double delayMs = (delayMode ? knobMs : knobMs * 0.01) / ratio;
    const double feedback = std::fabs(delayMode ? v[kFeedback] : v[kFeedback] - 5.0) * 0.01;
    if (feedback >= 1.0)
        return -1.0f;
    // No voice delays by more than its line.
    double longestMs = delayMs + v[kOffset];
    const double lineMs = (CFilteredDelay::lineLengthFor(sampleRate) - 1) * 1000.0 / sampleRate;
    if (longestMs > lineMs)
        longestMs = lineMs;

    // ln (10^4.5): the decay of about 90 dB. The low-pass rings with an envelope of
    // exp (-pi fc t / Q).
    const double decay = 10.361632918473205;
    const double cutoff = v[kCutoff] > 0.0f ? v[kCutoff] : 1.0;
    const double ringMs = 1000.0 * decay * v[kResonance] / (M_PI * cutoff);
    if (longestMs <= 0.0)
        return static_cast<float>(ringMs);
    const double echoes = feedback > 0.0 ? 1.0 + std::ceil(decay / -std::log(feedback)) : 1.0;
    return static_cast<float>(ringMs + echoes * longestMs);
}

bool CStDelayFil::processFrameRun(const float* const* inputs, float* const* outputs, uint32_t channels,
                                  uint32_t frameCount, HostInfoBlock& timing, bool withContext, double secondsPerSample)
{
    // The switch only changes between runs.
    if (m_uActive == 0)
    {
        m_LeftSilence.countRun(frameCount);
        if (channels >= 2)
            m_RightSilence.countRun(frameCount);
    }
    // Output buffers that are another channel's input need the frame-by-frame order, and so
    // does a glide of the synced time.
    const bool crossed = channels == 2 && inputs != nullptr && (outputs[0] == inputs[1] || outputs[1] == inputs[0]);
    if (inputs == nullptr || frameCount == 0 || (channels != 1 && channels != 2) || crossed ||
        m_TempoSync.gliding())
        return CPlugIn::processFrameRun(inputs, outputs, channels, frameCount, timing, withContext, secondsPerSample);

    if (smoothersAtRest())
        runAtRest(inputs, outputs, channels, frameCount);
    else if (!runGliding(inputs, outputs, channels, frameCount))
        return CPlugIn::processFrameRun(inputs, outputs, channels, frameCount, timing, withContext, secondsPerSample);

    // The timing the run's last frame hands over.
    timing.samplePosition += frameCount;
    timing.timeSeconds = static_cast<double>(timing.samplePosition) * secondsPerSample;
    EffectMessage message{};
    message.hostInfo = withContext ? &timing : nullptr;
    message.entryCount = -1;
    handleMessage(kMessageHostInfo, &message);
    return true;
}

void CStDelayFil::runAtRest(const float* const* inputs, float* const* outputs, uint32_t channels,
                            uint32_t frameCount)
{
    if (m_uActive != 0)
    {
        for (uint32_t c = 0; c < channels; ++c)
            for (uint32_t i = 0; i < frameCount; ++i)
                outputs[c][i] = inputs[c][i] * m_fVolume;
        return;
    }
    if (frameCount == 1)
    {
        // One frame: the voices' own step costs less than setting up a run.
        outputs[0][0] = m_LeftVoice.processSample(inputs[0][0]) * m_fVolume;
        if (channels == 2)
            outputs[1][0] = m_RightVoice.processSample(inputs[1][0]) * m_fVolume;
        return;
    }
    // Loading the lanes pays from a few frames on; shorter runs take the voices one by one.
    if (channels == 2 && frameCount >= kShortestRunInLanes &&
        VoicePair::runAtRest(m_LeftVoice, m_RightVoice, inputs[0], inputs[1], outputs[0], outputs[1], frameCount,
                             m_fVolume))
        return;
    runVoice(m_LeftVoice, inputs[0], outputs[0], frameCount, m_fVolume);
    if (channels == 2)
        runVoice(m_RightVoice, inputs[1], outputs[1], frameCount, m_fVolume);
}

bool CStDelayFil::runGliding(const float* const* inputs, float* const* outputs, uint32_t channels,
                             uint32_t frameCount)
{
    // Only the eight continuous controls may glide; anything else takes the general loop.
    if (controlIndexTable == nullptr || controlIndexCount != kControlCount || joystickX.smoothingEnabled ||
        joystickY.smoothingEnabled)
        return false;
    // The switches after them must not glide.
    for (int position = ControlGlide::kControls; position < kControlCount; ++position)
        if (controlIndexTable[position] == nullptr || controlIndexTable[position]->smoothingEnabled)
            return false;
    ControlGlide glide;
    if (!glide.load(controlIndexTable))
        return false;

    if (channels == 2 && VoicePair::fitLanes(m_LeftVoice, m_RightVoice))
        glideFrames<true>(glide, inputs, outputs, channels, frameCount);
    else
        glideFrames<false>(glide, inputs, outputs, channels, frameCount);
    glide.store();
    return true;
}

inline CStDelayFil::VoiceSettings CStDelayFil::settingsAtMove(const ControlGlide& glide, int lastMover) const
{
    VoiceSettings settings;
    settings.delayState = m_uDState;
    // With Sync on the knob's glide does not reach the voices (the synced time is at rest here).
    const bool synced = m_TempoSync.engaged();
    if (lastMover >= static_cast<int>(kWetDry))
    {
        // Wet/Dry or Volume moved last: every setting has its new value.
        settings.delayMs = synced ? m_TempoSync.value() : glide.value(kDelay);
        settings.feedbackPct = glide.value(kFeedback);
        settings.cutoffHz = glide.value(kCutoff);
        settings.q = glide.value(kResonance);
        settings.ratio = glide.value(kDelayRatio);
        settings.offsetMs = glide.value(kOffset);
        settings.wetPct = glide.value(kWetDry);
        return settings;
    }
    settings.delayMs = synced ? m_TempoSync.value() : glide.valueAtMove(kDelay, lastMover);
    settings.feedbackPct = glide.valueAtMove(kFeedback, lastMover);
    settings.cutoffHz = glide.valueAtMove(kCutoff, lastMover);
    settings.q = glide.valueAtMove(kResonance, lastMover);
    settings.ratio = glide.valueAtMove(kDelayRatio, lastMover);
    settings.offsetMs = glide.valueAtMove(kOffset, lastMover);
    settings.wetPct = glide.valueAtMove(kWetDry, lastMover);
    return settings;
}

// The frames of a glide, with both voices in the lanes (stereo, when they fit) or one by one.
template <bool inLanes>
void CStDelayFil::glideFrames(ControlGlide& glide, const float* const* inputs, float* const* outputs,
                              uint32_t channels, uint32_t frameCount)
{
    const bool stereo = channels == 2;
    // Nothing in the run changes the switch.
    const bool voicesOn = m_uActive == 0;
    VoicePair pair(m_LeftVoice, m_RightVoice);
    if (inLanes)
        pair.beginFrames();
    for (uint32_t i = 0; i < frameCount; ++i)
    {
        const int lastMover = glide.step();
        if (lastMover >= 0)
        {
            // What the last moving control's change would have cooked.
            const VoiceSettings settings = settingsAtMove(glide, lastMover);
            if (inLanes)
                pair.recook(voiceInputsFor(settings));
            else
                pushSettingsToVoices(settings, true);
        }
        const float volume = glide.value(kVolume);
        if (!voicesOn)
        {
            outputs[0][i] = inputs[0][i] * volume;
            if (stereo)
                outputs[1][i] = inputs[1][i] * volume;
            continue;
        }
        if (inLanes)
        {
            const LanePair out = pair.processFrame(loadLanes(inputs[0] + i, inputs[1] + i)) * bothLanes(volume);
            storeLanes(out, outputs[0] + i, outputs[1] + i);
            continue;
        }
        const float left = inputs[0][i];
        const float right = stereo ? inputs[1][i] : 0.0f;
        outputs[0][i] = m_LeftVoice.processSample(left) * volume;
        if (stereo)
            outputs[1][i] = m_RightVoice.processSample(right) * volume;
    }
    if (inLanes)
        pair.endFrames();
}

bool CStDelayFil::processInterleavedBuffer(float* input, float* output, uint32_t, uint32_t, uint32_t sampleCount)
{
    return copyInterleavedBuffer(input, output, sampleCount);
}

bool CStDelayFil::processChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount)
{
    return copyChannelBuffers(inputs, outputs, channelCount, frameCount);
}

void* CStDelayFil::handleGuiMessage(GuiMessage* message)
{
    return CPlugIn::handleGuiMessage(message);
}

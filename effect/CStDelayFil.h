#pragma once

#include "effect/CFilteredDelay.h"
#include "effect/CPlugIn.h"
#include "effect/TempoSync.h"
#include "effect/VoicePair.h"
#include "effect/VoiceSilence.h"

#include <cstdint>

class ControlGlide;

// The product's stereo filtered delay: two voices, comb or delay mode,
// a delay ratio and a right-channel offset, an on/off switch and a volume.
class CStDelayFil : public CPlugIn
{
public:
    // Control ids (the two switches do not follow the positions).
    enum ControlIds : uint32_t
    {
        kDelay = 0,
        kFeedback = 1,
        kCutoff = 2,
        kResonance = 3,
        kDelayRatio = 4,
        kOffset = 5,
        kWetDry = 6,
        kVolume = 7,
        kDelayState = 41,
        kActive = 42,
        kSync = 43,
        kNote = 44
    };
    static const int kControlCount = 12;
    // The controls of the first release; Sync and Note came after them.
    static const int kFirstReleaseControlCount = 10;
    static const int kFactoryPresetCount = 11;

    CStDelayFil();
    ~CStDelayFil() override;

    bool prepareToProcess() override;
    bool processFrame(float* inputFrame, float* outputFrame, uint32_t inputChannels, uint32_t outputChannels) override;
    // The frame-by-frame results of the base loop, in fewer steps: one pass per voice while every
    // control is at rest, one smoothing and cooking pass per frame while controls glide.
    bool processFrameRun(const float* const* inputs, float* const* outputs, uint32_t channels, uint32_t frameCount,
                         HostInfoBlock& timing, bool withContext, double secondsPerSample) override;
    // At rest, and either switched off or with both voices quiet.
    bool hasRungOut() override;
    // The echoes of the given settings: the filter's ring, then one echo per round trip of the
    // longer delay until the feedback has brought them down by about 90 dB.
    float tailTimeMs(const float* plainValues) const override;
    bool onControlChange(uint32_t controlId) override;
    // A tempo the host gave; the first after a prepare lands at once, later ones glide.
    void setHostTempo(double tempoBpm) override;
    double hostTempoBpm() const { return m_dTempoBpm; }
    // The time the Delay knob's place takes with Sync on, at the last tempo the host gave.
    float syncedDelayMs() const;
    bool processInterleavedBuffer(float* input, float* output, uint32_t inputChannels, uint32_t outputChannels,
                                  uint32_t sampleCount) override;
    bool processChannelBuffers(float** inputs, float** outputs, uint32_t channelCount, uint32_t frameCount) override;
    bool buildControlList() override;
    void* handleGuiMessage(GuiMessage* message) override;

    // The one place where the controls reach the voices.
    void pushControlsToVoices(bool recook);

    // The control values the voices are cooked from.
    struct VoiceSettings
    {
        float delayMs;
        float feedbackPct;
        float cutoffHz;
        float q;
        float ratio;
        float offsetMs;
        float wetPct;
        uint32_t delayState;
    };

    CFilteredDelay m_LeftVoice;
    CFilteredDelay m_RightVoice;

    float m_fDelay_ms;
    float m_fFeedback_pct;
    float m_f_fc_Hz;
    float m_f_Q;
    float m_fRatio;
    float m_fOffset;
    float m_fWetLevel_pct;
    float m_fVolume;
    uint32_t m_uDState;
    uint32_t m_uActive;
    uint32_t m_uSync;
    uint32_t m_uNote;

private:
    // Runs of frames with every control at rest: each voice in one pass.
    void runAtRest(const float* const* inputs, float* const* outputs, uint32_t channels, uint32_t frameCount);
    // Runs of frames while continuous controls glide: the smoothers stepped together, the voices
    // cooked once per frame. False (nothing done) when a control is set up otherwise.
    bool runGliding(const float* const* inputs, float* const* outputs, uint32_t channels, uint32_t frameCount);
    VoiceSettings currentSettings() const;
    // The settings a glide's step cooks: as they stood when its last moving control moved.
    VoiceSettings settingsAtMove(const ControlGlide& glide, int lastMover) const;
    template <bool inLanes>
    void glideFrames(ControlGlide& glide, const float* const* inputs, float* const* outputs, uint32_t channels,
                     uint32_t frameCount);
    // Each voice's delay and the shared settings, for the delay mode.
    static VoiceInputs voiceInputsFor(const VoiceSettings& settings);
    void pushSettingsToVoices(const VoiceSettings& settings, bool recook);

    // While the frame's smoothing pass runs, a moving control only records the
    // settings it would have cooked; the voices are cooked once after the pass
    // from the last record. Each recook replaces everything the one before it
    // derived, so this equals one recook per moving control. The record, not
    // the variables after the pass, is what counts: a control that settles on
    // its target after the last moving one writes its variable without a recook.
    bool m_bSmoothingPass;
    bool m_bRecookPending;
    VoiceSettings m_PendingSettings;

    VoiceSilence m_LeftSilence;
    VoiceSilence m_RightSilence;

    // With Sync on (or while gliding back from it), where the voices' delay time comes from.
    TempoSync m_TempoSync;
    double m_dTempoBpm;
    bool m_bTempoSincePrepare;
    // The time the synced delay glides toward: the note's, or with Sync off the knob's.
    float tempoSyncTarget() const;
    void retargetTempoSync(bool land);
};

#include "effect/CPlugIn.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

// Marks the write in progress as one that lands at once, for the onControlChange it calls.
struct LandingWriteScope
{
    LandingWriteScope(bool& flag, bool lands)
        : flag(flag)
    {
        flag = lands;
    }
    ~LandingWriteScope() { flag = false; }
    bool& flag;
};

const char* const kDefaultEffectName = "Name Not Set.";

JoystickProgram* newZeroedJoystickProgram()
{
    JoystickProgram* program = new (std::nothrow) JoystickProgram;
    if (program != nullptr)
        std::memset(program, 0, sizeof(JoystickProgram));
    return program;
}

double clampToRange(double value, float minValue, float maxValue)
{
    const double low = minValue < maxValue ? minValue : maxValue;
    const double high = minValue < maxValue ? maxValue : minValue;
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

double clampUnit(double value, double low, double high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

}  // namespace

CPlugIn::CPlugIn()
    : noAudioInput(false),
      wantsBuffers(false),
      runsOnSilence(false),
      firstReleaseControlCount(-1),
      sampleRate(44100),
      effectName(kDefaultEffectName),
      hasEditor(false),
      currentJoystickProgram(nullptr),
      controlIndexTable(nullptr),
      controlIndexCount(0),
      guiExchangeTable(nullptr),
      smoothingReady(false),
      landingWrite(false)
{
    for (int i = 0; i < kPresetSlotCount; ++i)
    {
        presetJoystickPrograms[i] = nullptr;
        presetNames[i] = nullptr;
    }
    std::memset(&options, 0, sizeof(options));
    std::memset(&hostInfo, 0, sizeof(hostInfo));
    assignButtonLabels[0] = "B1";
    assignButtonLabels[1] = "B2";
    assignButtonLabels[2] = "B3";

    // Note k = 8.1757989 Hz (MIDI note 0) times one semitone per step, by repeated multiplication.
    double frequency = 8.175798915636872;
    for (int k = 0; k < kMidiNoteCount; ++k)
    {
        MidiNoteTable[k] = static_cast<float>(frequency);
        frequency *= 1.059463094359;
    }

    currentJoystickProgram = newZeroedJoystickProgram();

    joystickX.setControlName("MIDI JS X");
    joystickX.midiControlNumber = 16;
    joystickY.setControlName("MIDI JS Y");
    joystickY.midiControlNumber = 17;
}

CPlugIn::~CPlugIn()
{
    delete[] guiExchangeTable;
    guiExchangeTable = nullptr;

    for (int position = controlList.controlCount() - 1; position >= 0; --position)
    {
        ControlDescriptor* descriptor = controlList.controlAt(position);
        if (descriptor != nullptr)
            controlList.removeControl(descriptor->controlId);
    }

    delete[] controlIndexTable;
    controlIndexTable = nullptr;
    controlIndexCount = 0;
    delete currentJoystickProgram;
    currentJoystickProgram = nullptr;
    for (int i = 0; i < kPresetSlotCount; ++i)
    {
        delete presetJoystickPrograms[i];
        presetJoystickPrograms[i] = nullptr;
    }
    controlList.clear();
}

// ---------------------------------------------------------------------------
// Virtual operations: the base does nothing and succeeds.

bool CPlugIn::prepareToProcess()
{
    finishGlides();
    for (int position = 0;; ++position)
    {
        ControlDescriptor* descriptor = controlList.controlAt(position);
        if (descriptor == nullptr)
            break;
        if (descriptor->smoothingEnabled)
            setUpSmoothing(*descriptor);
    }
    if (joystickX.smoothingEnabled)
        setUpSmoothing(joystickX);
    if (joystickY.smoothingEnabled)
        setUpSmoothing(joystickY);
    smoothingReady = true;
    return true;
}

bool CPlugIn::processFrame(float*, float*, uint32_t, uint32_t)
{
    return true;
}

bool CPlugIn::onControlChange(uint32_t)
{
    return true;
}

void CPlugIn::setHostTempo(double) {}

int CPlugIn::controlsOfFirstRelease() const
{
    const int count = controlCount();
    return firstReleaseControlCount >= 0 && firstReleaseControlCount < count ? firstReleaseControlCount : count;
}

bool CPlugIn::initializeEffect()
{
    return true;
}

bool CPlugIn::onJoystickChange(float, float, float, float, float, float)
{
    return true;
}

bool CPlugIn::processInterleavedBuffer(float*, float*, uint32_t, uint32_t, uint32_t)
{
    return true;
}

bool CPlugIn::processChannelBuffers(float**, float**, uint32_t, uint32_t)
{
    return true;
}

bool CPlugIn::midiNoteOn(uint32_t, uint32_t, uint32_t)
{
    return true;
}

bool CPlugIn::midiNoteOff(uint32_t, uint32_t, uint32_t, bool)
{
    return true;
}

bool CPlugIn::midiModWheel(uint32_t, uint32_t)
{
    return true;
}

bool CPlugIn::midiPitchBend(uint32_t, int32_t, float)
{
    return true;
}

bool CPlugIn::extraHook()
{
    return true;
}

bool CPlugIn::midiMessage(uint8_t, uint8_t, uint8_t, uint8_t)
{
    return true;
}

bool CPlugIn::buildControlList()
{
    return true;
}

bool CPlugIn::handleMessage(uint32_t message, EffectMessage* effectMessage)
{
    if (effectMessage == nullptr)
        return true;

    const int32_t expectedEntries = controlIndexCount + 2;

    if (message == kMessageApplyGuiChanges)
    {
        GuiExchangeEntry* table = effectMessage->guiTable;
        if (table == nullptr || effectMessage->hostInfo == nullptr || controlIndexTable == nullptr ||
            effectMessage->entryCount != expectedEntries)
            return true;

        hostInfo = *effectMessage->hostInfo;
        const bool ignoreSmoothing = effectMessage->ignoreSmoothing != 0;
        for (int32_t position = 0; position < controlIndexCount; ++position)
        {
            if (table[position].changed)
                setNormalizedValue(position, table[position].normalizedValue, ignoreSmoothing);
        }

        const GuiExchangeEntry& xEntry = table[controlIndexCount];
        const GuiExchangeEntry& yEntry = table[controlIndexCount + 1];
        if (xEntry.changed || yEntry.changed)
        {
            joystickX.joystickOrientation = xEntry.joystickOrientation;
            joystickY.joystickOrientation = xEntry.joystickOrientation;
            if (!std::isfinite(xEntry.joystickValue) || !std::isfinite(yEntry.joystickValue))
                return true;

            const bool xDirect = !joystickX.smoothingEnabled || ignoreSmoothing;
            const bool yDirect = !joystickY.smoothingEnabled || ignoreSmoothing;
            if (xDirect)
                joystickX.joystickValue = xEntry.joystickValue;
            else
                joystickX.smoothingTarget = xEntry.joystickValue;
            if (yDirect)
                joystickY.joystickValue = yEntry.joystickValue;
            else
                joystickY.smoothingTarget = yEntry.joystickValue;
            if (xDirect)
                applyJoystickMix();
        }
        return true;
    }

    if (message == kMessageCollectMeters)
    {
        if (guiExchangeTable == nullptr || controlIndexTable == nullptr || effectMessage->entryCount != expectedEntries)
            return true;
        for (int32_t position = 0; position < controlIndexCount; ++position)
        {
            const ControlDescriptor* descriptor = controlIndexTable[position];
            if (descriptor == nullptr || descriptor->guiIndex < 0 || descriptor->guiIndex >= expectedEntries)
                continue;
            GuiExchangeEntry& entry = guiExchangeTable[descriptor->guiIndex];
            entry.changed = 0;
            if (descriptor->controlType == kControlMeter && descriptor->meterVariable != nullptr)
            {
                entry.normalizedValue = *descriptor->meterVariable;
                entry.changed = 1;
            }
        }
        effectMessage->returnedGuiTable = guiExchangeTable;
        return true;
    }

    if (message == kMessageHostInfo)
    {
        if (effectMessage->hostInfo != nullptr)
            hostInfo = *effectMessage->hostInfo;
        return true;
    }

    return true;
}

bool CPlugIn::getDependentUpdates(uint32_t, float, ControlUpdateNode**, bool)
{
    return false;
}

void CPlugIn::freeUpdateList(ControlUpdateNode** head)
{
    if (head == nullptr)
        return;
    // Reverse the list, then delete from what was the last node.
    ControlUpdateNode* reversed = nullptr;
    ControlUpdateNode* node = *head;
    while (node != nullptr)
    {
        ControlUpdateNode* next = node->next;
        node->next = reversed;
        reversed = node;
        node = next;
    }
    while (reversed != nullptr)
    {
        ControlUpdateNode* next = reversed->next;
        delete reversed;
        reversed = next;
    }
    *head = nullptr;
}

void* CPlugIn::handleGuiMessage(GuiMessage*)
{
    return nullptr;
}

bool CPlugIn::onSidechain(SidechainRecord*)
{
    return true;
}

bool CPlugIn::extraMessageHook(void*)
{
    return true;
}

// ---------------------------------------------------------------------------
// Controls by position.

int CPlugIn::controlCount() const
{
    return controlList.controlCount();
}

ControlDescriptor* CPlugIn::controlAt(int position) const
{
    return controlList.controlAt(position);
}

void CPlugIn::removeControl(uint32_t controlId)
{
    controlList.removeControl(controlId);
}

ControlDescriptor* CPlugIn::descriptorAtPosition(int32_t position) const
{
    if (controlIndexTable == nullptr || position < 0 || position >= controlIndexCount)
        return nullptr;
    return controlIndexTable[position];
}

float CPlugIn::getPlainValue(int32_t position) const
{
    const ControlDescriptor* descriptor = descriptorAtPosition(position);
    if (descriptor == nullptr)
        return 0.0f;
    switch (descriptor->dataType)
    {
        case kDataInt32:
            return descriptor->intVariable ? static_cast<float>(*descriptor->intVariable) : 0.0f;
        case kDataFloat:
            return descriptor->floatVariable ? *descriptor->floatVariable : 0.0f;
        case kDataDouble:
            return descriptor->doubleVariable ? static_cast<float>(*descriptor->doubleVariable) : 0.0f;
        case kDataEnumIndex:
            return descriptor->enumVariable ? static_cast<float>(*descriptor->enumVariable) : 0.0f;
        default:
            return 0.0f;
    }
}

double CPlugIn::plainFromNormalized(const ControlDescriptor& descriptor, double normalizedValue)
{
    const double range = static_cast<double>(descriptor.maxValue) - static_cast<double>(descriptor.minValue);
    const double plain = clampUnit(normalizedValue, 0.0, 1.0) * range + descriptor.minValue;
    return clampToRange(plain, descriptor.minValue, descriptor.maxValue);
}

double CPlugIn::valueFromNormalized(int32_t position, double normalizedValue) const
{
    const ControlDescriptor* descriptor = descriptorAtPosition(position);
    if (descriptor == nullptr || !std::isfinite(normalizedValue))
        return 0.0;
    const double plain = plainFromNormalized(*descriptor, normalizedValue);
    switch (descriptor->dataType)
    {
        case kDataInt32:
        case kDataEnumIndex:
            return std::floor(plain + 0.5);
        case kDataFloat:
            return static_cast<float>(plain);
        default:
            return plain;
    }
}

double CPlugIn::valueFromPlain(int32_t position, double plainValue) const
{
    const ControlDescriptor* descriptor = descriptorAtPosition(position);
    if (descriptor == nullptr || !std::isfinite(plainValue))
        return 0.0;
    const double plain = clampToRange(plainValue, descriptor->minValue, descriptor->maxValue);
    switch (descriptor->dataType)
    {
        case kDataInt32:
            return static_cast<int32_t>(plain);
        case kDataEnumIndex:
            return std::floor(plain + 0.5);
        case kDataFloat:
            return static_cast<float>(plain);
        default:
            return plain;
    }
}

void CPlugIn::setNormalizedValue(int32_t position, double normalizedValue, bool ignoreSmoothing)
{
    ControlDescriptor* descriptor = descriptorAtPosition(position);
    if (descriptor == nullptr || !std::isfinite(normalizedValue))
        return;

    const double plain = plainFromNormalized(*descriptor, normalizedValue);
    const LandingWriteScope landing(landingWrite, ignoreSmoothing || !smoothingReady);

    switch (descriptor->dataType)
    {
        case kDataInt32:
            if (descriptor->intVariable == nullptr)
                return;
            *descriptor->intVariable = static_cast<int32_t>(std::floor(plain + 0.5));
            onControlChange(descriptor->controlId);
            return;
        case kDataFloat:
            writeFloatControl(descriptor, plain, descriptor->smoothingEnabled && !ignoreSmoothing);
            return;
        case kDataDouble:
            writeDoubleControl(descriptor, plain, descriptor->smoothingEnabled && !ignoreSmoothing);
            return;
        case kDataEnumIndex:
            writeEnumControl(descriptor, plain);
            return;
        default:
            return;
    }
}

void CPlugIn::setPlainValue(int32_t position, double plainValue)
{
    ControlDescriptor* descriptor = descriptorAtPosition(position);
    if (descriptor == nullptr || !std::isfinite(plainValue))
        return;

    const double plain = clampToRange(plainValue, descriptor->minValue, descriptor->maxValue);
    const LandingWriteScope landing(landingWrite, !descriptor->smoothingEnabled || !smoothingReady);
    switch (descriptor->dataType)
    {
        case kDataInt32:
            if (descriptor->intVariable == nullptr)
                return;
            *descriptor->intVariable = static_cast<int32_t>(plain);  // truncated toward zero
            onControlChange(descriptor->controlId);
            return;
        case kDataFloat:
            writeFloatControl(descriptor, plain, descriptor->smoothingEnabled);
            return;
        case kDataDouble:
            writeDoubleControl(descriptor, plain, descriptor->smoothingEnabled);
            return;
        case kDataEnumIndex:
            writeEnumControl(descriptor, plain);
            return;
        default:
            return;
    }
}

void CPlugIn::writeFloatControl(ControlDescriptor* descriptor, double plainValue, bool viaSmoother)
{
    if (descriptor->floatVariable == nullptr)
        return;
    const float value = static_cast<float>(plainValue);
    if (viaSmoother && smoothingReady)
    {
        descriptor->smoothingTarget = value;
    }
    else
    {
        *descriptor->floatVariable = value;
        // A jump also moves the smoother, or the next frame would glide back.
        // Also when smoothing is switched off only for this write (state restore).
        descriptor->smoothingTarget = value;
        descriptor->smoothState = value;
        descriptor->smoothLastOutput = value;
        descriptor->smoothingSettled = false;
    }
    onControlChange(descriptor->controlId);
}

void CPlugIn::writeDoubleControl(ControlDescriptor* descriptor, double plainValue, bool viaSmoother)
{
    if (descriptor->doubleVariable == nullptr)
        return;
    if (viaSmoother && smoothingReady)
    {
        descriptor->smoothingTarget = static_cast<float>(plainValue);
    }
    else
    {
        *descriptor->doubleVariable = plainValue;
        descriptor->smoothingTarget = static_cast<float>(plainValue);
        descriptor->smoothState_d = plainValue;
        descriptor->smoothLastOutput_d = plainValue;
    }
    onControlChange(descriptor->controlId);
}

void CPlugIn::writeEnumControl(ControlDescriptor* descriptor, double plainValue)
{
    if (descriptor->enumVariable == nullptr)
        return;
    const uint32_t index = static_cast<uint32_t>(std::floor(plainValue + 0.5));
    if (index == *descriptor->enumVariable)
        return;
    *descriptor->enumVariable = index;
    onControlChange(descriptor->controlId);
}

void CPlugIn::setUpSmoothing(ControlDescriptor& descriptor)
{
    const double frames = static_cast<double>(descriptor.smoothingTimeMs) * 0.001 * static_cast<double>(sampleRate);
    // Without a usable rate the smoother jumps (a = 0) instead of diverging.
    const double a = frames > 0.0 ? std::exp(-static_cast<double>(6.2831855f) / frames) : 0.0;

    descriptor.smoothCoeffA = static_cast<float>(a);
    descriptor.smoothCoeffB = 1.0f - descriptor.smoothCoeffA;
    descriptor.smoothCoeffA_d = a;
    descriptor.smoothCoeffB_d = 1.0 - a;

    double current = 0.0;
    if (descriptor.dataType == kDataFloat && descriptor.floatVariable != nullptr)
        current = *descriptor.floatVariable;
    else if (descriptor.dataType == kDataDouble && descriptor.doubleVariable != nullptr)
        current = *descriptor.doubleVariable;
    else if (descriptor.dataType == kDataNone)
        current = descriptor.joystickValue;

    descriptor.smoothState = static_cast<float>(current);
    descriptor.smoothLastOutput = static_cast<float>(current);
    descriptor.smoothState_d = current;
    descriptor.smoothLastOutput_d = current;
    descriptor.smoothingTarget = static_cast<float>(current);
    descriptor.smoothingSettled = false;
}

// One step of one control's smoother; true when its variable moved.
bool CPlugIn::smoothOneControl(ControlDescriptor& descriptor)
{
    if (descriptor.dataType == kDataFloat && descriptor.floatVariable != nullptr)
    {
        const float y = descriptor.smoothCoeffB * descriptor.smoothingTarget +
                        descriptor.smoothCoeffA * descriptor.smoothState;
        descriptor.smoothState = y;
        if (y == descriptor.smoothLastOutput)
        {
            // The glide has stalled a hair short: the variable lands on its target, and that
            // last step counts as a move, so the effect hears it once.
            const bool landed = *descriptor.floatVariable != descriptor.smoothingTarget;
            *descriptor.floatVariable = descriptor.smoothingTarget;
            descriptor.smoothingSettled = true;
            descriptor.smoothingSettledTarget = descriptor.smoothingTarget;
            return landed;
        }
        descriptor.smoothingSettled = false;
        descriptor.smoothLastOutput = y;
        *descriptor.floatVariable = y;
        return true;
    }
    if (descriptor.dataType == kDataDouble && descriptor.doubleVariable != nullptr)
    {
        const double y = descriptor.smoothCoeffB_d * descriptor.smoothingTarget +
                         descriptor.smoothCoeffA_d * descriptor.smoothState_d;
        descriptor.smoothState_d = y;
        if (y == descriptor.smoothLastOutput_d)
        {
            const bool landed = *descriptor.doubleVariable != static_cast<double>(descriptor.smoothingTarget);
            *descriptor.doubleVariable = descriptor.smoothingTarget;
            return landed;
        }
        descriptor.smoothLastOutput_d = y;
        *descriptor.doubleVariable = y;
        return true;
    }
    return false;
}

void CPlugIn::smoothControls()
{
    if (!smoothingReady || controlIndexTable == nullptr)
        return;

    for (int32_t position = 0; position < controlIndexCount; ++position)
    {
        ControlDescriptor* descriptor = controlIndexTable[position];
        if (descriptor == nullptr || !descriptor->smoothingEnabled)
            continue;
        // Most frames find a float control settled: keep that path short.
        if (descriptor->smoothingSettled && descriptor->dataType == kDataFloat &&
            descriptor->floatVariable != nullptr && descriptor->smoothingTarget == descriptor->smoothingSettledTarget)
        {
            *descriptor->floatVariable = descriptor->smoothingTarget;
            continue;
        }
        if (smoothOneControl(*descriptor))
            onControlChange(descriptor->controlId);
    }

    if (joystickX.smoothingEnabled || joystickY.smoothingEnabled)
    {
        // The joysticks have no bound variable: their value lives in the descriptor.
        ControlDescriptor* sticks[2] = {&joystickX, &joystickY};
        for (ControlDescriptor* stick : sticks)
        {
            if (!stick->smoothingEnabled)
                continue;
            const float y = stick->smoothCoeffB * stick->smoothingTarget + stick->smoothCoeffA * stick->smoothState;
            stick->smoothState = y;
            if (y == stick->smoothLastOutput)
            {
                stick->joystickValue = stick->smoothingTarget;
            }
            else
            {
                stick->smoothLastOutput = y;
                stick->joystickValue = y;
            }
        }
        applyJoystickMix();
    }
}

void CPlugIn::finishGlides()
{
    // Before the first prepare every value has landed already.
    if (!smoothingReady)
        return;
    for (int position = 0;; ++position)
    {
        ControlDescriptor* descriptor = controlList.controlAt(position);
        if (descriptor == nullptr)
            break;
        if (!descriptor->smoothingEnabled)
            continue;
        if (descriptor->dataType == kDataFloat && descriptor->floatVariable != nullptr)
            *descriptor->floatVariable = descriptor->smoothingTarget;
        else if (descriptor->dataType == kDataDouble && descriptor->doubleVariable != nullptr)
            *descriptor->doubleVariable = descriptor->smoothingTarget;
    }
    if (joystickX.smoothingEnabled)
        joystickX.joystickValue = joystickX.smoothingTarget;
    if (joystickY.smoothingEnabled)
        joystickY.joystickValue = joystickY.smoothingTarget;
}

bool CPlugIn::hasRungOut()
{
    return true;
}

float CPlugIn::tailTimeMs(const float*) const
{
    return options.tailTimeMs;
}

bool CPlugIn::smoothersAtRest()
{
    if (!smoothingReady || controlIndexTable == nullptr)
        return true;
    if (joystickX.smoothingEnabled || joystickY.smoothingEnabled)
        return false;
    for (int32_t position = 0; position < controlIndexCount; ++position)
    {
        const ControlDescriptor* descriptor = controlIndexTable[position];
        if (descriptor == nullptr || !descriptor->smoothingEnabled)
            continue;
        if (!descriptor->smoothingSettled || descriptor->dataType != kDataFloat || descriptor->floatVariable == nullptr ||
            descriptor->smoothingTarget != descriptor->smoothingSettledTarget)
            return false;
    }
    for (int32_t position = 0; position < controlIndexCount; ++position)
    {
        ControlDescriptor* descriptor = controlIndexTable[position];
        if (descriptor != nullptr && descriptor->smoothingEnabled)
            *descriptor->floatVariable = descriptor->smoothingTarget;
    }
    return true;
}

bool CPlugIn::processFrameRun(const float* const* inputs, float* const* outputs, uint32_t channels,
                              uint32_t frameCount, HostInfoBlock& timing, bool withContext, double secondsPerSample)
{
    float inputFrame[2] = {0.0f, 0.0f};
    float outputFrame[2] = {0.0f, 0.0f};
    EffectMessage message{};
    message.hostInfo = withContext ? &timing : nullptr;
    message.entryCount = -1;
    for (uint32_t i = 0; i < frameCount; ++i)
    {
        if (inputs != nullptr)
        {
            inputFrame[0] = inputs[0][i];
            if (channels == 2)
                inputFrame[1] = inputs[1][i];
        }
        processFrame(inputFrame, outputFrame, channels, channels);
        outputs[0][i] = outputFrame[0];
        if (channels == 2)
            outputs[1][i] = outputFrame[1];

        timing.samplePosition += 1;
        timing.timeSeconds = static_cast<double>(timing.samplePosition) * secondsPerSample;
        handleMessage(kMessageHostInfo, &message);
    }
    return true;
}

// ---------------------------------------------------------------------------
// Vector joystick.

void CPlugIn::setJoystickX(float value, uint8_t orientation)
{
    if (!std::isfinite(value))
        return;
    if (joystickX.smoothingEnabled && smoothingReady)
        joystickX.smoothingTarget = value;
    else
        joystickX.joystickValue = value;
    joystickX.joystickOrientation = orientation;
    if (!joystickX.smoothingEnabled)
        applyJoystickMix();
}

void CPlugIn::setJoystickY(float value, uint8_t orientation)
{
    if (!std::isfinite(value))
        return;
    if (joystickY.smoothingEnabled && smoothingReady)
        joystickY.smoothingTarget = value;
    else
        joystickY.joystickValue = value;
    joystickY.joystickOrientation = orientation;
    if (!joystickX.smoothingEnabled)
        applyJoystickMix();
}

void CPlugIn::getJoystickValues(float& x, float& y) const
{
    x = joystickX.joystickValue;
    y = joystickY.joystickValue;
}

void CPlugIn::applyJoystickMix()
{
    const JoystickMix mix =
        computeJoystickMix(joystickX.joystickValue, joystickY.joystickValue, joystickX.joystickOrientation);
    onJoystickChange(mix.weightA, mix.weightB, mix.weightC, mix.weightD, mix.mixAC, mix.mixBD);
}

JoystickMix CPlugIn::computeJoystickMix(float x, float y, uint8_t orientation)
{
    const double dx = x;
    const double dy = y;
    JoystickMix mix;

    double a;
    double b;
    if (orientation == 0)
    {
        mix.mixAC = static_cast<float>(((dx - dy) * 0.5000000016780315 + 1.0) * 0.5);
        mix.mixBD = static_cast<float>(((dx + dy) * 0.5000000016780315 + 1.0) * 0.5);
        a = dx;
        b = dy;
    }
    else
    {
        mix.mixAC = static_cast<float>((dx + 1.0) * 0.5);
        mix.mixBD = static_cast<float>((dy + 1.0) * 0.5);
        const double c = dy * 1.41421356;
        const double d = dx * 1.41421356;
        a = (d + c) * 0.707106782373095;
        b = (c - d) * 0.707106782373095;
    }
    a = clampUnit(a * 127.0, -128.0, 127.0) + 127.0;
    b = clampUnit(b * 127.0, -128.0, 127.0) + 127.0;

    if (a == 127.0 && b == 127.0)
    {
        mix.weightA = 0.25f;
        mix.weightB = 0.25f;
        mix.weightC = 0.25f;
        mix.weightD = 0.25f;
        return mix;
    }

    const double k = 0.0015503875968992248;  // 1 / 645
    double q = a * b * k;
    double r = (255.0 - b) * a * k;
    double s = (255.0 - a) * (255.0 - b) * k;
    const double p = (100.0 - q - r - s) * 0.01;
    q *= 0.01;
    r *= 0.01;
    s *= 0.01;
    mix.weightA = static_cast<float>(clampUnit(p, 0.0, 1.0));
    mix.weightB = static_cast<float>(clampUnit(q, 0.0, 1.0));
    mix.weightC = static_cast<float>(clampUnit(r, 0.0, 1.0));
    mix.weightD = static_cast<float>(clampUnit(s, 0.0, 1.0));
    return mix;
}

// ---------------------------------------------------------------------------
// Builder helpers.

bool CPlugIn::buildIndexTables()
{
    delete[] controlIndexTable;
    controlIndexTable = nullptr;
    delete[] guiExchangeTable;
    guiExchangeTable = nullptr;
    controlIndexCount = 0;

    const int count = controlList.controlCount();
    ControlDescriptor** table = new (std::nothrow) ControlDescriptor*[count + 2];
    GuiExchangeEntry* exchange = new (std::nothrow) GuiExchangeEntry[count + 2];
    if (table == nullptr || exchange == nullptr)
    {
        delete[] table;
        delete[] exchange;
        return false;
    }
    std::memset(exchange, 0, sizeof(GuiExchangeEntry) * static_cast<size_t>(count + 2));

    for (int position = 0; position < count; ++position)
    {
        ControlDescriptor* descriptor = controlList.controlAt(position);
        table[position] = descriptor;
        exchange[position].position = position;
        exchange[position].controlId = static_cast<int32_t>(descriptor->controlId);
    }
    table[count] = &joystickX;
    table[count + 1] = &joystickY;
    exchange[count].position = count;
    exchange[count].controlId = static_cast<int32_t>(joystickX.controlId);
    exchange[count + 1].position = count + 1;
    exchange[count + 1].controlId = static_cast<int32_t>(joystickY.controlId);

    controlIndexTable = table;
    guiExchangeTable = exchange;
    controlIndexCount = count;
    return true;
}

bool CPlugIn::setFrameworkDefaults()
{
    assignButtonLabels[0] = "B1";
    assignButtonLabels[1] = "B2";
    assignButtonLabels[2] = "B3";
    joystickX.setControlName("MIDI JS X");
    joystickX.midiControlNumber = 16;
    joystickY.setControlName("MIDI JS Y");
    joystickY.midiControlNumber = 17;

    bool allocated = true;
    for (int i = 0; i < kPresetSlotCount; ++i)
    {
        if (presetJoystickPrograms[i] == nullptr)
            presetJoystickPrograms[i] = newZeroedJoystickProgram();
        else
            std::memset(presetJoystickPrograms[i], 0, sizeof(JoystickProgram));
        if (presetJoystickPrograms[i] == nullptr)
            allocated = false;
    }
    return allocated;
}

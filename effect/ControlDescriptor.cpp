#include "effect/ControlDescriptor.h"

#include <cstring>
#include <new>

namespace {

// Shared by every empty text; never written.
char emptyText[1] = {'\0'};

void releaseText(char*& storage)
{
    if (storage != nullptr && storage != emptyText)
        delete[] storage;
    storage = emptyText;
}

// Replaces storage by an owned copy of source, cut at 1023 characters and terminated.
// A source that already is the storage stays as it is; a source inside it is copied first.
// Without memory for the copy the text is empty.
const char* copyText(char*& storage, const char* source)
{
    if (source != nullptr && source == storage)
        return storage;
    size_t length = 0;
    while (source != nullptr && length < static_cast<size_t>(kControlTextCapacity - 1) && source[length] != '\0')
        ++length;
    char* copy = emptyText;
    if (length > 0)
    {
        copy = new (std::nothrow) char[length + 1];
        if (copy == nullptr)
        {
            copy = emptyText;
        }
        else
        {
            std::memcpy(copy, source, length);
            copy[length] = '\0';
        }
    }
    releaseText(storage);
    storage = copy;
    return storage;
}

}  // namespace

ControlDescriptor::ControlDescriptor()
    : controlType(0),
      controlId(0),
      meterMode(2),
      minValue(0.0f),
      maxValue(0.0f),
      dataType(kDataNone),
      reservedBeforeDefault(0.0f),
      defaultValue(0.0f),
      smoothingTarget(0.0f),
      smoothCoeffA(0.0f),
      smoothCoeffB(0.0f),
      smoothState(0.0f),
      smoothLastOutput(0.0f),
      smoothCoeffA_d(0.0),
      smoothCoeffB_d(0.0),
      smoothState_d(0.0),
      smoothLastOutput_d(0.0),
      smoothingTimeMs(100.0f),
      smoothingEnabled(false),
      joystickValue(0.0f),
      joystickOrientation(0),
      intVariable(nullptr),
      floatVariable(nullptr),
      doubleVariable(nullptr),
      enumVariable(nullptr),
      meterVariable(nullptr),
      controlName(emptyText),
      unitsText(emptyText),
      variableName(emptyText),
      enumString(emptyText),
      fifthText(emptyText),
      controlNameStorage(emptyText),
      unitsTextStorage(emptyText),
      variableNameStorage(emptyText),
      fifthTextStorage(emptyText),
      enumStringStorage(emptyText),
      meterLogScale(false),
      logTaper(false),
      voltOctaveTaper(false),
      meterAttackMs(10.0f),
      meterReleaseMs(500.0f),
      midiControlEnabled(false),
      midiStatus(176),
      midiControlNumber(3),
      midiChannel(0),
      guiIndex(-1),
      guiIndexAux(-1),
      displayPrecision(0),
      updateQueue(nullptr),
      smoothingSettled(false),
      smoothingSettledTarget(0.0f)
{
    for (int i = 0; i < kPresetSlotCount; ++i)
        presetValues[i] = 0.0;
    for (int i = 0; i < kControlLayoutWordCount; ++i)
        layoutWords[i] = 0;
}

ControlDescriptor::ControlDescriptor(const ControlDescriptor& other) : ControlDescriptor()
{
    copyFrom(other);
}

ControlDescriptor::~ControlDescriptor()
{
    releaseText(controlNameStorage);
    releaseText(unitsTextStorage);
    releaseText(variableNameStorage);
    releaseText(fifthTextStorage);
    releaseText(enumStringStorage);
}

ControlDescriptor& ControlDescriptor::operator=(const ControlDescriptor& other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

void ControlDescriptor::copyFrom(const ControlDescriptor& other)
{
    controlType = other.controlType;
    controlId = other.controlId;
    meterMode = other.meterMode;
    minValue = other.minValue;
    maxValue = other.maxValue;
    dataType = other.dataType;
    reservedBeforeDefault = other.reservedBeforeDefault;
    defaultValue = other.defaultValue;
    smoothingTarget = other.smoothingTarget;
    smoothCoeffA = other.smoothCoeffA;
    smoothCoeffB = other.smoothCoeffB;
    smoothState = other.smoothState;
    smoothLastOutput = other.smoothLastOutput;
    smoothCoeffA_d = other.smoothCoeffA_d;
    smoothCoeffB_d = other.smoothCoeffB_d;
    smoothState_d = other.smoothState_d;
    smoothLastOutput_d = other.smoothLastOutput_d;
    smoothingTimeMs = other.smoothingTimeMs;
    smoothingEnabled = other.smoothingEnabled;
    joystickValue = other.joystickValue;
    joystickOrientation = other.joystickOrientation;
    intVariable = other.intVariable;
    floatVariable = other.floatVariable;
    doubleVariable = other.doubleVariable;
    enumVariable = other.enumVariable;
    meterVariable = other.meterVariable;

    controlName = copyText(controlNameStorage, other.controlName);
    unitsText = copyText(unitsTextStorage, other.unitsText);
    variableName = copyText(variableNameStorage, other.variableName);
    enumString = copyText(enumStringStorage, other.enumString);
    fifthText = copyText(fifthTextStorage, other.fifthText);

    meterLogScale = other.meterLogScale;
    logTaper = other.logTaper;
    voltOctaveTaper = other.voltOctaveTaper;
    meterAttackMs = other.meterAttackMs;
    meterReleaseMs = other.meterReleaseMs;
    midiControlEnabled = other.midiControlEnabled;
    midiStatus = other.midiStatus;
    midiControlNumber = other.midiControlNumber;
    midiChannel = other.midiChannel;
    guiIndex = other.guiIndex;
    guiIndexAux = other.guiIndexAux;
    displayPrecision = other.displayPrecision;
    for (int i = 0; i < kPresetSlotCount; ++i)
        presetValues[i] = other.presetValues[i];
    for (int i = 0; i < kControlLayoutWordCount; ++i)
        layoutWords[i] = other.layoutWords[i];
    updateQueue = other.updateQueue;
    smoothingSettled = other.smoothingSettled;
    smoothingSettledTarget = other.smoothingSettledTarget;
}

void ControlDescriptor::setControlName(const char* text)
{
    controlName = copyText(controlNameStorage, text);
}

void ControlDescriptor::setUnitsText(const char* text)
{
    unitsText = copyText(unitsTextStorage, text);
}

void ControlDescriptor::setVariableName(const char* text)
{
    variableName = copyText(variableNameStorage, text);
}

void ControlDescriptor::setEnumString(const char* text)
{
    enumString = copyText(enumStringStorage, text);
}

void ControlDescriptor::setFifthText(const char* text)
{
    fifthText = copyText(fifthTextStorage, text);
}

int ControlDescriptor::enumChoiceCount() const
{
    if (enumString == nullptr)
        return 1;
    int count = 1;
    for (const char* p = enumString; *p != '\0'; ++p)
    {
        if (*p == ',')
            ++count;
    }
    return count;
}

bool ControlDescriptor::enumChoice(int index, char* buffer, int bufferSize) const
{
    if (buffer == nullptr || bufferSize <= 0 || index < 0 || enumString == nullptr)
        return false;
    const char* start = enumString;
    for (int i = 0; i < index; ++i)
    {
        start = std::strchr(start, ',');
        if (start == nullptr)
            return false;
        ++start;
    }
    int length = 0;
    while (start[length] != '\0' && start[length] != ',')
        ++length;
    if (length > bufferSize - 1)
        length = bufferSize - 1;
    std::memcpy(buffer, start, static_cast<size_t>(length));
    buffer[length] = '\0';
    return true;
}

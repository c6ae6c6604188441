#pragma once

#include <cstdint>

class IParamUpdateQueue;

// Kinds of control (ControlDescriptor::controlType).
enum ControlType : uint32_t
{
    kControlContinuous = 100,
    kControlEnumerated = 102,
    kControlMeter = 103,
    kControlContinuousAlt = 104,  // published like kControlContinuous
    kControlEnumeratedAlt = 106   // published like kControlEnumerated
};

// Type of the variable a control is bound to (ControlDescriptor::dataType).
enum ControlDataType : uint32_t
{
    kDataInt32 = 0,
    kDataFloat = 1,
    kDataDouble = 2,
    kDataEnumIndex = 3,
    kDataNone = 4
};

static const int kControlTextCapacity = 1024;  // 1023 characters plus the terminator
static const int kPresetSlotCount = 16;
static const int kControlLayoutWordCount = 8;

// One user control of an effect: its range, default, texts and the member
// variable it drives. Copying a descriptor copies the texts its pointers name
// into the copy's own storage, so a copy never points into someone else's memory.
struct ControlDescriptor
{
    ControlDescriptor();
    ControlDescriptor(const ControlDescriptor& other);
    ~ControlDescriptor();
    ControlDescriptor& operator=(const ControlDescriptor& other);

    // Copies text (truncated to 1023 characters) into the slot behind
    // controlName, unitsText, variableName, enumString or fifthText.
    void setControlName(const char* text);
    void setUnitsText(const char* text);
    void setVariableName(const char* text);
    void setEnumString(const char* text);
    void setFifthText(const char* text);

    // Number of comma-separated choices in enumString (1 for an empty text).
    int enumChoiceCount() const;
    // Copies choice `index` of enumString into buffer; false when there is no such choice.
    bool enumChoice(int index, char* buffer, int bufferSize) const;

    uint32_t controlType;
    uint32_t controlId;
    uint32_t meterMode;
    float minValue;
    float maxValue;
    uint32_t dataType;
    float reservedBeforeDefault;
    float defaultValue;
    float smoothingTarget;

    // One-pole smoother, single precision (float controls).
    float smoothCoeffA;
    float smoothCoeffB;
    float smoothState;
    float smoothLastOutput;
    // The same in double precision (double controls).
    double smoothCoeffA_d;
    double smoothCoeffB_d;
    double smoothState_d;
    double smoothLastOutput_d;

    float smoothingTimeMs;
    bool smoothingEnabled;
    float joystickValue;
    uint8_t joystickOrientation;

    int32_t* intVariable;
    float* floatVariable;
    double* doubleVariable;
    uint32_t* enumVariable;
    float* meterVariable;

    const char* controlName;
    const char* unitsText;
    const char* variableName;
    const char* enumString;
    const char* fifthText;

    // The record's own copies of the five texts, each as long as its text (an empty text
    // takes no memory): a plug-in holds dozens of descriptors.
    char* controlNameStorage;
    char* unitsTextStorage;
    char* variableNameStorage;
    char* fifthTextStorage;
    char* enumStringStorage;

    bool meterLogScale;
    bool logTaper;
    bool voltOctaveTaper;
    float meterAttackMs;
    float meterReleaseMs;
    bool midiControlEnabled;
    uint32_t midiStatus;
    uint32_t midiControlNumber;
    uint32_t midiChannel;
    int32_t guiIndex;
    int32_t guiIndexAux;
    uint32_t displayPrecision;
    double presetValues[kPresetSlotCount];

    // Editor-layout words; builders may set them, nothing here reads them.
    int32_t layoutWords[kControlLayoutWordCount];

    IParamUpdateQueue* updateQueue;

    // The smoother reached its fixed point for smoothingSettledTarget: until
    // the target changes, every further step would give the same output.
    bool smoothingSettled;
    float smoothingSettledTarget;

private:
    void copyFrom(const ControlDescriptor& other);
};

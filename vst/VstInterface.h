#pragma once

#include <cstddef>
#include <cstdint>

// Our own definitions of the VST 2.4 plug-in interface: the records a host and a plug-in exchange,
// with the opcode, flag and length values of the published binary interface (64-bit Linux layout).
// No JUCE in here: the offline host uses this header too.
namespace vst
{
struct AEffect;

using HostCallback = intptr_t (*) (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
using DispatcherProc = intptr_t (*) (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
using ProcessProc = void (*) (AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
using ProcessDoubleProc = void (*) (AEffect* effect, double** inputs, double** outputs, int32_t sampleFrames);
using SetParameterProc = void (*) (AEffect* effect, int32_t index, float value);
using GetParameterProc = float (*) (AEffect* effect, int32_t index);
using EntryProc = AEffect* (*) (HostCallback host);

constexpr int32_t fourChars (char a, char b, char c, char d) noexcept
{
    return (int32_t) (((uint32_t) (uint8_t) a << 24) | ((uint32_t) (uint8_t) b << 16) | ((uint32_t) (uint8_t) c << 8) | (uint32_t) (uint8_t) d);
}

constexpr int32_t effectMagic = fourChars ('V', 's', 't', 'P');

struct AEffect
{
    int32_t magic;
    DispatcherProc dispatcher;
    ProcessProc process; // accumulating; deprecated since 2.4
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t reserved1;
    intptr_t reserved2;
    int32_t initialDelay;
    int32_t realQualities; // deprecated
    int32_t offQualities;  // deprecated
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueID;
    int32_t version;
    ProcessProc processReplacing;
    ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

namespace EffectFlags
{
constexpr int32_t hasEditor = 1 << 0;
constexpr int32_t canReplacing = 1 << 4;
constexpr int32_t programChunks = 1 << 5;
constexpr int32_t isSynth = 1 << 8;
constexpr int32_t noSoundInStop = 1 << 9;
constexpr int32_t canDoubleReplacing = 1 << 12;
} // namespace EffectFlags

// Calls from the host into the effect's dispatcher.
namespace EffectOpcode
{
constexpr int32_t open = 0;
constexpr int32_t close = 1;
constexpr int32_t setProgram = 2;
constexpr int32_t getProgram = 3;
constexpr int32_t setProgramName = 4;
constexpr int32_t getProgramName = 5;
constexpr int32_t getParamLabel = 6;
constexpr int32_t getParamDisplay = 7;
constexpr int32_t getParamName = 8;
constexpr int32_t setSampleRate = 10;
constexpr int32_t setBlockSize = 11;
constexpr int32_t mainsChanged = 12;
constexpr int32_t editGetRect = 13;
constexpr int32_t editOpen = 14;
constexpr int32_t editClose = 15;
constexpr int32_t editIdle = 19;
constexpr int32_t identify = 22;
constexpr int32_t getChunk = 23;
constexpr int32_t setChunk = 24;
constexpr int32_t processEvents = 25;
constexpr int32_t canBeAutomated = 26;
constexpr int32_t string2Parameter = 27;
constexpr int32_t getProgramNameIndexed = 29;
constexpr int32_t getInputProperties = 33;
constexpr int32_t getOutputProperties = 34;
constexpr int32_t getPlugCategory = 35;
constexpr int32_t offlineNotify = 38;
constexpr int32_t offlinePrepare = 39;
constexpr int32_t offlineRun = 40;
constexpr int32_t processVarIo = 41;
constexpr int32_t setSpeakerArrangement = 42;
constexpr int32_t setBypass = 44;
constexpr int32_t getEffectName = 45;
constexpr int32_t getVendorString = 47;
constexpr int32_t getProductString = 48;
constexpr int32_t getVendorVersion = 49;
constexpr int32_t vendorSpecific = 50;
constexpr int32_t canDo = 51;
constexpr int32_t getTailSize = 52;
constexpr int32_t getParameterProperties = 56;
constexpr int32_t getVstVersion = 58;
constexpr int32_t editKeyDown = 59;
constexpr int32_t editKeyUp = 60;
constexpr int32_t setEditKnobMode = 61;
constexpr int32_t getMidiProgramName = 62;
constexpr int32_t getCurrentMidiProgram = 63;
constexpr int32_t getMidiProgramCategory = 64;
constexpr int32_t hasMidiProgramsChanged = 65;
constexpr int32_t getMidiKeyName = 66;
constexpr int32_t beginSetProgram = 67;
constexpr int32_t endSetProgram = 68;
constexpr int32_t getSpeakerArrangement = 69;
constexpr int32_t shellGetNextPlugin = 70;
constexpr int32_t startProcess = 71;
constexpr int32_t stopProcess = 72;
constexpr int32_t setTotalSampleToProcess = 73;
constexpr int32_t setPanLaw = 74;
constexpr int32_t beginLoadBank = 75;
constexpr int32_t beginLoadProgram = 76;
constexpr int32_t setProcessPrecision = 77;
constexpr int32_t getNumMidiInputChannels = 78;
constexpr int32_t getNumMidiOutputChannels = 79;
} // namespace EffectOpcode

// Calls from the effect into the host callback.
namespace HostOpcode
{
constexpr int32_t automate = 0;
constexpr int32_t version = 1;
constexpr int32_t currentId = 2;
constexpr int32_t idle = 3;
constexpr int32_t wantMidi = 6;
constexpr int32_t getTime = 7;
constexpr int32_t processEvents = 8;
constexpr int32_t ioChanged = 13;
constexpr int32_t sizeWindow = 15;
constexpr int32_t getSampleRate = 16;
constexpr int32_t getBlockSize = 17;
constexpr int32_t getInputLatency = 18;
constexpr int32_t getOutputLatency = 19;
constexpr int32_t getCurrentProcessLevel = 23;
constexpr int32_t getAutomationState = 24;
constexpr int32_t getVendorString = 32;
constexpr int32_t getProductString = 33;
constexpr int32_t getVendorVersion = 34;
constexpr int32_t vendorSpecific = 35;
constexpr int32_t canDo = 37;
constexpr int32_t getLanguage = 38;
constexpr int32_t getDirectory = 41;
constexpr int32_t updateDisplay = 42;
constexpr int32_t beginEdit = 43;
constexpr int32_t endEdit = 44;
constexpr int32_t openFileSelector = 45;
constexpr int32_t closeFileSelector = 46;
} // namespace HostOpcode

namespace ProcessLevel
{
constexpr int32_t unknown = 0;
constexpr int32_t user = 1;
constexpr int32_t realtime = 2;
constexpr int32_t prefetch = 3;
constexpr int32_t offline = 4;
} // namespace ProcessLevel

namespace PlugCategory
{
constexpr int32_t unknown = 0;
constexpr int32_t effect = 1;
constexpr int32_t synth = 2;
} // namespace PlugCategory

// Buffer sizes, terminator included.
namespace StringLength
{
constexpr size_t programName = 24;
constexpr size_t paramText = 64; // the interface says 8, but hosts and plug-ins long since use more; 64 is the safe bound
constexpr size_t effectName = 32;
constexpr size_t vendor = 64;
constexpr size_t product = 64;
constexpr size_t label = 64;
constexpr size_t shortLabel = 8;
constexpr size_t keyName = 64;
} // namespace StringLength

struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;
};

namespace TimeInfoFlags
{
constexpr int32_t transportChanged = 1 << 0;
constexpr int32_t transportPlaying = 1 << 1;
constexpr int32_t transportCycleActive = 1 << 2;
constexpr int32_t transportRecording = 1 << 3;
constexpr int32_t nanosValid = 1 << 8;
constexpr int32_t ppqPosValid = 1 << 9;
constexpr int32_t tempoValid = 1 << 10;
constexpr int32_t barsValid = 1 << 11;
constexpr int32_t cyclePosValid = 1 << 12;
constexpr int32_t timeSigValid = 1 << 13;
constexpr int32_t smpteValid = 1 << 14;
constexpr int32_t clockValid = 1 << 15;
} // namespace TimeInfoFlags

namespace EventType
{
constexpr int32_t midi = 1;
constexpr int32_t sysEx = 6;
} // namespace EventType

struct VstEvent
{
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    char data[16];
};

struct VstMidiEvent
{
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

// The host's list is longer than two entries: the array runs on past the record.
struct VstEvents
{
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];
};

struct VstPinProperties
{
    char label[StringLength::label];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[StringLength::shortLabel];
    char future[48];
};

namespace PinFlags
{
constexpr int32_t isActive = 1 << 0;
constexpr int32_t isStereo = 1 << 1;
constexpr int32_t useSpeaker = 1 << 2;
} // namespace PinFlags

struct MidiKeyName
{
    int32_t thisProgramIndex;
    int32_t thisKeyNumber;
    char keyName[StringLength::keyName];
    int32_t reserved;
    int32_t flags;
};

struct ERect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

static_assert (sizeof (void*) == 8, "these records are laid out for 64-bit hosts");
static_assert (offsetof (AEffect, dispatcher) == 8);
static_assert (offsetof (AEffect, numPrograms) == 40);
static_assert (offsetof (AEffect, flags) == 56);
static_assert (offsetof (AEffect, initialDelay) == 80);
static_assert (offsetof (AEffect, ioRatio) == 92);
static_assert (offsetof (AEffect, object) == 96);
static_assert (offsetof (AEffect, uniqueID) == 112);
static_assert (offsetof (AEffect, processReplacing) == 120);
static_assert (offsetof (AEffect, processDoubleReplacing) == 128);
static_assert (sizeof (AEffect) == 192);
static_assert (sizeof (VstTimeInfo) == 88);
static_assert (offsetof (VstTimeInfo, timeSigNumerator) == 64);
static_assert (offsetof (VstTimeInfo, flags) == 84);
static_assert (sizeof (VstMidiEvent) == 32);
static_assert (offsetof (VstMidiEvent, midiData) == 24);
static_assert (sizeof (VstEvent) == 32);
static_assert (offsetof (VstEvents, events) == 16);
static_assert (sizeof (VstPinProperties) == 128);
static_assert (sizeof (MidiKeyName) == 80);
static_assert (sizeof (ERect) == 8);
static_assert (effectMagic == 0x56737450);
} // namespace vst

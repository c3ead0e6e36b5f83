#pragma once

#include "vst/VstInterface.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

/** A small offline VST 2.4 host: loads a plug-in library with dlopen and talks to it only through the
    VST interface. It plays a scenario (MIDI events, host transport and tempo) and collects the audio,
    the MIDI the plug-in sends and its automation messages. One effect at a time. */
class OfflineHost
{
public:
    struct MidiEvent
    {
        int64_t sample;
        std::array<uint8_t, 3> bytes;
    };

    struct Automation
    {
        int32_t index;
        float value;
    };

    /** A control moved by the user: begin edit, the values, end edit, in the order they came. */
    struct Gesture
    {
        enum Kind
        {
            beginEdit,
            automate,
            endEdit
        };

        Kind kind;
        int32_t index;
        float value;
    };

    /** Host transport: the tempo, and where it plays (sample ranges [start, end)). */
    struct Transport
    {
        double tempo = 120.0;
        std::vector<std::pair<int64_t, int64_t>> playing;

        bool isPlayingAt (int64_t sample) const;
    };

    OfflineHost();
    ~OfflineHost();

    /** Loads the library and creates the effect through VSTPluginMain. */
    bool load (const std::string& libraryPath);
    void unload();
    const std::string& getError() const { return error; }

    vst::AEffect* getEffect() const { return effect; }
    intptr_t dispatch (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);

    // Typed calls.
    std::string getString (int32_t opcode, int32_t index = 0, size_t bufferSize = 256);
    int32_t canDo (const char* text);
    std::vector<uint8_t> getChunk (bool preset = false);
    intptr_t setChunk (const std::vector<uint8_t>& data, bool preset = false);
    void setParameter (int32_t index, float value);
    float getParameter (int32_t index);
    void start (double sampleRate, int32_t blockSize); // sample rate, block size, resume, start process
    void stop();                                       // stop process, suspend

    /** Renders numFrames in blocks of blockSize (the last one shorter) from sample position `from`.
        Events are delivered in the block holding their sample. Returns one vector per output. */
    std::vector<std::vector<float>> render (int64_t numFrames, int32_t blockSize, const std::vector<MidiEvent>& events,
                                            const Transport& transport, int64_t from = 0);

    /** One process call of the given frames, with these events (deltas inside the block). */
    void processBlock (int32_t frames, const std::vector<MidiEvent>& blockEvents, std::vector<std::vector<float>>& out,
                       int64_t outOffset);

    // What the host answers.
    intptr_t hostVersion = 2400;
    int32_t processLevel = vst::ProcessLevel::realtime;
    bool giveTimeInfo = true;
    int32_t canDoTimeInfo = 1; // the answer to "sendVstTimeInfo"

    /** Told (true) when the plug-in's processEvents or processReplacing begins on this thread and
        (false) when it returns; the host's own work in callbacks made meanwhile lies outside. */
    void (*pluginAudioCall) (bool inside) = nullptr;

    /** The gestures so far, safe to call while the plug-in's message thread makes more. */
    std::vector<Gesture> getGestures() const;
    void clearGestures();

    // What the plug-in did.
    std::vector<MidiEvent> midiOut;
    std::vector<Automation> automation; // written under gestureLock: see getAutomation while the plug-in may report
    std::vector<int32_t> timeRequests;
    std::vector<std::string> hostCalls; // "canDo <text>" and "getTime", in order
    int wantMidiCalls = 0;
    int updateDisplayCalls = 0;

    double getSampleRate() const { return sampleRate; }

    /** The automation so far; waits up to timeoutMs for at least minCount messages, since the
        plug-in may report from its message thread. */
    std::vector<Automation> getAutomation (size_t minCount = 0, int timeoutMs = 0);

private:
    static intptr_t callback (vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t handle (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    mutable std::mutex gestureLock;
    std::vector<Gesture> gestures;

    void* library = nullptr;
    vst::AEffect* effect = nullptr;
    std::string error;
    double sampleRate = 44100.0;
    vst::VstTimeInfo timeInfo{};
    const Transport* currentTransport = nullptr;
    int64_t blockStart = 0;
    bool wasPlaying = false;
    std::mutex callsLock; // the plug-in calls back from its own threads too
};

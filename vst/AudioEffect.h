#pragma once

#include "vst/VstInterface.h"

/** The VST 2.4 effect base: owns the record the host sees, turns the host's dispatcher calls into virtual
    operations, and wraps the host callback. Nothing here throws back into the host. */
class AudioEffect
{
public:
    /** What the dispatcher's editor opcodes reach when an editor is set. */
    class Editor
    {
    public:
        virtual ~Editor() = default;
        virtual bool getRect (vst::ERect** rect) = 0;
        virtual bool open (void* parentWindow) = 0;
        virtual void close() = 0;
        virtual void idle() {}
    };

    AudioEffect (vst::HostCallback host, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();

    vst::AEffect* getAeffect() noexcept { return &cEffect; }
    static AudioEffect* fromAeffect (vst::AEffect* effect) noexcept;

    virtual intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void setProgram (int32_t program) { curProgram = program; }
    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgramName (char*) {}
    virtual void getProgramName (char* name);
    virtual void getParameterLabel (int32_t index, char* text);
    virtual void getParameterDisplay (int32_t index, char* text);
    virtual void getParameterName (int32_t index, char* text);
    virtual void setSampleRate (float newRate) { sampleRate = newRate; }
    virtual void setBlockSize (int32_t newSize) { blockSize = newSize; }
    virtual void suspend() {}
    virtual void resume() {}
    virtual int32_t getChunk (void** data, bool isPreset);
    virtual int32_t setChunk (void* data, int32_t byteSize, bool isPreset);

    virtual void setParameter (int32_t, float) {}
    virtual float getParameter (int32_t) { return 0.0f; }
    virtual void process (float** inputs, float** outputs, int32_t sampleFrames);
    virtual void processReplacing (float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing (double**, double**, int32_t) {}

    void setEditor (Editor* newEditor) noexcept { editor = newEditor; }
    Editor* getEditor() const noexcept { return editor; }

    void setUniqueID (int32_t id) noexcept { cEffect.uniqueID = id; }
    void setNumInputs (int32_t n) noexcept { cEffect.numInputs = n; }
    void setNumOutputs (int32_t n) noexcept { cEffect.numOutputs = n; }
    void setInitialDelay (int32_t delay) noexcept { cEffect.initialDelay = delay; }
    void setFlag (int32_t flag, bool on) noexcept;
    void setVersion (int32_t v) noexcept { cEffect.version = v; }

    float getSampleRate() const noexcept { return sampleRate; }
    int32_t getBlockSize() const noexcept { return blockSize; }

    // Host callback: automation.
    void setParameterAutomated (int32_t index, float value);

    /** Copies text into a host buffer of maxBytes (terminator included), never further. */
    static void copyString (char* dest, const char* source, size_t maxBytes) noexcept;

protected:
    intptr_t callHost (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f) const;

    vst::HostCallback hostCallback;
    Editor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    int32_t numPrograms;
    int32_t numParams;
    int32_t curProgram = 0;
    vst::AEffect cEffect{};

private:
    static intptr_t dispatchEntry (vst::AEffect*, int32_t, int32_t, intptr_t, void*, float);
    static void processEntry (vst::AEffect*, float**, float**, int32_t);
    static void processReplacingEntry (vst::AEffect*, float**, float**, int32_t);
    static void processDoubleReplacingEntry (vst::AEffect*, double**, double**, int32_t);
    static void setParameterEntry (vst::AEffect*, int32_t, float);
    static float getParameterEntry (vst::AEffect*, int32_t);
};

#pragma once

#include "vst/AudioEffect.h"

/** The VST 2.x layer of the effect base: the dispatcher's opcodes from 25 on, and typed calls to the host. */
class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX (vst::HostCallback host, int32_t numPrograms, int32_t numParams);

    intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    // Operations of VST 2.x, in the interface's order. Pointers to records this plug-in never reads stay untyped.
    virtual int32_t processEvents (vst::VstEvents*) { return 0; }
    virtual bool canParameterBeAutomated (int32_t) { return false; }
    virtual bool string2parameter (int32_t, char*) { return false; }
    virtual bool getProgramNameIndexed (int32_t, int32_t, char*) { return false; }
    virtual bool getInputProperties (int32_t, vst::VstPinProperties*) { return false; }
    virtual bool getOutputProperties (int32_t, vst::VstPinProperties*) { return false; }
    virtual int32_t getPlugCategory() { return vst::PlugCategory::unknown; }
    virtual bool offlineNotify (void*, int32_t, bool) { return false; }
    virtual bool offlinePrepare (void*, int32_t) { return false; }
    virtual bool offlineRun (void*, int32_t) { return false; }
    virtual bool processVariableIo (void*) { return false; }
    virtual bool setSpeakerArrangement (void*, void*) { return false; }
    virtual bool setBypass (bool) { return false; }
    virtual bool getEffectName (char*) { return false; }
    virtual bool getVendorString (char*) { return false; }
    virtual bool getProductString (char*) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual intptr_t vendorSpecific (int32_t, intptr_t, void*, float) { return 0; }
    virtual int32_t canDo (char*) { return 0; }
    virtual int32_t getGetTailSize() { return 0; }
    virtual bool getParameterProperties (int32_t, void*) { return false; }
    virtual int32_t getVstVersion() { return 2400; }
    virtual bool onKeyDown (int32_t, intptr_t, float) { return false; }
    virtual bool onKeyUp (int32_t, intptr_t, float) { return false; }
    virtual bool setEditorKnobMode (int32_t) { return false; }
    virtual int32_t getMidiProgramName (int32_t, void*) { return 0; }
    virtual int32_t getCurrentMidiProgram (int32_t, void*) { return -1; }
    virtual int32_t getMidiProgramCategory (int32_t, void*) { return 0; }
    virtual bool hasMidiProgramsChanged (int32_t) { return false; }
    virtual bool getMidiKeyName (int32_t, vst::MidiKeyName*) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual bool getSpeakerArrangement (void*, void*) { return false; }
    virtual int32_t getNextShellPlugin (char*) { return 0; }
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual bool setTotalSampleToProcess (int32_t) { return false; }
    virtual bool setPanLaw (int32_t, float) { return false; }
    virtual int32_t beginLoadBank (void*) { return 0; }
    virtual int32_t beginLoadProgram (void*) { return 0; }
    virtual bool setProcessPrecision (int32_t) { return false; }
    virtual int32_t getNumMidiInputChannels() { return 0; }
    virtual int32_t getNumMidiOutputChannels() { return 0; }

    // Calls to the host; each gives 0 (false, null) without a host callback.
    int32_t getMasterVersion();
    int32_t getCurrentUniqueId();
    void masterIdle();
    vst::VstTimeInfo* getTimeInfo (int32_t requestMask);
    bool sendVstEventsToHost (vst::VstEvents* events);
    bool wantEvents();
    bool ioChanged();
    bool sizeWindow (int32_t width, int32_t height);
    double getHostSampleRate();
    int32_t getHostBlockSize();
    int32_t getInputLatency();
    int32_t getOutputLatency();
    int32_t getCurrentProcessLevel();
    int32_t getAutomationState();
    bool getHostVendorString (char* text);
    bool getHostProductString (char* text);
    int32_t getHostVendorVersion();
    int32_t canHostDo (const char* text);
    int32_t getHostLanguage();
    void* getDirectory();
    bool updateDisplay();
    bool beginEdit (int32_t index);
    bool endEdit (int32_t index);
    bool openFileSelector (void* selector);
    bool closeFileSelector (void* selector);
};

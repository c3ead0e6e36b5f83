#include "vst/AudioEffectX.h"

AudioEffectX::AudioEffectX (vst::HostCallback host, int32_t programs, int32_t params)
    : AudioEffect (host, programs, params)
{
}

intptr_t AudioEffectX::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    namespace op = vst::EffectOpcode;
    auto* text = static_cast<char*> (ptr);

    switch (opcode)
    {
        case op::processEvents:
            return ptr != nullptr ? this->processEvents (static_cast<vst::VstEvents*> (ptr)) : 0;
        case op::canBeAutomated:
            return canParameterBeAutomated (index) ? 1 : 0;
        case op::string2Parameter:
            return string2parameter (index, text) ? 1 : 0;
        case op::getProgramNameIndexed:
            return ptr != nullptr && this->getProgramNameIndexed ((int32_t) value, index, text) ? 1 : 0;
        case op::getInputProperties:
            return ptr != nullptr && this->getInputProperties (index, static_cast<vst::VstPinProperties*> (ptr)) ? 1 : 0;
        case op::getOutputProperties:
            return ptr != nullptr && this->getOutputProperties (index, static_cast<vst::VstPinProperties*> (ptr)) ? 1 : 0;
        case op::getPlugCategory:
            return this->getPlugCategory();
        case op::offlineNotify:
            return this->offlineNotify (ptr, (int32_t) value, index != 0) ? 1 : 0;
        case op::offlinePrepare:
            return this->offlinePrepare (ptr, (int32_t) value) ? 1 : 0;
        case op::offlineRun:
            return this->offlineRun (ptr, (int32_t) value) ? 1 : 0;
        case op::processVarIo:
            return processVariableIo (ptr) ? 1 : 0;
        case op::setSpeakerArrangement:
            return this->setSpeakerArrangement (reinterpret_cast<void*> (value), ptr) ? 1 : 0;
        case op::setBypass:
            return this->setBypass (value != 0) ? 1 : 0;
        case op::getEffectName:
            return ptr != nullptr && this->getEffectName (text) ? 1 : 0;
        case op::getVendorString:
            return ptr != nullptr && this->getVendorString (text) ? 1 : 0;
        case op::getProductString:
            return ptr != nullptr && this->getProductString (text) ? 1 : 0;
        case op::getVendorVersion:
            return this->getVendorVersion();
        case op::vendorSpecific:
            return this->vendorSpecific (index, value, ptr, opt);
        case op::canDo:
            return ptr != nullptr ? this->canDo (text) : 0;
        case op::getTailSize:
            return getGetTailSize();
        case op::getParameterProperties:
            return ptr != nullptr && this->getParameterProperties (index, ptr) ? 1 : 0;
        case op::getVstVersion:
            return this->getVstVersion();
        case op::editKeyDown:
            return onKeyDown (index, value, opt) ? 1 : 0;
        case op::editKeyUp:
            return onKeyUp (index, value, opt) ? 1 : 0;
        case op::setEditKnobMode:
            return setEditorKnobMode ((int32_t) value) ? 1 : 0;
        case op::getMidiProgramName:
            return this->getMidiProgramName (index, ptr);
        case op::getCurrentMidiProgram:
            return this->getCurrentMidiProgram (index, ptr);
        case op::getMidiProgramCategory:
            return this->getMidiProgramCategory (index, ptr);
        case op::hasMidiProgramsChanged:
            return this->hasMidiProgramsChanged (index) ? 1 : 0;
        case op::getMidiKeyName:
            return ptr != nullptr && this->getMidiKeyName (index, static_cast<vst::MidiKeyName*> (ptr)) ? 1 : 0;
        case op::beginSetProgram:
            return this->beginSetProgram() ? 1 : 0;
        case op::endSetProgram:
            return this->endSetProgram() ? 1 : 0;
        case op::getSpeakerArrangement:
            return this->getSpeakerArrangement (reinterpret_cast<void*> (value), ptr) ? 1 : 0;
        case op::shellGetNextPlugin:
            return ptr != nullptr ? getNextShellPlugin (text) : 0;
        case op::startProcess:
            return this->startProcess();
        case op::stopProcess:
            return this->stopProcess();
        case op::setTotalSampleToProcess:
            return this->setTotalSampleToProcess ((int32_t) value) ? 1 : 0;
        case op::setPanLaw:
            return this->setPanLaw ((int32_t) value, opt) ? 1 : 0;
        case op::beginLoadBank:
            return this->beginLoadBank (ptr);
        case op::beginLoadProgram:
            return this->beginLoadProgram (ptr);
        case op::setProcessPrecision:
            return this->setProcessPrecision ((int32_t) value) ? 1 : 0;
        case op::getNumMidiInputChannels:
            return this->getNumMidiInputChannels();
        case op::getNumMidiOutputChannels:
            return this->getNumMidiOutputChannels();
        default:
            return AudioEffect::dispatcher (opcode, index, value, ptr, opt);
    }
}

int32_t AudioEffectX::getMasterVersion()
{
    return (int32_t) callHost (vst::HostOpcode::version);
}

int32_t AudioEffectX::getCurrentUniqueId()
{
    return (int32_t) callHost (vst::HostOpcode::currentId);
}

void AudioEffectX::masterIdle()
{
    callHost (vst::HostOpcode::idle);
}

vst::VstTimeInfo* AudioEffectX::getTimeInfo (int32_t requestMask)
{
    return reinterpret_cast<vst::VstTimeInfo*> (callHost (vst::HostOpcode::getTime, 0, requestMask));
}

bool AudioEffectX::sendVstEventsToHost (vst::VstEvents* events)
{
    return callHost (vst::HostOpcode::processEvents, 0, 0, events) == 1;
}

bool AudioEffectX::wantEvents()
{
    return callHost (vst::HostOpcode::wantMidi, 0, 1) != 0;
}

bool AudioEffectX::ioChanged()
{
    return callHost (vst::HostOpcode::ioChanged) != 0;
}

bool AudioEffectX::sizeWindow (int32_t width, int32_t height)
{
    return callHost (vst::HostOpcode::sizeWindow, width, height) != 0;
}

double AudioEffectX::getHostSampleRate()
{
    return (double) callHost (vst::HostOpcode::getSampleRate);
}

int32_t AudioEffectX::getHostBlockSize()
{
    return (int32_t) callHost (vst::HostOpcode::getBlockSize);
}

int32_t AudioEffectX::getInputLatency()
{
    return (int32_t) callHost (vst::HostOpcode::getInputLatency);
}

int32_t AudioEffectX::getOutputLatency()
{
    return (int32_t) callHost (vst::HostOpcode::getOutputLatency);
}

int32_t AudioEffectX::getCurrentProcessLevel()
{
    return (int32_t) callHost (vst::HostOpcode::getCurrentProcessLevel);
}

int32_t AudioEffectX::getAutomationState()
{
    return (int32_t) callHost (vst::HostOpcode::getAutomationState);
}

bool AudioEffectX::getHostVendorString (char* text)
{
    return text != nullptr && callHost (vst::HostOpcode::getVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString (char* text)
{
    return text != nullptr && callHost (vst::HostOpcode::getProductString, 0, 0, text) != 0;
}

int32_t AudioEffectX::getHostVendorVersion()
{
    return (int32_t) callHost (vst::HostOpcode::getVendorVersion);
}

int32_t AudioEffectX::canHostDo (const char* text)
{
    return (int32_t) callHost (vst::HostOpcode::canDo, 0, 0, const_cast<char*> (text));
}

int32_t AudioEffectX::getHostLanguage()
{
    return (int32_t) callHost (vst::HostOpcode::getLanguage);
}

void* AudioEffectX::getDirectory()
{
    return reinterpret_cast<void*> (callHost (vst::HostOpcode::getDirectory));
}

bool AudioEffectX::updateDisplay()
{
    return callHost (vst::HostOpcode::updateDisplay) != 0;
}

bool AudioEffectX::beginEdit (int32_t index)
{
    return callHost (vst::HostOpcode::beginEdit, index) != 0;
}

bool AudioEffectX::endEdit (int32_t index)
{
    return callHost (vst::HostOpcode::endEdit, index) != 0;
}

bool AudioEffectX::openFileSelector (void* selector)
{
    return selector != nullptr && callHost (vst::HostOpcode::openFileSelector, 0, 0, selector) != 0;
}

bool AudioEffectX::closeFileSelector (void* selector)
{
    return selector != nullptr && callHost (vst::HostOpcode::closeFileSelector, 0, 0, selector) != 0;
}

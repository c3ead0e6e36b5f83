#include "vst/AudioEffect.h"

#include <cstring>

AudioEffect::AudioEffect (vst::HostCallback host, int32_t programs, int32_t params)
    : hostCallback (host)
    , numPrograms (programs)
    , numParams (params)
{
    cEffect.magic = vst::effectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = vst::EffectFlags::canReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = vst::fourChars ('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() = default;

AudioEffect* AudioEffect::fromAeffect (vst::AEffect* effect) noexcept
{
    return effect != nullptr ? static_cast<AudioEffect*> (effect->object) : nullptr;
}

void AudioEffect::setFlag (int32_t flag, bool on) noexcept
{
    if (on)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

void AudioEffect::copyString (char* dest, const char* source, size_t maxBytes) noexcept
{
    if (dest == nullptr || maxBytes == 0)
        return;

    size_t n = 0;

    if (source != nullptr)
        while (n + 1 < maxBytes && source[n] != 0)
            ++n;

    if (n > 0)
        std::memcpy (dest, source, n);

    dest[n] = 0;
}

void AudioEffect::getProgramName (char* name)
{
    copyString (name, "", vst::StringLength::programName);
}

void AudioEffect::getParameterLabel (int32_t, char* text)
{
    copyString (text, "", vst::StringLength::paramText);
}

void AudioEffect::getParameterDisplay (int32_t, char* text)
{
    copyString (text, "", vst::StringLength::paramText);
}

void AudioEffect::getParameterName (int32_t, char* text)
{
    copyString (text, "", vst::StringLength::paramText);
}

int32_t AudioEffect::getChunk (void**, bool)
{
    return 0;
}

int32_t AudioEffect::setChunk (void*, int32_t, bool)
{
    return 0;
}

void AudioEffect::process (float**, float**, int32_t)
{
}

intptr_t AudioEffect::callHost (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) const
{
    return hostCallback != nullptr ? hostCallback (const_cast<vst::AEffect*> (&cEffect), opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated (int32_t index, float value)
{
    setParameter (index, value);
    callHost (vst::HostOpcode::automate, index, 0, nullptr, value);
}

intptr_t AudioEffect::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    namespace op = vst::EffectOpcode;

    switch (opcode)
    {
        case op::open:
            this->open();
            return 0;
        case op::close:
            this->close();
            return 0;
        case op::setProgram:
            if (value >= 0 && value < numPrograms)
                this->setProgram ((int32_t) value);
            return 0;
        case op::getProgram:
            return this->getProgram();
        case op::setProgramName:
            if (ptr != nullptr)
                this->setProgramName (static_cast<char*> (ptr));
            return 0;
        case op::getProgramName:
            if (ptr != nullptr)
                this->getProgramName (static_cast<char*> (ptr));
            return 0;
        case op::getParamLabel:
            if (ptr != nullptr)
                getParameterLabel (index, static_cast<char*> (ptr));
            return 0;
        case op::getParamDisplay:
            if (ptr != nullptr)
                getParameterDisplay (index, static_cast<char*> (ptr));
            return 0;
        case op::getParamName:
            if (ptr != nullptr)
                getParameterName (index, static_cast<char*> (ptr));
            return 0;
        case op::setSampleRate:
            this->setSampleRate (opt);
            return 0;
        case op::setBlockSize:
            this->setBlockSize ((int32_t) value);
            return 0;
        case op::mainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;
        case op::editGetRect:
            return editor != nullptr && editor->getRect (static_cast<vst::ERect**> (ptr)) ? 1 : 0;
        case op::editOpen:
            return editor != nullptr && editor->open (ptr) ? 1 : 0;
        case op::editClose:
            if (editor != nullptr)
                editor->close();
            return 0;
        case op::editIdle:
            if (editor != nullptr)
                editor->idle();
            return 0;
        case op::identify:
            return vst::fourChars ('N', 'v', 'E', 'f');
        case op::getChunk:
            return ptr != nullptr ? this->getChunk (static_cast<void**> (ptr), index != 0) : 0;
        case op::setChunk:
            return this->setChunk (ptr, (int32_t) value, index != 0);
        default:
            return 0;
    }
}

// The entry functions are the host boundary: no exception may cross it.
intptr_t AudioEffect::dispatchEntry (vst::AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    try
    {
        if (auto* effect = fromAeffect (e))
            return effect->dispatcher (opcode, index, value, ptr, opt);
    }
    catch (...)
    {
    }

    return 0;
}

void AudioEffect::processEntry (vst::AEffect* e, float** inputs, float** outputs, int32_t frames)
{
    try
    {
        if (auto* effect = fromAeffect (e))
            effect->process (inputs, outputs, frames);
    }
    catch (...)
    {
    }
}

void AudioEffect::processReplacingEntry (vst::AEffect* e, float** inputs, float** outputs, int32_t frames)
{
    try
    {
        if (auto* effect = fromAeffect (e))
            effect->processReplacing (inputs, outputs, frames);
    }
    catch (...)
    {
    }
}

void AudioEffect::processDoubleReplacingEntry (vst::AEffect* e, double** inputs, double** outputs, int32_t frames)
{
    try
    {
        if (auto* effect = fromAeffect (e))
            effect->processDoubleReplacing (inputs, outputs, frames);
    }
    catch (...)
    {
    }
}

void AudioEffect::setParameterEntry (vst::AEffect* e, int32_t index, float value)
{
    try
    {
        if (auto* effect = fromAeffect (e))
            effect->setParameter (index, value);
    }
    catch (...)
    {
    }
}

float AudioEffect::getParameterEntry (vst::AEffect* e, int32_t index)
{
    try
    {
        if (auto* effect = fromAeffect (e))
            return effect->getParameter (index);
    }
    catch (...)
    {
    }

    return 0.0f;
}

#include "vst/JuceVSTWrapper.h"
#include "vst/SharedMessageThread.h"

// The library's one export. Each effect it returns holds one use of the shared message thread, given back
// when the host closes the effect.
extern "C" __attribute__ ((visibility ("default"))) vst::AEffect* VSTPluginMain (vst::HostCallback host)
{
    if (host == nullptr || !SharedMessageThread::acquire())
        return nullptr;

    vst::AEffect* effect = nullptr;

    try
    {
        const juce::MessageManagerLock mml;

        if (host (nullptr, vst::HostOpcode::version, 0, 0, nullptr, 0.0f) != 0)
            if (auto instance = createVstInstance())
                effect = (new JuceVSTWrapper (host, std::move (instance)))->getAeffect();
    }
    catch (...)
    {
        effect = nullptr;
    }

    if (effect == nullptr)
        SharedMessageThread::release();

    return effect;
}

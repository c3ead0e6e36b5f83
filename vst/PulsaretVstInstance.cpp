#include "drummachine/Pulsaret.h"
#include "editor/PulsaretEditor.h"
#include "vst/VstInstance.h"

namespace
{
// The instrument as the adapter sees it: its channel counts are its own operations,
// since JUCE's are no longer virtual.
class PulsaretVstInstance : public VstInstance
{
public:
    explicit PulsaretVstInstance (std::unique_ptr<Pulsaret> p)
        : processor (std::move (p))
    {
    }

    juce::AudioProcessor& getProcessor() override { return *processor; }

    int getNumInputChannels() override { return processor->getInputChannelCount(); }
    int getNumOutputChannels() override { return processor->getOutputChannelCount(); }
    juce::String getInputChannelName (int) override { return {}; }
    juce::String getOutputChannelName (int channel) override { return processor->getOutputChannelName (channel); }
    bool isInputChannelStereoPair (int) override { return false; }
    bool isOutputChannelStereoPair (int channel) override { return processor->isOutputChannelStereoPair (channel); }

    int getNumParameters() override { return processor->getNumParameters(); }
    float getParameter (int index) override { return processor->getParameter (index); }
    void setParameter (int index, float value) override { processor->setParameter (index, value); }
    juce::String getParameterName (int index) override { return processor->getParameterName (index); }
    juce::String getParameterText (int index) override { return processor->getParameterText (index); }
    bool isParameterAutomatable (int index) override { return processor->isParameterAutomatable (index); }

    juce::String getMidiKeyName (int key) override { return processor->getMidiKeyName (key); }

    bool setStateChunk (const void* data, int sizeInBytes, bool isProgram) override
    {
        return isProgram ? processor->restoreProgramChunk (data, sizeInBytes) : processor->restoreStateChunk (data, sizeInBytes);
    }

private:
    std::unique_ptr<Pulsaret> processor;
};
} // namespace

std::unique_ptr<VstInstance> createVstInstance()
{
    try
    {
        PulsaretEditor::install();
        std::unique_ptr<Pulsaret> instance (dynamic_cast<Pulsaret*> (createPluginFilter()));

        if (instance == nullptr)
            return nullptr;

        instance->preInitialise();
        instance->initialise();
        instance->postInitialise();
        return std::make_unique<PulsaretVstInstance> (std::move (instance));
    }
    catch (...)
    {
        return nullptr;
    }
}

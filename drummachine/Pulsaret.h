#pragma once

#include "drummachine/DrumMachine.h"

class PulsaretSeq;

/** The product: the drum machine with its names, counts, velocities, engine,
    sequencer and panel, the pattern chain of the panel's step buttons with its
    current bank, and the chain in the saved state. */
class Pulsaret : public DrumMachine
{
public:
    static constexpr int numOutputs = 8;

    Pulsaret();

    /** Writes the settings file first. */
    ~Pulsaret() override;

    juce::String getPluginName() const override { return "Pulsaret"; }
    juce::String getPluginPrefix() const override { return "PX"; }
    int getNumHostParameters() const override { return ParameterId::firstOutputNumber; }
    int getNumOutputs() const override { return numOutputs; }
    double getNormalVelocity() override { return 48.0 / 127.0; }
    double getStrongVelocityIncrement() override { return 0.377; }
    double getAccentVelocityIncrement() override { return 0.623; }
    std::unique_ptr<DrumMachineCore> createCore() override;
    std::unique_ptr<DrumMachineSeq> createSequencer() override;
    std::unique_ptr<PluginEditorComponent> createEditorComponent() override;

    /** The panel comes from the layer above, which installs its factory before any
        instance starts; without one the instance has the base's editor. */
    using EditorFactory = std::unique_ptr<PluginEditorComponent> (*) (Pulsaret&);
    static void setEditorFactory (EditorFactory factory) noexcept;

    static juce::String getVersionString() { return "1.5.1"; }
    static juce::String getBuildNumber() { return "319.1304"; }
    ProductInfo getProductInfo() const override;

    //==============================================================================
    void handleEvent (int uid) override;
    void publishStepStates() override;

    /** The chain of the current bank from the smaller to the larger slot; a stopped
        native player moves to its start. */
    void selectChain (int first, int last);
    int getCurrentBank() const noexcept { return currentBank; }
    PulsaretSeq* getPulsaretSeq() const noexcept { return pulsaretSeq; }

    void loadPluginStateXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;

private:
    void readChainXml (const juce::XmlElement& element);

    PulsaretSeq* pulsaretSeq = nullptr; // owned by the drum machine
    int currentBank = 0;                // message thread

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Pulsaret)
};

/** The factory that the host adapter calls: a constructed instance whose start-up
    stages are still to run, or null when construction failed. */
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

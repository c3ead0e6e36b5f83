#pragma once

#include "editor/DrumMachineEditor.h"

class Pulsaret;

/** The product's panel: the drum machine editor with the product's window sizes. */
class PulsaretEditor : public DrumMachineEditor
{
public:
    explicit PulsaretEditor (Pulsaret& plugin);
    ~PulsaretEditor() override;

    /** Makes every Pulsaret instance started from now on build this editor. */
    static void install();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PulsaretEditor)
};

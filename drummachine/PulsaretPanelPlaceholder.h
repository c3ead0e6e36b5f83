#pragma once

#include "framework/PluginEditorComponent.h"

/** A plain panel of the editor's size that shows the product's name, so that hosts can
    open a window for the instrument. */
class PulsaretPanelPlaceholder : public PluginEditorComponent
{
public:
    PulsaretPanelPlaceholder (int width, int height);

    void paint (juce::Graphics& g) override;
};

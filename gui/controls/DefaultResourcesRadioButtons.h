#pragma once

#include "gui/controls/PathComponent.h"
#include "gui/controls/RadioButtons.h"

/** A radio group whose last item is "a file of the user's": that row carries a path
    field, enabled only while the last item is selected. */
class DefaultResourcesRadioButtons : public RadioButtons,
                                     public PathComponent::Listener
{
public:
    DefaultResourcesRadioButtons (const juce::String& title, const juce::StringArray& items);
    ~DefaultResourcesRadioButtons() override;

    PathComponent& getPathComponent() noexcept { return pathComponent; }

    void updateEnablement() override;
    void layoutChanged() override;
    void pathChanged (PathComponent* source) override;
    void childBoundsChanged (juce::Component* child) override;

private:
    PathComponent pathComponent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DefaultResourcesRadioButtons)
};

#pragma once

#include "gui/controls/CheckBox.h"
#include "gui/controls/PathComponent.h"

/** A check box "use this file" with a path field beside it, enabled only while
    the box is ticked. */
class DefaultResourceCheckBox : public juce::Component,
                                public CheckBox::Listener,
                                public PathComponent::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void defaultResourceChanged (DefaultResourceCheckBox* source) = 0;
    };

    static constexpr int gap = 5;

    DefaultResourceCheckBox();
    ~DefaultResourceCheckBox() override;

    /** Ticks the box when path is not empty and shows the path; tells nobody. */
    void setFile (const juce::String& path);

    bool isTicked() const noexcept { return checkBox.getToggleState(); }
    const juce::String& getPath() const noexcept { return pathComponent.getPath(); }

    CheckBox& getCheckBox() noexcept { return checkBox; }
    PathComponent& getPathComponent() noexcept { return pathComponent; }

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void checkBoxChanged (CheckBox* source) override;
    void pathChanged (PathComponent* source) override;
    void childBoundsChanged (juce::Component* child) override;
    void resized() override;

private:
    void updateEnablement();
    void notifyListeners();
    void updateLayout();

    PathComponent pathComponent;
    CheckBox checkBox;
    juce::Array<Listener*> listeners;
    bool layingOut = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DefaultResourceCheckBox)
};

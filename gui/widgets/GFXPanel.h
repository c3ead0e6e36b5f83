#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A container widget: an optional background frame and the skin widgets nested in its
    "controls" element, which it creates and owns. */
class GFXPanel : public BaseGFXController, public juce::Component
{
public:
    explicit GFXPanel (const juce::String& name);
    ~GFXPanel() override;

    /** Visible while the parameter is true. */
    virtual void setVisibleFromParameter (Parameter* parameter);

    /** Visible while the parameter is false. */
    virtual void setHiddenFromParameter (Parameter* parameter);

    /** Reaches every nested widget too, through nested panels. */
    void addListener (GUIController::Listener* listener) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void paint (juce::Graphics& g) override;

    bool isTransparent() const noexcept { return transparent; }
    int getNumControllers() const;
    GUIController* getController (int index) const;

    /** The widget of one of the twelve tags a skin's root may hold, or null. */
    static std::unique_ptr<juce::Component> createTopLevelWidget (const juce::XmlElement& element, GUIController*& controller);

    /** Creates the widget of a nested tag (the top-level ones and the panel-only ones
        such as keyboards and wheels), or null for a tag that makes none. */
    static std::unique_ptr<juce::Component> createWidget (const juce::XmlElement& element, GUIController*& controller);

private:
    bool transparent = false;

    // The lock outlives the owned components: they are deleted first.
    juce::CriticalSection lock;
    juce::Array<GUIController*> controllers; // guarded by lock
    juce::OwnedArray<juce::Component> components;
};

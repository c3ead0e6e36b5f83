#pragma once

#include "framework/MidiControl.h"
#include "framework/Parameter.h"
#include "framework/PluginEditorComponent.h"
#include "gui/DefaultLookAndFeel.h"
#include "gui/controls/DefaultResourceCheckBox.h"
#include "gui/controls/PseudoModalComponent.h"
#include "gui/controls/StatusBar.h"
#include "gui/controls/TabbedComponentEx.h"
#include "gui/widgets/GUIController.h"

#include <memory>

class AboutWindow;
class BasePlugin;
class GFXAnimation;
class GFXMultiStateButton;
class GFXPanel;
class MidiControlComponent;
class OptionsWindow;

/** The generic editor panel: built once from the skin document when the plug-in
    starts and kept for its whole life (the host's window only borrows it). It owns
    every skin widget and every window drawn over the panel, routes widget events to
    the plug-in, shows value and MIDI-learn texts in its status bar and refreshes the
    activity lights from a 25 ms timer. Message thread only; nothing here waits for
    the audio thread, which hands over its flags through atomics. */
class BasePluginEditor : public PluginEditorComponent,
                         public Parameter::Listener,
                         public GUIController::Listener,
                         public MidiControl::Listener,
                         public DefaultResourceCheckBox::Listener,
                         public TabbedComponentEx::Listener,
                         public PseudoModalComponent::Desktop,
                         private juce::Timer
{
public:
    /** The panel size used until a skin background says otherwise. */
    static constexpr int defaultWidth = 1024;
    static constexpr int defaultHeight = 800;

    /** Status priorities: sequencer hints, learned controllers, values, learn state. */
    enum StatusPriority
    {
        hintPriority = 4,
        controllerPriority = 5,
        valuePriority = 6,
        learnPriority = 7
    };

    static constexpr int statusTimeoutMs = 3000;
    static constexpr int flashMs = 175;

    /** Editors built while one of these lives read this document text instead of the
        embedded skin; an empty text stands for a missing skin (tests). */
    class ScopedSkinOverride
    {
    public:
        explicit ScopedSkinOverride (const juce::String& skinText);
        ~ScopedSkinOverride();

    private:
        const juce::String* previous;
        juce::String text;
    };

    explicit BasePluginEditor (BasePlugin& plugin);
    ~BasePluginEditor() override;

    //==============================================================================
    // PluginEditorComponent

    void createDefaultControls() override;
    void createDebugPanel() override;
    void startRefreshTimer (int intervalMilliseconds) override { startTimer (intervalMilliseconds); }
    void stopRefreshTimer() override { stopTimer(); }

    //==============================================================================
    virtual bool skipCellAfterParameter (int uid);
    virtual bool startRowAfterParameter (int uid);
    virtual void refresh();
    virtual bool hasStatusBar();

    /** Depth first by exact component name: the editor's children in z-order, then,
        child by child, the same search inside each. */
    juce::Component* findControl (const juce::String& name) const;

    template <typename Widget>
    Widget* findControlAs (const juce::String& name) const
    {
        return dynamic_cast<Widget*> (findControl (name));
    }

    /** The panel's size; the status bar goes below it and the host's window follows. */
    void setEditorSize (int width, int height);

    void controlTouched (Parameter* parameter);
    void showSettingsNote (const juce::String& name);

    //==============================================================================
    // Listeners

    void parameterChanged (Parameter*) override {}
    void controllerValueChanged (GUIController* controller) override;
    void controllerEvent (GUIController* controller, int uid) override;
    void midiLearnStateChanged (MidiControl& map) override;
    void midiControllerMoved (MidiControl& map) override;
    void defaultResourceChanged (DefaultResourceCheckBox* box) override;
    void tabChanged (TabbedComponentEx* tabs) override;

    //==============================================================================
    void paint (juce::Graphics& g) override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;
    void parentHierarchyChanged() override;
    void visibilityChanged() override;

    //==============================================================================
    bool isSkinLoaded() const noexcept { return skinLoaded; }
    int getPanelHeight() const noexcept { return panelHeight; }
    int getNumControllers() const;
    GUIController* getController (int index) const;
    const juce::Image& getBackgroundImage() const noexcept { return backgroundImage; }

    BasePlugin& getPlugin() noexcept { return plugin; }
    StatusBar* getStatusBar() const noexcept { return statusBar.get(); }
    OptionsWindow* getOptionsWindow() const noexcept { return optionsWindow.get(); }
    AboutWindow* getAboutWindow() const noexcept { return aboutWindow.get(); }
    MidiControlComponent* getMidiControlComponent() const noexcept { return midiControlComponent.get(); }
    GFXMultiStateButton* getMidiLearnButton() const noexcept { return midiLearnButton; }
    GFXAnimation* getMidiActivityLed() const noexcept { return midiActivityLed; }
    int getNumDefaultControls() const noexcept { return defaultControls.size(); }
    DefaultLookAndFeel& getDefaultLookAndFeel() noexcept { return lookAndFeel; }

protected:
    /** The skin document, or null when there is none (or it does not parse). */
    virtual std::unique_ptr<juce::XmlElement> loadSkinDocument();

    /** Builds the panel from a skin root; false, building nothing, unless the root is
        "PluginEditor". */
    bool buildFromSkin (const juce::XmlElement& root);

    /** Reads and clears the MIDI flag that block processing sets. */
    virtual bool takeMidiActivity();

private:
    void timerCallback() override;
    void showLearnState (MidiControl& map);
    void createTooltipWindowWhenShown();

    // Declared first so that it outlives every window and widget that draws with it.
    DefaultLookAndFeel lookAndFeel;

    // The lock outlives the widgets it guards the list of.
    juce::CriticalSection controllersLock;
    juce::Array<GUIController*> controllers; // guarded by controllersLock
    juce::OwnedArray<juce::Component> skinComponents;

    std::unique_ptr<OptionsWindow> optionsWindow;
    std::unique_ptr<MidiControlComponent> midiControlComponent;
    std::unique_ptr<AboutWindow> aboutWindow;

    bool skinLoaded = false;
    BasePlugin& plugin;
    GFXAnimation* midiActivityLed = nullptr;
    juce::Image backgroundImage;

    juce::OwnedArray<juce::Component> defaultControls;
    std::unique_ptr<juce::TooltipWindow> tooltipWindow;
    std::unique_ptr<StatusBar> statusBar;
    int panelHeight = 0;
    GFXMultiStateButton* midiLearnButton = nullptr;
    std::unique_ptr<GFXPanel> debugPanel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasePluginEditor)
};

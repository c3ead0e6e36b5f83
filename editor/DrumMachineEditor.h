#pragma once

#include "drummachine/DrumMachine.h"
#include "editor/BasePluginEditorOldStyle.h"
#include "gui/controls/DocumentFileChooser.h"
#include "gui/controls/PopupMenuEx.h"
#include "sequencer/Clock.h"

#include <array>

class GFXAnimation;
class GFXButton;
class GFXKnob;
class GFXMultiStateButton;
class NumericDisplay;
class PatternNumberDisplay;

/** The drum machine's panel layer: finds the sequencer's widgets in the skin, makes
    them follow the internal state parameters, flashes the trigger lights, shows the
    running step, offers the pattern load and save menus and adds the drum machine's
    settings pages to the options window. */
class DrumMachineEditor : public BasePluginEditorOldStyle,
                          public Clock::Listener,
                          public PopupMenuEx::Listener
{
public:
    class OutputsSettingsComponent;
    class SequencerSettingsComponent;
    class PatternsSettingsComponent;
    class DrumMapSettingsComponent;

    static constexpr int numTracks = DrumMachine::numTracks;
    static constexpr int numSteps = 16;

    /** Menu item ids: the single pattern and the pattern bank. */
    enum PatternFileKind
    {
        singlePattern = 0,
        patternBank = 1
    };

    explicit DrumMachineEditor (DrumMachine& plugin);
    ~DrumMachineEditor() override;

    void parameterChanged (Parameter* parameter) override;
    void controllerEvent (GUIController* controller, int uid) override;
    void displayTextChanged (GFXDisplay* display) override;
    void clockStateChanged (Clock& clock) override;
    void clockTick (Clock& clock) override;
    void popupMenuItemSelected (PopupMenuEx* menu, int id, bool ticked) override;
    void refresh() override;

    void setTrackRandomMode (int track, bool on);
    void showCurrentStep (int step);

    /** Loads and saves the pattern files; tests give it a scripted launcher. */
    DocumentFileChooser& getPatternFiles() noexcept { return patternFiles; }

    OutputsSettingsComponent* getOutputsPage() const noexcept { return outputsPage.get(); }
    SequencerSettingsComponent* getSequencerPage() const noexcept { return sequencerPage.get(); }
    PatternsSettingsComponent* getPatternsPage() const noexcept { return patternsPage.get(); }
    DrumMapSettingsComponent* getDrumMapPage() const noexcept { return drumMapPage.get(); }

    PopupMenuEx& getLoadMenu() noexcept { return loadMenu; }
    PopupMenuEx& getSaveMenu() noexcept { return saveMenu; }
    GFXMultiStateButton* getStepButton (int index) const noexcept { return stepButtons[(size_t) index]; }
    GFXMultiStateButton* getActivityLight (int track) const noexcept { return activityLights[(size_t) track]; }

protected:
    bool takeMidiActivity() override;

    /** What the audio thread last published: a voice's strike and the playing step. */
    virtual bool takeTrackActivity (int track);
    virtual int readPlayingStep();

private:
    void lookUpWidgets();
    bool readPatternFile (int kind, const juce::File& file);
    bool writePatternFile (int kind, const juce::File& file);

    static void setBlinking (BlinkingComponent* widget, bool on);

    DrumMachine& drumMachine;

    PatternNumberDisplay* patternNumberDisplay = nullptr;
    GFXDisplay* patternNameDisplay = nullptr;
    NumericDisplay* tempoDisplay = nullptr;
    GFXKnob* tempoKnob = nullptr;
    GFXKnob* shuffleKnob = nullptr;
    GFXMultiStateButton* randomizerButton = nullptr;
    GFXMultiStateButton* lengthButton = nullptr;
    GFXButton* previousButton = nullptr;
    GFXButton* nextButton = nullptr;
    std::array<GFXMultiStateButton*, numTracks> activityLights{};
    std::array<GFXKnob*, numTracks> levelKnobs{};
    std::array<GFXKnob*, numTracks> randomThresholdKnobs{};
    std::array<GFXAnimation*, numTracks> levelModeLights{};
    std::array<GFXMultiStateButton*, numTracks> selectButtons{};
    std::array<GFXMultiStateButton*, numSteps> stepButtons{};

    PopupMenuEx loadMenu, saveMenu;
    std::unique_ptr<OutputsSettingsComponent> outputsPage;
    std::unique_ptr<SequencerSettingsComponent> sequencerPage;
    std::unique_ptr<PatternsSettingsComponent> patternsPage;
    std::unique_ptr<DrumMapSettingsComponent> drumMapPage;

    DocumentFileChooser patternFiles{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMachineEditor)
};

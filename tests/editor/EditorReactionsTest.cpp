#include "../TempFolder.h"
#include "EditorTestHost.h"

#include "editor/MidiControlComponent.h"
#include "gui/controls/DefaultResourceCheckBox.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"

#include <gtest/gtest.h>

namespace
{
/** A widget's state in words, so that a failing row reads plainly. */
juce::String describe (const juce::Component& widget)
{
    juce::StringArray words{widget.isEnabled() ? "enabled" : "disabled", widget.isVisible() ? "shown" : "hidden"};

    if (auto* controller = dynamic_cast<const GUIController*> (&widget))
        words.add (controller->isBlinking() ? "blinking" : "steady");

    if (auto* display = dynamic_cast<const GFXDisplay*> (&widget))
    {
        words.add (display->isEditingAllowed() && display->getWantsKeyboardFocus() ? "editable" : "fixed");
        words.add (display->getText().quoted());
    }

    return words.joinIntoString (" ");
}

/** The status bar's priority, its time-out when it expires, and its text. */
juce::String describe (const StatusBar& bar)
{
    const auto timed = bar.isTimeOutRunning() ? " timed " + juce::String (bar.getTimeOutMs()) + " ms" : juce::String();
    return juce::String (bar.getPriority()) + timed + ": " + bar.getText();
}

/** A row may stand for a run of uids, one per track or per step: then '*' in a widget's
    name is the track's name or the step's two-digit number. */
enum class Across
{
    one,
    tracks,
    steps
};

struct Reaction
{
    int uid;
    const char* value; // "on", "off" or a text
    std::vector<std::pair<const char*, const char*>> widgets;
    const char* status = "0: ";
    const char* statusBefore = ""; // shown, as "priority: text", before the change
    Across across = Across::one;
};

int runLength (Across across)
{
    return across == Across::tracks ? DrumVoiceNames::numTracks : across == Across::steps ? DrumMachineEditor::numSteps
                                                                                          : 1;
}

juce::String widgetName (const char* pattern, Across across, int index)
{
    if (across == Across::tracks)
        return juce::String (pattern).replace ("*", DrumVoiceNames::getName (index).removeCharacters (" "));

    return juce::String (pattern).replace ("*", juce::String (index + 1).paddedLeft ('0', 2));
}

/** A Pulsaret that notes every event that reaches it. */
struct EventRecordingPulsaret : public Pulsaret
{
    void handleEvent (int uid) override
    {
        received.add (uid);
        Pulsaret::handleEvent (uid);
    }

    juce::Array<int> received;
};

const char* const filledHint = "4: Tune the amount of randomised tracks with Level knobs. You may random once again with "
                               "Prev/Next or Accept/Undo the result.";
} // namespace

TEST (EditorReactions, EachStateParameterSetsItsWidgetsAndTheStatusBar)
{
    EditorTestHost host;
    auto& status = *host.editor().getStatusBar();

    // In order: each row starts from the widgets the rows before it left.
    const std::vector<Reaction> table = {
        {3024, "Groove", {{"PatternNameDisplay", "enabled shown blinking fixed \"Groove\""}}},
        {3000, "off", {{"PatternNameDisplay", "disabled shown blinking fixed \"Groove\""}, {"PatternNumberDisplay", "disabled shown steady"}}},
        {3000, "on", {{"PatternNameDisplay", "enabled shown blinking fixed \"Groove\""}, {"PatternNumberDisplay", "enabled shown steady"}}},
        {3014, "off", {{"PatternNameDisplay", "enabled shown steady fixed \"Groove\""}}},
        {3014, "on", {{"PatternNameDisplay", "enabled shown blinking fixed \"Groove\""}}},
        {3025, "on", {{"PatternNameDisplay", "enabled shown blinking editable \"Groove\""}}},
        {3025, "off", {{"PatternNameDisplay", "enabled shown blinking fixed \"Groove\""}}},
        {3001, "off", {{"TempoDisplay", "disabled shown steady"}}},
        {3001, "on", {{"TempoDisplay", "enabled shown steady"}}},
        {3005, "on", {{"ShuffleKnob", "enabled shown steady"}}},
        {3005, "off", {{"ShuffleKnob", "disabled shown steady"}}},
        {3026, "off", {{"TempoKnob", "disabled shown steady"}}},
        {3026, "on", {{"TempoKnob", "enabled shown steady"}}},
        // The randomizer's hints go when it ends; a value shown meanwhile stays.
        {3008, "on", {{"PattRandModeButton", "enabled shown blinking"}}, "4: hint", "4: hint"},
        {3008, "off", {{"PattRandModeButton", "enabled shown steady"}}, "0: ", "4: hint"},
        {3008, "off", {{"PattRandModeButton", "enabled shown steady"}}, "5: value", "5: value"},
        {3009, "on", {}, filledHint},
        {3009, "off", {}},
        {3010, "on", {}, "4: Choose tracks to be randomised. Then you can random a sequence using Prev/Next buttons."},
        {3010, "off", {}},
        {3011, "on", {{"PattLengthButton", "enabled shown blinking"}}, "4 timed 3000 ms: Set pattern length using step buttons."},
        {3011, "off", {{"PattLengthButton", "enabled shown steady"}}},
        {3017, "on", {}, "4 timed 3000 ms: Tracks have been copied to clipboard."},
        {3017, "off", {}},
        {3018, "on", {}, "4 timed 3000 ms: Pattern has been copied to clipboard."},
        {3018, "off", {}},
        {62, "on", {{"*LevelKnob", "enabled hidden steady"}, {"*RandThresholdKnob", "enabled shown steady"}, {"*LevelModeLed", "enabled shown blinking"}}, "0: ", "", Across::tracks},
        {62, "off", {{"*LevelKnob", "enabled shown steady"}, {"*RandThresholdKnob", "enabled hidden steady"}, {"*LevelModeLed", "enabled shown steady"}}, "0: ", "", Across::tracks},
        {78, "on", {{"*SelectButton", "enabled shown blinking"}}, "0: ", "", Across::tracks},
        {78, "off", {{"*SelectButton", "enabled shown steady"}}, "0: ", "", Across::tracks},
        {3078, "on", {{"Step*Button", "enabled shown blinking"}}, "0: ", "", Across::steps},
        {3078, "off", {{"Step*Button", "enabled shown steady"}}, "0: ", "", Across::steps},
    };

    for (const auto& row : table)
    {
        for (int i = 0; i < runLength (row.across); ++i)
        {
            const int uid = row.uid + i;
            SCOPED_TRACE (juce::String (uid) + " " + row.value);
            auto& parameter = host.parameter (uid);
            const juce::String value (row.value);

            status.clearMessage (-1);
            const juce::String before (row.statusBefore);

            if (before.isNotEmpty())
                status.setMessage (before.fromFirstOccurrenceOf (": ", false, false), before.getIntValue());

            // Set the opposite quietly first, so that every row is a change the editor hears of.
            if (value == "on" || value == "off")
            {
                parameter.setBoolValue (value == "off", false);
                parameter.setBoolValue (value == "on", true);
            }
            else
            {
                parameter.setText (value, true);
            }
            pumpPendingMessages();

            for (const auto& [pattern, expected] : row.widgets)
            {
                const auto name = widgetName (pattern, row.across, i);
                auto* widget = host.editor().findControl (name);
                ASSERT_NE (widget, nullptr) << name;
                EXPECT_EQ (describe (*widget), juce::String (expected)) << name;
            }

            EXPECT_EQ (describe (status), juce::String (row.status));
        }
    }
}

TEST (EditorReactions, RenamesSettingsNotesControllersAndTheLoadMenu)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& status = *editor.getStatusBar();

    // A finished rename is published again, as the sequencer keeps it.
    host.plugin->setPatternWriteMode (true);
    pumpPendingMessages();
    auto& name = host.widget<GFXDisplay> ("PatternNameDisplay");
    name.setText ("Renamed");
    editor.displayTextChanged (&name);
    pumpPendingMessages();
    EXPECT_EQ (host.parameter (DrumMachine::patternNameUid).getText(), "Renamed");

    // Ticking the default map says when it takes effect, until something replaces it.
    status.clearMessage (-1);
    editor.getMidiControlComponent()->getDefaultMapCheckBox().getCheckBox().getButton().triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (describe (status), "4: Default Map settings will be affected when plugin is loaded.");

    // A learned controller's move shows the value for a while.
    status.clearMessage (-1);
    host.plugin->getMidiControl().assign (7, &host.parameter (0), true);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::controllerEvent (1, 7, 32), 0);
    host.process (64, midi);
    pumpPendingMessages();
    EXPECT_EQ (describe (status), "5 timed 3000 ms: Bass Drum Level: " + host.plugin->getParameterTextById (0));
}

TEST (EditorReactions, LoadPatternsOpensTheMenuAndNeverReachesThePlugin)
{
    TempFolder folder;
    EventRecordingPulsaret plugin;
    plugin.setUserSettingsFile (folder.file ("Pulsaret.ini"));
    plugin.preInitialise();
    plugin.initialise();
    PulsaretEditor::install();
    plugin.postInitialise();
    pumpPendingMessages();

    auto& editor = *dynamic_cast<PulsaretEditor*> (plugin.getEditorComponent());
    auto* previous = editor.findControlAs<GFXButton> ("PattPrevButton");
    ASSERT_NE (previous, nullptr);

    for (bool internalSequencer : {false, true})
    {
        plugin.setInternalSequencer (internalSequencer);
        pumpPendingMessages();
        previous->clicked (juce::ModifierKeys());
        previous->clicked (juce::ModifierKeys::ctrlModifier);
        pumpPendingMessages();
        EXPECT_EQ (editor.getLoadMenu().getComponent()->isShown(), internalSequencer);
    }

    EXPECT_EQ (plugin.received, juce::Array<int> ({DrumMachine::prevEvent, DrumMachine::prevEvent}));
}

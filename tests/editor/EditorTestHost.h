#pragma once

#include "../MessagePump.h"
#include "../drummachine/PulsaretTestHost.h"
#include "drummachine/DrumVoiceNames.h"
#include "editor/PulsaretEditor.h"
#include "framework/EmbeddedResources.h"

#include <optional>

/** Delivers messages for a while, timer callbacks among them. */
inline void pumpFor (int ms)
{
    pumpMessagesFor (ms);
}

/** The instance's editor panel. */
inline PulsaretEditor& editorOf (const Pulsaret& plugin)
{
    return *dynamic_cast<PulsaretEditor*> (plugin.getEditorComponent());
}

/** A widget of the panel by its skin name; a missing one fails the test rather than crashing it. */
template <typename Widget>
Widget& skinWidget (PulsaretEditor& editor, const juce::String& name)
{
    auto* found = editor.findControlAs<Widget> (name);

    if (found == nullptr)
        throw std::runtime_error (("no widget " + name).toStdString());

    return *found;
}

/** A small skin naming every widget the editor looks up, with sizes instead of images,
    for the skinless build and for documents the tests shape. */
class TestSkin
{
public:
    explicit TestSkin (Pulsaret& plugin)
        : parameters (plugin.getParameterManager())
        , events (plugin.getEventNameMap())
    {
        root.setAttribute ("application", "Pulsaret");
    }

    juce::XmlElement& add (const juce::String& tag, const juce::String& name, int uid = -1, int click = -1, int ctrlClick = -1)
    {
        auto* e = root.createNewChildElement (tag);
        e->setAttribute ("name", name);
        auto* size = e->createNewChildElement ("size");
        size->setAttribute ("width", 20);
        size->setAttribute ("height", 20);
        auto* pos = e->createNewChildElement ("pos");
        pos->setAttribute ("left", 10 + 24 * (count % 40));
        pos->setAttribute ("top", 10 + 30 * (count / 40));
        ++count;

        if (uid >= 0)
        {
            auto* link = e->createNewChildElement ("links")->createNewChildElement ("link");
            link->setAttribute ("as", "connectedTo");
            link->setAttribute ("param", parameters.getParameterName (uid));
        }

        auto addAction = [&] (const char* type, int event)
        {
            if (event < 0)
                return;

            auto* actions = e->getChildByName ("actions");

            if (actions == nullptr)
                actions = e->createNewChildElement ("actions");

            auto* action = actions->createNewChildElement ("action");
            action->setAttribute ("type", type);
            action->setAttribute ("event", events.getName (event));
        };

        addAction ("onClick", click);
        addAction ("onClickWithCtrl", ctrlClick);
        return *e;
    }

    /** Every looked-up widget, plus write, a toggle, a switch and an output display. */
    TestSkin& addPanelWidgets()
    {
        add ("MultiStateButton", "MidiLearnButton", -1, 1010);
        add ("Animation", "MidiActivityLed").getChildByName ("size")->setAttribute ("height", 20);
        add ("Display", "PresetNameDisplay", 110001);
        add ("Button", "OptionsButton", -1, 1000, 1001);
        add ("Button", "PresetBrowseButton", -1, 1004);
        add ("PatternNumberDisplay", "PatternNumberDisplay", DrumMachine::patternNumberUid);
        add ("Display", "PatternNameDisplay", DrumMachine::patternNameUid);
        auto& tempo = add ("NumericDisplay", "TempoDisplay", DrumMachine::patternTempoUid);
        tempo.setAttribute ("digitsNum", 4);
        tempo.setAttribute ("firstDigitOrder", 100);
        tempo.setAttribute ("minValue", 30);
        tempo.setAttribute ("maxValue", 300);
        tempo.setAttribute ("control", "continous");
        add ("Knob", "TempoKnob", DrumMachine::patternTempoUid);
        add ("Knob", "ShuffleKnob", DrumMachine::patternShuffleUid);
        add ("MultiStateButton", "PattRandModeButton", DrumMachine::randomizerStateUid, DrumMachine::toggleRandomizerEvent);
        add ("MultiStateButton", "PattLengthButton", DrumMachine::lengthModeStateUid, DrumMachine::toggleLengthModeEvent);
        add ("Button", "PattPrevButton", -1, DrumMachine::prevEvent, DrumMachine::loadPatternsEvent);
        add ("Button", "PattNextButton", -1, DrumMachine::nextEvent, DrumMachine::savePatternsEvent);
        add ("MultiStateButton", "WriteButton", DrumMachine::writeModeStateUid, DrumMachine::togglePatternWriteModeEvent);
        add ("ToggleButton", "TomsLinkButton", 22);
        add ("Switch", "InstrumentSwitch", DrumMachine::instrumentSelectionUid);

        for (int t = 0; t < DrumVoiceNames::numTracks; ++t)
        {
            const auto name = DrumVoiceNames::getName (t).removeCharacters (" ");

            if (t < DrumVoiceNames::numInstruments)
            {
                add ("MultiStateButton", name + "ActivityLed");
                auto& out = add ("NumericDisplay", name + "OutputDisplay", DrumMachine::firstOutputNumberUid + t);
                out.setAttribute ("digitsNum", 2);
                out.setAttribute ("minValue", 1);
                out.setAttribute ("maxValue", 8);
                out.setAttribute ("control", "continous");
            }

            add ("Knob", name + "LevelKnob", t);
            add ("Knob", name + "RandThresholdKnob", DrumMachine::firstRandThresholdUid + t);
            add ("Animation", name + "LevelModeLed", DrumMachine::firstRandStateUid + t);
            add ("MultiStateButton", name + "SelectButton", DrumMachine::firstSelectionUid + t, 28 + t, 36 + t);
        }

        for (int n = 1; n <= 16; ++n)
            add ("MultiStateButton", "Step" + juce::String (n).paddedLeft ('0', 2) + "Button",
                 DrumMachine::stepStateUid + n - 1, DrumMachine::pressStepEvent + n - 1, DrumMachine::pressStepWithCtrlEvent + n - 1)
                .setAttribute ("states", 3);

        return *this;
    }

    juce::String toString() const { return root.toString(); }

    juce::XmlElement root{"PluginEditor"};

private:
    ParameterManager& parameters;
    EventNameMap& events;
    int count = 0;
};

/** A started Pulsaret with its editor built from the embedded skin, or, while the
    build embeds none, from the test skin; skinText replaces either (empty: no skin). */
class EditorTestHost : public PulsaretTestHost
{
public:
    explicit EditorTestHost (std::optional<juce::String> skinText = std::nullopt,
                             std::function<void (TestSkin&)> shape = {})
    {
        if (!skinText.has_value() && loadXmlResource ("skin.xml").isEmpty())
        {
            TestSkin skin (*plugin);
            skin.addPanelWidgets();

            if (shape)
                shape (skin);

            skinText = skin.toString();
        }

        PulsaretEditor::install();
        std::optional<BasePluginEditor::ScopedSkinOverride> skinOverride;

        if (skinText.has_value())
            skinOverride.emplace (*skinText);

        plugin->postInitialise();
        pumpPendingMessages();
    }

    PulsaretEditor& editor() const { return editorOf (*plugin); }

    template <typename Widget>
    Widget& widget (const juce::String& name) const
    {
        return skinWidget<Widget> (editor(), name);
    }

    /** A press of the mouse (with Ctrl when asked) as the widget's click reports it. */
    template <typename Widget>
    void click (const juce::String& name, bool ctrl = false) const
    {
        widget<Widget> (name).clicked (ctrl ? juce::ModifierKeys::ctrlModifier : juce::ModifierKeys());
        pumpPendingMessages();
    }

    static bool hasEmbeddedSkin() { return loadXmlResource ("skin.xml").isNotEmpty(); }
};

#include "EditorTestHost.h"

#include "editor/AboutWindow.h"
#include "editor/OptionsWindow.h"
#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"

#include <gtest/gtest.h>

TEST (BasePluginEditor, WithoutSkinOrWithAnotherRootTheSkinlessPanelShows)
{
    const juce::String noSkin, otherRoot = "<Skin><Knob name=\"BassDrumLevelKnob\"/></Skin>", unparsable = "PluginEditor knob";

    for (const auto& text : {noSkin, otherRoot, unparsable})
    {
        EditorTestHost host (text);
        auto& editor = host.editor();
        SCOPED_TRACE (text);

        EXPECT_FALSE (editor.isSkinLoaded());
        EXPECT_EQ (editor.getNumControllers(), 0);
        EXPECT_EQ (editor.getWidth(), 1024);
        EXPECT_EQ (editor.getPanelHeight(), 800);
        EXPECT_EQ (editor.getHeight(), 800 + editor.getStatusBar()->getHeight());
        ASSERT_EQ (editor.getNumDefaultControls(), 47);

        // Sixteen columns of 64 pixels at 1024; the 17th control starts the second row.
        auto& first = host.widget<GFXKnob> ("Bass Drum Level");
        EXPECT_EQ (first.getBounds(), juce::Rectangle<int> (5, 30, 50, 80));
        EXPECT_EQ (host.widget<GFXKnob> ("Snare Drum Level").getX(), 69);
        EXPECT_EQ (host.widget<GFXKnob> ("Low Tom Level").getX(), 133);
        auto* seventeenth = editor.findControl (host.parameter (16).getName());
        ASSERT_NE (seventeenth, nullptr);
        EXPECT_EQ (seventeenth->getPosition(), juce::Point<int> (5, 150));

        // Every host parameter is a float here: a knob linked to it.
        for (int uid = 0; uid < 47; ++uid)
            EXPECT_EQ (host.widget<GFXKnob> (host.parameter (uid).getName()).getParameter(), &host.parameter (uid)) << uid;

        first.setValue (0.25, juce::sendNotificationSync);
        EXPECT_FLOAT_EQ (host.parameter (0).getNormalisedValue(), 0.25f);
    }
}

TEST (BasePluginEditor, TopLevelTagsIgnoreCaseAndTheFirstElementIsOnTop)
{
    const juce::String skin = "<PluginEditor>"
                              "<knob name=\"A\"><size width=\"40\" height=\"40\"/></knob>"
                              "<Knob name=\"B\"><size width=\"40\" height=\"40\"/></Knob>"
                              "<Slider name=\"C\"/><MusicKeyboard name=\"D\"/><PitchBender name=\"E\"/>"
                              "</PluginEditor>";
    EditorTestHost host (skin);
    auto& editor = host.editor();

    EXPECT_TRUE (editor.isSkinLoaded());
    EXPECT_EQ (editor.getNumDefaultControls(), 0);
    ASSERT_EQ (editor.getNumControllers(), 2);

    for (auto name : {"C", "D", "E"})
        EXPECT_EQ (editor.findControl (name), nullptr) << name;

    auto* a = editor.findControlAs<GFXKnob> ("A");
    auto* b = editor.findControlAs<GFXKnob> ("B");
    ASSERT_TRUE (a != nullptr && b != nullptr);
    EXPECT_GT (editor.getIndexOfChildComponent (a), editor.getIndexOfChildComponent (b));

    // A cast to the wrong class counts as absent.
    EXPECT_EQ (editor.findControlAs<GFXMultiStateButton> ("A"), nullptr);
}

TEST (BasePluginEditor, LearnStateValueTextsAndTheOptionsEvent)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& status = *editor.getStatusBar();
    auto& learn = host.widget<GFXMultiStateButton> ("MidiLearnButton");
    auto& level = host.widget<GFXKnob> ("BassDrumLevelKnob");

    // A value change shows the value text for three seconds.
    level.setValue (0.5, juce::sendNotificationSync);
    EXPECT_EQ (status.getText(), "Bass Drum Level: " + host.plugin->getParameterTextById (0));
    EXPECT_EQ (status.getPriority(), 6);
    EXPECT_TRUE (status.isTimeOutRunning());

    host.click<GFXMultiStateButton> ("MidiLearnButton");
    EXPECT_TRUE (host.plugin->getMidiControl().isLearnMode());
    EXPECT_EQ (learn.getStateIndex(), 1);
    EXPECT_EQ (status.getText(), "Waiting for a controller or parameter movement...");
    EXPECT_FALSE (status.isTimeOutRunning());

    // Touching a knob in learn mode offers its parameter; the learn text outranks the value.
    level.setValue (0.75, juce::sendNotificationSync);
    pumpPendingMessages();
    EXPECT_EQ (host.plugin->getMidiControl().getLearnParameter(), &host.parameter (0));
    EXPECT_EQ (status.getText(), "'Bass Drum Level' parameter is free. Waiting for a free controller now...");
    EXPECT_EQ (status.getPriority(), 7);

    host.plugin->getMidiControl().learnController (7);
    pumpPendingMessages();
    EXPECT_EQ (status.getText(), "CC# 7 is assigned to parameter 'Bass Drum Level'.");

    // Learn off clears whatever is shown; the button follows.
    host.click<GFXMultiStateButton> ("MidiLearnButton");
    EXPECT_FALSE (host.plugin->getMidiControl().isLearnMode());
    EXPECT_EQ (learn.getStateIndex(), 0);
    EXPECT_EQ (status.getText(), "");

    // The options event clears even a learn message and shows the window.
    host.click<GFXMultiStateButton> ("MidiLearnButton");
    ASSERT_EQ (status.getPriority(), 7);
    host.click<GFXButton> ("OptionsButton");
    EXPECT_EQ (status.getText(), "");
    EXPECT_TRUE (editor.getOptionsWindow()->isShown());
    EXPECT_FALSE (editor.getAboutWindow()->isShown());

    editor.getOptionsWindow()->hide();
    host.click<GFXButton> ("OptionsButton", true);
    EXPECT_TRUE (editor.getAboutWindow()->isShown());
}

TEST (BasePluginEditor, MidiInputFlashesTheMidiLightForAMoment)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& led = host.widget<GFXAnimation> ("MidiActivityLed");
    editor.setVisible (true);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::controllerEvent (1, 7, 100), 0);
    host.process (64, midi);
    editor.refresh();
    EXPECT_EQ (led.getFrame(), 1);
    EXPECT_EQ (host.plugin->takeMidiActivity(), 0) << "the refresh takes the flag";

    // The light's own timer puts it out; a loaded machine may run that timer late.
    for (int waited = 0; waited < 2000 && led.getFrame() != 0; waited += 25)
        pumpFor (25);
    EXPECT_EQ (led.getFrame(), 0);
}

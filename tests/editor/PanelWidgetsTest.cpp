#include "EditorTestHost.h"

#include "editor/OptionsWindow.h"

#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/GFXToggleButton.h"
#include "gui/widgets/NumericDisplay.h"
#include "gui/widgets/PatternNumberDisplay.h"

#include <gtest/gtest.h>

namespace
{
juce::String describe (GUIController* controller)
{
    auto* component = dynamic_cast<juce::Component*> (controller);
    return (component != nullptr ? component->getName() : juce::String ("?")) + " / " + controller->getParameter()->getName();
}

/** What the widget shows, as a number to compare, after its parameter went to one end. */
void expectShows (GUIController* controller, bool top)
{
    auto* p = controller->getParameter();
    const auto what = describe (controller);

    if (auto* knob = dynamic_cast<GFXKnob*> (controller))
        EXPECT_NEAR (knob->getValue(), p->getNormalisedValue(), 1.0e-6) << what;
    else if (auto* toggle = dynamic_cast<GFXToggleButton*> (controller))
        EXPECT_EQ (toggle->getToggleState(), p->getBoolValue()) << what;
    else if (auto* button = dynamic_cast<GFXMultiStateButton*> (controller))
        EXPECT_EQ (button->getStateIndex(), top ? button->getStates() - 1 : 0) << what;
    else if (auto* animation = dynamic_cast<GFXAnimation*> (controller))
        EXPECT_EQ (animation->getFrame(), top ? animation->getFramesNum() - 1 : 0) << what;
    else if (auto* numeric = dynamic_cast<NumericDisplay*> (controller))
        EXPECT_NEAR (numeric->getValue(), p->getValue(), 1.0e-3) << what;
    else if (auto* number = dynamic_cast<PatternNumberDisplay*> (controller))
        EXPECT_EQ (number->getPatternNumber(), p->getIntValue()) << what;
    else if (auto* display = dynamic_cast<GFXDisplay*> (controller))
        EXPECT_EQ (display->getText(), p->getText()) << what;
    else
        ADD_FAILURE() << "unchecked widget " << what;
}
} // namespace

TEST (PanelWidgets, EveryLinkedWidgetShowsItsParameter)
{
    EditorTestHost host;
    auto& editor = host.editor();
    int checked = 0;

    for (int i = 0; i < editor.getNumControllers(); ++i)
    {
        auto* controller = editor.getController (i);
        auto* p = controller->getParameter();

        if (p == nullptr)
            continue;

        if (dynamic_cast<GFXDisplay*> (controller) != nullptr)
        {
            p->setText ("Abc " + juce::String (i), true);
            pumpPendingMessages();
            expectShows (controller, true);
        }
        else if (dynamic_cast<PatternNumberDisplay*> (controller) != nullptr)
        {
            p->setIntValue (5, true);
            pumpPendingMessages();
            expectShows (controller, true);
        }
        else
        {
            for (const bool top : {true, false})
            {
                p->setNormalisedValue (top ? 1.0f : 0.0f, true);
                pumpPendingMessages();
                expectShows (controller, top);
            }
        }

        ++checked;
    }

    EXPECT_GE (checked, 60);
}

TEST (PanelWidgets, EveryKnobSwitchToggleAndNumericDisplayWritesItsParameter)
{
    EditorTestHost host;
    auto& editor = host.editor();
    juce::SparseSet<int> hostParameters;

    for (int i = 0; i < editor.getNumControllers(); ++i)
    {
        auto* controller = editor.getController (i);
        auto* p = controller->getParameter();

        if (p == nullptr)
            continue;

        const auto what = describe (controller);

        if (p->getUid() < 47)
            hostParameters.addRange ({p->getUid(), p->getUid() + 1});

        if (auto* knob = dynamic_cast<GFXKnob*> (controller)) // switches too
        {
            for (const double target : {1.0, 0.0})
            {
                knob->setValue (target, juce::sendNotificationSync);
                EXPECT_NEAR (p->getNormalisedValue(), knob->getValue(), 1.0e-6) << what;
                EXPECT_NEAR (knob->getValue(), target, 0.01) << what;
            }
        }
        else if (auto* toggle = dynamic_cast<GFXToggleButton*> (controller))
        {
            const bool before = p->getBoolValue();
            toggle->triggerClick();
            pumpPendingMessages();
            EXPECT_NE (p->getBoolValue(), before) << what;
        }
        else if (auto* numeric = dynamic_cast<NumericDisplay*> (controller))
        {
            for (const double target : {2.0, 3.0, 120.0})
            {
                numeric->setValue (target, true);
                EXPECT_NEAR (numeric->getValue(), p->getValue(), 1.0e-3) << what;
            }
        }
    }

    if (EditorTestHost::hasEmbeddedSkin())
    {
        EXPECT_EQ (hostParameters.size(), 47) << "every host parameter has a control";
    }
}

// Writes the panel as the widgets draw it, to be looked at: PULSARET_PANEL_PNG=file.png.
TEST (PanelWidgets, PictureOfThePanel)
{
    const auto target = juce::SystemStats::getEnvironmentVariable ("PULSARET_PANEL_PNG", {});

    if (target.isEmpty())
        GTEST_SKIP() << "set PULSARET_PANEL_PNG to write the picture";

    EditorTestHost host;
    auto& editor = host.editor();
    editor.getStatusBar()->setMessage ("Bass Drum Level: 0.50", 6);

    // The panel, then with the options window over it.
    const juce::File file (target);
    const juce::File withOptions = file.getSiblingFile (file.getFileNameWithoutExtension() + "-options.png");

    for (const auto& picture : {file, withOptions})
    {
        if (picture == withOptions)
            editor.getOptionsWindow()->show();

        const auto image = editor.createComponentSnapshot (editor.getLocalBounds());
        picture.deleteFile();
        juce::FileOutputStream out (picture);
        ASSERT_TRUE (out.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, out));
    }
}

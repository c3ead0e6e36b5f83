#pragma once

#include "../drummachine/PulsaretTestHost.h"
#include "../gui/controls/ControlsTestSupport.h"
#include "gui/controls/DocumentFileChooser.h"

#include <deque>

namespace editor_test
{
using controls_test::mouseAt;
using controls_test::pumpMessages;
using controls_test::snapshot;
using controls_test::TestDesktop;

/** Answers each chooser with the next scripted file at once; an empty file, or
    none left, is a cancelled chooser. */
struct ScriptedLauncher : public FileChooserLauncher
{
    std::deque<juce::File> answers;
    juce::StringArray titles, wildcards;
    juce::Array<juce::File> initialFiles;

    void launch (const juce::String& title, const juce::File& initial, const juce::String& wildcard, Callback onChosen) override
    {
        answer (title, initial, wildcard, std::move (onChosen));
    }

    void launchForSave (const juce::String& title, const juce::File& initial, const juce::String& wildcard, Callback onChosen) override
    {
        answer (title, initial, wildcard, std::move (onChosen));
    }

private:
    void answer (const juce::String& title, const juce::File& initial, const juce::String& wildcard, Callback onChosen)
    {
        titles.add (title);
        wildcards.add (wildcard);
        initialFiles.add (initial);
        auto file = answers.empty() ? juce::File() : answers.front();

        if (!answers.empty())
            answers.pop_front();

        if (file != juce::File())
            onChosen (file);
    }
};

/** Gives the chooser a scripted launcher and returns it. */
inline ScriptedLauncher& script (DocumentFileChooser& chooser)
{
    auto launcher = std::make_unique<ScriptedLauncher>();
    auto& scripted = *launcher;
    chooser.setLauncher (std::move (launcher));
    return scripted;
}

/** A click as the button gets it from the mouse, then the posted messages. */
inline void click (juce::Button& button)
{
    ASSERT_TRUE (button.isEnabled()) << button.getName();
    button.triggerClick();
    pumpMessages (20);
}

/** A Pulsaret with the toolkit's look and feel and a stand-in for its editor. */
struct WindowFixture
{
    PulsaretTestHost host;
    DefaultLookAndFeel laf;
    TestDesktop editor{&laf, 800, 600};
    juce::File folder{host.folder};

    BasePluginOldStyle& plugin() { return *host.plugin; }
};
} // namespace editor_test

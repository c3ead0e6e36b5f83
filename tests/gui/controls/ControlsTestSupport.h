#pragma once

#include "tests/MessagePump.h"
#include "framework/PolledUpdater.h"
#include "gui/DefaultLookAndFeel.h"
#include "gui/controls/PseudoModalComponent.h"

#include <gtest/gtest.h>

namespace controls_test
{
/** Stands in for the editor: the component pseudo-modal windows attach to. */
struct TestDesktop : public juce::Component,
                     public PseudoModalComponent::Desktop
{
    explicit TestDesktop (juce::LookAndFeel* laf = nullptr, int w = 600, int h = 400)
    {
        setLookAndFeel (laf);
        setSize (w, h);
        setVisible (true);
    }

    ~TestDesktop() override { setLookAndFeel (nullptr); }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colour (0xff8899aa)); }
};

/** Snapshots go to a folder in the temp directory, for a person to look at. */
inline juce::File snapshotFolder()
{
    auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("pulsaret-snapshots");
    folder.createDirectory();
    return folder;
}

inline juce::Image snapshot (juce::Component& c, const juce::String& fileName)
{
    auto image = c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f);
    auto file = snapshotFolder().getChildFile (fileName);
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
    return image;
}

} // namespace controls_test

namespace controls_test
{
inline void pumpMessages (int ms)
{
    pumpMessagesFor (ms);
}

inline juce::MouseEvent mouseAt (juce::Component& c, juce::Point<int> p, int clicks = 1)
{
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    const auto t = juce::Time::getCurrentTime();
    return juce::MouseEvent (source, p.toFloat(), juce::ModifierKeys(), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c, t,
                             p.toFloat(), t, clicks, false);
}
} // namespace controls_test

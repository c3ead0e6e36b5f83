#pragma once

#include "gui/controls/LookAndFeelWatch.h"
#include <juce_gui_basics/juce_gui_basics.h>

/** A one-line message bar. A message replaces the shown one only when its priority
    is at least as high; a message may expire after a time-out. */
class StatusBar : public juce::Component,
                  private juce::Timer
{
public:
    /** What the control asks of its look and feel; with one that lacks it the control
        keeps its own defaults. */
    struct LookAndFeelMethods
    {
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Font getStatusBarFont() = 0;
        virtual int getStatusBarHeight() = 0;
    };

    enum ColourIds
    {
        backgroundColourId = 0x0F004001,
        textColourId = 0x0F004002
    };

    StatusBar();

    /** A time-out of 0 or less keeps the message until it is replaced or cleared. */
    void setMessage (const juce::String& text, int priority, int timeoutMs = 0);

    /** Clears the message unless it has a higher priority; -1 always clears. */
    void clearMessage (int priority);

    const juce::String& getText() const noexcept { return text; }
    int getPriority() const noexcept { return priority; }
    bool isTimeOutRunning() const noexcept { return isTimerRunning(); }

    /** The running time-out in milliseconds; 0 when the message stays. */
    int getTimeOutMs() const noexcept { return isTimerRunning() ? getTimerInterval() : 0; }

    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void paint (juce::Graphics& g) override;

private:
    void timerCallback() override;

    juce::Font font{14.0f};
    juce::String text;
    int priority = 0;
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusBar)
};

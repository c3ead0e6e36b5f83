#pragma once

#include <juce_events/juce_events.h>

#include <memory>

/** A blink phase driven by its own timer. Widgets that blink show their rest picture
    (frame 0) in the on-phase and their normal picture otherwise. */
class BlinkingComponent
{
public:
    BlinkingComponent();
    virtual ~BlinkingComponent();

    /** Called on every phase change and when blinking starts or stops. */
    virtual void blinkStateChanged() {}

    /** Begins with the off-phase. */
    void startBlinking();
    void stopBlinking();

    bool isBlinking() const noexcept;
    bool getBlinkPhase() const noexcept { return phase; }

    /** True while the blink runs and the phase is on. */
    bool isInBlinkOnPhase() const noexcept { return isBlinking() && phase; }

    /** Takes effect at the next start. */
    void setBlinkInterval (int milliseconds) noexcept { interval = milliseconds; }
    int getBlinkInterval() const noexcept { return interval; }

private:
    class BlinkingComponentTimer : public juce::Timer
    {
    public:
        explicit BlinkingComponentTimer (BlinkingComponent& ownerToUse)
            : owner (ownerToUse)
        {
        }
        void timerCallback() override;

    private:
        BlinkingComponent& owner;
    };

    void blinkTick();

    bool phase = false;
    int interval = 150;
    std::unique_ptr<BlinkingComponentTimer> timer;
};

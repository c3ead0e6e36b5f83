#include "gui/widgets/BlinkingComponent.h"

BlinkingComponent::BlinkingComponent()
    : timer (std::make_unique<BlinkingComponentTimer> (*this))
{
}

BlinkingComponent::~BlinkingComponent() = default;

void BlinkingComponent::BlinkingComponentTimer::timerCallback()
{
    owner.blinkTick();
}

void BlinkingComponent::blinkTick()
{
    phase = !phase;
    blinkStateChanged();
}

void BlinkingComponent::startBlinking()
{
    phase = false;
    timer->startTimer (interval);
    blinkStateChanged();
}

void BlinkingComponent::stopBlinking()
{
    if (!timer->isTimerRunning())
        return;

    timer->stopTimer();
    blinkStateChanged();
}

bool BlinkingComponent::isBlinking() const noexcept
{
    return timer->isTimerRunning();
}

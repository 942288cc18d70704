#include "framework/gui/controls/BlinkingComponent.h"

BlinkingComponent::BlinkingComponent() : timer(std::make_unique<BlinkingComponentTimer>(*this)) {}

BlinkingComponent::~BlinkingComponent()
{
    timer->stopTimer();
}

void BlinkingComponent::startBlinking()
{
    timer->startTimer(blinkPeriodMs);
}

void BlinkingComponent::stopBlinking()
{
    timer->stopTimer();
    blinkFlag = false;
}

bool BlinkingComponent::isBlinking() const
{
    return timer->isTimerRunning();
}

void BlinkingComponent::BlinkingComponentTimer::timerCallback()
{
    owner.blinkFlag = !owner.blinkFlag;
    owner.blink();
}

#pragma once

#include <juce_events/juce_events.h>

#include <memory>

// Lets a control flash: while blinking, a bitmap control shows its rest frame whenever the
// flag is set. Nothing in this plug-in starts it, but every kind carries it.
class BlinkingComponent
{
public:
    BlinkingComponent();
    virtual ~BlinkingComponent();

    void startBlinking();
    void stopBlinking();
    bool isBlinking() const;
    // True while the rest frame is to be shown instead of the current one.
    bool showsRestFrame() const { return isBlinking() && blinkFlag; }

    static constexpr int blinkPeriodMs = 150;

protected:
    virtual void blink() {}

private:
    class BlinkingComponentTimer : public juce::Timer
    {
    public:
        explicit BlinkingComponentTimer(BlinkingComponent& owner) : owner(owner) {}
        void timerCallback() override;

    private:
        BlinkingComponent& owner;
    };

    bool blinkFlag = false;
    std::unique_ptr<BlinkingComponentTimer> timer;
};

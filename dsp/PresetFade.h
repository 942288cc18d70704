#pragma once

class CoreOwner;

// Click-free preset change: fade out, apply the preset while silent, hold, fade back in.
class PresetFade
{
public:
    // Starts (or restarts) a fade-out from the current gain.
    void start();

    bool isActive() const { return active; }
    bool isWaiting() const { return waiting; }
    double getGain() const { return gain; }

    // Advances the fade by one sample and returns the factor for this sample's output
    // (1.0 when no fade is running). step is 0.002 * b, silenceSamples the hold length.
    double advance(double step, int silenceSamples, CoreOwner* owner);

private:
    bool active = false;
    bool fadingOut = false;
    bool fadingIn = false;
    bool waiting = false;
    double target = 1.0;
    double gain = 1.0;
    int countdown = 0;
};

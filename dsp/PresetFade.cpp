#include "dsp/PresetFade.h"

#include "dsp/CoreInterfaces.h"

void PresetFade::start()
{
    active = true;
    fadingOut = true;
    waiting = false;
    target = 0.0;
    countdown = 0;
}

double PresetFade::advance(double step, int silenceSamples, CoreOwner* owner)
{
    if (!active)
        return 1.0;

    gain = gain - ((gain - target) * step + 1e-20);

    if (gain < 0.001 && fadingOut)
    {
        target = 0.0;
        gain = 0.0;
        waiting = true;
        fadingOut = false;
        countdown = silenceSamples;
        if (owner != nullptr)
            owner->applyCurrentPreset();
    }

    if (countdown > 0 && waiting)
    {
        --countdown;
        if (countdown == 0)
        {
            target = 1.0;
            waiting = false;
            fadingIn = true;
        }
    }

    if (gain > 0.99 && fadingIn)
    {
        active = false;
        target = 1.0;
        gain = 1.0;
        waiting = false;
        fadingIn = false;
    }

    return active ? gain : 1.0;
}

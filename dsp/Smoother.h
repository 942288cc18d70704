#pragma once

// One-pole glide towards a target, stepped once per sample (time constant about 1/k samples).
struct Smoother
{
    double current = 0.0;
    double target = 0.0;

    void step(double k) { current = current - ((current - target) * k + 1e-20); }
    void snap() { current = target; }
};

#pragma once

// One-pole glide towards a target, stepped once per sample (time constant about 1/k samples).
struct Smoother
{
    double current = 0.0;
    double target = 0.0;

    void step(double k) { current = current - ((current - target) * k + 1e-20); }
    void snap() { current = target; }

    // Steps count times. ramp (may be null) receives the value after each step, or before it
    // with recordBeforeStep. Once a step leaves the value unchanged every later one does too,
    // so the remaining steps are skipped and their slots filled.
    void run(double k, int count, double* ramp, bool recordBeforeStep)
    {
        for (int i = 0; i < count; ++i)
        {
            const double previous = current;
            step(k);
            if (ramp != nullptr)
                ramp[i] = recordBeforeStep ? previous : current;
            if (current == previous)
            {
                if (ramp != nullptr)
                    for (int j = i + 1; j < count; ++j)
                        ramp[j] = current;
                return;
            }
        }
    }
};

// A group of smoothers stepped together; contiguous so the step vectorises.
template <int Count> struct SmootherBank
{
    double current[Count] = {};
    double target[Count] = {};

    // Returns false when the step left every value unchanged: with the same targets and k
    // every later step will too, so the caller may skip them without changing any result.
    bool step(double k)
    {
        bool changed = false;
        for (int i = 0; i < Count; ++i)
        {
            const double next = current[i] - ((current[i] - target[i]) * k + 1e-20);
            changed |= next != current[i];
            current[i] = next;
        }
        return changed;
    }

    void snap()
    {
        for (int i = 0; i < Count; ++i)
            current[i] = target[i];
    }
};

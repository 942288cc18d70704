#pragma once

#include "framework/processor/QuarryEffect.h"

// Changes only how presets, banks and the state of older versions are recognised and named.
class QuarryOldCompatible : public QuarryEffect
{
public:
    using QuarryEffect::QuarryEffect;
};

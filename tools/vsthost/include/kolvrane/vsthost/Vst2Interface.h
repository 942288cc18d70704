// The project's VST 2.4 interface headers, placed in namespace Vst2 exactly as JUCE's wrapper does, so a
// translation unit that sees both gets one set of declarations.
#pragma once

namespace Vst2
{
#include "pluginterfaces/vst2.x/aeffectx.h"
}

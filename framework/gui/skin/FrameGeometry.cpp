#include "framework/gui/skin/FrameGeometry.h"

#include <algorithm>
#include <cmath>

namespace FrameGeometry
{
int frameForValue(int frames, float value)
{
    return static_cast<int>(std::floor(static_cast<float>(frames - 1) * value + 0.5f));
}

int frameForClampedValue(int frames, float value)
{
    return frameForValue(frames, std::clamp(value, 0.0f, 1.0f));
}

int frameHeight(int imageHeight, int frames)
{
    return frames > 0 ? imageHeight / frames : imageHeight;
}
} // namespace FrameGeometry

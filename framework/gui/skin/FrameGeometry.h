#pragma once

// Which frame of a vertical strip a value shows, computed in single precision as the skins
// were drawn for: frame = floor((frames - 1) * value + 0.5).
namespace FrameGeometry
{
// For values already in 0..1 (sliders keep their range).
int frameForValue(int frames, float value);
// Clamps the value to 0..1 first (animations, multi-state buttons).
int frameForClampedValue(int frames, float value);
// The frame height of a strip: integer division, so remainder rows are never shown.
int frameHeight(int imageHeight, int frames);
} // namespace FrameGeometry

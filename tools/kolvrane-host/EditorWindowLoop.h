#pragma once

// What the editor window does on every platform: open the editor in a frame window of the
// platform's own, then either idle it until it has painted and write its pixels as PNG, or idle
// it until the user closes the frame. A Frame offers handle(), pumpMessages() (true once the
// user closed it) and capture(width, height).
#include "EditorWindow.h"

#include <juce_graphics/juce_graphics.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace kolvrane::cli::editor_window
{
constexpr int idleIntervalMs = 10;

inline void writePng(const juce::Image& image, const std::string& path)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    juce::MemoryOutputStream bytes;
    juce::PNGImageFormat png;
    if (!png.writeImageToStream(image, bytes) || !file.replaceWithData(bytes.getData(), bytes.getDataSize()))
        throw std::runtime_error("cannot write the screenshot " + path);
}

// The plug-in's timers and repaints run while the frame's messages are handled; true once the
// frame was closed.
template <class Frame> bool idleFor(vsthost::VstPlugin& plugin, Frame& frame, int milliseconds)
{
    for (int elapsed = 0; elapsed < milliseconds; elapsed += idleIntervalMs)
    {
        if (frame.pumpMessages())
            return true;
        plugin.dispatch(Vst2::effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(idleIntervalMs));
    }
    return false;
}

template <class Frame> void run(vsthost::VstPlugin& plugin, const EditorWindowOptions& options)
{
    if ((plugin.flags() & Vst2::effFlagsHasEditor) == 0)
        throw std::runtime_error("the plug-in has no editor");
    Vst2::ERect* rect = nullptr;
    plugin.dispatch(Vst2::effEditGetRect, 0, 0, &rect);
    if (rect == nullptr)
        throw std::runtime_error("the plug-in reported no editor size");
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;

    Frame frame(width, height);
    if (plugin.dispatch(Vst2::effEditOpen, 0, 0, frame.handle()) == 0)
        throw std::runtime_error("the plug-in did not open its editor");

    if (!options.screenshotPath.empty())
    {
        idleFor(plugin, frame, options.settleMilliseconds);
        writePng(frame.capture(width, height), options.screenshotPath);
    }
    else
    {
        while (!idleFor(plugin, frame, idleIntervalMs * 2))
        {
        }
    }
    plugin.dispatch(Vst2::effEditClose);
}
} // namespace kolvrane::cli::editor_window

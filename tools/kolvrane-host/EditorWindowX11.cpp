// The host side of an editor window on X11: the frame window, the idle loop and the screenshot.
#include "EditorWindow.h"

#include <juce_graphics/juce_graphics.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace kolvrane::cli
{
namespace
{
constexpr int idleIntervalMs = 10;

class FrameWindow
{
public:
    FrameWindow(int width, int height)
    {
        // The plug-in's toolkit talks to X from the same process.
        XInitThreads();
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            throw std::runtime_error("no X display: set DISPLAY, or run under xvfb-run");
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                     static_cast<unsigned>(height), 0, BlackPixel(display, screen),
                                     BlackPixel(display, screen));
        XStoreName(display, window, "Kolvrane editor (kolvrane-host)");
        deleteMessage = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, window, &deleteMessage, 1);
        XMapWindow(display, window);
        XSync(display, False);
    }

    ~FrameWindow()
    {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }

    void* handle() const { return reinterpret_cast<void*>(window); }

    // True once the user asked the window manager to close it.
    bool closeRequested()
    {
        while (XPending(display) > 0)
        {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteMessage)
                return true;
        }
        return false;
    }

    juce::Image capture(int width, int height)
    {
        XSync(display, False);
        XImage* pixels = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (pixels == nullptr)
            throw std::runtime_error("could not read the editor window's pixels");
        juce::Image image(juce::Image::RGB, width, height, false, juce::SoftwareImageType());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const unsigned long pixel = XGetPixel(pixels, x, y);
                image.setPixelAt(x, y,
                                 juce::Colour(static_cast<juce::uint8>((pixel & pixels->red_mask) >> 16),
                                              static_cast<juce::uint8>((pixel & pixels->green_mask) >> 8),
                                              static_cast<juce::uint8>(pixel & pixels->blue_mask)));
            }
        XDestroyImage(pixels);
        return image;
    }

private:
    Display* display = nullptr;
    Window window = 0;
    Atom deleteMessage = 0;
};

void writePng(const juce::Image& image, const std::string& path)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    juce::MemoryOutputStream bytes;
    juce::PNGImageFormat png;
    if (!png.writeImageToStream(image, bytes) || !file.replaceWithData(bytes.getData(), bytes.getDataSize()))
        throw std::runtime_error("cannot write the screenshot " + path);
}

void idleFor(vsthost::VstPlugin& plugin, int milliseconds)
{
    for (int elapsed = 0; elapsed < milliseconds; elapsed += idleIntervalMs)
    {
        plugin.dispatch(Vst2::effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(idleIntervalMs));
    }
}
} // namespace

void runEditorWindow(vsthost::VstPlugin& plugin, const EditorWindowOptions& options)
{
    if ((plugin.flags() & Vst2::effFlagsHasEditor) == 0)
        throw std::runtime_error("the plug-in has no editor");
    Vst2::ERect* rect = nullptr;
    plugin.dispatch(Vst2::effEditGetRect, 0, 0, &rect);
    if (rect == nullptr)
        throw std::runtime_error("the plug-in reported no editor size");
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;

    FrameWindow frame(width, height);
    if (plugin.dispatch(Vst2::effEditOpen, 0, 0, frame.handle()) == 0)
        throw std::runtime_error("the plug-in did not open its editor");

    if (!options.screenshotPath.empty())
    {
        idleFor(plugin, options.settleMilliseconds);
        writePng(frame.capture(width, height), options.screenshotPath);
    }
    else
    {
        while (!frame.closeRequested())
            idleFor(plugin, idleIntervalMs * 2);
    }
    plugin.dispatch(Vst2::effEditClose);
}

} // namespace kolvrane::cli

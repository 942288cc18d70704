// The host side of an editor window on X11: the frame window and the pixels it shows.
#include "EditorWindowLoop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdexcept>

namespace kolvrane::cli
{
namespace
{

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

    // Handles the events waiting; true once the user asked the window manager to close it.
    bool pumpMessages()
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
} // namespace

void runEditorWindow(vsthost::VstPlugin& plugin, const EditorWindowOptions& options)
{
    editor_window::run<FrameWindow>(plugin, options);
}

} // namespace kolvrane::cli

// The host side of an editor window on Windows: the frame window, the message loop with the
// editor's idle calls and the screenshot.
#include "EditorWindow.h"

#include <juce_graphics/juce_graphics.h>

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace kolvrane::cli
{
namespace
{
constexpr int idleIntervalMs = 10;
constexpr wchar_t windowClassName[] = L"KolvraneHostEditorFrame";

class FrameWindow
{
public:
    FrameWindow(int width, int height)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = windowClassName;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassW(&windowClass);
        // The outer size that gives the editor exactly its client area.
        RECT bounds{0, 0, width, height};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
        AdjustWindowRect(&bounds, style, FALSE);
        window = CreateWindowW(windowClassName, L"Kolvrane editor (kolvrane-host)", style, 40, 40,
                               bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        if (window == nullptr)
            throw std::runtime_error("could not create a window: is there a display?");
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }

    ~FrameWindow() { DestroyWindow(window); }

    void* handle() const { return window; }

    // Dispatches the window messages that are waiting (the editor's timers and repaints among
    // them); true once the window was closed.
    bool pumpMessages()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
                return true;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return !IsWindow(window) || !IsWindowVisible(window);
    }

    // The editor's pixels as the screen shows them: child windows included.
    juce::Image capture(int width, int height)
    {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        juce::Image image(juce::Image::RGB, width, height, false, juce::SoftwareImageType());
        if (copied && bits != nullptr)
        {
            const auto* pixels = static_cast<const juce::uint8*>(bits);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                {
                    const juce::uint8* bgra = pixels + (static_cast<size_t>(y) * width + x) * 4;
                    image.setPixelAt(x, y, juce::Colour(bgra[2], bgra[1], bgra[0]));
                }
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        if (!copied)
            throw std::runtime_error("could not read the editor window's pixels");
        return image;
    }

private:
    HWND window = nullptr;
};

void writePng(const juce::Image& image, const std::string& path)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    juce::MemoryOutputStream bytes;
    juce::PNGImageFormat png;
    if (!png.writeImageToStream(image, bytes) || !file.replaceWithData(bytes.getData(), bytes.getDataSize()))
        throw std::runtime_error("cannot write the screenshot " + path);
}

// On Windows the plug-in's timers and repaints run only while this thread handles messages.
bool idleFor(vsthost::VstPlugin& plugin, FrameWindow& frame, int milliseconds)
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

} // namespace kolvrane::cli

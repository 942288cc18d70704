// The host side of an editor window on Windows: the frame window with its message loop and the
// pixels it shows.
#include "EditorWindowLoop.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <stdexcept>

namespace kolvrane::cli
{
namespace
{
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
} // namespace

void runEditorWindow(vsthost::VstPlugin& plugin, const EditorWindowOptions& options)
{
    editor_window::run<FrameWindow>(plugin, options);
}

} // namespace kolvrane::cli

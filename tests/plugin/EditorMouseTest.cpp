// The editor in a real X window, played with mouse input injected through XTest: what the
// host hears through the VST interface when the user drags a knob or clicks a switch or button.
#include "kolvrane/vsthost/VstPlugin.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace kolvrane::vsthost;

namespace
{
class EditorUnderMouse
{
public:
    bool open()
    {
        XInitThreads();
        display = XOpenDisplay(nullptr);
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        if (display == nullptr || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
            return false;
        plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
        plugin->prepare(44100.0f, 512);
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 633, 207, 0,
                                     BlackPixel(display, screen), BlackPixel(display, screen));
        XMapWindow(display, window);
        XSync(display, False);
        void* rect = nullptr;
        plugin->dispatch(Vst2::effEditGetRect, 0, 0, &rect);
        opened = plugin->dispatch(Vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(window)) == 1;
        idle(300);
        return opened;
    }

    ~EditorUnderMouse()
    {
        if (opened)
            plugin->dispatch(Vst2::effEditClose);
        plugin.reset();
        if (display != nullptr)
        {
            if (window != 0)
                XDestroyWindow(display, window);
            XCloseDisplay(display);
        }
    }

    void idle(int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 5)
        {
            plugin->dispatch(Vst2::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Moves the pointer to a point of the editor, in steps so that the toolkit sees a drag.
    void moveTo(int x, int y)
    {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
        XFlush(display);
        idle(30);
    }

    void button(bool down)
    {
        XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
        XFlush(display);
        idle(60);
    }

    void click(int x, int y)
    {
        moveTo(x, y);
        button(true);
        button(false);
    }

    VstPlugin& vst() { return *plugin; }

    // The host's own window takes the keyboard focus, as a host does when it shows the editor.
    void focusHostWindow()
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
        idle(30);
    }

    bool hostWindowHasFocus()
    {
        Window focus = 0;
        int revertTo = 0;
        XGetInputFocus(display, &focus, &revertTo);
        return focus == window;
    }

private:
    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<VstPlugin> plugin;
    bool opened = false;
};

bool sawAutomation(const VstPlugin& plugin, int index)
{
    const auto events = plugin.hostLog().automation();
    return std::any_of(events.begin(), events.end(),
                       [index](const AutomationEvent& e) { return e.index == index; });
}
} // namespace

TEST(EditorMouse, DraggingAKnobSendsBeginEditAutomationAndEndEditToTheHost)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display (run under xvfb-run)";
    EditorUnderMouse editor;
    if (!editor.open())
        GTEST_SKIP() << "no XTest extension or no editor";
    const float before = editor.vst().getParameter(0);
    editor.vst().hostLog().clear();

    // The Dynamics knob's centre, then 20 pixels up.
    editor.moveTo(40, 55);
    editor.button(true);
    for (int y = 52; y >= 35; y -= 3)
        editor.moveTo(40, y);
    editor.button(false);

    EXPECT_GT(editor.vst().getParameter(0), before);
    const auto sequence = editor.vst().hostLog().gestureSequence();
    ASSERT_GE(sequence.size(), 3u);
    EXPECT_EQ(sequence.front(), Vst2::audioMasterBeginEdit);
    EXPECT_EQ(sequence[1], Vst2::audioMasterAutomate);
    EXPECT_EQ(sequence.back(), Vst2::audioMasterEndEdit);
    EXPECT_TRUE(sawAutomation(editor.vst(), 0));
}

TEST(EditorMouse, ClickingTheFunctionButtonAndARouteSwitchChangesTheirParameters)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display (run under xvfb-run)";
    EditorUnderMouse editor;
    if (!editor.open())
        GTEST_SKIP() << "no XTest extension or no editor";
    const float function = editor.vst().getParameter(20);
    editor.vst().hostLog().clear();

    editor.click(93, 122);
    EXPECT_NE(editor.vst().getParameter(20), function) << "the function button steps the function";
    EXPECT_TRUE(sawAutomation(editor.vst(), 20));

    // The upper end of Filter 2's route switch puts the filter before the shaper.
    editor.vst().setParameter(10, 0.0f);
    editor.click(264, 110);
    EXPECT_EQ(editor.vst().parameterDisplay(10), "Pre");
    EXPECT_TRUE(sawAutomation(editor.vst(), 10));
}

TEST(EditorMouse, KeyboardFocusReturnsToTheHostAfterAClick)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display (run under xvfb-run)";
    EditorUnderMouse editor;
    if (!editor.open())
        GTEST_SKIP() << "no XTest extension or no editor";
    editor.moveTo(300, 180);
    editor.focusHostWindow();
    ASSERT_TRUE(editor.hostWindowHasFocus());

    // A knob drag and a click on a switch: afterwards the host's keys reach the host again.
    editor.moveTo(40, 55);
    editor.button(true);
    editor.moveTo(40, 45);
    EXPECT_FALSE(editor.hostWindowHasFocus()) << "the toolkit takes the focus while the button is down";
    editor.button(false);
    EXPECT_TRUE(editor.hostWindowHasFocus());
    editor.click(264, 110);
    EXPECT_TRUE(editor.hostWindowHasFocus());
}

// The editor shown on the desktop and played through XTest, for what only a real window does:
// a button's repeat runs only while the mouse really holds it, and the preset name is edited
// in a temporary window of its own.
#include "SkinTestSupport.h"

#include "framework/gui/controls/GFXButton.h"
#include "framework/gui/controls/GFXDisplay.h"
#include "framework/gui/editor/BasePluginEditor.h"
#include "framework/platform/EditorDisplayErrors.h"
#include "framework/processor/PluginEntry.h"
#include "product/Kolvrane.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdlib>

TEST(EditorDesktopWindow, AHeldAutorepeatButtonFiresAfterASecondAndThenEveryTenthOfASecond)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display (run under xvfb-run)";
    Display* display = XOpenDisplay(nullptr);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (display == nullptr || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
        GTEST_SKIP() << "no XTest extension";

    std::unique_ptr<Kolvrane> plugin(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
    auto* editor = plugin->getEditorComponent();
    auto* next = dynamic_cast<GFXButton*>(editor->findControl("NextPresetButton"));
    ASSERT_NE(next, nullptr);
    RecordingListener recorder;
    static_cast<GUIController*>(next)->addListener(&recorder);

    // As the plug-in's own window does, so that a bare X server's missing atoms are not fatal.
    EditorDisplayErrors::editorAttaching(editor);
    editor->setTopLeftPosition(0, 0);
    editor->addToDesktop(0);
    editor->setVisible(true);
    runMessageLoop(300);

    const auto centre = next->getScreenBounds().getCentre();
    XTestFakeMotionEvent(display, -1, centre.x, centre.y, CurrentTime);
    XFlush(display);
    runMessageLoop(100);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XFlush(display);
    runMessageLoop(900);
    const size_t beforeASecond = recorder.events.size();
    runMessageLoop(450);
    const size_t held = recorder.events.size();
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    runMessageLoop(100);
    XCloseDisplay(display);
    editor->removeFromDesktop();
    EditorDisplayErrors::editorDetached(editor);

    EXPECT_EQ(beforeASecond, 0u);
    // Repeats at about 1000, 1100, 1200 and 1300 ms; timers on a loaded machine may slip one.
    EXPECT_GE(held, 3u);
    EXPECT_LE(held, 5u);
    for (const int id : recorder.events)
        EXPECT_EQ(id, EventsMap::selectNextPreset);
}

TEST(EditorDesktopWindow, ClickingThePresetNameEditsItInATemporaryWindowThatEscapeCloses)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display (run under xvfb-run)";
    Display* display = XOpenDisplay(nullptr);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (display == nullptr || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
        GTEST_SKIP() << "no XTest extension";

    std::unique_ptr<Kolvrane> plugin(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
    auto* editor = plugin->getEditorComponent();
    auto* name = dynamic_cast<GFXDisplay*>(editor->findControl("PresetNameDisplay"));
    ASSERT_NE(name, nullptr);
    EditorDisplayErrors::editorAttaching(editor);
    editor->setTopLeftPosition(0, 0);
    editor->addToDesktop(0);
    editor->setVisible(true);
    runMessageLoop(300);
    const auto text = name->getText();
    const auto bounds = name->getBounds();

    const auto centre = name->getScreenBounds().getCentre();
    XTestFakeMotionEvent(display, -1, centre.x, centre.y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    runMessageLoop(300);
    EXPECT_TRUE(name->isEditing());
    EXPECT_TRUE(name->isOnDesktop()) << "edited in a window of its own";
    EXPECT_EQ(name->getScreenBounds().getCentre(), centre) << "over its place in the editor";

    const auto escape = XKeysymToKeycode(display, XK_Escape);
    XTestFakeKeyEvent(display, escape, True, CurrentTime);
    XTestFakeKeyEvent(display, escape, False, CurrentTime);
    XFlush(display);
    runMessageLoop(300);
    EXPECT_FALSE(name->isEditing());
    EXPECT_FALSE(name->isOnDesktop());
    EXPECT_EQ(name->getParentComponent(), editor);
    EXPECT_EQ(name->getBounds(), bounds);
    EXPECT_EQ(name->getText(), text);

    XCloseDisplay(display);
    editor->removeFromDesktop();
    EditorDisplayErrors::editorDetached(editor);
}

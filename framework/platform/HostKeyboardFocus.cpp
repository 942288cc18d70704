// The X declarations come with JUCE's header only when asked for before its first inclusion.
#if defined(__linux__) || defined(__FreeBSD__)
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#endif
#include "framework/platform/HostKeyboardFocus.h"

#if JUCE_LINUX || JUCE_BSD

namespace
{
::Display* pluginDisplay()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}

::Window focusedWindow(::Display* display)
{
    ::Window focus = 0;
    int revertTo = 0;
    juce::X11Symbols::getInstance()->xGetInputFocus(display, &focus, &revertTo);
    return focus;
}

// window itself or one of its ancestors below the root.
bool isInside(::Display* display, ::Window window, ::Window ancestor)
{
    auto* x11 = juce::X11Symbols::getInstance();
    while (window != 0 && window != PointerRoot)
    {
        if (window == ancestor)
            return true;
        ::Window root = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned int count = 0;
        if (x11->xQueryTree(display, window, &root, &parent, &children, &count) == 0)
            return false;
        if (children != nullptr)
            x11->xFree(children);
        if (parent == root)
            return false;
        window = parent;
    }
    return false;
}

// The host's top-level window around ours: the ancestor whose parent is the root.
::Window topLevelAround(::Display* display, ::Window window)
{
    auto* x11 = juce::X11Symbols::getInstance();
    for (;;)
    {
        ::Window root = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned int count = 0;
        if (x11->xQueryTree(display, window, &root, &parent, &children, &count) == 0)
            return 0;
        if (children != nullptr)
            x11->xFree(children);
        if (parent == root || parent == 0)
            return window;
        window = parent;
    }
}

::Window editorWindow(juce::Component& editor)
{
    auto* peer = editor.getPeer();
    return peer != nullptr ? reinterpret_cast<::Window>(peer->getNativeHandle()) : 0;
}
} // namespace

HostKeyboardFocus::HostKeyboardFocus(juce::Component& watched) : editor(watched)
{
    editor.addMouseListener(this, true);
}

HostKeyboardFocus::~HostKeyboardFocus()
{
    editor.removeMouseListener(this);
}

void HostKeyboardFocus::mouseEnter(const juce::MouseEvent&)
{
    auto* display = pluginDisplay();
    const ::Window ours = editorWindow(editor);
    if (display == nullptr || ours == 0)
        return;
    juce::XWindowSystemUtilities::ScopedXLock lock;
    const ::Window focus = focusedWindow(display);
    if (focus != 0 && focus != PointerRoot && !isInside(display, focus, ours))
        hostWindow = focus;
}

void HostKeyboardFocus::mouseUp(const juce::MouseEvent& event)
{
    // A component that took the keys for the click itself (a text edit) keeps them.
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    if (focused != nullptr && (focused == event.eventComponent || focused->isParentOf(event.eventComponent)))
        return;
    auto* display = pluginDisplay();
    const ::Window ours = editorWindow(editor);
    if (display == nullptr || ours == 0)
        return;
    juce::XWindowSystemUtilities::ScopedXLock lock;
    if (!isInside(display, focusedWindow(display), ours))
        return;
    ::Window target = hostWindow;
    if (target == 0 || isInside(display, target, ours))
        target = topLevelAround(display, ours);
    if (target != 0 && target != ours)
        juce::X11Symbols::getInstance()->xSetInputFocus(display, target, RevertToParent, CurrentTime);
}

#else

// Elsewhere the host's window manager keeps the focus with the host's window.
HostKeyboardFocus::HostKeyboardFocus(juce::Component& watched) : editor(watched) {}
HostKeyboardFocus::~HostKeyboardFocus() = default;
void HostKeyboardFocus::mouseEnter(const juce::MouseEvent&) {}
void HostKeyboardFocus::mouseUp(const juce::MouseEvent&) {}

#endif

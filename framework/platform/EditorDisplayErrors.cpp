#include "framework/platform/EditorDisplayErrors.h"

#include <juce_core/juce_core.h>

#if JUCE_LINUX || JUCE_BSD

#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include <mutex>
#include <set>

namespace
{
std::mutex guard;
std::set<const void*> attachedEditors;
XErrorHandler hostHandler = nullptr;

::Display* pluginDisplay()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}

int handleError(::Display* display, XErrorEvent* event)
{
    if (display != nullptr && display == pluginDisplay())
        return 0; // ours: as JUCE's own stand-alone handler, drop it
    return hostHandler != nullptr ? hostHandler(display, event) : 0;
}
} // namespace

namespace EditorDisplayErrors
{
void editorAttaching(const void* editor)
{
    std::lock_guard<std::mutex> lock(guard);
    if (!attachedEditors.insert(editor).second || attachedEditors.size() != 1)
        return;
    hostHandler = juce::X11Symbols::getInstance()->xSetErrorHandler(handleError);
}

void editorDetached(const void* editor)
{
    std::lock_guard<std::mutex> lock(guard);
    if (attachedEditors.erase(editor) == 0 || !attachedEditors.empty())
        return;
    auto* x11 = juce::X11Symbols::getInstance();
    if (auto* display = pluginDisplay())
        x11->xSync(display, False);
    // Give the handler back only if it is still ours: one installed since belongs to the host.
    const XErrorHandler current = x11->xSetErrorHandler(hostHandler);
    if (current != handleError)
        x11->xSetErrorHandler(current);
    hostHandler = nullptr;
}
} // namespace EditorDisplayErrors

#else

namespace EditorDisplayErrors
{
void editorAttaching(const void*) {}
void editorDetached(const void*) {}
} // namespace EditorDisplayErrors

#endif

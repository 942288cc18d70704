#pragma once

// Keeps X errors of the plug-in's own display connection from ending the host while an editor is
// attached to a host window. JUCE installs an X error handler only in stand-alone programs; in a
// plug-in, an error on one of JUCE's window requests (a window-manager atom missing on a bare X
// server, say) reaches the host's handler, and Xlib's default one terminates the process. Errors
// on the host's own connections still go to the host's handler. Elsewhere than on X these do
// nothing.
namespace EditorDisplayErrors
{
// `editor` identifies one plug-in instance's editor; opening it twice counts once.
void editorAttaching(const void* editor);
// Drains the errors still in flight and, after the last editor, gives the host its handler back.
void editorDetached(const void* editor);
} // namespace EditorDisplayErrors

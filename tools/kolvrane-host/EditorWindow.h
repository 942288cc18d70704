#pragma once

#include "kolvrane/vsthost/VstPlugin.h"

#include <string>

namespace kolvrane::cli
{

// Opens the plug-in's editor in a top-level X window of its own. With a screenshot path, the
// window is idled until the editor has painted and its pixels are written as PNG, then it
// closes; without, it stays open until the user closes it.
struct EditorWindowOptions
{
    std::string screenshotPath;
    int settleMilliseconds = 500;
};

// Throws std::runtime_error when there is no X display or the plug-in has no editor.
void runEditorWindow(vsthost::VstPlugin& plugin, const EditorWindowOptions& options);

} // namespace kolvrane::cli

#pragma once

#include "framework/gui/editor/BasePluginEditor.h"

class Kolvrane;

// Kolvrane's persistent editor.
class KolvraneEditor : public BasePluginEditor
{
public:
    explicit KolvraneEditor(Kolvrane& owner);
};

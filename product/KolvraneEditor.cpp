#include "product/KolvraneEditor.h"

#include "product/Kolvrane.h"

KolvraneEditor::KolvraneEditor(Kolvrane& owner) : BasePluginEditor(owner) {}

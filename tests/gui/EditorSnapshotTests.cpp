#include "SnapshotComparison.h"
#include "framework/gui/editor/BasePluginEditor.h"
#include "framework/processor/PluginEntry.h"
#include "product/Kolvrane.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<Kolvrane> createKolvrane()
{
    return std::unique_ptr<Kolvrane>(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
}

// Anti-aliased text and image scaling may round differently between library builds.
constexpr int editorTolerance = 8;
} // namespace

TEST(EditorSnapshot, WholeEditorAsBuiltAtStartUp)
{
    auto plugin = createKolvrane();
    auto* editor = plugin->getEditorComponent();
    ASSERT_NE(editor, nullptr);

    const auto image = editor->createComponentSnapshot(editor->getLocalBounds(), true, 1.0f);
    const auto result =
        SnapshotComparison::fromEnvironment().check(image, "kolvrane-editor", editorTolerance);
    EXPECT_TRUE(result.matches) << result.message;
}

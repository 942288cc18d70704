#include "SkinTestSupport.h"
#include "SnapshotComparison.h"

#include "framework/gui/controls/BaseGFXController.h"
#include "framework/gui/controls/BitmapSlider.h"
#include "framework/gui/controls/GFXDisplay.h"
#include "framework/gui/controls/GFXMultiStateButton.h"
#include "framework/gui/editor/BasePluginEditor.h"
#include "framework/processor/PluginEntry.h"
#include "framework/resources/ResourceTable.h"
#include "framework/resources/Resources.h"
#include "product/Kolvrane.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace
{
std::unique_ptr<Kolvrane> createKolvrane()
{
    return std::unique_ptr<Kolvrane>(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
}

// Anti-aliased text and image scaling may round differently between library builds.
constexpr int editorTolerance = 8;

void setAllHostParameters(Kolvrane& plugin, float value)
{
    for (int h = 0; h < plugin.getNumParameters(); ++h)
        plugin.setParameter(h, value);
    runMessageLoop(60);
}

juce::Image snapshot(juce::Component& editor, float scale = 1.0f)
{
    return editor.createComponentSnapshot(editor.getLocalBounds(), true, scale);
}

// The damaged resources a test puts in front of the real ones, kept alive while it runs.
class ResourceOverrides
{
public:
    ~ResourceOverrides() { setResourceOverrides(nullptr); }

    void add(const char* fileName, juce::MemoryBlock bytes)
    {
        juce::String name, type;
        splitResourceFileName(fileName, name, type);
        names.add(name.toUpperCase());
        types.add(type.toUpperCase());
        blocks.push_back(std::move(bytes));
    }
    void install()
    {
        table.clear();
        for (size_t i = 0; i < blocks.size(); ++i)
            table.push_back({types[static_cast<int>(i)].toRawUTF8(), names[static_cast<int>(i)].toRawUTF8(),
                             static_cast<const unsigned char*>(blocks[i].getData()), blocks[i].getSize()});
        table.push_back({nullptr, nullptr, nullptr, 0});
        setResourceOverrides(table.data());
    }

private:
    juce::StringArray names, types;
    std::vector<juce::MemoryBlock> blocks;
    std::vector<EmbeddedResource> table;
};

juce::MemoryBlock resourceBytes(const char* fileName, size_t keep = 0)
{
    juce::MemoryBlock block;
    loadResource(fileName, block);
    if (keep > 0)
        block.setSize(keep);
    return block;
}

juce::MemoryBlock textBytes(const char* text)
{
    return juce::MemoryBlock(text, std::strlen(text));
}

struct ProcessorEvents : juce::AudioProcessorListener
{
    std::vector<std::string> calls;
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float) override
    {
        calls.push_back("automate " + std::to_string(index));
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        calls.push_back("begin " + std::to_string(index));
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        calls.push_back("end " + std::to_string(index));
    }
};
} // namespace

TEST(EditorSkin, BuildsTheSkinsControlsInDocumentOrderAtTheirPlaces)
{
    auto plugin = createKolvrane();
    auto* editor = plugin->getEditorComponent();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isSkinLoaded());
    EXPECT_EQ(editor->getWidth(), 633);
    EXPECT_EQ(editor->getContentHeight(), 207);

    const auto skin = loadTextResource("skin.xml");
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(editor->getNumControllers(), skin->getNumChildElements());
    ASSERT_EQ(editor->getNumControllers(), 31);
    int index = 0;
    for (auto* element : skin->getChildIterator())
    {
        const auto name = element->getStringAttribute("name");
        auto* component = editor->findControl(name);
        ASSERT_NE(component, nullptr) << name;
        EXPECT_EQ(dynamic_cast<GUIController*>(component), editor->getController(index++)) << name;
        const auto* pos = element->getChildByName("pos");
        const auto* size = element->getChildByName("size");
        const juce::Rectangle<int> expected(pos->getIntAttribute("left"), pos->getIntAttribute("top"),
                                            size->getIntAttribute("width"), size->getIntAttribute("height"));
        EXPECT_EQ(component->getBounds(), expected) << name;
        if (auto* gfx = dynamic_cast<BaseGFXController*>(component))
        {
            EXPECT_TRUE(gfx->hasImage()) << name;
        }
        const auto* link = element->getChildByName("links");
        if (link != nullptr)
        {
            EXPECT_EQ(editor->getController(index - 1)->getConnectedParameter()->getName(),
                      link->getChildElement(0)->getStringAttribute("param"));
        }
    }
    // Later elements lie beneath earlier ones.
    EXPECT_LT(editor->getIndexOfChildComponent(editor->findControl("RightClipLed")),
              editor->getIndexOfChildComponent(editor->findControl("OptionsButton")));
}

TEST(EditorSnapshot, WholeEditorAtDefaultsAndWithEveryParameterAtEachEnd)
{
    auto plugin = createKolvrane();
    auto* editor = plugin->getEditorComponent();
    ASSERT_NE(editor, nullptr);
    runMessageLoop(60);
    const auto comparison = SnapshotComparison::fromEnvironment();

    auto result = comparison.check(snapshot(*editor), "kolvrane-editor", editorTolerance);
    EXPECT_TRUE(result.matches) << result.message;
    result = comparison.check(snapshot(*editor, 2.0f), "kolvrane-editor-2x", editorTolerance);
    EXPECT_TRUE(result.matches) << "the 2x bitmaps at scale 2: " << result.message;

    for (const float value : {0.0f, 1.0f})
    {
        setAllHostParameters(*plugin, value);
        const auto name = "kolvrane-editor-all-" + juce::String(static_cast<int>(value));
        result = comparison.check(snapshot(*editor), name, editorTolerance);
        EXPECT_TRUE(result.matches) << result.message;
    }
}

TEST(EditorControls, DraggingAKnobEditsItsParameterThroughTheHostInterface)
{
    auto plugin = createKolvrane();
    auto* editor = plugin->getEditorComponent();
    auto* knob = dynamic_cast<GFXKnob*>(editor->findControl("DynamicsKnob"));
    ASSERT_NE(knob, nullptr);
    runMessageLoop(60);
    ProcessorEvents host;
    plugin->addListener(&host);
    const float before = plugin->getParameter(0);

    const juce::Point<float> start(18, 17);
    send(&juce::Component::mouseDown, *knob, mouseAt(*knob, start, start));
    send(&juce::Component::mouseDrag, *knob, mouseAt(*knob, {18, 7}, start, {}, true));
    send(&juce::Component::mouseUp, *knob, mouseAt(*knob, {18, 7}, start, {}, true));
    plugin->removeListener(&host);

    EXPECT_NEAR(plugin->getParameter(0), before + 0.04f, 0.001f) << "10 pixels of a 250-pixel travel up";
    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front(), "begin 0");
    EXPECT_EQ(host.calls[1], "automate 0");
    EXPECT_EQ(host.calls.back(), "end 0");
}

TEST(EditorControls, ClicksOnSwitchesAndButtonsRaiseWhatTheyShow)
{
    auto plugin = createKolvrane();
    auto* editor = plugin->getEditorComponent();
    runMessageLoop(60);

    // The function button steps the distortion function through its event; the link shows it.
    auto* function = dynamic_cast<GFXMultiStateButton*>(editor->findControl("DistortionFunctionButton"));
    ASSERT_NE(function, nullptr);
    send(&juce::Component::mouseDown, *function, mouseAt(*function, {20, 20}, {20, 20}));
    send(&juce::Component::mouseUp, *function, mouseAt(*function, {20, 20}, {20, 20}));
    runMessageLoop(60);
    EXPECT_FLOAT_EQ(plugin->getParameter(20), 0.2f);
    EXPECT_EQ(function->getState(), 1);

    // A click at the top of a route switch puts its filter before the shaper.
    auto* route = dynamic_cast<GFXSwitch*>(editor->findControl("Filter1PrePostSwitch"));
    ASSERT_NE(route, nullptr);
    send(&juce::Component::mouseDown, *route, mouseAt(*route, {13, 2}, {13, 2}));
    send(&juce::Component::mouseUp, *route, mouseAt(*route, {13, 2}, {13, 2}));
    EXPECT_GE(plugin->getParameter(5), 0.5f);
    EXPECT_EQ(plugin->getParameterText(5), "Pre");
    EXPECT_EQ(route->getShownFrame(), 1);

    // The next-preset button changes the preset through the processor's event handler.
    auto* next = dynamic_cast<juce::Button*>(editor->findControl("NextPresetButton"));
    ASSERT_NE(next, nullptr);
    const auto presetBefore = plugin->getParameterSet().getText(ParameterManager::currentPresetNumberIndex);
    send(&juce::Component::mouseDown, *next, mouseAt(*next, {10, 10}, {10, 10}));
    send(&juce::Component::mouseUp, *next, mouseAt(*next, {10, 10}, {10, 10}));
    runMessageLoop(60);
    EXPECT_NE(plugin->getParameterSet().getText(ParameterManager::currentPresetNumberIndex), presetBefore);

    auto* display = dynamic_cast<GFXDisplay*>(editor->findControl("PresetNameDisplay"));
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->getText(),
              plugin->getParameterSet().getText(ParameterManager::currentPresetNameIndex));
}

TEST(EditorSkin, DamagedResourcesFallBackWithoutCrashing)
{
    struct Case
    {
        const char* what;
        const char* fileName;
        juce::MemoryBlock bytes;
    };
    const std::vector<Case> cases = {
        {"truncated knob strip", "DynamicsKnob.png", resourceBytes("DynamicsKnob.png", 200)},
        {"knob strip that is no image", "DynamicsKnob.png", textBytes("not a png at all")},
        {"four-byte knob strip", "DynamicsKnob.png", textBytes("\x89PNG")},
        {"missing knob strip", "DynamicsKnob.png", {}},
        {"corrupt 2x strip", "DynamicsKnob@2x.png", resourceBytes("DynamicsKnob@2x.png", 300)},
    };
    for (const auto& c : cases)
    {
        ResourceOverrides overrides;
        overrides.add(c.fileName, c.bytes);
        overrides.install();
        auto plugin = createKolvrane();
        auto* editor = plugin->getEditorComponent();
        auto* knob = dynamic_cast<GFXKnob*>(editor->findControl("DynamicsKnob"));
        ASSERT_NE(knob, nullptr) << c.what;
        EXPECT_EQ(knob->getBounds(), juce::Rectangle<int>(22, 38, 36, 34)) << c.what;
        EXPECT_EQ(knob->hasImage(), juce::String(c.fileName).contains("@2x")) << c.what;
        EXPECT_EQ(editor->getNumControllers(), 31) << c.what;
        EXPECT_TRUE(snapshot(*editor, 1.0f).isValid()) << c.what;
        EXPECT_TRUE(snapshot(*editor, 2.0f).isValid()) << c.what;
    }
}

TEST(EditorSkin, BrokenBackgroundFontOrSkinTakeTheirFallbacks)
{
    {
        ResourceOverrides overrides;
        overrides.add("Background.png", resourceBytes("Background.png", 1000));
        overrides.add("Fonts.png", textBytes("garbage bytes"));
        overrides.install();
        auto plugin = createKolvrane();
        auto* editor = plugin->getEditorComponent();
        EXPECT_FALSE(editor->hasBackground());
        EXPECT_EQ(editor->getWidth(), BasePluginEditor::defaultWidth);
        EXPECT_EQ(editor->getContentHeight(), BasePluginEditor::defaultContentHeight);
        EXPECT_EQ(editor->getNumControllers(), 31);
        EXPECT_TRUE(snapshot(*editor).isValid());
    }
    struct Case
    {
        const char* skin;
        bool loaded;
        int controls;
    };
    // clang-format off
    const Case cases[] = {
        {"<PluginEditor><Knob name=", false, 23},           // unparsable: the generic layout, one per parameter
        {"", false, 23},                                     // missing
        {"<OtherEditor><Knob name=\"K\"/></OtherEditor>", true, 0},
        {"<plugineditor background=\"Missing.png\"><Gadget/><knob name=\"K\"/></plugineditor>", true, 1},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        ResourceOverrides overrides;
        overrides.add("skin.xml", textBytes(c.skin));
        overrides.install();
        auto plugin = createKolvrane();
        auto* editor = plugin->getEditorComponent();
        EXPECT_EQ(editor->isSkinLoaded(), c.loaded) << c.skin;
        EXPECT_EQ(editor->getNumControllers(), c.controls) << c.skin;
        EXPECT_TRUE(snapshot(*editor).isValid()) << c.skin;
    }
}

TEST(EditorSkin, GenericLayoutPlacesAControlPerParameter)
{
    ResourceOverrides overrides;
    overrides.add("skin.xml", {});
    overrides.install();
    auto plugin = createKolvrane();
    auto* editor = plugin->getEditorComponent();
    runMessageLoop(60);
    auto* dynamics = editor->findControl("Dynamics");
    auto* quality = editor->findControl("Quality");
    ASSERT_NE(dynamics, nullptr);
    ASSERT_NE(quality, nullptr);
    EXPECT_EQ(dynamics->getBounds(), juce::Rectangle<int>(5, 30, 50, 80));
    // 1024 pixels hold 16 columns, so index 16 starts the second row.
    EXPECT_EQ(editor->findControl("Filter 3 Cutoff")->getBounds(), juce::Rectangle<int>(5, 150, 50, 80));
    const auto result = SnapshotComparison::fromEnvironment().check(
        snapshot(*editor).getClippedImage({0, 0, 1024, 280}), "generic-layout", editorTolerance);
    EXPECT_TRUE(result.matches) << result.message;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

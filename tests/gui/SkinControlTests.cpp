#include "SkinTestSupport.h"

#include "framework/gui/controls/BitmapSlider.h"
#include "framework/gui/controls/GFXAnimation.h"
#include "framework/gui/controls/GFXButton.h"
#include "framework/gui/controls/GFXDisplay.h"
#include "framework/gui/controls/GFXMultiStateButton.h"
#include "framework/gui/controls/GFXPanel.h"
#include "framework/gui/controls/GFXRocker.h"
#include "framework/gui/controls/GFXToggleButton.h"
#include "framework/gui/skin/FrameGeometry.h"
#include "framework/gui/skin/SkinBitmap.h"
#include "framework/resources/Resources.h"

TEST(FrameGeometry, RoundsInSinglePrecisionAndClampsWhereAsked)
{
    struct Case
    {
        int frames;
        float value;
        bool clamped;
        int frame;
    };
    // clang-format off
    const Case cases[] = {
        {61, 0.0f, false, 0}, {61, 1.0f / 120.0f, false, 1}, {61, 0.0083f, false, 0}, {61, 0.5f, false, 30},
        {61, 1.0f, false, 60}, {5, 0.25f, false, 1}, {5, 0.375f, false, 2}, {2, 0.49f, false, 0}, {2, 0.5f, false, 1},
        {12, 1.3f, true, 11}, {12, -0.2f, true, 0}, {6, 0.2f, true, 1}, {6, 0.95f, true, 5},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        const int frame = c.clamped ? FrameGeometry::frameForClampedValue(c.frames, c.value)
                                    : FrameGeometry::frameForValue(c.frames, c.value);
        EXPECT_EQ(frame, c.frame) << c.frames << " frames at " << c.value;
    }
}

TEST(SkinResources, FileNamesSplitAtTheLastDotAndResolveWithoutRegardToCase)
{
    struct Case
    {
        const char* fileName;
        bool splits;
        const char* name;
        const char* type;
    };
    // clang-format off
    const Case cases[] = {
        {"OptionsButton.png", true, "OptionsButton", "png"}, {"skin.xml", true, "skin", "xml"},
        {"Knob.v2.png", true, "Knob.v2", "png"}, {"Background@2x.png", true, "Background@2x", "png"},
        {"NoDot", false, "", ""}, {".png", true, "", "png"},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        juce::String name, type;
        EXPECT_EQ(splitResourceFileName(c.fileName, name, type), c.splits) << c.fileName;
        if (c.splits)
        {
            EXPECT_EQ(name, c.name) << c.fileName;
            EXPECT_EQ(type, c.type) << c.fileName;
        }
    }
    juce::MemoryBlock exact, otherCase;
    ASSERT_TRUE(loadResource("OptionsButton.png", exact));
    ASSERT_TRUE(loadResource("OPTIONSBUTTON.Png", otherCase));
    EXPECT_EQ(exact, otherCase);
    EXPECT_FALSE(loadResource("Missing.png", exact));
    EXPECT_EQ(SkinBitmap::hiDpiFileName("Knob.png"), "Knob@2x.png");
}

TEST_F(SkinFixture, BitmapGivesTheSizeAndSizeOnlyStandsInWithoutOne)
{
    struct Case
    {
        const char* element;
        int width, height, frames;
        bool image;
    };
    // clang-format off
    const Case cases[] = {
        {R"(<Knob><gfx resource="DynamicsKnob.png" framesNum="61"/><size width="50" height="50"/></Knob>)", 36, 34, 61, true},
        {R"(<Knob><gfx resource="DynamicsKnob.png"/></Knob>)", 36, 2074, 1, true},
        {R"(<Knob><gfx resource="Missing.png" framesNum="61"/></Knob>)", 0, 0, 1, false},
        {R"(<Knob><gfx resource="Missing.png" framesNum="61"/><SIZE Width="40" height="45x"/></Knob>)", 40, 45, 1, false},
        {R"(<Knob><gfx resource="DynamicsKnob.png" framesNum="0"/><size width="9" height="8"/></Knob>)", 9, 8, 1, false},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        auto knob = build<GFXKnob>(c.element);
        EXPECT_EQ(knob->getWidth(), c.width) << c.element;
        EXPECT_EQ(knob->getHeight(), c.height) << c.element;
        EXPECT_EQ(knob->getFrames(), c.frames) << c.element;
        EXPECT_EQ(knob->hasImage(), c.image) << c.element;
    }
}

TEST_F(SkinFixture, TheLastConnectedToLinkWinsAndOtherLinksAreIgnored)
{
    auto knob = build<GFXKnob>(R"(<Knob><links>
        <link as="connectedTo" param="Alpha"/><link as="connectedTo" param="Beta"/>
        <link as="follows" param="Alpha"/><link as="connectedTo" param="alpha"/></links></Knob>)");
    ASSERT_EQ(knob->getConnectedParameter(), parameter("Beta"));

    parameter("Alpha")->setNormalizedValue(0.9f, true);
    parameter("Beta")->setNormalizedValue(0.6f, true);
    runMessageLoop();
    EXPECT_FLOAT_EQ(static_cast<float>(knob->getValue()), 0.6f);
}

TEST_F(SkinFixture, ActionsResolveExactEventNamesAndButtonsFireByModifier)
{
    auto button = build<GFXButton>(R"(<Button><actions>
        <action type="onClick" event="Toggle Midi Learn"/><action type="onClickWithCtrl" event="select next preset"/>
        <action type="onHover" event="About"/><action type="" event="About"/></actions></Button>)");
    EXPECT_EQ(button->getClickEventId(), EventsMap::toggleMidiLearn);
    EXPECT_EQ(button->getCtrlClickEventId(), -1) << "event names are case-sensitive";

    // Ctrl-click with only an "onClick" action does nothing; a plain click raises it.
    button->setBounds(0, 0, 20, 20);
    for (const auto modifiers : {juce::ModifierKeys(juce::ModifierKeys::ctrlModifier), juce::ModifierKeys()})
    {
        send(&juce::Component::mouseDown, *button, mouseAt(*button, {5, 5}, {5, 5}, modifiers));
        send(&juce::Component::mouseUp, *button, mouseAt(*button, {5, 5}, {5, 5}, modifiers));
    }
    EXPECT_EQ(recorder.events, std::vector<int>({EventsMap::toggleMidiLearn}));

    send(&juce::Component::mouseEnter, *button, mouseAt(*button, {5, 5}, {5, 5}));
    EXPECT_EQ(button->getTooltip(), "Toggle midi learn");
}

TEST_F(SkinFixture, ButtonTooltipFollowsCtrlAndPressedFrame)
{
    auto button =
        build<GFXButton>(R"(<Button autorepeat="yes"><gfx resource="OptionsButton.png" framesNum="2"/>
        <pos left="3" top="4"/><actions><action type="onClick" event="Options"/>
        <action type="onClickWithCtrl" event="About"/></actions></Button>)");
    EXPECT_EQ(button->getBounds(), juce::Rectangle<int>(3, 4, 38, 43));
    send(&juce::Component::mouseEnter, *button,
         mouseAt(*button, {5, 5}, {5, 5}, juce::ModifierKeys::ctrlModifier));
    EXPECT_EQ(button->getTooltip(), "About");
    send(&juce::Component::mouseEnter, *button, mouseAt(*button, {5, 5}, {5, 5}));
    EXPECT_EQ(button->getTooltip(), "Options");

    send(&juce::Component::mouseDown, *button,
         mouseAt(*button, {5, 5}, {5, 5}, juce::ModifierKeys::ctrlModifier));
    send(&juce::Component::mouseUp, *button,
         mouseAt(*button, {5, 5}, {5, 5}, juce::ModifierKeys::ctrlModifier));
    EXPECT_EQ(recorder.events, std::vector<int>({EventsMap::about}));
}

TEST_F(SkinFixture, KnobDragWritesTheParameterAndReportsTheGesture)
{
    auto knob = build<GFXKnob>(R"(<Knob><gfx resource="DynamicsKnob.png" framesNum="61"/>
        <links><link as="connectedTo" param="Alpha"/></links></Knob>)");
    knob->updateFromParameter(parameter("Alpha"));
    EXPECT_EQ(knob->getShownFrame(), 15);
    GestureRecorder host;
    parameter("Alpha")->addListener(&host);

    const juce::Point<float> start(18, 17);
    send(&juce::Component::mouseDown, *knob, mouseAt(*knob, start, start));
    send(&juce::Component::mouseDrag, *knob, mouseAt(*knob, {18, -33}, start, {}, true));
    send(&juce::Component::mouseUp, *knob, mouseAt(*knob, {18, -33}, start, {}, true));

    EXPECT_GT(parameter("Alpha")->getNormalizedValue(), 0.4f) << "50 pixels up of a 250-pixel travel";
    EXPECT_EQ(host.begins, 1);
    EXPECT_EQ(host.ends, 1);
    EXPECT_GE(host.changes, 1);
    ASSERT_GE(recorder.calls.size(), 3u);
    EXPECT_EQ(recorder.calls.front(), "began");
    EXPECT_EQ(recorder.calls[1], "changed");
    EXPECT_EQ(recorder.calls.back(), "ended");
    parameter("Alpha")->removeListener(&host);
}

TEST_F(SkinFixture, ControlsWithoutAParameterMoveButTellNobody)
{
    auto knob = build<GFXKnob>(R"(<Knob><size width="36" height="34"/></Knob>)");
    const juce::Point<float> start(18, 17);
    send(&juce::Component::mouseDown, *knob, mouseAt(*knob, start, start));
    send(&juce::Component::mouseDrag, *knob, mouseAt(*knob, {18, -33}, start, {}, true));
    send(&juce::Component::mouseUp, *knob, mouseAt(*knob, {18, -33}, start, {}, true));
    EXPECT_GT(knob->getValue(), 0.0);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(SkinFixture, SwitchStylesAndSteps)
{
    struct Case
    {
        const char* style;
        GFXSwitch::Mode mode;
        juce::Slider::SliderStyle sliderStyle;
    };
    // clang-format off
    const Case cases[] = {
        {"Vertical", GFXSwitch::vertical, juce::Slider::LinearVertical}, {"horizontal", GFXSwitch::horizontal, juce::Slider::LinearHorizontal},
        {"ROTARY", GFXSwitch::rotary, juce::Slider::RotaryVerticalDrag}, {"Diagonal", GFXSwitch::rotary, juce::Slider::RotaryVerticalDrag},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        const auto text = juce::String("<Switch style=\"") + c.style +
                          "\"><gfx resource=\"Filter1FilterTypeKnob.png\" framesNum=\"5\"/></Switch>";
        auto control = build<GFXSwitch>(text.toRawUTF8());
        EXPECT_EQ(control->getMode(), c.mode) << c.style;
        EXPECT_EQ(control->getSliderStyle(), c.sliderStyle) << c.style;
        EXPECT_DOUBLE_EQ(control->getInterval(), 0.005);
    }
    auto typeSwitch =
        build<GFXSwitch>(R"(<Switch><gfx resource="Filter1FilterTypeKnob.png" framesNum="5"/></Switch>)");
    typeSwitch->setValue(0.375, juce::dontSendNotification);
    EXPECT_EQ(typeSwitch->getShownFrame(), 2);
}

TEST_F(SkinFixture, DisabledValueControlsDrawFrameZero)
{
    juce::Component parent;
    auto knob = build<GFXKnob>(R"(<Knob><gfx resource="DynamicsKnob.png" framesNum="61"/></Knob>)");
    auto toggle = build<GFXToggleButton>(R"(<ToggleButton><gfx resource="LeftClipLed.png"/></ToggleButton>)");
    parent.addChildComponent(knob.get());
    parent.addChildComponent(toggle.get());
    knob->setValue(1.0, juce::dontSendNotification);
    toggle->setToggleState(true, juce::dontSendNotification);
    EXPECT_EQ(knob->getShownFrame(), 60);
    EXPECT_EQ(toggle->getShownFrame(), 1);

    parent.setEnabled(false);
    EXPECT_EQ(knob->getShownFrame(), 0);
    EXPECT_EQ(toggle->getShownFrame(), 0);
}

TEST_F(SkinFixture, AnimationsAndMultiStateButtonsClampTheirValue)
{
    auto meter = build<GFXAnimation>(R"(<Animation><gfx resource="LeftVUMeterAnimation.png" framesNum="12"/>
        <pos left="559" top="99"/></Animation>)");
    EXPECT_EQ(meter->getBounds(), juce::Rectangle<int>(559, 99, 26, 89));
    meter->setValue(1.3f);
    EXPECT_EQ(meter->getCurrentFrame(), 11);
    meter->setValue(-0.2f);
    EXPECT_EQ(meter->getCurrentFrame(), 0);

    auto function =
        build<GFXMultiStateButton>(R"(<MultiStateButton states="6" style="2D" clickEvent="onPress">
        <gfx resource="DistortionFunctionButton.png" framesNum="1"/><links><link as="connectedTo" param="Alpha"/></links>
        <actions><action type="onClick" event="Toggle Distortion Function"/></actions></MultiStateButton>)");
    EXPECT_EQ(function->getFrameHeight(), 42) << "one frame per state, whatever framesNum says";
    parameter("Alpha")->setNormalizedValue(0.2f, false);
    function->updateFromParameter(parameter("Alpha"));
    EXPECT_EQ(function->getState(), 1);

    // Pressed, it raises its event at once and leaves its state to the parameter.
    function->setBounds(0, 0, 41, 42);
    send(&juce::Component::mouseDown, *function, mouseAt(*function, {5, 5}, {5, 5}));
    EXPECT_EQ(recorder.events, std::vector<int>({0}));
    EXPECT_EQ(function->getState(), 1);
    send(&juce::Component::mouseUp, *function, mouseAt(*function, {5, 5}, {5, 5}));
    EXPECT_EQ(recorder.events.size(), 1u);
}

TEST_F(SkinFixture, ToggleButtonsOfADragGroupTakeThePaintedState)
{
    juce::Component row;
    row.setBounds(0, 0, 100, 20);
    std::vector<std::unique_ptr<GFXToggleButton>> buttons;
    const char* names[] = {"Flag", "Flag 2", "Flag 3"};
    for (int i = 0; i < 3; ++i)
    {
        const auto text =
            juce::String("<ToggleButton dragGroup=\"row\" clickEvent=\"onPress\"><pos left=\"") +
            juce::String(i * 20) +
            "\" top=\"0\"/><size width=\"20\" height=\"20\"/><links><link as=\"connectedTo\" param=\"" +
            names[i] + "\"/></links></ToggleButton>";
        buttons.push_back(build<GFXToggleButton>(text.toRawUTF8()));
        row.addAndMakeVisible(buttons.back().get());
    }
    auto& first = *buttons[0];
    send(&juce::Component::mouseDown, first, mouseAt(first, {5, 5}, {5, 5}));
    send(&juce::Component::mouseDrag, first, mouseAt(first, {45, 5}, {5, 5}, {}, true));
    send(&juce::Component::mouseUp, first, mouseAt(first, {45, 5}, {5, 5}, {}, true));

    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(buttons[static_cast<size_t>(i)]->getToggleState()) << i;
        EXPECT_TRUE(parameter(names[i])->getBoolValue()) << i;
    }
}

TEST_F(SkinFixture, DisplayCellsOriginScrollingAndEscape)
{
    auto display = build<GFXDisplay>(
        R"(<Display name="PresetNameDisplay" caretColour="FFBEF6FF" backgroundColour="FF232224">
        <gfx resource="Fonts.png" firstASCII=" " fontHeight="9"/><pos left="130" top="28"/><size width="153" height="13"/>
        <links><link as="connectedTo" param="Current Preset Name"/></links></Display>)");
    EXPECT_EQ(display->getText(), "PresetNameDisplay");
    EXPECT_EQ(display->getCellWidth(), 7);
    EXPECT_EQ(display->getFirstCharacter(), 32);
    EXPECT_EQ(display->getLastCharacter(), 127);
    EXPECT_EQ(display->getVisibleCells(), 21);
    EXPECT_EQ(display->getTextOrigin(), juce::Point<int>(3, 2));
    EXPECT_EQ(display->getBackgroundColour(), juce::Colour(0xff232224));

    struct GFXDisplayRecorder : GFXDisplayListener
    {
        int edits = 0;
        void displayTextEdited(GFXDisplay*) override { ++edits; }
    } listener;
    display->addDisplayListener(&listener);

    const juce::String name("A preset name of thirty chars!");
    ASSERT_EQ(name.length(), 30);
    display->setText(name);
    display->beginEdit();
    EXPECT_EQ(display->getCaretPosition(), 30);
    display->keyPressed(juce::KeyPress('x', {}, 'x'));
    EXPECT_EQ(display->getCaretPosition(), 31);
    EXPECT_EQ(display->getFirstVisibleCharacter(), 11) << "the caret in the last of 21 cells";
    display->keyPressed(juce::KeyPress(juce::KeyPress::homeKey));
    EXPECT_EQ(display->getFirstVisibleCharacter(), 0);
    display->keyPressed(juce::KeyPress(0x263a, {}, 0x263a));
    EXPECT_EQ(display->getText(), name + "x") << "a key outside the font is not inserted";
    display->keyPressed(juce::KeyPress(juce::KeyPress::deleteKey));
    display->keyPressed(juce::KeyPress(juce::KeyPress::escapeKey));
    EXPECT_EQ(display->getText(), name);
    EXPECT_FALSE(display->isEditing());
    EXPECT_EQ(listener.edits, 0) << "Escape restores the text and tells nobody";

    display->beginEdit();
    display->keyPressed(juce::KeyPress(juce::KeyPress::backspaceKey));
    display->keyPressed(juce::KeyPress(juce::KeyPress::returnKey));
    EXPECT_EQ(display->getText(), name.dropLastCharacters(1));
    EXPECT_EQ(listener.edits, 1);

    EXPECT_EQ(GFXDisplayFloat::formatForCells(0.25f, 4), "0.25");
    EXPECT_EQ(GFXDisplayFloat::formatForCells(12.5f, 3), " 12.5") << "no lone point in the last cell";
}

TEST_F(SkinFixture, RockerAndPanelRaiseTheirEventsThroughNestedControls)
{
    auto rocker = build<GFXRocker>(R"(<Rocker type="horizontal"><size width="40" height="20"/><actions>
        <action type="onLessClick" event="Select previous preset"/><action type="onMoreClick" event="Select next preset"/>
        <action type="onMoreClickWithCtrl" event="Paste copied preset"/></actions></Rocker>)");
    send(&juce::Component::mouseDown, *rocker, mouseAt(*rocker, {5, 5}, {5, 5}));
    EXPECT_EQ(rocker->getShownFrame(), GFXRocker::lessPressed);
    send(&juce::Component::mouseUp, *rocker, mouseAt(*rocker, {5, 5}, {5, 5}));
    EXPECT_EQ(rocker->getShownFrame(), GFXRocker::rest);
    send(&juce::Component::mouseDown, *rocker,
         mouseAt(*rocker, {35, 5}, {35, 5}, juce::ModifierKeys::ctrlModifier));
    EXPECT_EQ(recorder.events,
              std::vector<int>({EventsMap::selectPreviousPreset, EventsMap::pasteCopiedPreset}));

    recorder.events.clear();
    auto panel = build<GFXPanel>(
        R"(<Panel ofsX="5" ofsY="7"><gfx transparent="true"/><size width="100" height="60"/><controls>
        <Button name="Inner"><pos left="1" top="2"/><size width="10" height="10"/>
        <actions><action type="onClick" event="About"/></actions></Button>
        <ModWheel name="Wheel"><size width="20" height="20"/></ModWheel><Unknown/></controls></Panel>)");
    ASSERT_EQ(panel->getNumControls(), 2);
    auto* inner = dynamic_cast<GFXButton*>(findControlByName(*panel, "Inner"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->getPosition(), juce::Point<int>(6, 9));
    send(&juce::Component::mouseDown, *inner, mouseAt(*inner, {2, 2}, {2, 2}));
    send(&juce::Component::mouseUp, *inner, mouseAt(*inner, {2, 2}, {2, 2}));
    EXPECT_EQ(recorder.events, std::vector<int>({EventsMap::about}));
}

TEST(SkinLoader, TagsAreTriedInOrderAndUnknownOnesGiveNothing)
{
    EXPECT_NE(createSkinControl("knob").component, nullptr);
    EXPECT_NE(createSkinControl("DisplayFloat").component, nullptr);
    EXPECT_EQ(createSkinControl("Slider").component, nullptr);
    EXPECT_EQ(createSkinControl("ModWheel").component, nullptr) << "only inside a panel";
    EXPECT_NE(createSkinControl("ModWheel", SkinScope::insidePanel).component, nullptr);
}

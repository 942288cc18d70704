#include "SkinTable.h"

namespace
{
std::vector<SkinControl> makeControls()
{
    const std::vector<SkinControl::Attribute> none;
    const std::vector<SkinControl::Action> noActions;
    auto knob = [&](const char* name, int left, int top, int width, int height, const char* parameter)
    {
        return SkinControl{"Knob", name,   nullptr,   61,   left,      top,
                           width,  height, parameter, none, noActions, none};
    };
    auto routeSwitch = [&](const char* name, int left, int top, int width, int height, const char* parameter)
    {
        return SkinControl{"Switch",  name,  nullptr, 2,         left,
                           top,       width, height,  parameter, {{"style", "Vertical"}},
                           noActions, none};
    };
    auto typeSwitch = [&](const char* name, int left, int top, int width, int height, const char* parameter)
    {
        return SkinControl{"Switch",  name,  nullptr, 5,         left,
                           top,       width, height,  parameter, {{"style", "Rotary"}},
                           noActions, none};
    };
    auto animation =
        [&](const char* name, const char* resource, int frames, int left, int top, int width, int height)
    {
        return SkinControl{"Animation", name,   resource, frames, left,      top,
                           width,       height, nullptr,  none,   noActions, none};
    };

    // clang-format off
    return {
        {"Button", "OptionsButton", nullptr, 2, 78, 14, 38, 43, nullptr, {{"autorepeat", "yes"}},
         {{"onClick", "Options"}, {"onClickWithCtrl", "About"}}, none},
        {"Button", "PrevPresetButton", nullptr, 2, 297, 15, 33, 42, nullptr, {{"autorepeat", "yes"}},
         {{"onClick", "Select previous preset"}, {"onClickWithCtrl", "Copy current preset"}}, none},
        {"Button", "NextPresetButton", nullptr, 2, 335, 16, 34, 41, nullptr, {{"autorepeat", "yes"}},
         {{"onClick", "Select next preset"}, {"onClickWithCtrl", "Paste copied preset"}}, none},
        {"Button", "BrowsePresetButton", nullptr, 2, 372, 17, 33, 40, nullptr, none,
         {{"onClick", "Browse presets"}, {"onClickWithCtrl", "Store current preset"}}, none},
        {"Display", "PresetNameDisplay", "Fonts.png", 1, 130, 28, 153, 13, "Current Preset Name",
         {{"caretColour", "FFBEF6FF"}, {"backgroundColour", "FF232224"}}, noActions,
         {{"firstASCII", " "}, {"fontHeight", "9"}}},
        animation("LeftVUMeter", "LeftVUMeterAnimation.png", 12, 559, 99, 26, 89),
        animation("RightVUMeter", "RightVUMeterAnimation.png", 12, 585, 100, 28, 89),
        knob("OutputVolumeKnob", 566, 50, 37, 35, "Output Volume"),
        knob("DynamicsKnob", 22, 38, 36, 34, "Dynamics"),
        knob("PreampKnob", 22, 94, 36, 33, "Preamp"),
        knob("ThresholdKnob", 22, 149, 36, 34, "Threshold"),
        knob("ShapeKnob", 75, 149, 36, 34, "Shape"),
        {"MultiStateButton", "DistortionFunctionButton", nullptr, 6, 73, 102, 41, 42, "Distortion Function",
         {{"states", "6"}, {"style", "2D"}, {"clickEvent", "onPress"}}, {{"onClick", "Toggle Distortion Function"}}, none},
        routeSwitch("Filter1PrePostSwitch", 120, 108, 27, 57, "Filter 1 Route"),
        knob("Filter1CutoffKnob", 149, 93, 36, 34, "Filter 1 Cutoff"),
        knob("Filter1ResoKnob", 149, 149, 35, 34, "Filter 1 Reso/Bandwidth"),
        typeSwitch("Filter1FilterTypeKnob", 202, 94, 35, 34, "Filter 1 Type"),
        knob("Filter1VolumeKnob", 202, 149, 35, 35, "Filter 1 Volume"),
        routeSwitch("Filter2PrePostSwitch", 252, 107, 24, 57, "Filter 2 Route"),
        knob("Filter2CutoffKnob", 280, 93, 35, 35, "Filter 2 Cutoff"),
        knob("Filter2ResoKnob", 281, 149, 35, 35, "Filter 2 Reso/Bandwidth"),
        typeSwitch("Filter2FilterTypeKnob", 333, 93, 34, 36, "Filter 2 Type"),
        knob("Filter2VolumeKnob", 333, 149, 35, 35, "Filter 2 Volume"),
        routeSwitch("Filter3PrePostSwitch", 382, 108, 25, 57, "Filter 3 Route"),
        knob("Filter3CutoffKnob", 411, 93, 35, 36, "Filter 3 Cutoff"),
        knob("Filter3ResoKnob", 411, 149, 35, 35, "Filter 3 Reso/Bandwidth"),
        typeSwitch("Filter3FilterTypeKnob", 464, 93, 35, 35, "Filter 3 Type"),
        knob("Filter3VolumeKnob", 464, 149, 35, 35, "Filter 3 Volume"),
        knob("FXKnob", 516, 116, 35, 35, "FX"),
        animation("LeftClipLed", "LeftClipLed.png", 2, 68, 82, 27, 16),
        animation("RightClipLed", "RightClipLed.png", 2, 95, 82, 27, 16),
    };
    // clang-format on
}

juce::String resourceOf(const SkinControl& control)
{
    return control.resource != nullptr ? juce::String(control.resource) : juce::String(control.name) + ".png";
}

juce::String escaped(const char* text)
{
    return juce::String(text).replace("&", "&amp;").replace("\"", "&quot;").replace("<", "&lt;");
}

juce::String attributeText(const std::vector<SkinControl::Attribute>& attributes)
{
    juce::String text;
    for (const auto& attribute : attributes)
        text << " " << attribute.name << "=\"" << escaped(attribute.value) << "\"";
    return text;
}
} // namespace

const std::vector<SkinControl>& getSkinControls()
{
    static const std::vector<SkinControl> controls = makeControls();
    return controls;
}

const SkinControl& findSkinControl(const char* name)
{
    for (const auto& control : getSkinControls())
        if (juce::String(control.name) == name)
            return control;
    jassertfalse;
    return getSkinControls().front();
}

juce::String createSkinXml()
{
    juce::String xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml << "<!-- Written by tools/make-skin; edit the tool, not this file. -->\n";
    xml << "<PluginEditor application=\"Kolvrane\" background=\"Background.png\">\n";
    for (const auto& control : getSkinControls())
    {
        xml << "  <" << control.tag << " name=\"" << control.name << "\"" << attributeText(control.attributes)
            << ">\n";
        xml << "    <gfx resource=\"" << resourceOf(control) << "\"";
        // The font strip's geometry comes from its glyph height, not from a frame count.
        if (juce::String(control.tag) != "Display")
            xml << " framesNum=\"" << control.frames << "\"";
        xml << attributeText(control.gfxAttributes) << "/>\n";
        xml << "    <pos left=\"" << control.left << "\" top=\"" << control.top << "\"/>\n";
        xml << "    <size width=\"" << control.width << "\" height=\"" << control.height << "\"/>\n";
        if (control.parameter != nullptr)
            xml << "    <links>\n      <link as=\"connectedTo\" param=\"" << escaped(control.parameter)
                << "\"/>\n    </links>\n";
        if (!control.actions.empty())
        {
            xml << "    <actions>\n";
            for (const auto& action : control.actions)
                xml << "      <action type=\"" << action.type << "\" event=\"" << escaped(action.event)
                    << "\"/>\n";
            xml << "    </actions>\n";
        }
        xml << "  </" << control.tag << ">\n";
    }
    xml << "</PluginEditor>\n";
    return xml;
}

juce::String getResourceFileName(const SkinControl& control)
{
    return resourceOf(control);
}

// Draws the skin's bitmaps and writes them with skin.xml into a folder:
//   kolvrane-make-skin OUTPUT_FOLDER [--fonts FOLDER] [--preview FILE.png [--scale 1|2] [--frame F]]
// The preview composes frame F (a fraction of each strip, 0..1) of every control onto the
// background at its skin position, for looking at the whole face without building the plug-in.
#include "Painters.h"
#include "SkinStyle.h"

#include <iostream>
#include <map>

namespace
{
juce::Image paintControl(const SkinControl& control, int scale)
{
    const juce::String tag(control.tag);
    const juce::String name(control.name);
    if (tag == "Knob")
        return paintKnob(control, scale);
    if (tag == "Switch")
        return control.frames == 2 ? paintRouteSwitch(control, scale) : paintTypeSwitch(control, scale);
    if (tag == "Button")
        return paintButton(control, scale);
    if (tag == "MultiStateButton")
        return paintFunctionButton(control, scale);
    if (name.endsWith("VUMeter"))
        return paintMeter(control, scale);
    if (name.endsWith("ClipLed"))
        return paintClipLed(control, scale);
    return {};
}

juce::String scaledName(const juce::String& fileName, int scale)
{
    return scale == 1 ? fileName : fileName.upToLastOccurrenceOf(".", false, false) + "@2x.png";
}

std::map<juce::String, juce::Image> paintAll(int scale)
{
    std::map<juce::String, juce::Image> images;
    images[scaledName("Background.png", scale)] = paintBackground(scale);
    images[scaledName("Fonts.png", scale)] = paintPixelFont(scale);
    for (const auto& control : getSkinControls())
        if (juce::String(control.tag) != "Display")
            images[scaledName(getResourceFileName(control), scale)] = paintControl(control, scale);
    return images;
}

juce::Image composePreview(int scale, float position)
{
    auto preview = paintBackground(scale).convertedToFormat(juce::Image::ARGB);
    juce::Graphics g(preview);
    for (const auto& control : getSkinControls())
    {
        if (juce::String(control.tag) == "Display")
        {
            g.setColour(Palette::lcd);
            g.fillRect(control.bounds() * scale);
            const auto font = paintPixelFont(scale);
            const juce::String text("Default Preset");
            const int cell = 7 * scale, glyph = 9 * scale;
            for (int i = 0; i < text.length(); ++i)
                g.drawImage(font, (control.left + 3) * scale + i * cell, (control.top + 2) * scale, cell,
                            glyph, 0, (text[i] - 32) * glyph, cell, glyph);
            continue;
        }
        const auto strip = paintControl(control, scale);
        const int frame = juce::roundToInt(position * (control.frames - 1));
        const int height = control.height * scale;
        g.drawImage(strip, control.left * scale, control.top * scale, control.width * scale, height, 0,
                    frame * height, control.width * scale, height);
    }
    return preview;
}

juce::String argumentAfter(const juce::StringArray& arguments, const juce::String& option,
                           const juce::String& fallback)
{
    const int index = arguments.indexOf(option);
    return index >= 0 && index + 1 < arguments.size() ? arguments[index + 1] : fallback;
}
} // namespace

int paintAndWrite(const juce::StringArray& arguments);

int main(int argc, char* argv[])
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add(argv[i]);
    const int status = paintAndWrite(arguments);
    // The library's caches (typefaces, glyphs) go before exit, so that leak checkers see none.
    releaseSkinFonts();
    juce::DeletedAtShutdown::deleteAll();
    return status;
}

int paintAndWrite(const juce::StringArray& arguments)
{
    if (arguments.isEmpty() || arguments[0].startsWith("--"))
    {
        std::cerr << "usage: kolvrane-make-skin OUTPUT_FOLDER [--fonts FOLDER] [--preview FILE.png [--scale "
                     "1|2] [--frame 0..1]]\n";
        return 2;
    }

    const juce::File fontFolder(argumentAfter(arguments, "--fonts", "/usr/share/fonts/truetype/dejavu"));
    if (!loadSkinFonts(fontFolder))
    {
        std::cerr << "cannot read DejaVuSans.ttf and DejaVuSans-Bold.ttf in " << fontFolder.getFullPathName()
                  << "\n";
        return 1;
    }

    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile(arguments[0]);
    if (arguments.contains("--preview"))
    {
        const int scale = argumentAfter(arguments, "--scale", "1").getIntValue() == 2 ? 2 : 1;
        const float position = argumentAfter(arguments, "--frame", "0.5").getFloatValue();
        const auto file =
            juce::File::getCurrentWorkingDirectory().getChildFile(argumentAfter(arguments, "--preview", ""));
        return writePng(composePreview(scale, position), file) ? 0 : 1;
    }

    if (!output.createDirectory())
    {
        std::cerr << "cannot create " << output.getFullPathName() << "\n";
        return 1;
    }
    int written = 0;
    for (const int scale : {1, 2})
        for (const auto& [name, image] : paintAll(scale))
        {
            if (!writePng(image, output.getChildFile(name)))
            {
                std::cerr << "cannot write " << name << "\n";
                return 1;
            }
            ++written;
        }
    const auto skin = createSkinXml();
    juce::TemporaryFile temporary(output.getChildFile("skin.xml"));
    if (!temporary.getFile().replaceWithText(skin, false, false, "\n") ||
        !temporary.overwriteTargetFileWithTemporary())
    {
        std::cerr << "cannot write skin.xml\n";
        return 1;
    }
    std::cout << written << " bitmaps and skin.xml written to " << output.getFullPathName() << "\n";
    return 0;
}

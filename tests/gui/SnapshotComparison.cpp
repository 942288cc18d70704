#include "SnapshotComparison.h"

#include <cstdlib>

namespace
{
int largestChannelDifference(juce::PixelARGB a, juce::PixelARGB b)
{
    return juce::jmax(std::abs(a.getAlpha() - b.getAlpha()), std::abs(a.getRed() - b.getRed()),
                      std::abs(a.getGreen() - b.getGreen()), std::abs(a.getBlue() - b.getBlue()));
}

juce::PixelARGB pixelAt(const juce::Image::BitmapData& data, int x, int y)
{
    return data.getPixelColour(x, y).getPixelARGB();
}

bool regenerating()
{
    const char* value = std::getenv("KOLVRANE_UPDATE_SNAPSHOTS");
    return value != nullptr && juce::String(value).getIntValue() != 0;
}
} // namespace

bool writePng(const juce::Image& image, const juce::File& file)
{
    if (file.getParentDirectory().createDirectory().failed() || !file.deleteFile())
        return false;
    juce::FileOutputStream stream(file);
    juce::PNGImageFormat png;
    return stream.openedOk() && png.writeImageToStream(image, stream);
}

SnapshotComparison::SnapshotComparison(juce::File referenceFolder, juce::File failureFolder)
    : references(std::move(referenceFolder)), failures(std::move(failureFolder))
{
}

SnapshotComparison SnapshotComparison::fromEnvironment()
{
    const char* folder = std::getenv("KOLVRANE_SNAPSHOT_FAILURES");
    const juce::File failureFolder =
        folder != nullptr && *folder != 0
            ? juce::File::getCurrentWorkingDirectory().getChildFile(folder)
            : juce::File::getCurrentWorkingDirectory().getChildFile("snapshot-failures");
    return SnapshotComparison(juce::File(KOLVRANE_SNAPSHOT_DIR), failureFolder);
}

juce::File SnapshotComparison::getReferenceFile(const juce::String& name) const
{
    return references.getChildFile(name + ".png");
}

juce::File SnapshotComparison::getActualFile(const juce::String& name) const
{
    return failures.getChildFile(name + ".actual.png");
}

juce::File SnapshotComparison::getDiffFile(const juce::String& name) const
{
    return failures.getChildFile(name + ".diff.png");
}

SnapshotComparison::Result SnapshotComparison::check(const juce::Image& image, const juce::String& name,
                                                     int tolerance) const
{
    if (regenerating())
        return regenerate(image, name);

    const juce::File referenceFile = getReferenceFile(name);
    const juce::Image reference = juce::ImageFileFormat::loadFrom(referenceFile);
    if (!reference.isValid())
    {
        writePng(image, getActualFile(name));
        return {false, "no reference " + referenceFile.getFullPathName() +
                           " (run with KOLVRANE_UPDATE_SNAPSHOTS=1 to write it)"};
    }
    if (reference.getBounds() != image.getBounds())
    {
        writePng(image, getActualFile(name));
        return {false, "size " + juce::String(image.getWidth()) + "x" + juce::String(image.getHeight()) +
                           ", reference " + juce::String(reference.getWidth()) + "x" +
                           juce::String(reference.getHeight())};
    }

    const juce::Image::BitmapData actualData(image, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData referenceData(reference, juce::Image::BitmapData::readOnly);
    int count = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (largestChannelDifference(pixelAt(actualData, x, y), pixelAt(referenceData, x, y)) > tolerance)
                ++count;

    if (count == 0)
        return {true, {}, 0};
    return reportMismatch(image, reference, name, tolerance, count);
}

SnapshotComparison::Result SnapshotComparison::regenerate(const juce::Image& image,
                                                          const juce::String& name) const
{
    const juce::File file = getReferenceFile(name);
    const bool written = writePng(image, file);
    return {false, (written ? "wrote " : "could not write ") + file.getFullPathName() +
                       "; run again without KOLVRANE_UPDATE_SNAPSHOTS to compare"};
}

SnapshotComparison::Result SnapshotComparison::reportMismatch(const juce::Image& image,
                                                              const juce::Image& reference,
                                                              const juce::String& name, int tolerance,
                                                              int count) const
{
    juce::Image diff(juce::Image::ARGB, image.getWidth(), image.getHeight(), true);
    {
        const juce::Image::BitmapData actualData(image, juce::Image::BitmapData::readOnly);
        const juce::Image::BitmapData referenceData(reference, juce::Image::BitmapData::readOnly);
        juce::Image::BitmapData diffData(diff, juce::Image::BitmapData::writeOnly);
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto expected = referenceData.getPixelColour(x, y);
                const bool beyond =
                    largestChannelDifference(pixelAt(actualData, x, y), expected.getPixelARGB()) > tolerance;
                diffData.setPixelColour(x, y,
                                        beyond ? juce::Colours::red
                                               : expected.interpolatedWith(juce::Colours::white, 0.75f));
            }
    }
    writePng(image, getActualFile(name));
    writePng(diff, getDiffFile(name));
    return {false,
            juce::String(count) + " pixels differ by more than " + juce::String(tolerance) + "; see " +
                getDiffFile(name).getFullPathName(),
            count};
}

#include "SnapshotComparison.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
juce::Image filled(int width, int height, juce::Colour colour)
{
    juce::Image image(juce::Image::ARGB, width, height, true);
    image.clear(image.getBounds(), colour);
    return image;
}

class SnapshotComparisonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unsetenv("KOLVRANE_UPDATE_SNAPSHOTS");
        folder.getFile().createDirectory();
        ASSERT_TRUE(writePng(filled(8, 6, juce::Colour(0xff406080)), comparison.getReferenceFile("plain")));
    }
    void TearDown() override { folder.getFile().deleteRecursively(); }

    juce::TemporaryFile folder;
    SnapshotComparison comparison{folder.getFile().getChildFile("references"),
                                  folder.getFile().getChildFile("failures")};
};
} // namespace

TEST_F(SnapshotComparisonTest, ChannelDifferencesWithinTheToleranceMatch)
{
    struct Case
    {
        const char* what;
        int width, height;
        juce::uint32 changedPixel; // written at (3, 2)
        int tolerance;
        bool matches;
    };
    // clang-format off
    const Case cases[] = {
        {"same picture",              8, 6, 0xff406080, 0, true},
        {"blue off by the tolerance", 8, 6, 0xff406083, 3, true},
        {"blue one beyond it",        8, 6, 0xff406084, 3, false},
        {"alpha beyond it",           8, 6, 0xf0406080, 3, false},
        {"another size",              9, 6, 0xff406080, 255, false},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        auto image = filled(c.width, c.height, juce::Colour(0xff406080));
        image.setPixelAt(3, 2, juce::Colour(c.changedPixel));
        comparison.getDiffFile("plain").deleteFile();

        const auto result = comparison.check(image, "plain", c.tolerance);
        EXPECT_EQ(result.matches, c.matches) << c.what << ": " << result.message;
        EXPECT_EQ(comparison.getActualFile("plain").existsAsFile(), !c.matches) << c.what;
        comparison.getActualFile("plain").deleteFile();
    }
}

TEST_F(SnapshotComparisonTest, AMismatchWritesADiffImageMarkingThePixelsBeyondTheTolerance)
{
    auto image = filled(8, 6, juce::Colour(0xff406080));
    image.setPixelAt(1, 4, juce::Colours::white);

    const auto result = comparison.check(image, "plain", 2);
    EXPECT_FALSE(result.matches);
    EXPECT_EQ(result.pixelsBeyondTolerance, 1);

    const auto diff = juce::ImageFileFormat::loadFrom(comparison.getDiffFile("plain"));
    ASSERT_TRUE(diff.isValid());
    EXPECT_EQ(diff.getPixelAt(1, 4), juce::Colours::red);
    EXPECT_NE(diff.getPixelAt(0, 0), juce::Colours::red);
}

TEST_F(SnapshotComparisonTest, AMissingReferenceFails)
{
    const auto result = comparison.check(filled(8, 6, juce::Colours::black), "absent", 255);
    EXPECT_FALSE(result.matches);
    EXPECT_TRUE(result.message.contains("KOLVRANE_UPDATE_SNAPSHOTS")) << result.message;
}

TEST_F(SnapshotComparisonTest, RegeneratingWritesTheReferenceButNeverPasses)
{
    setenv("KOLVRANE_UPDATE_SNAPSHOTS", "1", 1);
    const auto image = filled(8, 6, juce::Colours::orange);
    const auto regenerated = comparison.check(image, "plain", 0);
    unsetenv("KOLVRANE_UPDATE_SNAPSHOTS");

    EXPECT_FALSE(regenerated.matches);
    EXPECT_TRUE(comparison.check(image, "plain", 0).matches);
}

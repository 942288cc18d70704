// The editor in a real X window of the project's host: its screenshot shows the skin, and a
// parameter moved by the host changes the pixels of that parameter's control only.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
struct Screenshot
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;

    bool samePixel(const Screenshot& other, int x, int y) const
    {
        const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
        return std::equal(rgba.begin() + static_cast<long>(at), rgba.begin() + static_cast<long>(at + 4),
                          other.rgba.begin() + static_cast<long>(at));
    }
};

Screenshot readPng(const std::string& path)
{
    Screenshot shot;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return shot;
    image.format = PNG_FORMAT_RGBA;
    shot.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, shot.rgba.data(), 0, nullptr))
        return {};
    shot.width = static_cast<int>(image.width);
    shot.height = static_cast<int>(image.height);
    return shot;
}

Screenshot takeScreenshot(const std::string& name, const std::string& settings)
{
    const auto path =
        (std::filesystem::temp_directory_path() / ("kolvrane-editor-" + name + ".png")).string();
    std::filesystem::remove(path);
    const std::string command = std::string("\"") + KOLVRANE_HOST_PATH + "\" --plugin \"" +
                                KOLVRANE_PLUGIN_PATH + "\" " + settings + " --screenshot \"" + path + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return readPng(path);
}
} // namespace

TEST(EditorWindow, HostScreenshotShowsTheSkinAndAParameterChangesOnlyItsControl)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display (run under xvfb-run)";

    const auto before = takeScreenshot("default", "--set Dynamics=0");
    const auto after = takeScreenshot("dynamics", "--set Dynamics=1");
    ASSERT_EQ(before.width, 633);
    ASSERT_EQ(before.height, 207);
    ASSERT_EQ(after.width, before.width);
    ASSERT_EQ(after.height, before.height);

    // The Dynamics knob of the skin: 36 x 34 at (22, 38).
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x)
        {
            const bool inside = x >= 22 && x < 22 + 36 && y >= 38 && y < 38 + 34;
            if (!before.samePixel(after, x, y))
                ++(inside ? changedInside : changedOutside);
        }
    EXPECT_GT(changedInside, 100);
    EXPECT_EQ(changedOutside, 0);
}

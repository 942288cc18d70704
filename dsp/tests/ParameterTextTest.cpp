#include "dsp/KolvraneCore.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
struct TextCase
{
    int index;
    float value;
    const char* text;
};

class ParameterTextTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ParameterTextTest, ShowsWhatTheCoreWasLastTold)
{
    const TextCase& c = GetParam();
    KolvraneCore core(nullptr);
    core.setParameter(c.index, c.value);
    EXPECT_EQ(core.getParameterText(c.index), c.text) << "index " << c.index << " value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    DisplayTexts, ParameterTextTest,
    ::testing::Values(TextCase{0, 0.5f, "50/50% (Hard/Normal)"}, TextCase{0, 1.0f, "100/0% (Hard/Normal)"},
                      TextCase{0, 0.0f, "0/100% (Hard/Normal)"}, TextCase{1, 0.5f, "24.0dB"},
                      TextCase{1, 1.0f, "48.0dB"}, TextCase{1, 0.0f, "0.0dB"}, TextCase{2, 0.5f, "-24.0dB"},
                      TextCase{2, 1.0f, "0.0dB"}, TextCase{2, 0.0f, "-48.0dB"}, TextCase{3, 0.504f, "50%"},
                      TextCase{3, 0.506f, "51%"}, TextCase{3, 1.0f, "100%"}, TextCase{4, 0.0f, "OFF"},
                      TextCase{4, 0.3f, "LP"}, TextCase{4, 0.125f, "LP"}, TextCase{9, 0.5f, "BP"},
                      TextCase{14, 0.75f, "HP"}, TextCase{4, 0.875f, "BR"}, TextCase{14, 1.0f, "BR"},
                      TextCase{5, 0.0f, "Post"}, TextCase{5, 0.075f, "Post"}, TextCase{10, 0.5f, "Pre"},
                      TextCase{15, 0.745f, "Pre"}, TextCase{6, 0.0f, "20Hz"}, TextCase{6, 0.1f, "50Hz"},
                      TextCase{11, 0.25f, "196Hz"}, TextCase{16, 0.5f, "1200Hz"},
                      TextCase{6, 0.75f, "4466Hz"}, TextCase{6, 1.0f, "12000Hz"}, TextCase{7, 0.5f, "50%"},
                      TextCase{17, 0.0f, "0%"}, TextCase{8, 0.5f, "50%"}, TextCase{18, 1.0f, "100%"},
                      TextCase{19, 0.5f, "0.0dB"}, TextCase{19, 1.0f, "+12.0dB"},
                      TextCase{19, 0.25f, "-12.0dB"}, TextCase{19, 0.75f, "+7.0dB"},
                      TextCase{19, 0.0f, "-Inf."}, TextCase{20, 0.0f, "TANH"}, TextCase{20, 0.09f, "TANH"},
                      TextCase{20, 0.1f, "ATAN"}, TextCase{20, 0.2f, "ATAN"}, TextCase{20, 0.4f, "HARD CLIP"},
                      TextCase{20, 0.6f, "CROSSOVER"}, TextCase{20, 0.8f, "ASIM. TANH"},
                      TextCase{20, 0.9f, "MIXED TANH/CLIP"}, TextCase{20, 0.95f, "MIXED TANH/CLIP"},
                      TextCase{21, 1.0f, "0/100% (Dry/Wet)"}, TextCase{21, 0.0f, "100/0% (Dry/Wet)"},
                      TextCase{21, 0.25f, "75/25% (Dry/Wet)"},
                      // outside 0..1 the value is held to the range
                      TextCase{4, 7.0f, "BR"}, TextCase{20, -3.0f, "TANH"}));

TEST(ParameterText, IndexesOutsideTheHostParametersGiveNoText)
{
    KolvraneCore core(nullptr);
    core.setParameter(22, 1.0f);
    for (const int index : {-1, 22, 110000})
        EXPECT_EQ(core.getParameterText(index), "") << index;
}

TEST(ParameterText, EachFilterKeepsItsOwnSettings)
{
    KolvraneCore core(nullptr);
    core.setParameter(4, 0.25f);
    core.setParameter(9, 1.0f);
    core.setParameter(16, 0.0f);
    EXPECT_EQ(core.getParameterText(4), "LP");
    EXPECT_EQ(core.getParameterText(9), "BR");
    EXPECT_EQ(core.getParameterText(14), "OFF");
    EXPECT_EQ(core.getParameterText(6), "20Hz"); // never delivered: raw value 0
    EXPECT_EQ(core.getParameterText(16), "20Hz");
}
} // namespace

#include "framework/xml/XmlRules.h"

#include <gtest/gtest.h>

namespace
{
struct IntegerCase
{
    const char* text;
    int value;
};

struct ColourCase
{
    const char* text;
    bool valid;
    juce::uint32 argb;
};
} // namespace

TEST(XmlRules, NamesCompareWithoutRegardToCaseAndValuesExactly)
{
    const auto element = juce::parseXML(R"(<PresetBank Name="Mixed Case" name="second" CC="12"/>)");
    ASSERT_NE(element, nullptr);
    EXPECT_TRUE(XmlRules::hasTag(*element, "presetbank"));
    EXPECT_FALSE(XmlRules::hasTag(*element, "PresetBanks"));
    EXPECT_TRUE(XmlRules::hasAttribute(*element, "NAME"));
    EXPECT_FALSE(XmlRules::hasAttribute(*element, "nam"));
    // The first attribute of that name in document order wins; its value is kept as written.
    EXPECT_EQ(XmlRules::getAttribute(*element, "name"), "Mixed Case");
    EXPECT_EQ(XmlRules::getAttribute(*element, "missing", "fallback"), "fallback");
    EXPECT_EQ(XmlRules::getIntAttribute(*element, "cc", -1), 12);
    EXPECT_EQ(XmlRules::getIntAttribute(*element, "missing", -1), -1);
    EXPECT_EQ(XmlRules::getColourAttribute(*element, "name", 0xff000000u), 0xff000000u);
}

TEST(XmlRules, LeadingIntegerRule)
{
    // clang-format off
    const IntegerCase cases[] = {
        {"12", 12},         {"-7", -7},           {"+5", 5},              {"  42", 42},
        {"3.9", 3},         {"12abc", 12},        {"abc", 0},             {"", 0},
        {"-", 0},           {"--1", 0},           {"0x1F", 0},            {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},         {"4294967297", 1},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(XmlRules::leadingInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(XmlRules, ArgbColours)
{
    // clang-format off
    const ColourCase cases[] = {
        {"FF232224", true,  0xff232224u}, {"ff232224", true,  0xff232224u}, {"0", true, 0u},
        {"232224",   true,  0x00232224u}, {"FF2322245", false, 0u},         {"", false, 0u},
        {"FF23 224", false, 0u},          {"#FF232224", false, 0u},          {"GG000000", false, 0u},
    };
    // clang-format on
    for (const auto& c : cases)
    {
        juce::uint32 argb = 0xdeadbeefu;
        EXPECT_EQ(XmlRules::parseArgb(c.text, argb), c.valid) << c.text;
        EXPECT_EQ(argb, c.valid ? c.argb : 0xdeadbeefu) << c.text;
    }
}

TEST(XmlRules, NumbersWithNineSignificantDigitsAndAPoint)
{
    EXPECT_EQ(XmlRules::formatNumber(0.5), "0.5");
    EXPECT_EQ(XmlRules::formatNumber(1.0), "1");
    EXPECT_EQ(XmlRules::formatNumber(static_cast<double>(0.1f)), "0.100000001");
    EXPECT_EQ(XmlRules::formatNumber(1.0e-7), "1e-07");
}

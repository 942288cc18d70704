#pragma once

#include "framework/processor/QuarryEffect.h"
#include "framework/xml/XmlRules.h"

// Changes only how presets, banks and the state of older versions are recognised and named:
// older documents used tags prefixed with the product name ("KolvranePreset") and files had
// one-letter extensions (".kvp", ".kvb", ".kvc").
class QuarryOldCompatible : public QuarryEffect
{
public:
    using QuarryEffect::QuarryEffect;

    int getNumLegacyPresetExtensions() const override { return 1; }
    juce::String getLegacyPresetExtension(int i) const override { return legacyExtension(i, "p"); }
    int getNumLegacyBankExtensions() const override { return 1; }
    juce::String getLegacyBankExtension(int i) const override { return legacyExtension(i, "b"); }
    int getNumLegacyMidiMapExtensions() const override { return 1; }
    juce::String getLegacyMidiMapExtension(int i) const override { return legacyExtension(i, "c"); }

    // Legacy preset tags carry no application attribute worth checking: the tag names the product.
    bool isPresetXml(const juce::XmlElement& element) const override
    {
        return QuarryEffect::isPresetXml(element) || XmlRules::hasTag(element, getProductName() + "Preset");
    }
    bool isPresetGroupXml(const juce::XmlElement& element) const override
    {
        return QuarryEffect::isPresetGroupXml(element) ||
               XmlRules::hasTag(element, getProductName() + "PresetGroup");
    }
    bool isPresetBankXml(const juce::XmlElement& element) const override
    {
        return QuarryEffect::isPresetBankXml(element) ||
               XmlRules::hasTag(element, getProductName() + "PresetBank");
    }

private:
    juce::String legacyExtension(int i, const char* suffix) const
    {
        return i == 0 ? ("." + getProductCode() + suffix).toLowerCase() : juce::String();
    }
};

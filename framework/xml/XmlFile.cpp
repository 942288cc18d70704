#include "framework/xml/XmlFile.h"

namespace XmlFile
{
std::unique_ptr<juce::XmlElement> read(const juce::File& file)
{
    if (!file.existsAsFile())
        return nullptr;
    return parseUntrusted(file.loadFileAsString());
}

std::unique_ptr<juce::XmlElement> parseUntrusted(const juce::String& text)
{
    auto body = text.trimStart();
    if (body.startsWith("<?xml"))
    {
        const int declarationEnd = body.indexOf("?>");
        if (declarationEnd < 0)
            return nullptr;
        body = body.substring(declarationEnd + 2);
    }
    if (body.contains("<?"))
        return nullptr;
    return juce::parseXML(text);
}

bool writeAtomically(const juce::XmlElement& element, const juce::File& file)
{
    if (file.isDirectory())
        return false;

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;
    const juce::String text = element.toString(format);

    // The temporary file lies beside the target, so the final rename never crosses volumes.
    juce::TemporaryFile temporary(file, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream stream(temporary.getFile());
        if (!stream.openedOk() || !stream.writeText(text, false, false, nullptr))
            return false;
        stream.flush();
        if (stream.getStatus().failed())
            return false;
    }
    return temporary.overwriteTargetFileWithTemporary();
}
} // namespace XmlFile

#pragma once

// A host state chunk as the plug-in writes one: XML text in JUCE's binary envelope ("VC2!",
// the little-endian text length counting its terminator, the text, the terminator).
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<uint8_t> wrapStateText(const std::string& xml)
{
    std::vector<uint8_t> chunk{'V', 'C', '2', '!'};
    const auto length = static_cast<uint32_t>(xml.size() + 1);
    for (int shift = 0; shift < 32; shift += 8)
        chunk.push_back(static_cast<uint8_t>(length >> shift));
    chunk.insert(chunk.end(), xml.begin(), xml.end());
    chunk.push_back(0);
    chunk.push_back(0);
    return chunk;
}

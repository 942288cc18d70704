#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolvrane::vsthost
{

// Helpers for presenting what a plug-in reports.

// The four characters of a VST unique ID, first character from the most significant byte; bytes that
// are not printable ASCII appear as '.'.
std::string uniqueIdToString(int32_t uniqueId);
// The reverse, for IDs written as four characters such as "KV57". Requires exactly four characters.
int32_t uniqueIdFromString(const std::string& fourChars);

// Names of the set AEffect flags, lowest bit first; unknown bits as "0x...".
std::vector<std::string> decodeEffectFlags(int32_t flags);

// The capability questions of the VST 2.4 interface that a host commonly asks a plug-in.
const std::vector<std::string>& standardPlugCanDoQuestions();

// "1.3.1" for 0x10301 (VST versions pack major, minor, bugfix in hex digits), plain decimal for
// values below 10 that predate that packing.
std::string formatVstVersion(int32_t version);

} // namespace kolvrane::vsthost

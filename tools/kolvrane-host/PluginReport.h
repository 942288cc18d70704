#pragma once

#include <ostream>

namespace kolvrane::vsthost
{
class VstPlugin;
}

namespace kolvrane::cli
{

// The --info listing: identity, flags, capability answers, pins and every parameter.
void printPluginReport(vsthost::VstPlugin& plugin, std::ostream& out);

} // namespace kolvrane::cli

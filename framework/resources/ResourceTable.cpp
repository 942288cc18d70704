#include "framework/resources/ResourceTable.h"

#include <cctype>

namespace
{
bool equalsIgnoringCase(const char* a, const char* b)
{
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}
} // namespace

const EmbeddedResource* findEmbeddedResource(const char* type, const char* name)
{
    if (type == nullptr || name == nullptr)
        return nullptr;

    for (auto* entry = getEmbeddedResources(); entry->type != nullptr; ++entry)
        if (equalsIgnoringCase(entry->type, type) && equalsIgnoringCase(entry->name, name))
            return entry->size > 0 ? entry : nullptr;

    return nullptr;
}

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

const EmbeddedResource* overrides = nullptr;

const EmbeddedResource* findIn(const EmbeddedResource* table, const char* type, const char* name)
{
    for (auto* entry = table; entry->type != nullptr; ++entry)
        if (equalsIgnoringCase(entry->type, type) && equalsIgnoringCase(entry->name, name))
            return entry;
    return nullptr;
}
} // namespace

void setResourceOverrides(const EmbeddedResource* table)
{
    overrides = table;
}

const EmbeddedResource* findEmbeddedResource(const char* type, const char* name)
{
    if (type == nullptr || name == nullptr)
        return nullptr;

    const EmbeddedResource* entry = overrides != nullptr ? findIn(overrides, type, name) : nullptr;
    if (entry == nullptr)
        entry = findIn(getEmbeddedResources(), type, name);
    return entry != nullptr && entry->size > 0 ? entry : nullptr;
}

#pragma once

#include <cstddef>

// One compiled-in resource: the module stores type and name in upper case.
struct EmbeddedResource
{
    const char* type;
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

// The generated table, terminated by an entry with a null type.
const EmbeddedResource* getEmbeddedResources();

// Finds a resource by type and name, compared without regard to case. Returns null when it is
// missing or empty, so callers never see a zero-length resource.
const EmbeddedResource* findEmbeddedResource(const char* type, const char* name);

// A table searched before the compiled-in one (terminated like it), or null for none. An entry
// of size 0 there hides the compiled-in resource of its name. Lets tests stand damaged or
// missing bitmaps in for the real ones; message thread only.
void setResourceOverrides(const EmbeddedResource* table);

#include "../DynamicLibrary.h"

#include <dlfcn.h>

namespace kolvrane::vsthost
{

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& path, std::string& error)
{
    // RTLD_LOCAL keeps two plug-ins' identically named symbols apart.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "unknown dlopen failure";
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary()
{
    ::dlclose(handle);
}

void* DynamicLibrary::findSymbol(const std::string& name) const
{
    return ::dlsym(handle, name.c_str());
}

} // namespace kolvrane::vsthost

#pragma once

#include <memory>
#include <string>

namespace kolvrane::vsthost
{

// A loaded shared library. The only operating-system dependent part of the host; each platform
// provides one implementation file under platform/.
class DynamicLibrary
{
public:
    // Null on failure, with the system's reason in `error`.
    static std::unique_ptr<DynamicLibrary> open(const std::string& path, std::string& error);
    ~DynamicLibrary();

    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    void* findSymbol(const std::string& name) const;

private:
    explicit DynamicLibrary(void* handle) : handle(handle) {}
    void* handle;
};

} // namespace kolvrane::vsthost

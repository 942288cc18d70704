#include "../DynamicLibrary.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace kolvrane::vsthost
{
namespace
{
std::wstring widen(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 1));
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
    return wide.data();
}

std::string describe(DWORD code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text != nullptr ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}
} // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& path, std::string& error)
{
    HMODULE module = ::LoadLibraryW(widen(path).c_str());
    if (module == nullptr)
    {
        error = describe(::GetLastError());
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module));
}

DynamicLibrary::~DynamicLibrary()
{
    ::FreeLibrary(static_cast<HMODULE>(handle));
}

void* DynamicLibrary::findSymbol(const std::string& name) const
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle), name.c_str()));
}

} // namespace kolvrane::vsthost

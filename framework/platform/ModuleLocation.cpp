// The only platform-specific code of the plug-in: where the loaded module lives.
#include "framework/platform/ModuleLocation.h"

#if defined(_WIN32)
#include <windows.h>

juce::File getPluginModuleFile()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&getPluginModuleFile), &module);
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return juce::File(juce::String(path));
}
#else
#include <dlfcn.h>

juce::File getPluginModuleFile()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&getPluginModuleFile), &info) != 0 && info.dli_fname != nullptr)
        return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(info.dli_fname));
    return juce::File::getSpecialLocation(juce::File::currentExecutableFile);
}
#endif

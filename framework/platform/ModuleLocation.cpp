// The only platform-specific code of the plug-in: where the loaded module lives.
#include "framework/platform/ModuleLocation.h"

namespace
{
juce::File& moduleFileOverride()
{
    static juce::File file;
    return file;
}
} // namespace

static juce::File findLoadedModuleFile();

void overridePluginModuleFile(const juce::File& file)
{
    moduleFileOverride() = file;
}

juce::File getPluginModuleFile()
{
    return moduleFileOverride() != juce::File() ? moduleFileOverride() : findLoadedModuleFile();
}

#if defined(_WIN32)
#include <windows.h>

static juce::File findLoadedModuleFile()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&overridePluginModuleFile), &module);
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return juce::File(juce::String(path));
}
#else
#include <dlfcn.h>

static juce::File findLoadedModuleFile()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&overridePluginModuleFile), &info) != 0 && info.dli_fname != nullptr)
        return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(info.dli_fname));
    return juce::File::getSpecialLocation(juce::File::currentExecutableFile);
}
#endif

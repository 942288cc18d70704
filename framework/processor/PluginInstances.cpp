#include "framework/processor/PluginInstances.h"

#include "framework/processor/BasePlugin.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace
{
thread_local BasePlugin* justCreated = nullptr;

struct Registry
{
    std::mutex lock;
    std::vector<std::pair<const void*, BasePlugin*>> entries;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}
} // namespace

void PluginInstances::noteCreated(BasePlugin* plugin) noexcept
{
    justCreated = plugin;
}

BasePlugin* PluginInstances::takeCreated() noexcept
{
    return std::exchange(justCreated, nullptr);
}

void PluginInstances::add(const void* effect, BasePlugin* plugin)
{
    auto& r = registry();
    const std::lock_guard<std::mutex> locked(r.lock);
    r.entries.emplace_back(effect, plugin);
}

void PluginInstances::remove(const void* effect)
{
    auto& r = registry();
    const std::lock_guard<std::mutex> locked(r.lock);
    r.entries.erase(std::remove_if(r.entries.begin(), r.entries.end(),
                                   [effect](const auto& entry) { return entry.first == effect; }),
                    r.entries.end());
}

void PluginInstances::sampleRateChanged(const void* effect, double newRate)
{
    BasePlugin* plugin = nullptr;
    {
        auto& r = registry();
        const std::lock_guard<std::mutex> locked(r.lock);
        for (const auto& entry : r.entries)
            if (entry.first == effect)
                plugin = entry.second;
    }
    if (plugin != nullptr)
        plugin->hostSampleRateChanged(newRate);
}

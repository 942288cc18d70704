#pragma once

#include "kolvrane/vsthost/HostCallLog.h"
#include "kolvrane/vsthost/HostTransport.h"
#include "kolvrane/vsthost/Vst2Interface.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace kolvrane::vsthost
{

// The host side of one plug-in instance: answers the callback requests and records them.
class HostContext
{
public:
    HostContext(const HostTransport& transport, int32_t processLevel);

    intptr_t handle(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    HostCallLog log;
    std::atomic<float> sampleRate{44100.0f};
    std::atomic<int32_t> blockSize{512};

    void setTransport(const HostTransport& transport);
    HostTransport transport() const;

    // The callback handed to VSTPluginMain; it finds the instance's context through the registry.
    static Vst2::audioMasterCallback callback();
    static void registerEffect(Vst2::AEffect* effect, const std::shared_ptr<HostContext>& context);
    static void unregisterEffect(Vst2::AEffect* effect);

    // Requests that arrive on the loading thread before the AEffect is known (VSTPluginMain asks for
    // the host version with a null effect) go to the context being loaded.
    class LoadingScope
    {
    public:
        explicit LoadingScope(const std::shared_ptr<HostContext>& context);
        ~LoadingScope();
    };

private:
    intptr_t answerTimeInfo(intptr_t requestedFlags);
    static intptr_t answerCanDo(const char* question);
    static intptr_t copyString(void* destination, const char* text);

    mutable std::mutex transportMutex;
    HostTransport transportState;
    Vst2::VstTimeInfo timeInfo{};
    const int32_t processLevel;
};

} // namespace kolvrane::vsthost

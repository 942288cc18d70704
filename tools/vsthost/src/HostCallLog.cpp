#include "kolvrane/vsthost/HostCallLog.h"

#include "kolvrane/vsthost/Vst2Interface.h"

namespace kolvrane::vsthost
{

bool HostCallLog::isCountedOnly(int32_t opcode)
{
    return opcode == Vst2::audioMasterGetTime || opcode == Vst2::audioMasterGetCurrentProcessLevel;
}

HostCallLog::HostCallLog()
{
    resetCounts();
}

void HostCallLog::resetCounts()
{
    counts.clear();
    counts[Vst2::audioMasterGetTime] = 0;
    counts[Vst2::audioMasterGetCurrentProcessLevel] = 0;
}

void HostCallLog::record(HostCall call)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        ++counts[call.opcode];
        if (!isCountedOnly(call.opcode))
            recorded.push_back(std::move(call));
    }
    changed.notify_all();
}

void HostCallLog::clear()
{
    std::lock_guard<std::recursive_mutex> lock(mutex);
    recorded.clear();
    resetCounts();
}

std::vector<HostCall> HostCallLog::calls() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex);
    return recorded;
}

std::vector<HostCall> HostCallLog::callsWithOpcode(int32_t opcode) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex);
    std::vector<HostCall> matching;
    for (const HostCall& call : recorded)
        if (call.opcode == opcode)
            matching.push_back(call);
    return matching;
}

std::vector<AutomationEvent> HostCallLog::automation() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex);
    std::vector<AutomationEvent> events;
    for (const HostCall& call : recorded)
        if (call.opcode == Vst2::audioMasterAutomate)
            events.push_back({call.index, call.opt});
    return events;
}

std::vector<int32_t> HostCallLog::gestureSequence() const
{
    std::lock_guard<std::recursive_mutex> lock(mutex);
    std::vector<int32_t> opcodes;
    for (const HostCall& call : recorded)
        if (call.opcode == Vst2::audioMasterAutomate || call.opcode == Vst2::audioMasterBeginEdit ||
            call.opcode == Vst2::audioMasterEndEdit)
            opcodes.push_back(call.opcode);
    return opcodes;
}

size_t HostCallLog::count(int32_t opcode) const
{
    std::lock_guard<std::recursive_mutex> lock(mutex);
    auto found = counts.find(opcode);
    return found != counts.end() ? found->second : 0;
}

bool HostCallLog::waitUntil(const std::function<bool(const HostCallLog&)>& predicate,
                            std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::recursive_mutex> lock(mutex);
    return changed.wait_for(lock, timeout, [&] { return predicate(*this); });
}

bool HostCallLog::waitForCount(int32_t opcode, size_t wanted, std::chrono::milliseconds timeout) const
{
    return waitUntil([&](const HostCallLog& log) { return log.count(opcode) >= wanted; }, timeout);
}

} // namespace kolvrane::vsthost

#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kolvrane::vsthost
{

// One request the plug-in sent to the host callback.
struct HostCall
{
    int32_t opcode = 0;
    int32_t index = 0;
    intptr_t value = 0;
    float opt = 0.0f;
    std::string text; // the question of audioMasterCanDo, empty otherwise
    std::thread::id thread;
};

struct AutomationEvent
{
    int32_t index = 0;
    float value = 0.0f;

    bool operator==(const AutomationEvent& other) const
    {
        return index == other.index && value == other.value;
    }
};

// Every host callback request of one plug-in instance, in arrival order. The plug-in may call from any
// thread (JUCE's wrapper answers some requests from its own message thread), so all access is locked.
// The per-block time and process-level queries are only counted, to keep long renders small.
class HostCallLog
{
public:
    HostCallLog();

    // Allocates nothing for the counted-only requests, so a plug-in's audio thread can be checked
    // for allocations while it talks to this host.
    void record(HostCall call);
    void clear();

    std::vector<HostCall> calls() const;
    std::vector<HostCall> callsWithOpcode(int32_t opcode) const;
    std::vector<AutomationEvent> automation() const;
    // The opcodes of automate, begin-edit and end-edit requests in order, for checking gesture nesting.
    std::vector<int32_t> gestureSequence() const;
    size_t count(int32_t opcode) const;

    // Blocks until `predicate` holds on the recorded calls or the timeout passes; returns the final answer.
    bool waitUntil(const std::function<bool(const HostCallLog&)>& predicate,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(2000)) const;
    bool waitForCount(int32_t opcode, size_t count,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(2000)) const;

    static bool isCountedOnly(int32_t opcode);

private:
    void resetCounts();

    mutable std::recursive_mutex mutex;
    mutable std::condition_variable_any changed;
    std::vector<HostCall> recorded;
    std::map<int32_t, size_t> counts;
};

} // namespace kolvrane::vsthost

#pragma once

#include <juce_events/juce_events.h>

#include <atomic>

// Like juce::AsyncUpdater, but triggering is only an atomic store: the audio thread may call
// triggerAsyncUpdate without allocating, locking or posting a message. A shared timer on the
// message thread delivers pending updates, several triggers coalescing into one callback.
class RealtimeAsyncUpdater
{
public:
    RealtimeAsyncUpdater();
    virtual ~RealtimeAsyncUpdater();

    virtual void handleAsyncUpdate() = 0;

    void triggerAsyncUpdate() noexcept { pending.store(true, std::memory_order_release); }
    void cancelPendingUpdate() noexcept { pending.store(false, std::memory_order_release); }
    bool isUpdatePending() const noexcept { return pending.load(std::memory_order_acquire); }

    // Delivers a pending update now, on the calling thread.
    void handleUpdateNowIfNeeded();

    // Derived destructors call this first, so the dispatcher never reaches a half-destroyed
    // object; later triggers are dropped.
    void stopAsyncUpdates();

    // How often the message thread looks for pending updates.
    static constexpr int pollIntervalMs = 10;

private:
    class Dispatcher;
    std::atomic<bool> pending{false};
    juce::SharedResourcePointer<Dispatcher>* dispatcher;
    bool attached = true;

    JUCE_DECLARE_NON_COPYABLE(RealtimeAsyncUpdater)
};

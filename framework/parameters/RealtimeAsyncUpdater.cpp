#include "framework/parameters/RealtimeAsyncUpdater.h"

// One per process while any updater exists: polls the registered updaters on the message
// thread. Registration happens when updaters are built and destroyed, never on the audio thread.
class RealtimeAsyncUpdater::Dispatcher : private juce::Timer
{
public:
    Dispatcher() { startTimer(pollIntervalMs); }
    ~Dispatcher() override { stopTimer(); }

    void add(RealtimeAsyncUpdater* updater)
    {
        const juce::ScopedLock locked(lock);
        updaters.add(updater);
    }

    void remove(RealtimeAsyncUpdater* updater)
    {
        const juce::ScopedLock locked(lock);
        updaters.removeFirstMatchingValue(updater);
    }

private:
    void timerCallback() override
    {
        const juce::ScopedLock locked(lock);
        for (int i = 0; i < updaters.size(); ++i)
            updaters.getUnchecked(i)->handleUpdateNowIfNeeded();
    }

    juce::CriticalSection lock;
    juce::Array<RealtimeAsyncUpdater*> updaters;
};

RealtimeAsyncUpdater::RealtimeAsyncUpdater()
    : dispatcher(new juce::SharedResourcePointer<Dispatcher>())
{
    (*dispatcher)->add(this);
}

RealtimeAsyncUpdater::~RealtimeAsyncUpdater()
{
    stopAsyncUpdates();
    delete dispatcher;
}

void RealtimeAsyncUpdater::stopAsyncUpdates()
{
    cancelPendingUpdate();
    if (attached)
        (*dispatcher)->remove(this);
    attached = false;
}

void RealtimeAsyncUpdater::handleUpdateNowIfNeeded()
{
    if (pending.exchange(false, std::memory_order_acq_rel))
        handleAsyncUpdate();
}

#include "framework/processor/MidiEventQueue.h"

namespace
{
// Room for a generous burst of events, so hosts that send many per block never make the
// audio thread allocate.
constexpr int reservedBytes = 64 * 1024;
} // namespace

MidiEventQueue::MidiEventQueue() : reader(buffers[0].cbegin())
{
    buffers[0].ensureSize(reservedBytes);
    buffers[1].ensureSize(reservedBytes);
    reset();
}

void MidiEventQueue::reset()
{
    buffers[0].clear();
    buffers[1].clear();
    restartReader();
    moreEvents = false;
}

void MidiEventQueue::restartReader()
{
    reader = current->findNextSamplePosition(0);
    lastReadTime = -1;
    waiting = false;
    moreEvents = !current->isEmpty();
}

void MidiEventQueue::add(const juce::MidiBuffer& incoming)
{
    auto event = incoming.cbegin();
    while (event != incoming.cend() && (*event).samplePosition < 0)
        ++event;

    for (; event != incoming.cend(); ++event)
    {
        const auto metadata = *event;
        // MidiBuffer inserts after events already stored at the same time: host order holds.
        current->addEvent(metadata.data, metadata.numBytes, metadata.samplePosition);
    }
    restartReader();
}

bool MidiEventQueue::nextEventAt(int sample, juce::MidiMessageMetadata& event)
{
    if (!moreEvents)
        return false;

    if (!waiting)
    {
        if (reader == current->cend())
        {
            moreEvents = false;
            return false;
        }
        waitingEvent = *reader;
        ++reader;
        lastReadTime = waitingEvent.samplePosition;
        waiting = true;
    }

    if (waitingEvent.samplePosition != sample)
        return false;

    waiting = false;
    event = waitingEvent;
    return true;
}

void MidiEventQueue::endBlock(int blockLength)
{
    other->clear();
    for (auto it = current->findNextSamplePosition(blockLength); it != current->cend(); ++it)
    {
        const auto metadata = *it;
        other->addEvent(metadata.data, metadata.numBytes, metadata.samplePosition - blockLength);
    }
    std::swap(current, other);
    restartReader();
}

#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Delivers each MIDI event at its sample position, including events the host stamps at or
// beyond the end of a block: those are carried into the next block at their remaining
// distance. The two buffers are reused, so nothing is allocated per block once warm.
class MidiEventQueue
{
public:
    MidiEventQueue();

    void reset();

    // Takes the block's events (negative positions at the front are dropped) and restarts
    // reading at time 0.
    void add(const juce::MidiBuffer& incoming);

    // The next event due exactly at sample j, if any. Call with increasing j.
    bool nextEventAt(int sample, juce::MidiMessageMetadata& event);

    bool hasMoreEvents() const noexcept { return moreEvents; }

    // Keeps only the events at or after the block's end, moved to the next block's time base.
    void endBlock(int blockLength);

private:
    void restartReader();

    juce::MidiBuffer buffers[2];
    juce::MidiBuffer* current = &buffers[0];
    juce::MidiBuffer* other = &buffers[1];
    juce::MidiBufferIterator reader;
    juce::MidiMessageMetadata waitingEvent;
    int lastReadTime = -1;
    bool waiting = false;
    bool moreEvents = false;
};

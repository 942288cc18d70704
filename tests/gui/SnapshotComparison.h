#pragma once

#include <juce_graphics/juce_graphics.h>

// Compares a rendered image with a committed PNG, channel by channel within a tolerance.
//
// With KOLVRANE_UPDATE_SNAPSHOTS=1 in the environment the image is written as the new reference
// instead, and the check still fails: a test run with the switch left on must never pass by
// comparing a picture with itself. On a mismatch the rendered image and a diff image (pixels
// beyond the tolerance in red over a faded copy of the reference) are written to the failure
// folder, KOLVRANE_SNAPSHOT_FAILURES or "snapshot-failures" in the working folder.
class SnapshotComparison
{
public:
    struct Result
    {
        bool matches = false;
        juce::String message;
        int pixelsBeyondTolerance = 0;
    };

    SnapshotComparison(juce::File referenceFolder, juce::File failureFolder);

    // The folders the environment and the build choose.
    static SnapshotComparison fromEnvironment();

    Result check(const juce::Image& image, const juce::String& name, int tolerance) const;

    juce::File getReferenceFile(const juce::String& name) const;
    juce::File getActualFile(const juce::String& name) const;
    juce::File getDiffFile(const juce::String& name) const;

private:
    Result regenerate(const juce::Image& image, const juce::String& name) const;
    Result reportMismatch(const juce::Image& image, const juce::Image& reference, const juce::String& name,
                          int tolerance, int count) const;

    juce::File references;
    juce::File failures;
};

// Writes an image as PNG, replacing the file; false if that failed.
bool writePng(const juce::Image& image, const juce::File& file);

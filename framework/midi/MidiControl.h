#pragma once

#include "framework/parameters/ParameterManager.h"
#include "framework/parameters/RealtimeAsyncUpdater.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_events/juce_events.h>

#include <array>

// The controller-to-parameter map: MIDI control changes on any channel set the parameter
// assigned to their controller number. Assignments are made from the MIDI control page, from
// map XML (files and the host state), or in learn mode by moving a parameter and a
// controller. Listeners hear of changes through one coalesced round on the message thread.
//
// Lock order: this object's lock, then the processor lock (taken by the parameter's
// synchronous listeners), then the core lock. Nothing here is called with the processor lock
// held.
class MidiControl : public RealtimeAsyncUpdater
{
public:
    static constexpr int numControllers = 128;
    // The float nearest to 1/127: 0 gives 0.0 and 127 gives exactly 1.0.
    static constexpr float controllerValueScale = 0.0078740157f;

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void midiMapChanged(MidiControl*) {}
        virtual void learnStateChanged(MidiControl*) {}
        virtual void controllerMoved(MidiControl*) {}
    };

    explicit MidiControl(ParameterManager& parameterSet);
    ~MidiControl() override;

    void handleAsyncUpdate() override;
    virtual bool isMapElement(const juce::XmlElement& element) const;
    virtual bool isCompatibleMap(const juce::XmlElement& element) const;
    // Replaces the map with the element's assignments and leaves learn mode off. An element of
    // another kind or product leaves the map empty.
    virtual void loadMap(const juce::XmlElement& element);

    // The product name: the application name that map files carry.
    void setApplicationName(const juce::String& name);
    juce::String getApplicationName() const;

    // Listeners are added and removed on the message thread; none is owned.
    void addListener(Listener* listener);
    void removeListener(Listener* listener);

    // Audio thread: a control-change message at its sample position. Allocates nothing.
    void handleMidiMessage(const juce::MidiMessage& message);

    void setLearnMode(bool on);
    bool isLearnMode() const;
    // Message thread: the user moved parameter X through a control while learning.
    void learnParameterMoved(Parameter* parameter);
    // Audio thread: controller k moved while learning.
    void learnControllerMoved(int controller);
    Parameter* getLearnParameter() const;
    int getLearnController() const;
    // The status-bar text for the learn state; empty while learn mode is off.
    juce::String getLearnStatusText() const;

    // A parameter occupies at most one entry: assigning it elsewhere frees its old controller.
    // A none parameter empties the entry; parameters that are not automatable are refused.
    void assign(int controller, Parameter* parameter, bool notify);
    void unassign(int controller);
    void clearAll();

    int getControllerOf(const Parameter* parameter) const;
    Parameter* getParameterOf(int controller) const;
    int getAssignedCount() const;
    Parameter* getLastMovedParameter() const;

    std::unique_ptr<juce::XmlElement> createMapXml() const;
    // A missing file or one that is not XML changes nothing; false then.
    bool loadMapFile(const juce::File& file);
    // Written to a temporary file beside the target, then renamed over it, so a failed write
    // never leaves a half-written map behind.
    bool saveMapFile(const juce::File& file) const;

    // ".kvccmap" for the file code "KV"; the older ".kvc" is accepted when opening.
    static juce::String getMapFileExtension(const juce::String& productCode);
    static juce::String getMapFileWildcard(const juce::String& productCode);

    // The start-up choice kept in the user settings: load this map file when set.
    void setUseUserMap(bool shouldUse) { useUserMap = shouldUse; }
    bool isUserMapUsed() const noexcept { return useUserMap; }
    void setUserMapFile(const juce::String& path) { userMapFile = path; }
    const juce::String& getUserMapFile() const noexcept { return userMapFile; }
    // Loads the chosen user map, if any; false when none is chosen or it could not be read.
    bool loadUserMap();

    juce::CriticalSection& getLock() const noexcept { return lock; }

private:
    using Map = std::array<Parameter*, numControllers>;

    static bool isController(int number) noexcept { return number >= 0 && number < numControllers; }
    static void place(Map& map, int controller, Parameter* parameter);
    static int countAssigned(const Map& map);
    Map readMap(const juce::XmlElement& element) const;
    void tryLearnAssignment();
    void resetLearnState();
    void post(bool& flag);

    template <typename Callback> void callListeners(Callback callback);

    ParameterManager& parameters;
    juce::Array<Listener*> listeners;
    Map map{};
    bool learnMode = false;
    Parameter* learnParameter = nullptr;
    int learnController = -1;
    juce::String applicationName;
    int assignedCount = 0;
    bool useUserMap = false;
    juce::String userMapFile;
    bool mapChangedPending = false;
    bool learnStatePending = false;
    bool controllerMovedPending = false;
    Parameter* lastMovedParameter = nullptr;
    mutable juce::CriticalSection lock;

    JUCE_DECLARE_NON_COPYABLE(MidiControl)
};

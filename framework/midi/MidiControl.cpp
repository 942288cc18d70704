#include "framework/midi/MidiControl.h"
#include "framework/xml/XmlFile.h"
#include "framework/xml/XmlRules.h"

#include <algorithm>

namespace
{
const char* const mapTag = "MidiControlMap";
const char* const olderMapTag = "MidiCCMap";
const char* const assignTag = "assign";
} // namespace

MidiControl::MidiControl(ParameterManager& parameterSet) : parameters(parameterSet) {}

MidiControl::~MidiControl()
{
    stopAsyncUpdates();
}

void MidiControl::setApplicationName(const juce::String& name)
{
    const juce::ScopedLock locked(lock);
    applicationName = name;
}

juce::String MidiControl::getApplicationName() const
{
    const juce::ScopedLock locked(lock);
    return applicationName;
}

void MidiControl::addListener(Listener* listener)
{
    if (listener == nullptr)
        return;
    const juce::ScopedLock locked(lock);
    listeners.addIfNotAlreadyThere(listener);
}

void MidiControl::removeListener(Listener* listener)
{
    const juce::ScopedLock locked(lock);
    listeners.removeFirstMatchingValue(listener);
}

template <typename Callback> void MidiControl::callListeners(Callback callback)
{
    for (int i = listeners.size(); --i >= 0;)
        if (auto* listener = listeners[i])
            callback(*listener);
}

void MidiControl::post(bool& flag)
{
    flag = true;
    triggerAsyncUpdate();
}

void MidiControl::handleAsyncUpdate()
{
    // Flags are taken and cleared first, so a trigger arriving during the callbacks gets its
    // own round instead of being wiped out.
    bool mapChanged = false, learnChanged = false, moved = false;
    {
        const juce::ScopedLock locked(lock);
        std::swap(mapChanged, mapChangedPending);
        std::swap(learnChanged, learnStatePending);
        std::swap(moved, controllerMovedPending);
    }
    if (mapChanged)
        callListeners([this](Listener& listener) { listener.midiMapChanged(this); });
    if (learnChanged)
        callListeners([this](Listener& listener) { listener.learnStateChanged(this); });
    if (moved)
        callListeners([this](Listener& listener) { listener.controllerMoved(this); });
}

//==============================================================================
void MidiControl::handleMidiMessage(const juce::MidiMessage& message)
{
    if (message.getRawDataSize() < 3)
        return;
    const juce::uint8* data = message.getRawData();
    if ((data[0] & 0xf0) != 0xb0)
        return;
    const int controller = data[1] & 0x7f;
    const int value = data[2] & 0x7f;

    // Held while the parameter is set, so its listeners (the processor lock among them) run
    // inside it and the map cannot change under the change.
    const juce::ScopedLock locked(lock);
    if (learnMode)
        learnControllerMoved(controller);
    if (auto* parameter = map[static_cast<size_t>(controller)])
    {
        parameter->setNormalizedValue(static_cast<float>(value) * controllerValueScale, true);
        lastMovedParameter = parameter;
        post(controllerMovedPending);
    }
}

//==============================================================================
void MidiControl::setLearnMode(bool on)
{
    const juce::ScopedLock locked(lock);
    if (on == learnMode)
        return;
    learnMode = on;
    resetLearnState();
    callListeners([this](Listener& listener) { listener.learnStateChanged(this); });
}

bool MidiControl::isLearnMode() const
{
    const juce::ScopedLock locked(lock);
    return learnMode;
}

void MidiControl::resetLearnState()
{
    learnParameter = nullptr;
    learnController = -1;
}

void MidiControl::learnParameterMoved(Parameter* parameter)
{
    if (parameter == nullptr || !parameter->isAutomatable())
        return;
    const juce::ScopedLock locked(lock);
    if (!learnMode || parameter == learnParameter)
        return;
    if (learnController == -1 || learnParameter != nullptr)
        learnController = getControllerOf(parameter);
    learnParameter = parameter;
    tryLearnAssignment();
}

void MidiControl::learnControllerMoved(int controller)
{
    if (!isController(controller))
        return;
    const juce::ScopedLock locked(lock);
    if (!learnMode || controller == learnController)
        return;
    // A controller that already drives a parameter is shown with its owner, even while another
    // parameter waits: pairing it with the waiting one would claim an assignment that does not
    // exist. The waiting parameter is moved again to resume.
    auto* owner = map[static_cast<size_t>(controller)];
    if (learnParameter == nullptr || learnController != -1 || owner != nullptr)
        learnParameter = owner;
    learnController = controller;
    tryLearnAssignment();
}

void MidiControl::tryLearnAssignment()
{
    if (learnController != -1 && learnParameter != nullptr &&
        map[static_cast<size_t>(learnController)] == nullptr)
        assign(learnController, learnParameter, true);
    post(learnStatePending);
}

Parameter* MidiControl::getLearnParameter() const
{
    const juce::ScopedLock locked(lock);
    return learnParameter;
}

int MidiControl::getLearnController() const
{
    const juce::ScopedLock locked(lock);
    return learnController;
}

juce::String MidiControl::getLearnStatusText() const
{
    const juce::ScopedLock locked(lock);
    if (!learnMode)
        return {};
    if (learnController == -1)
        return learnParameter == nullptr ? juce::String("Waiting for a controller or parameter movement...")
                                         : "'" + learnParameter->getName() +
                                               "' parameter is free. Waiting for a free controller now...";

    const juce::String controller = "CC# " + juce::String(learnController);
    return learnParameter == nullptr
               ? controller + " is free. Waiting for a parameter now..."
               : controller + " is assigned to parameter '" + learnParameter->getName() + "'.";
}

//==============================================================================
void MidiControl::place(Map& entries, int controller, Parameter* parameter)
{
    if (parameter != nullptr)
        for (auto& entry : entries)
            if (entry == parameter)
                entry = nullptr;
    entries[static_cast<size_t>(controller)] = parameter;
}

int MidiControl::countAssigned(const Map& entries)
{
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](Parameter* p) { return p != nullptr; }));
}

void MidiControl::assign(int controller, Parameter* parameter, bool notify)
{
    if (!isController(controller) || (parameter != nullptr && !parameter->isAutomatable()))
        return;
    const juce::ScopedLock locked(lock);
    if (map[static_cast<size_t>(controller)] == parameter)
        return;
    place(map, controller, parameter);
    assignedCount = countAssigned(map);
    if (notify)
        post(mapChangedPending);
}

void MidiControl::unassign(int controller)
{
    if (!isController(controller))
        return;
    const juce::ScopedLock locked(lock);
    auto& entry = map[static_cast<size_t>(controller)];
    if (entry != nullptr)
    {
        entry = nullptr;
        --assignedCount;
        post(mapChangedPending);
    }
    if (learnMode)
    {
        resetLearnState();
        post(learnStatePending);
    }
}

void MidiControl::clearAll()
{
    const juce::ScopedLock locked(lock);
    map.fill(nullptr);
    assignedCount = 0;
    post(mapChangedPending);
    // As with unassign: a learn state shown with a now removed assignment would be stale.
    if (learnMode)
    {
        resetLearnState();
        post(learnStatePending);
    }
}

int MidiControl::getControllerOf(const Parameter* parameter) const
{
    if (parameter == nullptr)
        return -1;
    const juce::ScopedLock locked(lock);
    for (int c = 0; c < numControllers; ++c)
        if (map[static_cast<size_t>(c)] == parameter)
            return c;
    return -1;
}

Parameter* MidiControl::getParameterOf(int controller) const
{
    if (!isController(controller))
        return nullptr;
    const juce::ScopedLock locked(lock);
    return map[static_cast<size_t>(controller)];
}

int MidiControl::getAssignedCount() const
{
    const juce::ScopedLock locked(lock);
    return assignedCount;
}

Parameter* MidiControl::getLastMovedParameter() const
{
    const juce::ScopedLock locked(lock);
    return lastMovedParameter;
}

//==============================================================================
bool MidiControl::isMapElement(const juce::XmlElement& element) const
{
    return XmlRules::hasTag(element, mapTag) || XmlRules::hasTag(element, olderMapTag);
}

bool MidiControl::isCompatibleMap(const juce::XmlElement& element) const
{
    if (!isMapElement(element))
        return false;
    const juce::String application = getApplicationName();
    return application.isEmpty() || XmlRules::getAttribute(element, "name").equalsIgnoreCase(application) ||
           XmlRules::getAttribute(element, "application").equalsIgnoreCase(application);
}

MidiControl::Map MidiControl::readMap(const juce::XmlElement& element) const
{
    Map loaded{};
    for (auto* child : element.getChildIterator())
    {
        if (!XmlRules::hasTag(*child, assignTag))
            continue;
        auto* parameter = parameters.getParameterByName(XmlRules::getAttribute(*child, "param"));
        if (parameter == nullptr || !parameter->isAutomatable())
            continue;
        const int controller = XmlRules::getIntAttribute(*child, "CC", 0);
        if (isController(controller))
            place(loaded, controller, parameter);
    }
    return loaded;
}

void MidiControl::loadMap(const juce::XmlElement& element)
{
    setLearnMode(false);
    // Read aside and swapped in at once: the audio thread never sees a half-loaded map.
    const Map loaded = isCompatibleMap(element) ? readMap(element) : Map{};
    const juce::ScopedLock locked(lock);
    map = loaded;
    assignedCount = countAssigned(map);
    post(mapChangedPending);
}

std::unique_ptr<juce::XmlElement> MidiControl::createMapXml() const
{
    Map snapshot{};
    {
        const juce::ScopedLock locked(lock);
        snapshot = map;
    }
    auto xml = std::make_unique<juce::XmlElement>(mapTag);
    xml->setAttribute("name", getApplicationName());
    for (int c = 0; c < numControllers; ++c)
        if (auto* parameter = snapshot[static_cast<size_t>(c)])
        {
            auto* child = xml->createNewChildElement(assignTag);
            child->setAttribute("CC", c);
            child->setAttribute("param", parameter->getName());
        }
    return xml;
}

bool MidiControl::loadMapFile(const juce::File& file)
{
    if (!file.existsAsFile())
        return false;
    auto xml = XmlFile::read(file);
    if (xml == nullptr)
        return false;
    loadMap(*xml);
    return true;
}

bool MidiControl::saveMapFile(const juce::File& file) const
{
    return XmlFile::writeAtomically(*createMapXml(), file);
}

juce::String MidiControl::getMapFileExtension(const juce::String& productCode)
{
    return "." + productCode.toLowerCase() + "ccmap";
}

juce::String MidiControl::getMapFileWildcard(const juce::String& productCode)
{
    return "*" + getMapFileExtension(productCode) + ";*." + productCode.toLowerCase() + "c";
}

bool MidiControl::loadUserMap()
{
    if (!useUserMap || !juce::File::isAbsolutePath(userMapFile))
        return false;
    return loadMapFile(juce::File(userMapFile));
}

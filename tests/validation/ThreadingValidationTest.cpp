// The plug-in under the threads a host runs at once: automation written from another thread
// between small blocks, the editor opened and closed while audio runs, many instances coming
// and going in one process.
#include "ValidationSupport.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

using namespace validation;
using kolvrane::vsthost::VstPlugin;

namespace
{
// Randomises parameters from its own thread until stopped, as a host's automation or GUI thread.
class AutomationThread
{
public:
    explicit AutomationThread(VstPlugin& plugin)
        : thread(
              [this, &plugin]
              {
                  std::minstd_rand random(42);
                  std::uniform_real_distribution<float> value(0.0f, 1.0f);
                  while (!stop.load())
                  {
                      plugin.setParameter(static_cast<int32_t>(random() % hostParameterCount), value(random));
                      ++writes;
                      if (writes % 16 == 0)
                          std::this_thread::yield();
                  }
              })
    {
    }
    ~AutomationThread()
    {
        stop = true;
        thread.join();
    }
    long count() const { return writes.load(); }

private:
    std::atomic<bool> stop{false};
    std::atomic<long> writes{0};
    std::thread thread;
};

// Processes noise in 32-sample blocks on its own thread until stopped.
class AudioThread
{
public:
    explicit AudioThread(VstPlugin& plugin)
        : driver(plugin, 32), thread(
                                  [this]
                                  {
                                      while (!stop.load())
                                      {
                                          driver.processNoise(32);
                                          ++blocks;
                                      }
                                  })
    {
    }
    ~AudioThread() { finish(); }
    void finish()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
    long blockCount() const { return blocks.load(); }
    const AudioDriver& audio() const { return driver; }

private:
    AudioDriver driver;
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};
    std::thread thread;
};

void waitForBlocks(const AudioThread& audio, long blocks)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (audio.blockCount() < blocks && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
} // namespace

TEST(ThreadingValidation, ConcurrentAutomationBetweenSubBlocks)
{
    for (int quality : {0, 1, 2, 3})
    {
        SCOPED_TRACE(qualityName(quality));
        auto plugin = loadPlugin(48000.0f, 32);
        plugin->setChunk(qualityChunk(quality));
        plugin->suspend();
        plugin->resume();

        AudioThread audio(*plugin);
        {
            AutomationThread automation(*plugin);
            waitForBlocks(audio, 6000); // four seconds of audio
            EXPECT_GT(automation.count(), 0);
        }
        audio.finish();
        EXPECT_EQ(audio.audio().faults().invalid, 0) << "first " << audio.audio().faults().firstInvalid;
        EXPECT_EQ(audio.audio().faults().subnormal, 0);
        EXPECT_EQ(audio.audio().allocations(), 0);
        ++tally().cases;
    }
}

namespace
{
// A top-level X window standing in for the host's editor frame.
class HostWindow
{
public:
    HostWindow()
    {
        XInitThreads();
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            return;
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 600, 0,
                                     BlackPixel(display, screen), BlackPixel(display, screen));
        XMapWindow(display, window);
        XFlush(display);
    }
    ~HostWindow()
    {
        if (display == nullptr)
            return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    bool available() const { return display != nullptr; }
    void* handle() const { return reinterpret_cast<void*>(window); }

private:
    Display* display = nullptr;
    Window window = 0;
};
} // namespace

TEST(ThreadingValidation, ConcurrentEditorOpenCloseWhileAudioRuns)
{
    HostWindow frame;
    if (!frame.available())
        GTEST_SKIP() << "no X display (run under xvfb-run)";

    auto plugin = loadPlugin(44100.0f, 32);
    AudioThread audio(*plugin);
    AutomationThread automation(*plugin);
    for (int opening = 0; opening < 25; ++opening)
    {
        void* rect = nullptr;
        plugin->dispatch(Vst2::effEditGetRect, 0, 0, &rect);
        ASSERT_NE(rect, nullptr);
        ASSERT_EQ(plugin->dispatch(Vst2::effEditOpen, 0, 0, frame.handle()), 1);
        ++tally().editorOpenings;
        for (int idle = 0; idle < 5; ++idle)
        {
            plugin->dispatch(Vst2::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
        }
        plugin->dispatch(Vst2::effEditClose);
    }
    audio.finish();
    EXPECT_GT(audio.blockCount(), 0);
    EXPECT_EQ(audio.audio().faults().invalid, 0) << "first " << audio.audio().faults().firstInvalid;
    EXPECT_EQ(audio.audio().allocations(), 0);
    ++tally().cases;
}

TEST(ThreadingValidation, ManyInstancesComeAndGoInOneProcess)
{
    std::minstd_rand random(3);
    for (int round = 0; round < 3; ++round)
    {
        std::vector<std::unique_ptr<VstPlugin>> instances;
        for (int i = 0; i < 24; ++i)
        {
            instances.push_back(loadPlugin(44100.0f, 256));
            randomiseParameters(*instances.back(), random);
            AudioDriver audio(*instances.back(), 256, static_cast<uint32_t>(i + 1));
            for (int block = 0; block < 4; ++block)
                audio.processNoise(256);
            EXPECT_EQ(audio.allocations(), 0);
        }
        // Each keeps its own values whatever else comes and goes.
        std::vector<float> expected;
        for (const auto& instance : instances)
            expected.push_back(instance->getParameter(1));
        std::vector<size_t> order(instances.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        for (size_t k = 0; k < order.size(); ++k)
        {
            instances[order[k]].reset();
            for (size_t i = 0; i < instances.size(); ++i)
            {
                if (instances[i])
                {
                    ASSERT_EQ(instances[i]->getParameter(1), expected[i]);
                }
            }
        }
    }

    // The last instance to go wrote the user settings file, whole.
    std::ifstream file(pluginFolder() + "/Kolvrane.ini");
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    const std::string settings = text.str();
    EXPECT_NE(settings.find("<UserSettings"), std::string::npos);
    EXPECT_NE(settings.find("</UserSettings>"), std::string::npos);
    ++tally().cases;
}

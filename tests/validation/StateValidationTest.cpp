// Host state as a project save and reload exercises it: a chunk taken, every parameter moved,
// the chunk given back and taken again must be the same document.
#include "ValidationSupport.h"

#include "../framework/AllocationCounter.h"

#include <gtest/gtest.h>

using namespace validation;
using kolvrane::vsthost::ChunkKind;

TEST(StateValidation, ChunkSurvivesRandomisationAndComesBackIdentical)
{
    std::minstd_rand random(11);
    for (ChunkKind kind : {ChunkKind::bank, ChunkKind::program})
        for (int trial = 0; trial < 20; ++trial)
        {
            SCOPED_TRACE(trial);
            auto plugin = loadPlugin(44100.0f, 512);
            randomiseParameters(*plugin, random);
            std::vector<float> saved;
            for (int32_t h = 0; h < hostParameterCount; ++h)
                saved.push_back(plugin->getParameter(h));
            const auto chunk = plugin->getChunk(kind);
            ASSERT_FALSE(chunk.empty());

            randomiseParameters(*plugin, random);
            plugin->setChunk(chunk, kind);
            EXPECT_EQ(plugin->getChunk(kind), chunk);
            // Both carry the parameters as they were: the whole state exactly, the current preset
            // as the user heard it, in the preset format's six decimal places.
            for (int32_t h = 0; h < hostParameterCount; ++h)
                if (kind == ChunkKind::bank)
                    EXPECT_EQ(plugin->getParameter(h), saved[static_cast<size_t>(h)]) << h;
                else
                    EXPECT_NEAR(plugin->getParameter(h), saved[static_cast<size_t>(h)], 1e-6) << h;

            // A second instance, as at a project reload, gives the same document back.
            auto reloaded = loadPlugin(48000.0f, 256);
            reloaded->setChunk(chunk, kind);
            EXPECT_EQ(reloaded->getChunk(kind), chunk);
            ++tally().cases;
        }
}

// The allocation figures of this suite mean something only if the plug-in's own allocations reach
// the counting allocator: taking a chunk certainly allocates inside the plug-in.
TEST(StateValidation, AllocationsInsideThePluginAreCounted)
{
    if (!AllocationCounter::countsEveryAllocation())
        GTEST_SKIP() << "the sanitizer's runtime owns the allocator";
    auto plugin = loadPlugin(44100.0f, 512);
    void* data = nullptr;
    long allocations = 0;
    {
        AllocationCounter counter;
        plugin->dispatch(Vst2::effGetChunk, 0, 0, &data);
        allocations = counter.count();
    }
    EXPECT_NE(data, nullptr);
    EXPECT_GT(allocations, 0);
}

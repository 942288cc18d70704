// Runs the validation suite and reports what it covered, for the CI log.
#include "ValidationSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{
class TallyReport : public ::testing::Environment
{
public:
    void TearDown() override
    {
        const auto& t = validation::tally();
        const auto* unit = ::testing::UnitTest::GetInstance();
        char line[512];
        std::snprintf(
            line, sizeof line,
            "validation: %d tests (%d failed), %ld cases, %ld instances, %.1f M samples processed, "
            "%ld audio-thread allocations, %ld invalid and %ld subnormal output samples, output peak %.1f, "
            "%ld editor openings",
            unit->test_to_run_count(), unit->failed_test_count(), t.cases.load(), t.instances.load(),
            static_cast<double>(t.samplesProcessed.load()) / 1e6, t.audioThreadAllocations.load(),
            t.invalidSamples.load(), t.subnormalSamples.load(), static_cast<double>(t.peakOutput.load()),
            t.editorOpenings.load());
        std::printf("%s\n", line);
        if (const char* summary = std::getenv("KOLVRANE_CI_SUMMARY"))
            std::ofstream(summary, std::ios::app) << line << '\n';
    }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TallyReport);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(validation::pluginFolder(), ignored);
    return result;
}

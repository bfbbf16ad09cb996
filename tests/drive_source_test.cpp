#include "app/core/drive_source.h"

#include <gtest/gtest.h>

#include "device/sim/simulated_platform.h"
#include "support/scratch_directory.h"

namespace korvalend {
namespace {

TEST(DriveSource, DemoAndReplayFilesGiveSimulatedDrivesInVirtualTime) {
    testing::ScratchDirectory dir;
    testing::WriteBytes(dir / "one.cap", "korvalend-capture 1\n");
    const DriveSourceResult opened = OpenDriveSource(std::string("dvd+r"), {(dir / "one.cap")});
    ASSERT_TRUE(opened.source) << opened.error;
    EXPECT_TRUE(opened.source->simulated);
    EXPECT_EQ(opened.source->clock, opened.source->virtualClock.get());
    auto* platform = dynamic_cast<SimulatedPlatform*>(opened.source->platform.get());
    ASSERT_NE(platform, nullptr);
    EXPECT_EQ(platform->DriveTotal(), 2u);
}

TEST(DriveSource, BadInputIsAnError) {
    testing::ScratchDirectory dir;
    testing::WriteBytes(dir / "bad.cap", "korvalend-capture 1\ncommand 00 00 none 0\n");
    struct Case {
        std::optional<std::string> demo;
        std::vector<std::string> files;
        std::string error;
    };
    const Case cases[] = {
        {std::string("nonsense"), {}, "unknown demo 'nonsense'"},
        {std::nullopt, {(dir / "missing.cap").string()}, "cannot open"},
        {std::nullopt, {(dir / "bad.cap").string()}, "bad.cap:2:"},
    };
    for (const Case& c : cases) {
        const DriveSourceResult opened = OpenDriveSource(c.demo, c.files);
        EXPECT_EQ(opened.source, nullptr);
        EXPECT_NE(opened.error.find(c.error), std::string::npos) << opened.error;
    }
}

}  // namespace
}  // namespace korvalend

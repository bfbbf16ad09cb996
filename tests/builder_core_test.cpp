#include "builder/builder_core.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "builder/configuration_block.h"
#include "support/block_image.h"
#include "support/scratch_directory.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr std::size_t kBefore = 1000;

class BuildTest : public ::testing::Test {
  protected:
    BuildTest() {
        const auto image = testing::ImageWithBlock(kBefore, 4000);
        prototypeBytes_.assign(image.begin(), image.end());
        WriteBytes(Prototype(), prototypeBytes_);
        fs::permissions(Prototype(), fs::perms(0750));
        fs::create_directory(dir_ / "out");
    }

    fs::path Prototype() const { return dir_ / "prototype.bin"; }
    fs::path Output() const { return dir_ / "out" / "Korvalend.Exe"; }
    std::string WriteParameters(const std::string& name, const std::string& text) const {
        WriteBytes(dir_ / name, text);
        return (dir_ / name).string();
    }
    BuildOutcome Build(const std::string& parameterPath) const {
        return BuildFromParameterFile(parameterPath, Prototype().string(), Output().string());
    }
    std::string_view OutputField(const std::string& output, BlockField f) const {
        return FieldText(
            std::span(reinterpret_cast<const std::uint8_t*>(output.data()), output.size())
                .subspan(kBefore + f.offset, f.width));
    }

    testing::ScratchDirectory dir_;
    std::string prototypeBytes_;
};

TEST_F(BuildTest, WritesCopyWithParametersAndReportsSuccess) {
    const auto outcome = Build(WriteParameters("p.txt", "[PROPERTY]\nNAME=Built\n"));
    EXPECT_EQ(outcome.status, BuildStatus::Created);
    EXPECT_EQ(outcome.message, "File created successfully !");
    EXPECT_EQ(CaptionText(outcome.caption), "Information");
    const std::string output = ReadBytes(Output());
    ASSERT_EQ(output.size(), prototypeBytes_.size());
    EXPECT_EQ(OutputField(output, block_field::kName), "Built");
    EXPECT_EQ(ReadBytes(Prototype()), prototypeBytes_) << "the prototype is never changed";
    EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"out", "p.txt", "prototype.bin"}));
}

TEST_F(BuildTest, OutputKeepsPrototypePermissions) {
    ASSERT_TRUE(Build(WriteParameters("p.txt", "")).Succeeded());
    EXPECT_EQ(fs::status(Output()).permissions(), fs::perms(0750));
}

TEST_F(BuildTest, PathIsTrimmedAndMustNameAFile) {
    const std::string path = WriteParameters("p.txt", "");
    EXPECT_TRUE(Build("  " + path + " \t").Succeeded());

    for (const char* empty : {"", "   ", "\t\r\n"}) {
        const auto outcome = Build(empty);
        EXPECT_EQ(outcome.status, BuildStatus::NoFileSelected);
        EXPECT_EQ(outcome.message, "No file selected !");
        EXPECT_EQ(CaptionText(outcome.caption), "Error");
    }
    for (const std::string& missing : {(dir_ / "none.txt").string(), dir_.path().string()}) {
        const auto outcome = Build(missing);
        EXPECT_EQ(outcome.status, BuildStatus::FileNotFound);
        EXPECT_EQ(outcome.message, "File not exists !");
        EXPECT_EQ(CaptionText(outcome.caption), "Error");
    }
}

TEST_F(BuildTest, UnreadablePrototype) {
    const auto outcome = BuildFromParameterFile(
        WriteParameters("p.txt", ""), (dir_ / "no-such-prototype").string(), Output().string());
    EXPECT_EQ(outcome.status, BuildStatus::PrototypeUnreadable);
    EXPECT_EQ(outcome.message, "Load prototype failed !");
    EXPECT_FALSE(fs::exists(Output()));
}

TEST_F(BuildTest, UnreadableParameterFileWritesNothing) {
    if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
    const std::string path = WriteParameters("p.txt", "[PROPERTY]\nNAME=x\n");
    fs::permissions(path, fs::perms::none);
    const auto outcome = Build(path);
    EXPECT_EQ(outcome.status, BuildStatus::ParameterFileUnreadable);
    EXPECT_EQ(CaptionText(outcome.caption), "Error");
    EXPECT_FALSE(fs::exists(Output()));
}

TEST_F(BuildTest, PrototypeWithoutMarkerWritesNothingAnywhere) {
    WriteBytes(Prototype(), std::string(100000, '\x90'));
    const auto outcome = Build(WriteParameters("p.txt", "[PROPERTY]\nNAME=x\n"));
    EXPECT_EQ(outcome.status, BuildStatus::BlockNotFound);
    EXPECT_EQ(CaptionText(outcome.caption), "Error");
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_TRUE(dir_.Entries() == (std::vector<std::string>{"out", "p.txt", "prototype.bin"}));
    EXPECT_TRUE(fs::is_empty(dir_ / "out"));
}

TEST_F(BuildTest, BadHexadecimalPairWritesNothingAndKeepsEarlierOutput) {
    WriteBytes(Output(), "earlier output");
    const auto outcome = Build(WriteParameters("p.txt", "[DVD]\nG00000000000000000000000=x\n"));
    EXPECT_EQ(outcome.status, BuildStatus::ConversionError);
    EXPECT_EQ(outcome.message, "'0xG0' is not a valid integer value");
    EXPECT_EQ(CaptionText(outcome.caption), "Error");
    EXPECT_EQ(ReadBytes(Output()), "earlier output");
    // The next build works again.
    EXPECT_TRUE(Build(WriteParameters("q.txt", "")).Succeeded());
}

TEST_F(BuildTest, OutputThatCannotBeCreatedIsReportedAsFailure) {
    const std::string parameters = WriteParameters("p.txt", "");
    // The output's name is taken by a directory; the rename onto it fails.
    fs::create_directory(Output());
    auto outcome = Build(parameters);
    EXPECT_EQ(outcome.status, BuildStatus::OutputNotWritable);
    EXPECT_NE(outcome.message, "File created successfully !");
    EXPECT_EQ(CaptionText(outcome.caption), "Error");
    EXPECT_FALSE(outcome.detail.empty());
    EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"out", "p.txt", "prototype.bin"}));
    EXPECT_TRUE(fs::is_empty(Output())) << "no temporary file left behind";

    outcome = BuildFromParameterFile(parameters, Prototype().string(),
                                     (dir_ / "missing-dir" / "Korvalend.Exe").string());
    EXPECT_EQ(outcome.status, BuildStatus::OutputNotWritable);
}

TEST_F(BuildTest, WriteFailingPartWayKeepsEarlierOutput) {
    // A limit on file size makes the write fail part-way, as a full disk does.
    WriteBytes(Output(), "earlier output");
    const std::string parameters = WriteParameters("p.txt", "[PROPERTY]\nNAME=x\n");
    BuildOutcome outcome;
    {
        testing::FileSizeLimit limit(20000);
        outcome = Build(parameters);
    }
    EXPECT_EQ(outcome.status, BuildStatus::OutputNotWritable);
    EXPECT_EQ(ReadBytes(Output()), "earlier output");
    EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"out", "p.txt", "prototype.bin"}));
    std::vector<std::string> outEntries;
    for (const auto& e : fs::directory_iterator(dir_ / "out"))
        outEntries.push_back(e.path().filename());
    EXPECT_EQ(outEntries, std::vector<std::string>{"Korvalend.Exe"});
}

TEST_F(BuildTest, EachBuildReflectsOnlyItsOwnFile) {
    ASSERT_TRUE(Build(WriteParameters("a.txt", "[PROPERTY]\nNAME=first\n[STEP1]\nSTEP1=one\n"))
                    .Succeeded());
    const std::string first = ReadBytes(Output());
    ASSERT_TRUE(Build(WriteParameters("b.txt", "[PROPERTY]\nMODEL=second\n")).Succeeded());
    const std::string second = ReadBytes(Output());
    EXPECT_EQ(OutputField(first, block_field::kName), "first");
    EXPECT_EQ(OutputField(second, block_field::kModel), "second");
    EXPECT_EQ(OutputField(second, block_field::kName), "Korvalend Media Check");
    EXPECT_EQ(OutputField(second, block_field::kStep1), "Select a target CD-RW/COMBO/DVD Writer");
}

TEST_F(BuildTest, OutputNameWithoutDirectoryGoesToWorkingDirectory) {
    const std::string parameters = WriteParameters("p.txt", "");
    const fs::path previous = fs::current_path();
    fs::current_path(dir_ / "out");
    const auto outcome = BuildFromParameterFile(parameters, Prototype().string(),
                                                std::string(kBuilderOutputFileName));
    fs::current_path(previous);
    EXPECT_TRUE(outcome.Succeeded()) << outcome.detail;
    EXPECT_EQ(ReadBytes(dir_ / "out" / "Korvalend.Exe").size(), prototypeBytes_.size());
}

TEST(LoadPrototype, ReadsWholeFileOrFails) {
    testing::ScratchDirectory dir;
    PrototypeImage prototype;
    EXPECT_FALSE(LoadPrototype(dir / "missing", prototype));
    EXPECT_FALSE(LoadPrototype(dir.path(), prototype));
    WriteBytes(dir / "file", std::string("ab\0cd", 5));
    fs::permissions(dir / "file", fs::perms(04755));
    ASSERT_TRUE(LoadPrototype(dir / "file", prototype));
    EXPECT_EQ(prototype.bytes, (std::vector<std::uint8_t>{'a', 'b', 0, 'c', 'd'}));
    EXPECT_EQ(prototype.permissions, fs::perms(0755)) << "set-user-ID is not copied";
}

TEST(RunningExecutablePath, NamesThisProgram) {
    const auto path = RunningExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
}

}  // namespace
}  // namespace korvalend

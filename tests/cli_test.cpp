#include <gtest/gtest.h>

#include <filesystem>

#include "support/example_reports.h"
#include "support/run_program.h"

namespace korvalend {
namespace {

using test::RunProgram;

const std::string kCli = KORVALEND_CLI_PATH;

std::string Cli(const std::string& args) {
    return "'" + kCli + "' " + args;
}

const std::string kCdRReport = test::AsOutput(test::kCdRExampleLines);
const std::string kDvdPlusRReport = test::AsOutput(test::kDvdPlusRExampleLines);

TEST(Cli, DemoReportsEqualTheExamples) {
    const auto cd = RunProgram(Cli("report --demo"));
    EXPECT_EQ(cd.exitCode, 0) << cd.err;
    EXPECT_EQ(cd.out, kCdRReport);
    const auto dvd = RunProgram(Cli("report --demo dvd+r"));
    EXPECT_EQ(dvd.exitCode, 0) << dvd.err;
    EXPECT_EQ(dvd.out, kDvdPlusRReport);
    const auto empty = RunProgram(Cli("--demo empty"));  // report is the default command
    EXPECT_EQ(empty.out,
              "        Drive Type = DVD+R/+RW\n         Disc Type = NO MEDIA             \n");
}

TEST(Cli, ListShowsTheDriveLine) {
    const auto list = RunProgram(Cli("list --demo"));
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, " 1-0-0-0 sr0  VARNOLD DVD+RW DRU-510A  1.0a\n");
}

TEST(Cli, CaptureAndReplayGiveTheSameReport) {
    const std::string dir = test::MakeTempDir();
    for (const char* demo : {"cd-r", "dvd+r", "empty", "cd-rw", "dvd-r"}) {
        SCOPED_TRACE(demo);
        const std::string file = dir + "/" + demo + ".cap";
        const auto original = RunProgram(Cli(std::string("report --demo ") + demo));
        const auto capture =
            RunProgram(Cli(std::string("capture --demo ") + demo + " --output '" + file + "'"));
        ASSERT_EQ(capture.exitCode, 0) << capture.err;
        EXPECT_EQ(capture.out, original.out);  // the report, while recording
        const auto replay = RunProgram(Cli("report --replay '" + file + "'"));
        EXPECT_EQ(replay.exitCode, 0) << replay.err;
        EXPECT_EQ(replay.out, original.out);
        // Capturing to standard output puts the report on standard error.
        const auto toStdout = RunProgram(Cli(std::string("capture --demo ") + demo));
        EXPECT_EQ(toStdout.out, test::ReadFile(file));
    }
    std::filesystem::remove_all(dir);
}

TEST(Cli, JsonIsValid) {
    for (const char* args : {"report --json --demo", "report --json --demo dvd+r",
                             "report --json --demo empty", "list --json --demo", "about --json",
                             "lookup --json cd 972666 795974", "list --all --json --demo dvd-r"}) {
        SCOPED_TRACE(args);
        const auto result = RunProgram(Cli(args));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(test::IsValidJson(result.out)) << result.out;
    }
    const auto report = RunProgram(Cli("report --json --demo"));
    EXPECT_NE(report.out.find("\"maker\": \"CMC Magnetics Corporation\""), std::string::npos);
    EXPECT_NE(report.out.find("\"leadIn\": 972666"), std::string::npos);
}

TEST(Cli, TraceWritesEveryCommandToStandardError) {
    const auto result = RunProgram(Cli("report --demo --trace"));
    EXPECT_EQ(result.out, kCdRReport);
    EXPECT_NE(result.err.find(
                  "trace: /dev/sr0: 12 00 00 00 60 00 00 00 00 00 00 00  in 96 -> ok, 96 bytes"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("-> sense 053002 CANNOT READ MEDIUM - INCOMPATIBLE FORMAT"),
              std::string::npos);
}

TEST(Cli, ErrorsHaveMessagesAndExitCodes) {
    const std::string dir = test::MakeTempDir();
    test::WriteFile(dir + "/bad.cap", "korvalend-capture 1\ncommand 00 00 none 0\n");
    test::WriteFile(dir + "/gone.cap", "korvalend-capture 1\naddress none\n");
    test::WriteFile(dir + "/denied.cap", "korvalend-capture 1\nopen denied\n");
    test::WriteFile(dir + "/badhex.txt",
                    "[DVD]\n5249434F484A504E52303100=Fine\nZZ49434F484A504E52303100=Bad\n");
    test::WriteFile(dir + "/reader.cap",
                    "korvalend-capture 1\ncommand 00 00 00 00 00 00 00 00 00 00 00 00 none 0\n");
    struct Case {
        std::string args;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {"--frobnicate", 2, "korvalend-cli: unknown option '--frobnicate'"},
        {"explode", 2, "korvalend-cli: unknown command 'explode'"},
        {"report --demo nonsense", 2, "unexpected word 'nonsense'"},
        {"--demo=nonsense", 2, "unknown demo 'nonsense'"},
        {"report --drive", 2, "--drive needs a list line number or a device path"},
        {"report --replay", 2, "--replay needs at least one capture file"},
        {"report --replay '" + dir + "/missing.cap'", 3, dir + "/missing.cap: cannot open"},
        {"report --replay '" + dir + "/bad.cap'", 3,
         dir + "/bad.cap:2: expected 12 command bytes, found 2"},
        {"report --replay '" + dir + "/gone.cap'", 1, "korvalend-cli: No drive detected !"},
        {"report --replay '" + dir + "/denied.cap'", 1,
         "No permission to open /dev/sr0: membership of the drive's group is needed"},
        {"report --replay '" + dir + "/reader.cap'", 1, "No CD or DVD writer found."},
        {"report --demo --drive 3", 2, "there is no drive 3 in the list"},
        {"report --demo --drive /dev/sr9", 1, "no usable optical drive at /dev/sr9"},
        {"lookup cd 97:26 0", 2, "ATIP times are written 972666 or 97:26:66"},
        {"lookup dvd+ XYZ", 2, "a DVD identifier is up to 12 bytes"},
        {"lookup tape", 2, "lookup takes"},
        {"build", 2, "build takes one parameter file"},
        {"build '" + dir + "/badhex.txt' --output '" + dir + "/out.exe'", 3,
         "korvalend-cli: Error: " + dir + "/badhex.txt:3: '0xZZ' is not a valid integer value"},
        {"build '" + dir + "/none.txt' --output '" + dir + "/out.exe'", 3, "File not exists !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const auto result = RunProgram(Cli(c.args));
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("terminate"), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

TEST(Cli, ChoosingDrives) {
    const auto byPath = RunProgram(Cli("report --demo dvd+r --drive /dev/sr0"));
    EXPECT_EQ(byPath.out, kDvdPlusRReport);
    const auto byLine = RunProgram(Cli("report --demo dvd+r --drive 0"));
    EXPECT_EQ(byLine.out, kDvdPlusRReport);
}

TEST(Cli, LookupAndAbout) {
    const auto cd = RunProgram(Cli("lookup cd 97:26:66 79:59:74"));
    EXPECT_EQ(cd.out, "Manufacturer Maybe = CMC Magnetics Corporation\n");
    const auto plus = RunProgram(Cli("lookup dvd+ 5249434F 484A504E 523031"));
    EXPECT_EQ(plus.out, "Manufacturer Maybe = Ricoh Company Limited\n");
    const auto minus = RunProgram(Cli("lookup dvd- 4D4158454C4C"));
    EXPECT_EQ(minus.out, "Manufacturer Maybe = Maxell\n");
    const auto unknown = RunProgram(Cli("lookup dvd+ 414243"));
    EXPECT_EQ(unknown.exitCode, 1);
    const auto about = RunProgram(Cli("about"));
    EXPECT_EQ(about.out.rfind("Korvalend Media Check v3.1.4\nRelease Date : 2003/09/28\n"
                              "     Version : 3.1.4\n",
                              0),
              0u)
        << about.out;
}

}  // namespace
}  // namespace korvalend

namespace korvalend {
namespace {

TEST(Cli, BuildWritesACopyThatShowsItsNewTexts) {
    const std::string dir = test::MakeTempDir();
    test::WriteFile(dir + "/params.txt",
                    "[PROPERTY]\nNAME=Rebuilt Check\nMAJOR=4\nDATE=2026/12/11\n"
                    "[REMARK]\nREMARK=First line\nREMARK=Second line\n"
                    "[CD]\n972666_795974=Built-in Label\n");
    const auto build =
        RunProgram(Cli("build '" + dir + "/params.txt' --output '" + dir + "/copy'"));
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_EQ(build.out, "Information: File created successfully !\n");
    const auto about = RunProgram("'" + dir + "/copy' about");
    EXPECT_EQ(about.exitCode, 0) << about.err;
    EXPECT_EQ(about.out.rfind("Rebuilt Check v4.1.4\nRelease Date : 2026/12/11\n", 0), 0u)
        << about.out;
    EXPECT_NE(about.out.find("Remarks : \nFirst line\nSecond line\n"), std::string::npos);
    // The embedded media table of the copy names the demo disc before the maker tables do.
    const auto report = RunProgram("'" + dir + "/copy' report --demo");
    EXPECT_NE(report.out.find("Manufacturer Maybe = Built-in Label\n"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(Cli, UserFileAddAndRemove) {
    const std::string dir = test::MakeTempDir();
    test::WriteFile(dir + "/media.txt", "[CD]\n972666_795974=Added Label\n[DVD]\n");
    const std::string env = "XDG_CONFIG_HOME='" + dir + "/config' ";
    const auto added = RunProgram(env + Cli("user-file add '" + dir + "/media.txt'"));
    EXPECT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "User-defined file added !\n1 CD and 0 DVD records loaded\n");
    EXPECT_EQ(RunProgram(env + Cli("report --demo")).out.find("Manufacturer Maybe = Added Label"),
              std::string(kCdRReport).find("Manufacturer Maybe = "));
    const auto removed = RunProgram(env + Cli("user-file remove"));
    EXPECT_EQ(removed.out, "User-defined file removed !\n");
    EXPECT_EQ(RunProgram(env + Cli("report --demo")).out, kCdRReport);
    const auto missing = RunProgram(env + Cli("user-file add '" + dir + "/nothing.txt'"));
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("File not exists !"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(Cli, UserMediaFileFromTheSettings) {
    const std::string dir = test::MakeTempDir();
    // A maker text in Windows-1252, as an old media file would hold it.
    test::WriteFile(dir + "/media.txt", "[DVD]\n5249434F484A504E52303100=Ricoh \xC4xtra\n");
    std::filesystem::create_directories(dir + "/config/korvalend");
    test::WriteFile(dir + "/config/korvalend/settings",
                    "[Korvalend]\n\"UserDefinedFule\"=\"" + dir + "/media.txt\"\n");
    const std::string env = "XDG_CONFIG_HOME='" + dir + "/config' ";
    const auto report = RunProgram(env + Cli("report --demo dvd+r --json"));
    EXPECT_TRUE(test::IsValidJson(report.out)) << report.out;
    EXPECT_NE(report.out.find("\"maker\": \"Ricoh \xC3\x84xtra\""), std::string::npos)
        << report.out;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvalend

#include "device/linux/linux_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "device/linux/open_errors.h"
#include "support/linux_fake_tree.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;
using test_support::FakeDriveTree;
using test_support::ScratchDirectory;

constexpr std::array<std::uint8_t, kCommandBlockSize> kTestUnitReady{};

// The base directory carries a "usb1" component of its own: only the tree below the sysfs
// root may decide the bus.
class LinuxPlatformTest : public ::testing::Test {
  protected:
    LinuxPlatformTest() : scratch_("korvalend-linux"), tree_(Base()) {
        ataDevice_ =
            tree_.AddDrive("sr0", "pci0000:00/0000:00:01.1/ata2/host1/target1:0:0/1:0:0:0");
        tree_.AddGenericNode(ataDevice_, "sg1");
        tree_.AddDeviceFile("sr0");

        tree_.AddDrive("sr10",
                       "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0");
        tree_.AddDeviceFile("sr10");

        const fs::path fwDevice = tree_.AddDrive(
            "sr2", "pci0000:00/0000:00:1e.0/0000:05:00.0/fw1/fw1.0/host7/target7:1:3/7:1:3:2");
        fs::create_directories(fwDevice / "scsi_generic:sg4");  // as older kernels link it
        tree_.AddDeviceFile("sr2");

        tree_.AddDrive("sr3", "virtual/odd/unit");  // no H:C:T:L anywhere
        tree_.AddDeviceFile("sr3");

        tree_.AddDrive("sr4", "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0");
        // sr4 has no device file

        for (const char* noise : {"loop0", "sda", "sr", "srx", "sr1a", "xsr5"}) {
            fs::create_directories(tree_.Sysfs() / "block" / noise);
        }
    }

    fs::path Base() {
        const fs::path base = scratch_.Path() / "usb1";
        fs::create_directories(base);
        return base;
    }
    std::string Root(const std::string& name) const { return (tree_.Dev() / name).string(); }

    ScratchDirectory scratch_;
    FakeDriveTree tree_;
    fs::path ataDevice_;
    LinuxPlatform platform_{tree_.Sysfs(), tree_.Dev()};
};

TEST_F(LinuxPlatformTest, ListsDrivesInNumericOrder) {
    const std::vector<std::string> expected{Root("sr0"), Root("sr2"), Root("sr3"), Root("sr4"),
                                            Root("sr10")};
    EXPECT_EQ(platform_.EnumerateOpticalDrives(), expected);
}

TEST_F(LinuxPlatformTest, NoBlockDirectoryMeansNoDrives) {
    LinuxPlatform empty(scratch_.Path() / "nowhere", tree_.Dev());
    EXPECT_TRUE(empty.EnumerateOpticalDrives().empty());
}

TEST_F(LinuxPlatformTest, AddressIsHostChannelTargetLun) {
    const AddressResult fw = platform_.QueryAddress(Root("sr2"));
    ASSERT_EQ(fw.status, AddressStatus::Known);
    EXPECT_EQ(fw.address.adapter, 7);
    EXPECT_EQ(fw.address.pathId, 1);
    EXPECT_EQ(fw.address.target, 3);
    EXPECT_EQ(fw.address.lun, 2);

    const AddressResult usb = platform_.QueryAddress(Root("sr10"));
    ASSERT_EQ(usb.status, AddressStatus::Known);
    EXPECT_EQ(usb.address.adapter, 6);
    EXPECT_EQ(usb.address.pathId, 0);
    EXPECT_EQ(usb.address.target, 0);
    EXPECT_EQ(usb.address.lun, 0);
}

TEST_F(LinuxPlatformTest, OpenableDriveWithoutAddressIsRefused) {
    EXPECT_EQ(platform_.QueryAddress(Root("sr3")).status, AddressStatus::Refused);
}

TEST_F(LinuxPlatformTest, OpenableDriveMissingFromSysfsIsRefused) {
    tree_.AddDeviceFile("sr7");
    EXPECT_EQ(platform_.QueryAddress(Root("sr7")).status, AddressStatus::Refused);
}

TEST_F(LinuxPlatformTest, DriveThatCannotBeOpenedIsUnavailable) {
    EXPECT_EQ(platform_.QueryAddress(Root("sr4")).status, AddressStatus::Unavailable);
    EXPECT_EQ(platform_.QueryAddress(Root("sr99")).status, AddressStatus::Unavailable);
}

TEST_F(LinuxPlatformTest, DriveThatMayNotBeOpenedIsUnavailable) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    fs::permissions(tree_.Dev() / "sr0", fs::perms::none);
    EXPECT_EQ(platform_.QueryAddress(Root("sr0")).status, AddressStatus::Unavailable);
    const OpenResult opened = platform_.Open(Root("sr0"));
    EXPECT_EQ(opened.connection, nullptr);
    EXPECT_EQ(opened.error, OpenError::PermissionDenied);
    EXPECT_NE(opened.message.find(Root("sr0")), std::string::npos) << opened.message;
}

TEST_F(LinuxPlatformTest, BusKindComesFromTheDevicePath) {
    EXPECT_EQ(platform_.QueryBusType(Root("sr0")), kBusOther);
    EXPECT_EQ(platform_.QueryBusType(Root("sr10")), kBusUsb);
    EXPECT_EQ(platform_.QueryBusType(Root("sr2")), kBus1394);
    EXPECT_EQ(platform_.QueryBusType(Root("sr3")), kBusOther);
    EXPECT_EQ(platform_.QueryBusType(Root("sr99")), kBusOther);
}

TEST_F(LinuxPlatformTest, FindsTheGenericNode) {
    EXPECT_EQ(platform_.GenericNodeOf(Root("sr0")), Root("sg1"));
    EXPECT_EQ(platform_.GenericNodeOf(Root("sr2")), Root("sg4"));
    EXPECT_EQ(platform_.GenericNodeOf(Root("sr10")), std::nullopt);
    EXPECT_EQ(platform_.GenericNodeOf(Root("sr99")), std::nullopt);
    EXPECT_EQ(platform_.GenericNodeOf(Root("sda")), std::nullopt);
}

TEST_F(LinuxPlatformTest, OpeningAMissingDriveSaysSo) {
    const OpenResult opened = platform_.Open(Root("sr4"));
    EXPECT_EQ(opened.connection, nullptr);
    EXPECT_EQ(opened.error, OpenError::NotFound);
    EXPECT_NE(opened.message.find(Root("sr4")), std::string::npos) << opened.message;
}

TEST_F(LinuxPlatformTest, CommandToSomethingThatIsNoDriveFailsCleanly) {
    const OpenResult opened = platform_.Open(Root("sr0"));  // a plain file here
    ASSERT_NE(opened.connection, nullptr);
    EXPECT_EQ(opened.error, OpenError::None);
    const TransportResult result =
        opened.connection->Execute(kTestUnitReady, kDirectionNone, {}, 108000);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.sense, (std::array<std::uint8_t, kSenseBufferSize>{}));
    EXPECT_EQ(result.transferred, 0u);
}

struct OpenErrorCase {
    int errorNumber;
    const char* group;
    OpenError expected;
    const char* mustContain;
};

void PrintTo(const OpenErrorCase& c, std::ostream* os) {
    *os << "errno " << c.errorNumber;
}

class OpenErrorTable : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(OpenErrorTable, NamesTheDeviceAndTheReason) {
    const OpenErrorCase& c = GetParam();
    const OpenResult result = OpenFailureResult(c.errorNumber, "/dev/sr1", c.group);
    EXPECT_EQ(result.connection, nullptr);
    EXPECT_EQ(result.error, c.expected);
    EXPECT_NE(result.message.find("/dev/sr1"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(c.mustContain), std::string::npos) << result.message;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, OpenErrorTable,
    ::testing::Values(OpenErrorCase{EACCES, "cdrom", OpenError::PermissionDenied,
                                    "the group \"cdrom\""},
                      OpenErrorCase{EPERM, "cdrom", OpenError::PermissionDenied, "membership"},
                      OpenErrorCase{EACCES, "", OpenError::PermissionDenied, "the device's group"},
                      OpenErrorCase{ENOENT, "", OpenError::NotFound, "No such file or directory"},
                      OpenErrorCase{ENXIO, "", OpenError::NotFound, "not present"},
                      OpenErrorCase{ENODEV, "", OpenError::NotFound, "not present"},
                      OpenErrorCase{EBUSY, "", OpenError::Busy, "busy"},
                      OpenErrorCase{EROFS, "", OpenError::Other, "Read-only file system"},
                      OpenErrorCase{EIO, "", OpenError::Other, "Input/output error"}));

TEST(GroupNameOf, NamesTheOwningGroup) {
    ScratchDirectory scratch("korvalend-group");
    const fs::path file = scratch.Path() / "node";
    std::ofstream(file).put('x');
    EXPECT_FALSE(GroupNameOf(file.string()).empty());
    EXPECT_TRUE(GroupNameOf((scratch.Path() / "missing").string()).empty());
}

}  // namespace
}  // namespace korvalend

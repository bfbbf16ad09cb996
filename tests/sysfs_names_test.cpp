#include "device/linux/sysfs_names.h"

#include <gtest/gtest.h>

namespace korvalend {
namespace {

TEST(OpticalDriveNumber, AcceptsOnlySrFollowedByDigits) {
    EXPECT_EQ(OpticalDriveNumber("sr0"), 0u);
    EXPECT_EQ(OpticalDriveNumber("sr10"), 10u);
    for (const char* name :
         {"sr", "sra", "sr1a", "sr-1", "xsr1", "sda", "sg0", "", "sr99999999999999999999"}) {
        EXPECT_EQ(OpticalDriveNumber(name), std::nullopt) << name;
    }
}

TEST(GenericNodeNumber, AcceptsBothSysfsSpellings) {
    EXPECT_EQ(GenericNodeNumber("sg3"), 3u);
    EXPECT_EQ(GenericNodeNumber("scsi_generic:sg12"), 12u);
    EXPECT_EQ(GenericNodeNumber("scsi_generic:"), std::nullopt);
    EXPECT_EQ(GenericNodeNumber("sg"), std::nullopt);
    EXPECT_EQ(GenericNodeNumber("sr0"), std::nullopt);
}

struct AddressCase {
    const char* name;
    bool valid;
    DriveAddress address;
};

void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << '"' << c.name << '"';
}

class ScsiAddressTable : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ScsiAddressTable, Parses) {
    const AddressCase& c = GetParam();
    const auto parsed = ParseScsiAddress(c.name);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.name;
    if (!c.valid) return;
    EXPECT_EQ(parsed->adapter, c.address.adapter);
    EXPECT_EQ(parsed->pathId, c.address.pathId);
    EXPECT_EQ(parsed->target, c.address.target);
    EXPECT_EQ(parsed->lun, c.address.lun);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ScsiAddressTable,
    ::testing::Values(AddressCase{"1:0:0:0", true, {1, 0, 0, 0}},
                      AddressCase{"12:3:45:6", true, {12, 3, 45, 6}},
                      AddressCase{"32767:0:0:0", true, {32767, 0, 0, 0}},
                      AddressCase{"32768:0:0:0", false, {}}, AddressCase{"1:0:0", false, {}},
                      AddressCase{"1:0:0:0:0", false, {}}, AddressCase{"1::0:0", false, {}},
                      AddressCase{"-1:0:0:0", false, {}}, AddressCase{"a:b:c:d", false, {}},
                      AddressCase{"1:0:0:0 ", false, {}}, AddressCase{"target1:0:0", false, {}},
                      AddressCase{"", false, {}}, AddressCase{"unit", false, {}}));

TEST(BusKindOfDevicePath, ReadsTheBusFromTheAncestry) {
    EXPECT_EQ(BusKindOfDevicePath("devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/"
                                  "target6:0:0/6:0:0:0"),
              kBusUsb);
    EXPECT_EQ(BusKindOfDevicePath("devices/pci0000:00/0000:00:01.1/ata2/host1/target1:0:0/1:0:0:0"),
              kBusOther);
    EXPECT_EQ(BusKindOfDevicePath("devices/pci0000:00/0000:05:00.0/fw1/fw1.0/host7/t/7:0:0:0"),
              kBus1394);
    EXPECT_EQ(BusKindOfDevicePath("devices/pci0000:00/0000:05:00.0/fw-host0/x/host3/3:0:0:0"),
              kBus1394);
    EXPECT_EQ(BusKindOfDevicePath("devices/pci0000:00/ieee1394/host3/3:0:0:0"), kBus1394);
    EXPECT_EQ(BusKindOfDevicePath("devices/platform/firewire-ohci/host3/3:0:0:0"), kBus1394);
    // Names that merely resemble a bus.
    EXPECT_EQ(BusKindOfDevicePath("devices/usbmisc/fwx/usb/host3/3:0:0:0"), kBusOther);
    EXPECT_EQ(BusKindOfDevicePath(""), kBusOther);
}

}  // namespace
}  // namespace korvalend

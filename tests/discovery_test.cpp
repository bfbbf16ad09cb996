#include <gtest/gtest.h>

#include <string>

#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;
using test::SimMachine;
using test::WriterCapture;

DriveCapture At(DriveCapture capture, std::int16_t host, std::int16_t channel, std::int16_t target,
                std::int16_t lun) {
    capture.address = DriveAddress{host, channel, target, lun};
    return capture;
}

DriveCapture Named(const char* product, std::int16_t host, std::int16_t target = 0) {
    sim::DriveProfile profile;
    profile.product = product;
    return At(WriterCapture(profile), host, 0, target, 0);
}

std::string Product(const DriveRecord* record) {
    std::string text = record->product.data();
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST(Discovery, SortsByAddressAndKeepsEnumerationOrderOnEqualKeys) {
    SimMachine machine;
    machine.Add(Named("THIRD", 1, 1));
    machine.Add(Named("FIRST", 0, 0));
    machine.Add(Named("SECOND", 1, 0));
    machine.Add(Named("SECOND-TWIN", 1, 0));
    auto& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 4);
    EXPECT_EQ(Product(device.GetDriveRecord(0)), "FIRST");
    EXPECT_EQ(Product(device.GetDriveRecord(1)), "SECOND");
    EXPECT_EQ(Product(device.GetDriveRecord(2)), "SECOND-TWIN");
    EXPECT_EQ(Product(device.GetDriveRecord(3)), "THIRD");
    EXPECT_STREQ(device.GetDriveRecord(0)->rootPath.data(), "/dev/sr1");
}

TEST(Discovery, UnreadableAddressesAreInventedFromTwoOnward) {
    SimMachine machine;
    DriveCapture refusedA = WriterCapture();
    refusedA.addressStatus = AddressStatus::Refused;
    DriveCapture refusedB = refusedA;
    machine.Add(refusedA);
    machine.Add(Named("ON-HOST-1", 1, 3));
    machine.Add(refusedB);
    machine.Add(Named("ON-HOST-0", 0, 5));
    auto& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 4);
    EXPECT_EQ(Product(device.GetDriveRecord(0)), "ON-HOST-0");
    EXPECT_EQ(Product(device.GetDriveRecord(1)), "ON-HOST-1");
    const DriveRecord* a = device.GetDriveRecord(2);
    const DriveRecord* b = device.GetDriveRecord(3);
    EXPECT_EQ(a->adapter, 2);
    EXPECT_EQ(b->adapter, 3);
    EXPECT_STREQ(a->rootPath.data(), "/dev/sr0");
    EXPECT_STREQ(b->rootPath.data(), "/dev/sr2");
    for (const DriveRecord* r : {a, b}) {
        EXPECT_EQ(r->pathId, 0);
        EXPECT_EQ(r->target, 0);
        EXPECT_EQ(r->lun, 0);
    }
}

TEST(Discovery, DrivesThatCannotBeOpenedLeaveNoEntryAndNothingHangs) {
    SimMachine machine;
    DriveCapture denied = WriterCapture();
    denied.openError = OpenError::PermissionDenied;
    DriveCapture gone = WriterCapture();
    gone.addressStatus = AddressStatus::Unavailable;
    machine.Add(denied);
    machine.Add(gone);
    machine.Add(Named("USABLE", 0));
    auto& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 1);
    EXPECT_EQ(Product(device.GetDriveRecord(0)), "USABLE");
    EXPECT_EQ(machine.Drive(0).Log().size(), 0u);
}

TEST(Discovery, NoDrivesEndsAtOnce) {
    SimMachine machine;
    auto& device = machine.Start();
    EXPECT_EQ(device.DriveCount(), 0);
    EXPECT_EQ(device.GetDriveRecord(0), nullptr);
    EXPECT_EQ(machine.Clock().ElapsedSeconds(), 0.0);
}

TEST(Discovery, FillsIdentificationTypeAndBus) {
    SimMachine machine;
    DriveCapture usb = Named("DVD+RW DRU-510A", 0);
    usb.busType = kBusUsb;
    usb.exchanges.insert(usb.exchanges.begin(),
                         sim::Answer(kInquiry96, kDirectionIn, 96,
                                     sim::InquiryData("VARNOLD", "DVD+RW DRU-510A", "1.0a")));
    machine.Add(usb);
    auto& device = machine.Start();
    const DriveRecord* r = device.GetDriveRecord(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->busType, kBusUsb);
    EXPECT_EQ(std::string(r->displayName.data()), "VARNOLD DVD+RW DRU-510A ");
    EXPECT_STREQ(r->vendor.data(), "VARNOLD ");
    EXPECT_STREQ(r->revision.data(), "1.0a");
    EXPECT_EQ(r->driveType, 9);
    EXPECT_STREQ(r->driveTypeName, "DVD+R/+RW");
    EXPECT_TRUE(r->cdrWriter);
    EXPECT_FALSE(r->viaAspi);
    // Discovery sent the vendor probe, and closed the drive again.
    EXPECT_EQ(machine.Drive().CountSent(0xDF), 1u);
    EXPECT_FALSE(device.HasOpenDrive());
    EXPECT_EQ(device.CurrentIndex(), 0);
}

TEST(Discovery, TenInquiryAttemptsServeTheWholePass) {
    SimMachine machine;
    RecordedExchange silent = sim::Answer(kInquiry96, kDirectionIn, 96);
    silent.failure = true;
    machine.Add(At(WriterCapture({}, {silent}), 0, 0, 0, 0));
    machine.Add(Named("LATER", 0, 1));
    auto& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 2);
    EXPECT_EQ(machine.Drive(0).CountSent(0x12), 10u);
    EXPECT_EQ(machine.Drive(1).CountSent(0x12), 0u);
    const DriveRecord* later = device.GetDriveRecord(1);
    EXPECT_EQ(later->displayName[0], '\0');
    EXPECT_EQ(later->vendor[0], '\0');
    EXPECT_EQ(later->driveType, 9);  // still classified
}

TEST(Discovery, AllZeroIdentificationCountsAsAFailedAttempt) {
    SimMachine machine;
    machine.Add(WriterCapture(
        {}, {sim::Answer(kInquiry96, kDirectionIn, 96, std::vector<std::uint8_t>(96, 0)),
             sim::Answer(kInquiry96, kDirectionIn, 96, sim::InquiryData("SECOND", "TRY", "2"))}));
    auto& device = machine.Start();
    EXPECT_EQ(machine.Drive().CountSent(0x12), 2u);
    EXPECT_STREQ(device.GetDriveRecord(0)->vendor.data(), "SECOND  ");
}

TEST(Discovery, OnlyTheFirstSixteenDrivesAreUsed) {
    SimMachine machine;
    for (int i = 0; i < 18; ++i) {
        machine.Add(Named(("DRIVE" + std::to_string(i)).c_str(), 0, static_cast<std::int16_t>(i)));
    }
    auto& device = machine.Start();
    EXPECT_EQ(device.DriveCount(), 16);
    EXPECT_STREQ(device.GetDriveRecord(15)->rootPath.data(), "/dev/sr15");
    EXPECT_EQ(machine.Drive(16).Log().size(), 0u);
    EXPECT_EQ(machine.Drive(17).Log().size(), 0u);
    // The ten identification attempts of the pass are spent on the first ten drives.
    EXPECT_EQ(Product(device.GetDriveRecord(9)), "DRIVE9");
    EXPECT_EQ(Product(device.GetDriveRecord(10)), "");
    EXPECT_EQ(device.GetDriveRecord(15)->driveType, 9);
}

TEST(Discovery, DrivesOnHighHostNumbersStayListedInOrder) {
    SimMachine machine;
    machine.Add(Named("HOST-17", 17));
    machine.Add(Named("HOST-16-T20", 16, 20));
    machine.Add(Named("HOST-15", 15, 15));
    machine.Add(Named("HOST-16-T3", 16, 3));
    auto& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 4);
    EXPECT_EQ(Product(device.GetDriveRecord(0)), "HOST-15");
    EXPECT_EQ(Product(device.GetDriveRecord(1)), "HOST-16-T3");
    EXPECT_EQ(Product(device.GetDriveRecord(2)), "HOST-16-T20");
    EXPECT_EQ(Product(device.GetDriveRecord(3)), "HOST-17");
}

TEST(SelectDrive, OutOfRangeFailsAndChangesNothing) {
    SimMachine machine;
    machine.Add(Named("ONE", 0));
    auto& device = machine.Start();
    ASSERT_TRUE(device.SelectDrive(0));
    machine.Drive().ClearLog();
    EXPECT_FALSE(device.SelectDrive(-1));
    EXPECT_FALSE(device.SelectDrive(16));
    EXPECT_FALSE(device.SelectDrive(1));  // not a valid entry
    EXPECT_EQ(device.CurrentIndex(), 0);
    EXPECT_TRUE(device.HasOpenDrive());
    EXPECT_TRUE(machine.Drive().Log().empty());
}

TEST(SelectDrive, ADriveThatNoLongerOpensLeavesNoCurrentDrive) {
    SimMachine machine;
    machine.Add(Named("ONE", 0));
    machine.Add(Named("TWO", 0, 1));
    auto& device = machine.Start();
    ASSERT_TRUE(device.SelectDrive(0));
    machine.Drive(1).SetOpenError(OpenError::PermissionDenied);
    EXPECT_FALSE(device.SelectDrive(1));
    EXPECT_EQ(device.CurrentIndex(), -1);
    EXPECT_FALSE(device.HasOpenDrive());
    EXPECT_EQ(device.LastOpenFailure().error, OpenError::PermissionDenied);
    EXPECT_EQ(device.LastOpenFailure().root, "/dev/sr1");
    EXPECT_FALSE(device.TestUnitReady());
}

}  // namespace
}  // namespace korvalend

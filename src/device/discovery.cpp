#include <algorithm>
#include <cstring>
#include <tuple>

#include "device/atapi_device.h"

namespace korvalend {
namespace {

constexpr int kIdentifyAttempts = 10;
constexpr std::int32_t kDiscoveryWaitSeconds = 10;

template <std::size_t N>
void CopyText(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

// Orders by adapter, then path, then target, then LUN. For numbers 0 to 15 this is the order
// of adapter * 4096 + path * 256 + target * 16 + LUN; compared field by field, a drive on a
// higher SCSI host (Linux numbers hosts upward each time a USB drive is attached) keeps its
// place in the list instead of falling out of it.
bool SortsBefore(const DriveRecord& a, const DriveRecord& b) {
    return std::tie(a.adapter, a.pathId, a.target, a.lun) <
           std::tie(b.adapter, b.pathId, b.target, b.lun);
}

}  // namespace

void AtapiDevice::DiscoverDrives() {
    drives_.fill(DriveRecord{});
    driveCount_ = 0;
    if (osInfo_.IsNT()) EnumeratePassThroughDrives();

    // Transport choice: only one transport exists here, so this settles on pass-through; the
    // rule is kept so that a platform with a manager library behaves the same.
    if (applicationTag_ != kApplicationTag && osInfo_.IsNT()) {
        useAspi_ = false;
    } else if (aspiPresent_) {
        for (const DriveRecord& d : drives_) {
            if (d.valid && (d.busType == kBus1394 || d.busType == kBusUsb)) {
                useAspi_ = false;
                break;
            }
        }
    }
    for (DriveRecord& d : drives_) {
        if (d.valid) d.viaAspi = useAspi_;
    }
    SortDrives();

    // One budget of INQUIRY attempts serves the whole pass, not each drive.
    int attempts = 0;
    for (unsigned i = 0; i < kMaxDrives && drives_[i].valid; ++i) {
        SelectDrive(static_cast<std::int16_t>(i));
        WaitUnitReady(kDiscoveryWaitSeconds);
        while (attempts < kIdentifyAttempts) {
            ++attempts;
            if (IdentifyDrive()) {
                DriveRecord& d = drives_[i];
                d.displayName.fill('\0');
                d.vendor = vendor_;
                d.product = product_;
                d.revision = revision_;
                d.vendorSpecific = vendorSpecific_;
                std::copy_n(vendor_.begin(), 8, d.displayName.begin());
                std::copy_n(product_.begin(), 16, d.displayName.begin() + 8);
                break;
            }
        }
        VendorProbe();
        drives_[i].cdrWriter = CanWriteCdR();
        StoreDriveType(i);
        CloseDrive();
    }
}

void AtapiDevice::EnumeratePassThroughDrives() {
    const std::vector<std::string> roots = platform_->EnumerateOpticalDrives();
    std::size_t slot = 0;
    std::int16_t invented = 0;
    for (const std::string& root : roots) {
        if (slot >= kMaxDrives) break;
        DriveRecord& d = drives_[slot++];  // every optical drive takes a slot, valid or not
        CopyText(d.rootPath, root);
        d.viaAspi = false;
        const bool rootFits = root.size() < d.rootPath.size();
        const AddressResult address = rootFits ? platform_->QueryAddress(root) : AddressResult{};
        if (address.status != AddressStatus::Unavailable) {
            d.valid = true;
            if (address.status == AddressStatus::Refused) {
                d.adapter = static_cast<std::int16_t>(2 + invented++);
                d.target = 0;
                d.lun = 0;
                d.pathId = 0;
            } else {
                d.adapter = address.address.adapter;
                d.target = address.address.target;
                d.lun = address.address.lun;
                d.pathId = address.address.pathId;
            }
        }
        d.busType = rootFits ? platform_->QueryBusType(root) : kBusOther;
    }
}

void AtapiDevice::SortDrives() {
    std::array<DriveRecord, kMaxDrives> sorted{};
    std::array<bool, kMaxDrives> taken{};
    std::size_t count = 0;
    for (std::size_t round = 0; round < kMaxDrives; ++round) {
        int best = -1;
        for (std::size_t i = 0; i < kMaxDrives; ++i) {
            if (!drives_[i].valid || taken[i]) continue;
            // Strict: on equal addresses the lower index wins.
            if (best < 0 || SortsBefore(drives_[i], drives_[static_cast<std::size_t>(best)])) {
                best = static_cast<int>(i);
            }
        }
        if (best < 0) break;
        taken[static_cast<std::size_t>(best)] = true;
        sorted[count++] = drives_[static_cast<std::size_t>(best)];
    }
    drives_ = sorted;
    driveCount_ = static_cast<std::uint16_t>(count);
}

bool AtapiDevice::IdentifyDrive() {
    vendor_.fill('\0');
    product_.fill('\0');
    revision_.fill('\0');
    vendorSpecific_.fill('\0');
    if (!Inquiry(0, 0, 0x00, 96, 0)) return false;
    const auto answer = DataInBuffer();
    std::copy_n(answer.begin() + 8, 8, vendor_.begin());
    std::copy_n(answer.begin() + 16, 16, product_.begin());
    std::copy_n(answer.begin() + 32, 4, revision_.begin());
    std::copy_n(answer.begin() + 36, 16, vendorSpecific_.begin());
    return std::any_of(answer.begin() + 8, answer.begin() + 32,
                       [](std::uint8_t b) { return b != 0; });
}

bool AtapiDevice::SelectDrive(std::int16_t index) {
    if (index < 0 || index >= static_cast<std::int16_t>(kMaxDrives)) return false;
    const DriveRecord& d = drives_[static_cast<std::size_t>(index)];
    if (!d.valid) return false;
    if (connection_) CloseDrive();
    useAspi_ = d.viaAspi;
    currentIndex_ = index;
    adapter_ = d.adapter;
    target_ = d.target;
    lun_ = d.lun;
    pathId_ = d.pathId;
    vendor_ = d.vendor;
    product_ = d.product;
    revision_ = d.revision;
    vendorSpecific_ = d.vendorSpecific;
    lastOpenFailure_ = OpenFailure{};
    if (osInfo_.IsNT() && !useAspi_) {
        OpenResult opened = platform_->Open(d.rootPath.data());
        if (!opened.connection) {
            lastOpenFailure_ = OpenFailure{opened.error, d.rootPath.data(), opened.message};
            currentIndex_ = -1;
            CloseDrive();
            return false;
        }
        connection_ = std::move(opened.connection);
    }
    GetDriveType();
    return true;
}

}  // namespace korvalend

#include "device/observing_platform.h"

#include "device/hi_timer.h"

namespace korvalend {
namespace {

class ObservingConnection final : public DriveConnection {
  public:
    ObservingConnection(std::unique_ptr<DriveConnection> inner, Clock& clock,
                        PlatformObserver& observer, std::string root)
        : inner_(std::move(inner)), clock_(&clock), observer_(&observer), root_(std::move(root)) {}

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override {
        HiTimer timer(*clock_);
        timer.Start(true);
        const TransportResult result =
            inner_->Execute(command, direction, data, timeoutMilliseconds);
        timer.Stop();
        observer_->OnCommand(root_, command, direction, data, result, timer.TotalSeconds());
        return result;
    }

  private:
    std::unique_ptr<DriveConnection> inner_;
    Clock* clock_;
    PlatformObserver* observer_;
    std::string root_;
};

}  // namespace

std::vector<std::string> ObservingPlatform::EnumerateOpticalDrives() {
    return inner_->EnumerateOpticalDrives();
}

AddressResult ObservingPlatform::QueryAddress(const std::string& root) {
    const AddressResult result = inner_->QueryAddress(root);
    observer_->OnAddress(root, result);
    return result;
}

std::uint32_t ObservingPlatform::QueryBusType(const std::string& root) {
    const std::uint32_t bus = inner_->QueryBusType(root);
    observer_->OnBusType(root, bus);
    return bus;
}

OpenResult ObservingPlatform::Open(const std::string& root) {
    OpenResult result = inner_->Open(root);
    observer_->OnOpen(root, result);
    if (result.connection) {
        result.connection = std::make_unique<ObservingConnection>(std::move(result.connection),
                                                                  *clock_, *observer_, root);
    }
    return result;
}

}  // namespace korvalend

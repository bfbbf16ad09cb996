#include "app/core/stoppable_drives.h"

namespace korvalend {
namespace {

class StoppableConnection final : public DriveConnection {
  public:
    StoppableConnection(std::unique_ptr<DriveConnection> inner,
                        std::shared_ptr<std::atomic<bool>> stopped)
        : inner_(std::move(inner)), stopped_(std::move(stopped)) {}

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override {
        if (stopped_->load()) return TransportResult{};
        return inner_->Execute(command, direction, data, timeoutMilliseconds);
    }

  private:
    std::unique_ptr<DriveConnection> inner_;
    std::shared_ptr<std::atomic<bool>> stopped_;
};

}  // namespace

void StoppableDrives::Stop() {
    stopped_->store(true);
    clock_.Stop();
}

std::vector<std::string> StoppableDrives::EnumerateOpticalDrives() {
    if (Stopped()) return {};
    return inner_->EnumerateOpticalDrives();
}

AddressResult StoppableDrives::QueryAddress(const std::string& root) {
    if (Stopped()) return {};
    return inner_->QueryAddress(root);
}

std::uint32_t StoppableDrives::QueryBusType(const std::string& root) {
    if (Stopped()) return kBusOther;
    return inner_->QueryBusType(root);
}

OpenResult StoppableDrives::Open(const std::string& root) {
    if (Stopped()) return OpenResult{nullptr, OpenError::Other, "stopped"};
    OpenResult opened = inner_->Open(root);
    if (opened.connection) {
        opened.connection =
            std::make_unique<StoppableConnection>(std::move(opened.connection), stopped_);
    }
    return opened;
}

}  // namespace korvalend

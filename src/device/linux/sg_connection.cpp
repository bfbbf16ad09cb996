#include "device/linux/sg_connection.h"

#include <fcntl.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>

#include "device/linux/sg_outcome.h"

namespace korvalend {

int IssueSgIo(int descriptor, sg_io_hdr_t& request) {
    return ::ioctl(descriptor, SG_IO, &request) == 0 ? 0 : errno;
}

SgConnection::SgConnection(UniqueFd device, std::string genericNodePath, SgIoFunction issue)
    : device_(std::move(device)),
      genericNodePath_(std::move(genericNodePath)),
      issue_(std::move(issue)) {}

TransportResult SgConnection::Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                                      std::uint8_t direction, std::span<std::uint8_t> data,
                                      std::uint32_t timeoutMilliseconds) {
    if (direction != kDirectionIn && direction != kDirectionOut && direction != kDirectionNone) {
        return {};
    }
    if (data.size() > std::numeric_limits<std::uint32_t>::max()) return {};

    int errorNumber = 0;
    TransportResult result =
        Send(device_.Get(), command, direction, data, timeoutMilliseconds, errorNumber);
    if (errorNumber != EPERM) return result;

    const int generic = GenericDescriptor();
    if (generic < 0) return result;
    const bool dataIn = direction == kDirectionIn;
    if (dataIn) std::fill(data.begin(), data.end(), std::uint8_t{0});
    result = Send(generic, command, direction, data, timeoutMilliseconds, errorNumber);
    if (dataIn) {
        // Whatever lies beyond the bytes the drive sent may be left over from an earlier
        // command on this node; a failed answer is not kept at all.
        const std::size_t keep = result.completed ? result.transferred : 0;
        std::fill(data.begin() + static_cast<std::ptrdiff_t>(std::min(keep, data.size())),
                  data.end(), std::uint8_t{0});
    }
    return result;
}

TransportResult SgConnection::Send(int descriptor,
                                   std::span<const std::uint8_t, kCommandBlockSize> command,
                                   std::uint8_t direction, std::span<std::uint8_t> data,
                                   std::uint32_t timeoutMilliseconds, int& errorNumber) {
    CommandBlock cdb{};
    std::copy(command.begin(), command.end(), cdb.begin());
    std::array<std::uint8_t, kSenseBufferSize> sense{};

    const bool hasData = direction != kDirectionNone && !data.empty();
    sg_io_hdr_t request{};
    request.interface_id = 'S';
    request.dxfer_direction = !hasData                    ? SG_DXFER_NONE
                              : direction == kDirectionIn ? SG_DXFER_FROM_DEV
                                                          : SG_DXFER_TO_DEV;
    request.cmd_len = static_cast<unsigned char>(cdb.size());
    request.cmdp = cdb.data();
    request.mx_sb_len = static_cast<unsigned char>(sense.size());
    request.sbp = sense.data();
    request.dxfer_len = hasData ? static_cast<unsigned int>(data.size()) : 0;
    request.dxferp = hasData ? data.data() : nullptr;
    request.timeout = timeoutMilliseconds;

    errorNumber = issue_(descriptor, request);

    SgOutcome outcome;
    outcome.errorNumber = errorNumber;
    outcome.status = request.status;
    outcome.hostStatus = request.host_status;
    outcome.driverStatus = request.driver_status;
    outcome.resid = request.resid;
    outcome.sense = std::span<const std::uint8_t>(sense).first(
        std::min<std::size_t>(request.sb_len_wr, sense.size()));
    outcome.requested = request.dxfer_len;
    return InterpretSgOutcome(outcome);
}

int SgConnection::GenericDescriptor() {
    if (!genericTried_) {
        genericTried_ = true;
        if (!genericNodePath_.empty()) {
            generic_ = UniqueFd(::open(genericNodePath_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
        }
    }
    return generic_.Get();
}

}  // namespace korvalend

#pragma once

#include <scsi/sg.h>

#include <functional>
#include <string>

#include "device/linux/unique_fd.h"
#include "device/transport.h"

namespace korvalend {

// Carries one SG_IO request on a descriptor: 0 when the ioctl succeeded, else its errno.
using SgIoFunction = std::function<int(int descriptor, sg_io_hdr_t& request)>;

// The real SG_IO ioctl.
int IssueSgIo(int descriptor, sg_io_hdr_t& request);

// A drive reached through SG_IO on its block device /dev/srN. The block layer refuses
// opcodes outside its table (the vendor 0xDF commands) with EPERM to users without special
// privileges; such a command is sent again through the drive's SCSI generic node, which
// passes any command on a descriptor opened read-write. That node is opened on first need,
// once, and carries nothing but those retries: on it a short or failed answer can leave
// bytes of an earlier command in the buffer.
class SgConnection final : public DriveConnection {
  public:
    // device: /dev/srN opened read-write. genericNodePath: its /dev/sgM, or empty for none.
    SgConnection(UniqueFd device, std::string genericNodePath, SgIoFunction issue = IssueSgIo);

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override;

  private:
    // Sends the command on one descriptor; errorNumber receives the ioctl's errno (or 0).
    TransportResult Send(int descriptor, std::span<const std::uint8_t, kCommandBlockSize> command,
                         std::uint8_t direction, std::span<std::uint8_t> data,
                         std::uint32_t timeoutMilliseconds, int& errorNumber);
    // The descriptor of the generic node, opened on first call; -1 when it cannot be had.
    int GenericDescriptor();

    UniqueFd device_;
    std::string genericNodePath_;
    SgIoFunction issue_;
    UniqueFd generic_;
    bool genericTried_ = false;
};

}  // namespace korvalend

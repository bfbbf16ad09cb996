// Looks at how a drive and the kernel's SG_IO answer, below the program: status bytes, resid,
// sense, and what is left in the buffer, through the block device and the generic node.
// Built statically and run in the drive-test guest; prints one line per exchange.
//
//   sg_probe /dev/sr0 /dev/sg0
#include <fcntl.h>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int error = 0;
    int status = 0;
    int host = 0;
    int driver = 0;
    int resid = 0;
    int senseLength = 0;
    std::array<std::uint8_t, 32> sense{};
};

Outcome Send(int fd, std::vector<std::uint8_t> cdb, int direction,
             std::vector<std::uint8_t>& data) {
    Outcome outcome;
    sg_io_hdr_t request{};
    request.interface_id = 'S';
    request.dxfer_direction = data.empty() ? SG_DXFER_NONE : direction;
    request.cmd_len = static_cast<unsigned char>(cdb.size());
    request.cmdp = cdb.data();
    request.mx_sb_len = static_cast<unsigned char>(outcome.sense.size());
    request.sbp = outcome.sense.data();
    request.dxfer_len = static_cast<unsigned>(data.size());
    request.dxferp = data.empty() ? nullptr : data.data();
    request.timeout = 20000;
    if (ioctl(fd, SG_IO, &request) != 0) outcome.error = errno;
    outcome.status = request.status;
    outcome.host = request.host_status;
    outcome.driver = request.driver_status;
    outcome.resid = request.resid;
    outcome.senseLength = request.sb_len_wr;
    return outcome;
}

// Index of the last byte that is not zero, plus one.
std::size_t UsedLength(const std::vector<std::uint8_t>& data) {
    std::size_t n = data.size();
    while (n > 0 && data[n - 1] == 0) --n;
    return n;
}

void Print(const char* node, const char* what, const Outcome& o,
           const std::vector<std::uint8_t>& data, std::size_t show) {
    std::printf("%s %-22s err=%d status=0x%02x host=0x%02x driver=0x%02x resid=%d", node, what,
                o.error, o.status, o.host, o.driver, o.resid);
    if (o.senseLength > 0) {
        std::printf(" sense=%x/%02x/%02x", o.sense[2] & 0x0F, o.sense[12], o.sense[13]);
    }
    std::printf(" used=%zu", UsedLength(data));
    if (show > 0) {
        std::printf(" data=");
        for (std::size_t i = 0; i < show && i < data.size(); ++i) std::printf("%02x", data[i]);
    }
    std::printf("\n");
}

std::vector<std::uint8_t> Cdb12(std::initializer_list<std::uint8_t> head) {
    std::vector<std::uint8_t> cdb(12, 0);
    std::copy(head.begin(), head.end(), cdb.begin());
    return cdb;
}

void Exchange(int fd, const char* node, const char* what, std::vector<std::uint8_t> cdb,
              int direction, std::size_t length, std::size_t show) {
    std::vector<std::uint8_t> data(length, 0);
    const Outcome o = Send(fd, std::move(cdb), direction, data);
    Print(node, what, o, data, show);
}

void Probe(int fd, const char* node) {
    const int in = SG_DXFER_FROM_DEV;
    Exchange(fd, node, "tur", Cdb12({0x00}), SG_DXFER_NONE, 0, 0);
    Exchange(fd, node, "inquiry-96", Cdb12({0x12, 0, 0, 0, 96}), in, 96, 36);
    // The command block asks for more than the data phase offers.
    Exchange(fd, node, "inquiry-96-in-36", Cdb12({0x12, 0, 0, 0, 96}), in, 36, 0);
    Exchange(fd, node, "modesense-2a-42", Cdb12({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 42}), in, 42, 42);
    Exchange(fd, node, "getconfig-248", Cdb12({0x46, 2, 0, 0, 0, 0, 0, 0, 248}), in, 248, 24);
    Exchange(fd, node, "dvdstruct-0-16", Cdb12({0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 16}), in, 16, 16);
    Exchange(fd, node, "toc-fmt0-24", Cdb12({0x43, 0, 0, 0, 0, 0, 0, 0, 24}), in, 24, 24);
    Exchange(fd, node, "toc-atip-24", Cdb12({0x43, 0, 4, 0, 0, 0, 0, 0, 24}), in, 24, 24);
    Exchange(fd, node, "toc-b9-session-24", Cdb12({0x43, 0, 0, 0, 0, 0, 0, 0, 24, 0x40}), in, 24,
             12);
    Exchange(fd, node, "toc-atip-msf-256", Cdb12({0x43, 2, 4, 0, 0, 0, 0, 1, 0}), in, 256, 24);
    Exchange(fd, node, "discinfo-256", Cdb12({0x51, 0, 0, 0, 0, 0, 0, 1, 0}), in, 256, 34);
    Exchange(fd, node, "formatcap-12", Cdb12({0x23, 0, 0, 0, 0, 0, 0, 0, 12}), in, 12, 12);
    Exchange(fd, node, "getperf-w-1024", Cdb12({0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 50, 3, 0}), in, 1024,
             24);
    Exchange(fd, node, "dvdstruct-e-48", Cdb12({0xAD, 0, 0, 0, 0, 0, 0, 0x0E, 0, 48}), in, 48, 0);
    Exchange(fd, node, "vendor-df11", Cdb12({0xDF, 0x11}), in, 128, 16);
    Exchange(fd, node, "vendor-df00", Cdb12({0xDF, 0x00, 0x03, 0x01}), in, 128, 16);
    {
        std::vector<std::uint8_t> out(28, 0);
        out[19] = 0xE8;
        out[18] = 0x03;
        out[27] = 0xE8;
        out[26] = 0x03;
        const Outcome o =
            Send(fd, Cdb12({0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28}), SG_DXFER_TO_DEV, out);
        std::vector<std::uint8_t> none;
        Print(node, "setstreaming-28", o, none, 0);
    }
    Exchange(fd, node, "setcdspeed-max", Cdb12({0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF}), SG_DXFER_NONE, 0,
             0);

    // Stale bytes: a long answer first, then a short one and a failing one of the same length.
    for (int round = 0; round < 2; ++round) {
        Exchange(fd, node, "fill-modesense-255", Cdb12({0x5A, 0, 0x3F, 0, 0, 0, 0, 0, 255}), in,
                 255, 0);
        Exchange(fd, node, round == 0 ? "short-inquiry-255" : "failing-vendor-255",
                 round == 0 ? Cdb12({0x12, 0, 0, 0, 255}) : Cdb12({0xDF, 0x11}), in, 255, 0);
    }

    int idlun[2] = {0, 0};
    const int idlunResult = ioctl(fd, SCSI_IOCTL_GET_IDLUN, idlun);
    std::printf("%s get-idlun rc=%d errno=%d value=0x%08x\n", node, idlunResult,
                idlunResult == 0 ? 0 : errno, static_cast<unsigned>(idlun[0]));
    struct sg_scsi_id id {};
    const int idResult = ioctl(fd, SG_GET_SCSI_ID, &id);
    std::printf("%s sg-get-scsi-id rc=%d errno=%d h:c:t:l=%d:%d:%d:%d\n", node, idResult,
                idResult == 0 ? 0 : errno, id.host_no, id.channel, id.scsi_id, id.lun);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const int fd = open(argv[i], O_RDWR | O_NONBLOCK);
        if (fd < 0) {
            std::printf("%s open errno=%d\n", argv[i], errno);
            continue;
        }
        const std::string name = std::string(argv[i]).substr(std::string(argv[i]).rfind('/') + 1);
        Probe(fd, name.c_str());
        close(fd);
    }
    return 0;
}

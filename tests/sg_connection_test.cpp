#include "device/linux/sg_connection.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

#include "device/sense_data.h"
#include "support/linux_fake_tree.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;

constexpr CommandBlock kInquiry{0x12, 0, 0, 0, 96, 0, 0, 0, 0, 0, 0, 0};
constexpr CommandBlock kVendor{0xDF, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0};
constexpr CommandBlock kSetStreaming{0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28, 0};
constexpr CommandBlock kTestUnitReady{};

// One request as the fake kernel saw it.
struct SeenRequest {
    int descriptor;
    int direction;
    unsigned length;
    unsigned timeout;
    std::uint8_t opcode;
    bool dataZeroOnEntry;
};

// Stands in for the kernel: the block device refuses the vendor opcode with EPERM like the
// command filter does; everything else (and anything on the generic node) is answered by
// `answer`, which sees the descriptor and the request.
class FakeKernel {
  public:
    std::function<int(int, sg_io_hdr_t&)> answer = [](int, sg_io_hdr_t&) { return 0; };
    int blockDescriptor = -1;
    std::vector<SeenRequest> seen;

    SgIoFunction Function() {
        return [this](int descriptor, sg_io_hdr_t& request) {
            const auto* data = static_cast<const std::uint8_t*>(request.dxferp);
            const bool zero = data == nullptr || std::all_of(data, data + request.dxfer_len,
                                                             [](std::uint8_t b) { return b == 0; });
            seen.push_back({descriptor, request.dxfer_direction, request.dxfer_len, request.timeout,
                            request.cmdp[0], zero});
            EXPECT_EQ(request.interface_id, 'S');
            EXPECT_EQ(request.cmd_len, kCommandBlockSize);
            EXPECT_GE(request.mx_sb_len, 18);
            if (descriptor == blockDescriptor && request.cmdp[0] == 0xDF) return EPERM;
            return answer(descriptor, request);
        };
    }
};

class SgConnectionTest : public ::testing::Test {
  protected:
    SgConnectionTest() : scratch_("korvalend-sg") {
        std::ofstream(BlockPath()).put('\0');
        std::ofstream(GenericPath()).put('\0');
    }

    std::unique_ptr<SgConnection> Connect(std::string genericPath) {
        UniqueFd block(::open(BlockPath().c_str(), O_RDWR | O_CLOEXEC));
        kernel_.blockDescriptor = block.Get();
        return std::make_unique<SgConnection>(std::move(block), std::move(genericPath),
                                              kernel_.Function());
    }
    std::string BlockPath() const { return (scratch_.Path() / "sr0").string(); }
    std::string GenericPath() const { return (scratch_.Path() / "sg0").string(); }

    test_support::ScratchDirectory scratch_;
    FakeKernel kernel_;
};

struct DirectionCase {
    std::uint8_t direction;
    std::size_t length;
    int expectedDirection;
    unsigned expectedLength;
};

void PrintTo(const DirectionCase& c, std::ostream* os) {
    *os << "direction " << int(c.direction) << " length " << c.length;
}

class SgDirectionTable : public SgConnectionTest,
                         public ::testing::WithParamInterface<DirectionCase> {};

TEST_P(SgDirectionTable, MapsDirectionAndLength) {
    const DirectionCase& c = GetParam();
    auto connection = Connect("");
    std::vector<std::uint8_t> data(c.length);
    connection->Execute(kInquiry, c.direction, data, 108000);
    ASSERT_EQ(kernel_.seen.size(), 1u);
    EXPECT_EQ(kernel_.seen[0].direction, c.expectedDirection);
    EXPECT_EQ(kernel_.seen[0].length, c.expectedLength);
    EXPECT_EQ(kernel_.seen[0].timeout, 108000u);
}

INSTANTIATE_TEST_SUITE_P(Directions, SgDirectionTable,
                         ::testing::Values(DirectionCase{kDirectionIn, 96, SG_DXFER_FROM_DEV, 96},
                                           DirectionCase{kDirectionOut, 28, SG_DXFER_TO_DEV, 28},
                                           DirectionCase{kDirectionNone, 0, SG_DXFER_NONE, 0},
                                           DirectionCase{kDirectionIn, 0, SG_DXFER_NONE, 0},
                                           DirectionCase{kDirectionNone, 8, SG_DXFER_NONE, 0}));

TEST_F(SgConnectionTest, UnknownDirectionIsNotSent) {
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(8);
    EXPECT_FALSE(connection->Execute(kInquiry, 3, data, 108000).completed);
    EXPECT_TRUE(kernel_.seen.empty());
}

TEST_F(SgConnectionTest, ShortAnswerCountsTheBytesThatCame) {
    kernel_.answer = [](int, sg_io_hdr_t& request) {
        std::fill_n(static_cast<std::uint8_t*>(request.dxferp), 36, std::uint8_t{0x41});
        request.resid = 60;
        return 0;
    };
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(96);
    const TransportResult result = connection->Execute(kInquiry, kDirectionIn, data, 108000);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.transferred, 36u);
    EXPECT_EQ(data[35], 0x41);
    EXPECT_EQ(data[36], 0x00);
}

TEST_F(SgConnectionTest, SenseFromTheKernelArrivesInFixedFormat) {
    kernel_.answer = [](int, sg_io_hdr_t& request) {
        const std::uint8_t descriptor[] = {0x72, 0x02, 0x3A, 0x01};
        std::copy(std::begin(descriptor), std::end(descriptor), request.sbp);
        request.sb_len_wr = sizeof descriptor;
        request.status = 0x02;
        request.driver_status = 0x08;
        return 0;
    };
    auto connection = Connect(GenericPath());
    const TransportResult result = connection->Execute(kTestUnitReady, kDirectionNone, {}, 108000);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(TripleOf(result.sense), (SenseTriple{0x02, 0x3A, 0x01}));
}

TEST_F(SgConnectionTest, OverlongSenseLengthIsHeldToTheBuffer) {
    kernel_.answer = [](int, sg_io_hdr_t& request) {
        std::fill_n(request.sbp, request.mx_sb_len, std::uint8_t{0});
        request.sbp[0] = 0x70;
        request.sbp[2] = 0x05;
        request.sb_len_wr = 255;
        request.status = 0x02;
        return 0;
    };
    auto connection = Connect(GenericPath());
    const TransportResult result = connection->Execute(kTestUnitReady, kDirectionNone, {}, 108000);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(TripleOf(result.sense).senseKey, 0x05);
}

TEST_F(SgConnectionTest, HostErrorWithGoodStatusFails) {
    kernel_.answer = [](int, sg_io_hdr_t& request) {
        request.host_status = 0x07;  // DID_ERROR, as virtio-scsi answers SET STREAMING
        return 0;
    };
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(28, 0x11);
    const TransportResult result = connection->Execute(kSetStreaming, kDirectionOut, data, 108000);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.sense, SenseBuffer{});
    EXPECT_EQ(result.transferred, 0u);
}

TEST_F(SgConnectionTest, OtherCommandsNeverTakeTheGenericNode) {
    kernel_.answer = [](int, sg_io_hdr_t&) { return EIO; };
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(96);
    EXPECT_FALSE(connection->Execute(kInquiry, kDirectionIn, data, 108000).completed);
    ASSERT_EQ(kernel_.seen.size(), 1u);
    EXPECT_EQ(kernel_.seen[0].descriptor, kernel_.blockDescriptor);
}

TEST_F(SgConnectionTest, RefusedVendorCommandGoesThroughTheGenericNode) {
    kernel_.answer = [this](int descriptor, sg_io_hdr_t& request) {
        EXPECT_NE(descriptor, kernel_.blockDescriptor);
        auto* data = static_cast<std::uint8_t*>(request.dxferp);
        std::fill_n(data, 4, std::uint8_t{0x5A});
        // Bytes 4 to 7 still hold an earlier answer, as a reused kernel buffer can leave them.
        std::fill_n(data + 4, 4, std::uint8_t{0xEE});
        request.resid = 4;
        return 0;
    };
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(8, 0xAA);
    const TransportResult result = connection->Execute(kVendor, kDirectionIn, data, 108000);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.transferred, 4u);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{0x5A, 0x5A, 0x5A, 0x5A, 0, 0, 0, 0}));
    ASSERT_EQ(kernel_.seen.size(), 2u);
    EXPECT_EQ(kernel_.seen[0].descriptor, kernel_.blockDescriptor);
    EXPECT_TRUE(kernel_.seen[1].dataZeroOnEntry) << "the buffer is cleared before the retry";
}

TEST_F(SgConnectionTest, FailedRetryLeavesNoStaleBytes) {
    kernel_.answer = [](int, sg_io_hdr_t& request) {
        std::fill_n(static_cast<std::uint8_t*>(request.dxferp), request.dxfer_len,
                    std::uint8_t{0xEE});
        request.status = 0x02;
        request.sbp[0] = 0x70;
        request.sbp[2] = 0x05;
        request.sbp[12] = 0x20;
        request.sb_len_wr = 18;
        return 0;
    };
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(8);
    const TransportResult result = connection->Execute(kVendor, kDirectionIn, data, 108000);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(TripleOf(result.sense), (SenseTriple{0x05, 0x20, 0x00}));
    EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(SgConnectionTest, GenericNodeIsOpenedOnceAndKept) {
    auto connection = Connect(GenericPath());
    std::vector<std::uint8_t> data(8);
    EXPECT_TRUE(connection->Execute(kVendor, kDirectionIn, data, 108000).completed);
    fs::remove(GenericPath());  // an open descriptor outlives its name
    EXPECT_TRUE(connection->Execute(kVendor, kDirectionIn, data, 108000).completed);
    ASSERT_EQ(kernel_.seen.size(), 4u);
    EXPECT_EQ(kernel_.seen[1].descriptor, kernel_.seen[3].descriptor);
}

TEST_F(SgConnectionTest, RefusalStandsWithoutAGenericNode) {
    for (const std::string& generic : {std::string(), GenericPath() + ".missing"}) {
        kernel_.seen.clear();
        auto connection = Connect(generic);
        std::vector<std::uint8_t> data(8);
        const TransportResult result = connection->Execute(kVendor, kDirectionIn, data, 108000);
        EXPECT_FALSE(result.completed);
        EXPECT_EQ(result.sense, SenseBuffer{});
        EXPECT_EQ(result.transferred, 0u);
        EXPECT_EQ(kernel_.seen.size(), 1u);
    }
}

}  // namespace
}  // namespace korvalend

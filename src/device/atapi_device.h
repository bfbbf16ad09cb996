#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "device/clock.h"
#include "device/drive_record.h"
#include "device/hi_timer.h"
#include "device/sense_data.h"
#include "device/transport.h"
#include "sysinfo/os_info.h"

namespace korvalend {

inline constexpr std::uint32_t kTransferBufferSize = 81920;
inline constexpr std::uint32_t kCommandTimeoutMs = 108000;
inline constexpr int kApplicationTag = 32767;

// Outcome of the last command that was actually sent.
struct LastCommandRecord {
    SenseTriple senseTriple;
    double elapsedSeconds = 0.0;
    std::uint32_t transferred = 0;
    bool timedOut = false;
};

// Why the last SelectDrive could not open its drive.
struct OpenFailure {
    OpenError error = OpenError::None;
    std::string root;
    std::string message;
};

// The one object through which the program reaches optical drives. It owns the drive list,
// the two transfer buffers and the current drive; every command goes through ExecuteCommand.
class AtapiDevice {
  public:
    // Runs drive discovery on the platform's drives; may take long.
    explicit AtapiDevice(DevicePlatform& platform, Clock& clock = SystemClock(),
                         int applicationTag = kApplicationTag);
    ~AtapiDevice();
    AtapiDevice(const AtapiDevice&) = delete;
    AtapiDevice& operator=(const AtapiDevice&) = delete;

    // --- Drive list and selection ---
    std::uint16_t DriveCount() const { return driveCount_; }
    const DriveRecord* GetDriveRecord(unsigned index) const;
    bool SelectDrive(std::int16_t index);
    void CloseDrive();
    std::int16_t CurrentIndex() const { return currentIndex_; }
    bool HasOpenDrive() const { return connection_ != nullptr; }
    const OpenFailure& LastOpenFailure() const { return lastOpenFailure_; }

    // --- Buffers ---
    std::span<const std::uint8_t> DataInBuffer() const;
    std::span<std::uint8_t> DataOutBuffer();
    std::uint32_t ReadBE32(std::uint32_t offset) const;
    std::uint16_t ReadBE16(std::uint32_t offset) const;
    void WriteBE32(std::uint32_t offset, std::uint32_t value);

    // --- Transport ---
    bool ExecuteCommand(std::span<const std::uint8_t, kCommandBlockSize> commandBlock,
                        std::uint8_t direction, std::uint32_t transferLength);
    const LastCommandRecord& LastCommand() const { return lastCommand_; }
    // True for the operation codes (and vendor blocks) of the command set; nothing else is sent.
    static bool IsPermittedCommand(std::span<const std::uint8_t, kCommandBlockSize> commandBlock);

    // --- Unit-ready wait and sense texts ---
    bool WaitUnitReady(std::int32_t limitSeconds);
    bool SenseIs(std::uint8_t key, std::uint8_t asc) const;
    std::string SenseCode() const;
    std::string SenseText() const;

    // --- Command set ---
    bool TestUnitReady();
    bool Inquiry(unsigned cmdDt, unsigned evpd, unsigned pageCode, unsigned allocationLength,
                 unsigned control);
    bool ReadFormatCapacities(std::uint32_t allocationLength, unsigned control);
    bool ReadTocPmaAtip(unsigned msf, unsigned format, unsigned trackSessionNumber,
                        std::uint32_t allocationLength, unsigned control);
    bool GetConfiguration(unsigned requestType, unsigned startingFeature,
                          std::uint32_t allocationLength, unsigned control);
    bool ReadDiscInformation(std::uint32_t allocationLength, unsigned control);
    bool ModeSense10(unsigned dbd, unsigned pageControl, unsigned pageCode,
                     std::uint32_t allocationLength, unsigned control);
    bool GetPerformance(unsigned dataType, std::uint32_t startingLba, unsigned maxDescriptors,
                        unsigned type, unsigned control, std::uint32_t transferLength);
    bool ReadDvdStructure(std::uint32_t address, unsigned layer, unsigned format,
                          std::uint32_t allocationLength, unsigned agid, unsigned control);
    bool SetStreaming(std::uint32_t parameterListLength, unsigned control);
    bool SetCdSpeed(unsigned rotationControl, unsigned readSpeed, unsigned writeSpeed,
                    unsigned control);
    bool VendorReadMediaId();
    bool VendorProbe();

    // --- Classification ---
    std::uint8_t GetDriveType();
    std::uint8_t GetDiscType();
    const char* GetDriveTypeName();
    const char* GetDiscTypeName();
    bool StoreDriveType(unsigned index);
    bool CanWriteCdR();

    // --- Identification, capacity and speeds ---
    std::uint32_t GetAtipTime(bool leadIn);
    char* ReadDvdPlusMakerId(std::span<char> out);
    char* ReadDvdPlusMediaTypeId(std::span<char> out);
    char* ReadDvdMinusMakerId(std::span<char> out);
    std::uint32_t GetDiscCapacity();
    std::uint16_t GetCurrentWriteSpeed();
    std::uint16_t GetCurrentReadSpeed();
    double GetMaxWriteSpeed();
    bool SetMaxStreaming();

    // --- Maker tables ---
    const char* FindDiscMaker(std::uint8_t discType);

    Clock& GetClock() { return *clock_; }
    const OSInfo& GetOSInfo() const { return osInfo_; }

  private:
    void DiscoverDrives();
    void EnumeratePassThroughDrives();
    void SortDrives();
    bool IdentifyDrive();
    bool Send(const CommandBlock& block, std::uint8_t direction, std::uint32_t length);

    DevicePlatform* platform_;
    Clock* clock_;
    int applicationTag_;
    HiTimer waitTimer_;
    HiTimer commandTimer_;
    OSInfo osInfo_;
    std::uint16_t driveCount_ = 0;
    std::int16_t currentIndex_ = -1;
    // Identity of the current drive; the staging area of discovery.
    std::array<char, 9> vendor_{};
    std::array<char, 17> product_{};
    std::array<char, 5> revision_{};
    std::array<char, 17> vendorSpecific_{};
    std::array<DriveRecord, kMaxDrives> drives_{};
    std::uint32_t commandTimeout_ = kCommandTimeoutMs;
    std::int16_t adapter_ = -1;
    std::int16_t target_ = -1;
    std::int16_t lun_ = -1;
    std::int16_t pathId_ = -1;
    std::unique_ptr<DriveConnection> connection_;
    std::unique_ptr<std::uint8_t[]> dataIn_;
    std::uint32_t dataInLength_ = 0;
    std::unique_ptr<std::uint8_t[]> dataOut_;
    std::uint32_t dataOutLength_ = 0;
    bool useAspi_ = false;
    bool aspiPresent_ = false;
    LastCommandRecord lastCommand_;
    OpenFailure lastOpenFailure_;
};

}  // namespace korvalend

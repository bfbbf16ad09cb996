#pragma once

#include <filesystem>
#include <string>

namespace korvalend::test_support {

// A directory of its own under the system's temp directory, removed with everything in it.
class ScratchDirectory {
  public:
    explicit ScratchDirectory(const std::string& hint);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// A sysfs and a /dev tree laid out as the kernel does for CD/DVD drives.
class FakeDriveTree {
  public:
    explicit FakeDriveTree(const std::filesystem::path& base);
    std::filesystem::path Sysfs() const { return sysfs_; }
    std::filesystem::path Dev() const { return dev_; }

    // A drive srN whose SCSI device sits at <sysfs>/devices/<devicePath>:
    // <sysfs>/block/srN links to <device>/block/srN, whose "device" links back to <device>.
    // Returns the device directory.
    std::filesystem::path AddDrive(const std::string& name, const std::string& devicePath);
    // Gives the drive's SCSI device a generic node, as current kernels list it.
    void AddGenericNode(const std::filesystem::path& device, const std::string& node);
    // Creates the device file <dev>/name (a plain file stands in for the node).
    void AddDeviceFile(const std::string& name);

  private:
    std::filesystem::path sysfs_;
    std::filesystem::path dev_;
};

}  // namespace korvalend::test_support

#include "support/linux_fake_tree.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace korvalend::test_support {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory(const std::string& hint) {
    std::string pattern = (fs::temp_directory_path() / (hint + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = buffer.data();
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

FakeDriveTree::FakeDriveTree(const fs::path& base) : sysfs_(base / "sys"), dev_(base / "dev") {
    fs::create_directories(sysfs_ / "block");
    fs::create_directories(sysfs_ / "devices");
    fs::create_directories(dev_);
}

fs::path FakeDriveTree::AddDrive(const std::string& name, const std::string& devicePath) {
    const fs::path device = sysfs_ / "devices" / devicePath;
    const fs::path blockDirectory = device / "block" / name;
    fs::create_directories(blockDirectory);
    fs::create_directory_symlink(blockDirectory.lexically_relative(sysfs_ / "block"),
                                 sysfs_ / "block" / name);
    fs::create_directory_symlink(device.lexically_relative(blockDirectory),
                                 blockDirectory / "device");
    return device;
}

void FakeDriveTree::AddGenericNode(const fs::path& device, const std::string& node) {
    fs::create_directories(device / "scsi_generic" / node);
}

void FakeDriveTree::AddDeviceFile(const std::string& name) {
    std::ofstream(dev_ / name).put('\0');
}

}  // namespace korvalend::test_support

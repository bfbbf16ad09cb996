#include "device/linux/open_errors.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace korvalend {
namespace {

std::string SystemText(int errorNumber) {
    return std::system_category().message(errorNumber);
}

}  // namespace

OpenResult OpenFailureResult(int errorNumber, const std::string& devicePath,
                             const std::string& groupName) {
    OpenResult result;
    const std::string reason = " (" + SystemText(errorNumber) + ")";
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            result.error = OpenError::PermissionDenied;
            result.message = "No permission to open " + devicePath + reason + ": membership of " +
                             (groupName.empty() ? std::string("the device's group")
                                                : "the group \"" + groupName + "\"") +
                             " is needed to use this drive";
            break;
        case ENOENT:
        case ENXIO:
        case ENODEV:
            result.error = OpenError::NotFound;
            result.message = "The drive " + devicePath + " is not present" + reason;
            break;
        case EBUSY:
            result.error = OpenError::Busy;
            result.message = "The drive " + devicePath + " is busy" + reason;
            break;
        default:
            result.error = OpenError::Other;
            result.message = "Cannot open " + devicePath + reason;
            break;
    }
    return result;
}

std::string GroupNameOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    const long suggested = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    // Groups with many members need more room than the suggestion; grow a few times.
    for (int attempt = 0; attempt < 6; ++attempt) {
        struct group entry {};
        struct group* found = nullptr;
        const int error = ::getgrgid_r(status.st_gid, &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (error != 0 || found == nullptr || found->gr_name == nullptr) return {};
        return found->gr_name;
    }
    return {};
}

}  // namespace korvalend

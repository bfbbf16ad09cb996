#include "app/core/drive_list.h"

#include <array>
#include <cstdio>

namespace korvalend {

std::string DeviceShortName(const DriveRecord& record) {
    std::string root = record.rootPath.data();
    const auto slash = root.find_last_of('/');
    return slash == std::string::npos ? root : root.substr(slash + 1);
}

std::string FormatDriveLine(const DriveRecord& record) {
    std::array<char, 256> line{};
    std::snprintf(line.data(), line.size(), "%2d-%d-%d-%d %-4s %24.24s %4.4s", record.adapter,
                  record.pathId, record.target, record.lun, DeviceShortName(record).c_str(),
                  record.displayName.data(), record.revision.data());
    return line.data();
}

bool IsListedWriter(const DriveRecord& record) {
    return record.cdrWriter || record.driveType >= 3;
}

DriveList BuildDriveList(const AtapiDevice& device, bool allDrives) {
    DriveList list;
    list.driveMap.fill(-1);
    std::size_t next = 0;
    for (unsigned j = 0; j < device.DriveCount(); ++j) {
        const DriveRecord* record = device.GetDriveRecord(j);
        if (!record || !(allDrives || IsListedWriter(*record))) continue;
        if (next >= list.driveMap.size()) break;
        list.driveMap[next++] = static_cast<int>(j);
        list.lines.push_back(FormatDriveLine(*record));
    }
    return list;
}

}  // namespace korvalend

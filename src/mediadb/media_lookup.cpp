#include "mediadb/media_lookup.h"

#include <algorithm>
#include <array>

#include "mediadb/media_database_search.h"
#include "mmc/type_names.h"

namespace korvalend {
namespace {

// The 11 identifier bytes straight from the drive's answer: the vendor answer first, else the
// disc structure of the disc's family.
bool ReadDiscIdentifier(AtapiDevice& device, std::uint8_t discType,
                        std::array<std::uint8_t, kDvdCompareLength>& identifier) {
    std::size_t from = 0;
    if (device.VendorReadMediaId()) {
        from = 0;
    } else if (IsDvdPlusDisc(discType) ? device.ReadDvdStructure(0, 0, 0x00, 36, 0, 0)
                                       : device.ReadDvdStructure(0, 0, 0x0E, 50, 0, 0)) {
        from = IsDvdPlusDisc(discType) ? 23 : 21;
    } else {
        return false;
    }
    const auto answer = device.DataInBuffer().subspan(from, kDvdCompareLength);
    std::copy(answer.begin(), answer.end(), identifier.begin());
    return true;
}

}  // namespace

const char* LookupMediaMaker(AtapiDevice& device, const UserMediaLists* user,
                             const ConfigurationBlockView& block, std::uint8_t discType,
                             std::uint32_t leadIn, std::uint32_t leadOut) {
    if (discType == 0) return nullptr;
    if (IsCdDisc(discType)) {
        if (const char* text =
                FindCdMakerInDatabase(user ? &user->cdList : nullptr, block, leadIn, leadOut)) {
            return text;
        }
        return device.FindDiscMaker(discType);
    }
    if (IsDvdDisc(discType)) {
        std::array<std::uint8_t, kDvdCompareLength> identifier{};
        if (ReadDiscIdentifier(device, discType, identifier)) {
            if (const char* text =
                    FindDvdMakerInDatabase(user ? &user->dvdList : nullptr, block, identifier)) {
                return text;
            }
        }
        return device.FindDiscMaker(discType);
    }
    return nullptr;
}

}  // namespace korvalend

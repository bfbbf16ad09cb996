#include <array>

#include "device/atapi_device.h"
#include "mmc/maker_tables.h"
#include "mmc/type_names.h"

namespace korvalend {

const char* AtapiDevice::FindDiscMaker(std::uint8_t discType) {
    WaitUnitReady(60);
    if (discType <= 1) return nullptr;
    if (IsCdDisc(discType)) return FindAtipMaker(GetAtipTime(true));
    if (discType >= 15 && discType <= 18) {
        std::array<char, 32> identifier{};
        ReadDvdMinusMakerId(identifier);
        return FindDvdMinusMaker(identifier.data());
    }
    if (IsDvdPlusDisc(discType)) {
        std::array<char, 32> manufacturer{};
        std::array<char, 32> mediaType{};
        ReadDvdPlusMakerId(manufacturer);
        ReadDvdPlusMediaTypeId(mediaType);
        return FindDvdPlusMaker(manufacturer.data());
    }
    return nullptr;
}

}  // namespace korvalend

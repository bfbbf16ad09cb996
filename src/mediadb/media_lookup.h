#pragma once

#include <cstdint>

#include "builder/configuration_block.h"
#include "device/atapi_device.h"
#include "mediadb/user_media_lists.h"

namespace korvalend {

// The maker text for the loaded disc: the user's records, then the media tables embedded in
// the executable, then the built-in maker tables. Null when none names the disc. The text
// belongs to the list, block or table it was found in.
const char* LookupMediaMaker(AtapiDevice& device, const UserMediaLists* user,
                             const ConfigurationBlockView& block, std::uint8_t discType,
                             std::uint32_t leadIn, std::uint32_t leadOut);

}  // namespace korvalend

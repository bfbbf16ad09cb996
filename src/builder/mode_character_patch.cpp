#include "builder/mode_character_patch.h"

#include "builder/builder_core.h"
#include "builder/configuration_block.h"

namespace korvalend {

bool SetModeCharacter(std::span<std::uint8_t> image, std::string_view marker, char mode) {
    const std::optional<std::size_t> found = FindConfigurationBlock(image, marker);
    if (!found || *found < kMarkerTextOffset) return false;
    const std::size_t block = *found - kMarkerTextOffset;
    if (image.size() - block < kConfigurationBlockSize) return false;
    image[block + kModeCharacterOffset] = static_cast<std::uint8_t>(mode);
    return true;
}

bool WriteCopyWithModeCharacter(const std::filesystem::path& input,
                                const std::filesystem::path& output, char mode,
                                std::string& error) {
    PrototypeImage image;
    if (!LoadPrototype(input, image)) {
        error = "cannot read " + input.string();
        return false;
    }
    if (!SetModeCharacter(image.bytes, RunningConfigurationBlock().MarkerText(), mode)) {
        error = "no configuration block in " + input.string();
        return false;
    }
    std::string reason;
    if (!WriteOutputFile(output, image.bytes, image.permissions, &reason)) {
        error = "cannot write " + output.string() + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace korvalend

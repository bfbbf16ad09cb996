#include "builder/configuration_block.h"

#include <algorithm>
#include <cassert>

#include "builder/ansi_text.h"

namespace korvalend {

std::string_view FieldText(std::span<const char> field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

std::string_view FieldText(std::span<const std::uint8_t> field) {
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(field.data()),
            static_cast<std::size_t>(end - field.begin())};
}

std::optional<std::size_t> FindConfigurationBlock(std::span<const std::uint8_t> fileBytes,
                                                  std::string_view marker) {
    if (marker.empty()) return std::nullopt;
    const auto found =
        std::search(fileBytes.begin(), fileBytes.end(), marker.begin(), marker.end(),
                    [](std::uint8_t byte, char c) {
                        return UpperCaseAscii(static_cast<char>(byte)) == UpperCaseAscii(c);
                    });
    if (found == fileBytes.end()) return std::nullopt;
    return static_cast<std::size_t>(found - fileBytes.begin());
}

std::string_view ConfigurationBlockView::Text(BlockField field) const {
    assert(field.offset + field.width <= kConfigurationBlockSize);
    return FieldText(bytes_.subspan(field.offset, field.width));
}

std::string_view ConfigurationBlockView::MarkerText() const {
    return FieldText(bytes_.subspan(block_field::kMarker.offset + kMarkerTextOffset,
                                    block_field::kMarker.width - kMarkerTextOffset));
}

std::span<const std::uint8_t, kCdMediaRecordSize> ConfigurationBlockView::CdRow(
    std::size_t index) const {
    assert(index < kMediaTableRecords);
    return bytes_.subspan(block_field::kCdTable.offset + index * kCdMediaRecordSize)
        .first<kCdMediaRecordSize>();
}

std::span<const std::uint8_t, kDvdMediaRecordSize> ConfigurationBlockView::DvdRow(
    std::size_t index) const {
    assert(index < kMediaTableRecords);
    return bytes_.subspan(block_field::kDvdTable.offset + index * kDvdMediaRecordSize)
        .first<kDvdMediaRecordSize>();
}

}  // namespace korvalend

#include "builder/media_record.h"

#include <algorithm>

namespace korvalend {

namespace {

template <std::size_t N>
void PutChars(const std::array<char, N>& field, std::span<std::uint8_t> out) {
    std::transform(field.begin(), field.end(), out.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
}

template <std::size_t N>
void GetChars(std::span<const std::uint8_t> in, std::array<char, N>& field) {
    std::transform(in.begin(), in.begin() + N, field.begin(),
                   [](std::uint8_t b) { return static_cast<char>(b); });
}

}  // namespace

std::array<std::uint8_t, kCdMediaRecordSize> CdMediaRecord::ToBytes() const {
    std::array<std::uint8_t, kCdMediaRecordSize> bytes{};
    const std::span<std::uint8_t> out(bytes);
    PutChars(leadInKey, out.subspan(kCdLeadInKeyOffset));
    PutChars(leadOutKey, out.subspan(kCdLeadOutKeyOffset));
    PutChars(makerText, out.subspan(kCdMakerTextOffset));
    return bytes;
}

CdMediaRecord CdMediaRecord::FromBytes(std::span<const std::uint8_t, kCdMediaRecordSize> bytes) {
    CdMediaRecord record;
    GetChars(bytes.subspan(kCdLeadInKeyOffset), record.leadInKey);
    GetChars(bytes.subspan(kCdLeadOutKeyOffset), record.leadOutKey);
    GetChars(bytes.subspan(kCdMakerTextOffset), record.makerText);
    return record;
}

std::array<std::uint8_t, kDvdMediaRecordSize> DvdMediaRecord::ToBytes() const {
    std::array<std::uint8_t, kDvdMediaRecordSize> bytes{};
    std::copy(identifier.begin(), identifier.end(), bytes.begin() + kDvdIdentifierOffset);
    PutChars(makerText, std::span<std::uint8_t>(bytes).subspan(kDvdMakerTextOffset));
    return bytes;
}

DvdMediaRecord DvdMediaRecord::FromBytes(std::span<const std::uint8_t, kDvdMediaRecordSize> bytes) {
    DvdMediaRecord record;
    std::copy_n(bytes.begin() + kDvdIdentifierOffset, kDvdIdentifierWidth,
                record.identifier.begin());
    GetChars(bytes.subspan(kDvdMakerTextOffset), record.makerText);
    return record;
}

}  // namespace korvalend

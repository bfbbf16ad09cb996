// Prints the configuration block of its own executable file, field by field, so that tests
// can check what a built or patched copy really reads at run time.

#include <cstdio>
#include <string_view>

#include "builder/configuration_block.h"
#include "builder/media_record.h"

namespace {

using korvalend::BlockField;

void PrintText(const char* label, std::string_view text) {
    std::printf("%s=%.*s\n", label, static_cast<int>(text.size()), text.data());
}

void PrintField(const korvalend::ConfigurationBlockView& block, const char* label,
                BlockField field) {
    PrintText(label, block.Text(field));
}

}  // namespace

int main() {
    namespace field = korvalend::block_field;
    const korvalend::ConfigurationBlockView block = korvalend::RunningConfigurationBlock();

    std::printf("MODE=%c\n", block.ModeCharacter());
    PrintText("MARKER", block.MarkerText());
    PrintField(block, "NAME", field::kName);
    PrintField(block, "DATE", field::kDate);
    PrintField(block, "MAJOR", field::kMajor);
    PrintField(block, "MINOR", field::kMinor);
    PrintField(block, "REV", field::kRev);
    PrintField(block, "MODEL", field::kModel);
    PrintField(block, "STEP1", field::kStep1);
    PrintField(block, "STEP2", field::kStep2);
    PrintField(block, "STEP3", field::kStep3);
    PrintField(block, "COPYRIGHT", field::kCopyright);

    std::string_view remark = block.Text(field::kRemark);
    while (!remark.empty()) {
        const std::size_t end = remark.find('\n');
        PrintText("REMARK", remark.substr(0, end));
        remark.remove_prefix(end == std::string_view::npos ? remark.size() : end + 1);
    }

    for (std::size_t i = 0; i < korvalend::kMediaTableRecords; ++i) {
        const auto record = korvalend::CdMediaRecord::FromBytes(block.CdRow(i));
        if (record.leadInKey[0] == '\0') break;
        std::printf("CD[%zu]=", i);
        const auto in = korvalend::FieldText(record.leadInKey);
        const auto out = korvalend::FieldText(record.leadOutKey);
        const auto maker = korvalend::FieldText(record.makerText);
        std::printf("%.*s_%.*s=%.*s\n", static_cast<int>(in.size()), in.data(),
                    static_cast<int>(out.size()), out.data(), static_cast<int>(maker.size()),
                    maker.data());
    }
    for (std::size_t i = 0; i < korvalend::kMediaTableRecords; ++i) {
        const auto record = korvalend::DvdMediaRecord::FromBytes(block.DvdRow(i));
        if (record == korvalend::DvdMediaRecord{}) continue;
        std::printf("DVD[%zu]=", i);
        for (const auto byte : record.identifier) std::printf("%02X", byte);
        const auto maker = korvalend::FieldText(record.makerText);
        std::printf("=%.*s\n", static_cast<int>(maker.size()), maker.data());
    }
    return 0;
}

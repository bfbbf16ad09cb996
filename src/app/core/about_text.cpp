#include "app/core/about_text.h"

#include <array>
#include <cstdio>

namespace korvalend {

std::string AboutText(const ConfigurationBlockView& block) {
    namespace f = block_field;
    std::string text;
    text += "Release Date : ";
    text += block.Text(f::kDate);
    text += "\n     Version : ";
    text += block.Text(f::kMajor);
    text += ".";
    text += block.Text(f::kMinor);
    text += ".";
    text += block.Text(f::kRev);
    text += "\nDrive Models : ";
    text += block.Text(f::kModel);
    text += "\n\n                            Remarks : \n";
    text += block.Text(f::kRemark);
    return text;
}

std::string WindowCaption(const ConfigurationBlockView& block) {
    namespace f = block_field;
    const std::string name(block.Text(f::kName));
    const std::string major(block.Text(f::kMajor));
    const std::string minor(block.Text(f::kMinor));
    const std::string rev(block.Text(f::kRev));
    std::array<char, 256> caption{};
    std::snprintf(caption.data(), caption.size(), "%s v%s.%s.%s", name.c_str(), major.c_str(),
                  minor.c_str(), rev.c_str());
    return caption.data();
}

}  // namespace korvalend

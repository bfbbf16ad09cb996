#pragma once

#include <string>

#include "builder/configuration_block.h"

namespace korvalend {

// The text of the about box: release date, version, drive models and the remark.
std::string AboutText(const ConfigurationBlockView& block);

// The main window's caption: "NAME vMAJOR.MINOR.REV".
std::string WindowCaption(const ConfigurationBlockView& block);

}  // namespace korvalend

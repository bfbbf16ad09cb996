// The configuration block as it ships. It must stand whole in the executable's initialised data
// (the zero-filled tables included) and its marker text must occur nowhere else in the file:
// the builder finds the block by that text and patches the file's bytes.

#include <cstddef>
#include <cstdint>

#include "builder/configuration_block.h"

namespace korvalend {

// Only character arrays, so there is no padding and the offsets are the file format's.
struct ShippedBlockImage {
    char marker[14];
    char buildMode[12];
    char name[64];
    char date[16];
    char major[4];
    char minor[4];
    char rev[4];
    char model[128];
    char remark[1024];
    char step1[64];
    char step2[256];
    char step3[64];
    char copyright[64];
    char cdTable[31000];
    char dvdTable[30000];
};

static_assert(sizeof(ShippedBlockImage) == kConfigurationBlockSize);
static_assert(offsetof(ShippedBlockImage, buildMode) == block_field::kBuildMode.offset);
static_assert(offsetof(ShippedBlockImage, name) == block_field::kName.offset);
static_assert(offsetof(ShippedBlockImage, date) == block_field::kDate.offset);
static_assert(offsetof(ShippedBlockImage, major) == block_field::kMajor.offset);
static_assert(offsetof(ShippedBlockImage, minor) == block_field::kMinor.offset);
static_assert(offsetof(ShippedBlockImage, rev) == block_field::kRev.offset);
static_assert(offsetof(ShippedBlockImage, model) == block_field::kModel.offset);
static_assert(offsetof(ShippedBlockImage, remark) == block_field::kRemark.offset);
static_assert(offsetof(ShippedBlockImage, step1) == block_field::kStep1.offset);
static_assert(offsetof(ShippedBlockImage, step2) == block_field::kStep2.offset);
static_assert(offsetof(ShippedBlockImage, step3) == block_field::kStep3.offset);
static_assert(offsetof(ShippedBlockImage, copyright) == block_field::kCopyright.offset);
static_assert(offsetof(ShippedBlockImage, cdTable) == block_field::kCdTable.offset);
static_assert(offsetof(ShippedBlockImage, dvdTable) == block_field::kDvdTable.offset);

// The initialiser is not all zero, so the whole object, tables included, is emitted as data
// in the file rather than as zero-initialised storage. The object has external linkage only
// so that compilers describe it in debug information by its address rather than by a second
// copy of its bytes (which would put the marker text into the file twice); nothing declares it
// elsewhere.
extern const ShippedBlockImage kShippedConfigurationBlock;
const ShippedBlockImage kShippedConfigurationBlock = {
    "=@MOLB'S TOOL",
    "BUILDMODE=0",
    "Korvalend Media Check",
    "2003/09/28",
    "3",
    "1",
    "4",
    "for Varnold CD-RW, COMBO, DVD Writer",
    "    Since Varnold CD-RW/COMBO/DVD Writer drive, Buffer Underrun\n"
    "Protection Feature is always activated. The new feature of\n"
    "KORVALEND is to check CD-R/RW,DVD-R/RW,DVD+R/RW media quality\n"
    "and set burning speed limit base on this. The burning speed\n"
    "will be limited by the \"KORVALEND Speed Limit\" shown on PC\n"
    "screen.\n"
    "\n"
    "    Once the Media Manufacturer is identified by the program,\n"
    "it means Varnold CD-RW drive will use dedicated writing\n"
    "strategy and running optimal power calibration to secure the\n"
    "burning quality.\n"
    "\n"
    "    All the Brand Name property that the program identified is\n"
    "belong to the original company, the result is just a reference\n"
    "with assumption, no commercial consideration and value for\n"
    "this.\n",
    "Select a target CD-RW/COMBO/DVD Writer",
    "Insert your CD-R/RW or DVD+R/+RW/-R/-RW media into target drive, then click \"?\" button "
    "to see information about this media and what is the maximum burning speed that KORVALEND "
    "set base on the information",
    "The information of this media as :",
    "Copyright (C) 2026 Korvalend developers",
    {},
    {},
};

namespace {

// The block's address is read back through a volatile object. The optimiser (link-time
// optimisation included) must then treat the address as unknown and cannot fold the block's
// bytes into the code, so the running program reads what stands in the file, also in a copy
// whose bytes were patched.
const ShippedBlockImage* const volatile gShippedBlockAddress = &kShippedConfigurationBlock;

}  // namespace

ConfigurationBlockView RunningConfigurationBlock() {
    const ShippedBlockImage* image = gShippedBlockAddress;
    return ConfigurationBlockView(std::span<const std::uint8_t, kConfigurationBlockSize>(
        reinterpret_cast<const std::uint8_t*>(image), kConfigurationBlockSize));
}

}  // namespace korvalend

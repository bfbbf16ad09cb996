#include "sysinfo/os_info.h"

namespace korvalend {

// Every supported platform reaches drives through their own device files, the pass-through
// road, so the answer is settled at build time.
OSInfo::OSInfo() : nt_(true) {}

}  // namespace korvalend

#pragma once

#include <vector>

#include "builder/media_record.h"

namespace korvalend {

// The records of the user-defined media file, in file order; no limit on their number.
using UserCdList = std::vector<CdMediaRecord>;
using UserDvdList = std::vector<DvdMediaRecord>;

struct UserMediaLists {
    UserCdList cdList;
    UserDvdList dvdList;

    void Clear() {
        cdList.clear();
        dvdList.clear();
    }
};

}  // namespace korvalend

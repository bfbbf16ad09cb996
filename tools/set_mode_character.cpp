// korvalend-set-mode: writes a copy of a Korvalend executable with another mode character in its
// configuration block; "1" makes the copy start as the builder.
//   korvalend-set-mode INPUT OUTPUT MODE

#include <cstdio>
#include <string>

#include "builder/mode_character_patch.h"

int main(int argc, char** argv) {
    if (argc != 4 || std::string(argv[3]).size() != 1) {
        std::fprintf(stderr, "usage: korvalend-set-mode INPUT OUTPUT MODE-CHARACTER\n");
        return 2;
    }
    std::string error;
    if (!korvalend::WriteCopyWithModeCharacter(argv[1], argv[2], argv[3][0], error)) {
        std::fprintf(stderr, "korvalend-set-mode: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

#include "render/sequence_table.h"

namespace zuvprint {

using namespace std::string_view_literals;

const std::array<std::string_view, kLiczbaSekwencji> kSekwencje = {
    "\x1b" "FRGB"sv,
    "\x1b" "PRGB"sv,
    "\x1b" "F@"sv,
    "\x1b" "P@"sv,
    "\x1b" "PO"sv,
    "\x1b" "LA"sv,
    "\x1b" "LOGO"sv,
    "\x1b" "TLO"sv,
    "\x1b" "G"sv,
    "\x1b" "H"sv,
    "\x1b" "-1"sv,
    "\x1b" "-0"sv,
    "\x1b" "4"sv,
    "\x1b" "5"sv,
    "\x1b" "w1"sv,
    "\x1b" "w0"sv,
    "\x1b" "W1"sv,
    "\x1b" "W0"sv,
    "\x1b" "S1"sv,
    "\x1b" "T"sv,
    "\x0f"sv,
    "\x1b" "M"sv,
    "\x0c"sv,
    "\x1b" "P"sv,
    "\x1b" "@"sv,
    "\x1b" "C"sv,
    "\x1b" "x1"sv,
    "\x1b\x0f"sv,
    "\x1b" "k\0"sv,
    "\x1b" "k\x01"sv,
    "\x1b" "k\x04"sv,
    "\x1b" "k\x07"sv,
    "\x1b" "K\x08\x00\xff\xff\xc0\xc0\xc0\xc0\xc0\xc0"sv,
    "\x1b" "K"sv,
    "\x1b" "3"sv,
    "\x0a"sv,
};

}  // namespace zuvprint

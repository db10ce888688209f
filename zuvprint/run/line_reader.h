// The line reader over the work copy: the file is read once, on the first
// call, and lines are cut off the front of the in-memory buffer without
// copying the unread rest.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zuvprint {

// Reader states.
constexpr int kNieCzytano = -999;    // the work copy has not been read yet
constexpr int kJestDalej = 0;        // a line was returned and more text follows
constexpr int kOstatniaLinia = -998; // the line just returned is the last one
constexpr int kBladOtwarcia = -1;    // the work copy could not be opened
constexpr int kBladOdczytu = -2;     // reading failed; the buffer was discarded

// The unread rest of the work copy: the whole file and how far it was read.
struct BuforLinii {
  std::string dane;
  std::size_t pozycja = 0;

  std::string_view Reszta() const { return std::string_view(dane).substr(pozycja); }
};

// The next line. CR ends a line; LF and FF stay in the text. A form feed
// that ends the file's last line is dropped, and so is a buffer left with
// only FF CR, so a trailing form feed does not print an empty page.
std::string CzytajLinie(const std::string& sciezka, int& stan, BuforLinii& bufor);

}  // namespace zuvprint

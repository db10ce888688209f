// Cutting a print line at its control sequences. The line is consumed from
// the front; the next occurrence of every sequence is remembered, so that a
// line with many sequences is cut in time linear in its length.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "render/sequence_table.h"

namespace zuvprint {

// A sequence that starts at character 99,999 of the line or later is not found.
constexpr std::size_t kZasiegSzukania = 99999;

class LiniaDruku {
 public:
  LiniaDruku() { Ustaw({}); }
  explicit LiniaDruku(std::string tekst) { Ustaw(std::move(tekst)); }

  // Replaces the whole line.
  void Ustaw(std::string tekst);

  std::string_view Reszta() const { return std::string_view(tekst_).substr(poczatek_); }
  bool Pusta() const { return poczatek_ >= tekst_.size(); }

  // Removes the first n characters of the rest (all of it when shorter).
  void Usun(std::size_t n);

  // Removes the first n characters of the rest and puts c in front of what
  // remains.
  void ZastapPoczatek(std::size_t n, char c);

 private:
  friend bool PodzielLinie(LiniaDruku& linia, std::string_view& przed, int& numer);

  static constexpr std::size_t kBrak = std::string::npos;

  // Where sequence k next occurs at or after the start of the rest.
  std::size_t Nastepne(int k);

  std::string tekst_;
  std::size_t poczatek_ = 0;
  // Remembered next occurrences; an entry is valid while it is at or after
  // poczatek_ (kBrak: none to the end of the line).
  std::array<std::size_t, kLiczbaSekwencji> nastepne_{};
  std::array<bool, kLiczbaSekwencji> znane_{};
};

// Finds the earliest sequence of the rest (at equal positions the lower
// number wins). Found: przed = the text before it, the line keeps what
// follows it, numer = its number, result true. Not found: przed = the
// whole rest, the line becomes empty, numer = 0, result false. przed stays
// valid until the line is changed.
bool PodzielLinie(LiniaDruku& linia, std::string_view& przed, int& numer);

}  // namespace zuvprint

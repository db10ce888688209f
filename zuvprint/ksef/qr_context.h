// What the verification codes need of the print run: the printer page they
// are drawn on and the run's messages.
#pragma once

#include <functional>
#include <string>

#include "platform/surface.h"

namespace zuvprint {

struct KontekstQR {
  platform::Surface& drukarka;
  std::function<void(const std::string&)> pokaz;  // a message box (UTF-8)
  std::function<bool()> trybTestowy;              // asked afresh for every trace message
  // Called when codes are about to be drawn: opens the printer page if no
  // job is open yet and answers the baseline y to draw at (the marker
  // line's y when a page was open already). May be empty.
  std::function<float(float y)> otworzStrone = {};

  // A progress message, shown only in trace mode.
  void Sledz(const std::string& tekst) const {
    if (trybTestowy()) pokaz(tekst);
  }
};

}  // namespace zuvprint

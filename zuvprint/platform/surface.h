// The printer's drawing surface: the calls a print run makes on a printer
// device context. Drawing code never knows whether it draws into a PDF file,
// a CUPS job or the draw log.
//
// All coordinates and lengths are device pixels of the printer (600 per inch,
// origin at the top-left corner of the printable area, y grows downwards).
#pragma once

#include <cstdint>
#include <climits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/images.h"

namespace zuvprint::platform {

// Windows colour value: red + 256 * green + 65536 * blue.
using Colour = std::uint32_t;

// A print job could not be begun, written or handed to the printer.
// The text says why, in words meant for the user.
class PrintError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A measure truncated toward zero to whole pixels, as the drawing calls take
// it; values beyond the int range (a hostile print file can push x that far)
// saturate instead of overflowing.
inline int TruncatePixels(double v) {
  if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<int>(v);
}

// A rectangle of whole pixels; width = right - left, height = bottom - top.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct FontSpec {
  std::string face;  // UTF-8, a Windows face name such as "Lucida Console"
  int size = 10;     // points at the device's resolution; 0 and negative
                     // sizes as a Windows canvas takes them (font_height.h)
  int charset = 0;   // Windows character-set number; carried, not interpreted
  bool bold = false;
  bool italic = false;
  Colour colour = 0;

  bool operator==(const FontSpec&) const = default;
};

class Surface {
 public:
  virtual ~Surface() = default;

  // Orientation of the jobs begun from now on: 0 portrait, 1 landscape.
  // Only valid while no job is open; other values are ignored by callers.
  virtual void SetOrientation(int orientation) = 0;

  // StartDoc with the first StartPage. Throws PrintError when the job
  // cannot be begun (output not writable, printer gone).
  virtual void BeginJob(const std::string& title) = 0;

  // EndPage followed by StartPage.
  virtual void NewPage() = 0;

  // EndPage and EndDoc: the job is complete and handed on. Throws
  // PrintError when its output cannot be written or is refused.
  virtual void EndJob() = 0;

  // Device capabilities: pixels per inch and the printable page size
  // of the current orientation.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  // Makes this font current for measuring and drawing. Valid with or
  // without an open job.
  virtual void SelectFont(const FontSpec& font) = 0;

  // Width in whole pixels of a text (code points) in the current font.
  virtual int TextWidth(std::u32string_view text) = 0;

  // Ascent (tmAscent) of the current font in whole pixels.
  virtual int Ascent() = 0;

  // SetTextAlign(TA_BASELINE): text positions name the baseline. Must be
  // set again after every new page, as on a Windows printer.
  virtual void SetBaselineAlignment() = 0;

  // Draws one character with its baseline-left point at (x, y), in the
  // current font and colour, without background.
  virtual void DrawChar(int x, int y, char32_t ch) = 0;

  // Pen for the following lines.
  virtual void SetPen(int width, Colour colour) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;

  // StretchDIBits with SRCCOPY: copies the source rectangle of the bitmap
  // onto the destination rectangle of the page, stretched or shrunk,
  // opaque, nearest pixel (so QR modules stay sharp).
  virtual void StretchBitmap(const Rect& dest, const Bitmap& bitmap, const Rect& source) = 0;

  // A message box was shown while this surface was the printer. Only the
  // recording surface keeps it; other surfaces ignore it.
  virtual void NoteMessage(const std::string& /*utf8*/) {}
};

}  // namespace zuvprint::platform

// The GDI surface: every call of the print run is the GDI call of the same
// name on a device context. Each GDI object (DC, font, pen, printer handle)
// is owned by a holder that releases it on every path.
#include "platform/windows/gdi_surface.h"

#include <windows.h>
#include <winspool.h>
// files.h names a function DeleteFile, which windows.h makes a macro.
#undef DeleteFile
#undef MessageBox

#include <cstdint>
#include <map>
#include <tuple>
#include <type_traits>
#include <vector>

#include "platform/files.h"
#include "platform/font_height.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {

namespace {

struct DcDeleter {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using DcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using PenHandle = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;

struct PrinterCloser {
  void operator()(HANDLE printer) const { ::ClosePrinter(printer); }
};
using PrinterHandle = std::unique_ptr<void, PrinterCloser>;

// ": " and the system's text of the last error, or nothing when the call
// that failed did not say why.
std::string Reason() {
  const DWORD code = ::GetLastError();
  return code == 0 ? std::string() : ": " + WindowsErrorText(code);
}

void AppendUtf16(std::wstring& out, char32_t ch) {
  if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = 0xFFFD;
  if (ch < 0x10000) {
    out += static_cast<wchar_t>(ch);
    return;
  }
  ch -= 0x10000;
  out += static_cast<wchar_t>(0xD800 + (ch >> 10));
  out += static_cast<wchar_t>(0xDC00 + (ch & 0x3FF));
}

// Colours are Windows colour values; the high byte (palette and system
// colour flags) is ignored, as the other backends ignore it.
COLORREF Rgb(Colour colour) { return colour & 0x00FFFFFF; }

// The bitmap as a 24-bit top-down DIB: rows of B, G, R, padded to 4 bytes.
std::vector<std::uint8_t> ToDib(const Bitmap& bitmap, BITMAPINFO& info) {
  const std::size_t width = static_cast<std::size_t>(bitmap.width);
  const std::size_t stride = (width * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> dib(stride * static_cast<std::size_t>(bitmap.height));
  const std::uint8_t* rgb = bitmap.rgb.data();
  for (int y = 0; y < bitmap.height; ++y) {
    std::uint8_t* row = dib.data() + static_cast<std::size_t>(y) * stride;
    for (std::size_t x = 0; x < width; ++x, rgb += 3, row += 3) {
      row[0] = rgb[2];
      row[1] = rgb[1];
      row[2] = rgb[0];
    }
  }
  info = BITMAPINFO{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.width;
  info.bmiHeader.biHeight = -bitmap.height;  // negative: rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return dib;
}

// An extent in int, or nothing when it does not fit (a hostile zoom can
// push a rectangle's corners to both ends of the int range).
bool Extent(int from, int to, int& extent) {
  const std::int64_t e = std::int64_t{to} - from;
  if (e < INT32_MIN || e > INT32_MAX) return false;
  extent = static_cast<int>(e);
  return true;
}

class GdiSurface : public Surface {
 public:
  // A printer's DC, created with its DEVMODE (kept for orientation changes).
  GdiSurface(DcHandle dc, std::string printer, std::vector<BYTE> devmode, std::optional<JobFiles> files)
      : dc_(std::move(dc)), printer_(std::move(printer)), devmode_(std::move(devmode)), files_(std::move(files)) {
    Prepare();
  }

  // A memory DC: measures only.
  explicit GdiSurface(DcHandle dc) : dc_(std::move(dc)), measuring_(true) { Prepare(); }

  ~GdiSurface() override {
    if (jobOpen_) {
      // A job left open (the run failed half way) is not a printed job.
      ::AbortDoc(dc_.get());
      if (!output_.empty()) DeleteFile(output_);
    }
    // The DC gives back the stock objects, so ours can be deleted.
    ::SelectObject(dc_.get(), ::GetStockObject(SYSTEM_FONT));
    ::SelectObject(dc_.get(), ::GetStockObject(BLACK_PEN));
  }

  GdiSurface(const GdiSurface&) = delete;
  GdiSurface& operator=(const GdiSurface&) = delete;

  void SetOrientation(int orientation) override {
    if (orientation != 0 && orientation != 1) return;
    orientation_ = orientation;
    if (!jobOpen_) ApplyOrientation();
  }

  void BeginJob(const std::string& title) override {
    if (jobOpen_) return;
    ApplyOrientation();
    if (measuring_) {
      jobOpen_ = true;
      return;
    }
    std::wstring wideTitle = Wide(title), wideOutput;
    if (files_) {
      // The file is claimed here, so no other file is ever replaced; the
      // driver then writes the job into it.
      NativeFile claimed = CreateWithoutOverwrite(files_->directory, files_->stem, files_->extension, output_);
      claimed.Close();
      wideOutput = Wide(output_);
    }
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = wideTitle.c_str();
    info.lpszOutput = files_ ? wideOutput.c_str() : nullptr;
    ::SetLastError(0);
    if (::StartDocW(dc_.get(), &info) <= 0) {
      const std::string why = Reason();
      DiscardOutput();
      throw PrintError("Nie można rozpocząć wydruku " + title + " na drukarce " + printer_ + why);
    }
    title_ = title;
    jobOpen_ = true;
    ::SetLastError(0);
    if (::StartPage(dc_.get()) <= 0) {
      const std::string why = Reason();
      Abort();
      throw PrintError("Nie można rozpocząć wydruku " + title + " na drukarce " + printer_ + why);
    }
    Restore();
  }

  void NewPage() override {
    if (!jobOpen_ || measuring_) return;
    ::SetLastError(0);
    if (::EndPage(dc_.get()) <= 0 || ::StartPage(dc_.get()) <= 0) {
      const std::string why = Reason();
      Abort();
      throw PrintError(NotWritten() + why);
    }
    Restore();
  }

  void EndJob() override {
    if (!jobOpen_) return;
    if (measuring_) {
      jobOpen_ = false;
      return;
    }
    ::SetLastError(0);
    if (::EndPage(dc_.get()) <= 0) {
      const std::string why = Reason();
      Abort();
      throw PrintError(NotWritten() + why);
    }
    ::SetLastError(0);
    const bool ended = ::EndDoc(dc_.get()) > 0;
    jobOpen_ = false;
    if (!ended) {
      const std::string why = Reason();
      const std::string message = NotWritten() + why;
      DiscardOutput();
      throw PrintError(message);
    }
    output_.clear();
  }

  int DpiX() const override { return measuring_ ? kMeasuringDpi : ::GetDeviceCaps(dc_.get(), LOGPIXELSX); }
  int DpiY() const override { return measuring_ ? kMeasuringDpi : ::GetDeviceCaps(dc_.get(), LOGPIXELSY); }
  int PageWidth() const override {
    if (measuring_) return applied_ == 1 ? kMeasuringA4Height : kMeasuringA4Width;
    return ::GetDeviceCaps(dc_.get(), HORZRES);
  }
  int PageHeight() const override {
    if (measuring_) return applied_ == 1 ? kMeasuringA4Width : kMeasuringA4Height;
    return ::GetDeviceCaps(dc_.get(), VERTRES);
  }

  void SelectFont(const FontSpec& font) override {
    const int height = FontHeightForPoints(font.size, DpiY());
    const BYTE charset = static_cast<BYTE>(font.charset & 0xFF);
    std::wstring face = Wide(font.face);
    auto key = std::make_tuple(face, height, charset, font.bold, font.italic);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
      // The print run selects a few fonts over and over; a document that
      // asks for very many keeps only the latest ones.
      if (fonts_.size() >= kMaxFonts) {
        ::SelectObject(dc_.get(), ::GetStockObject(SYSTEM_FONT));
        font_ = nullptr;
        fonts_.clear();
      }
      FontHandle created(::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                                       charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH, face.c_str()));
      if (!created) return;  // the font in use stays
      it = fonts_.emplace(std::move(key), std::move(created)).first;
    }
    font_ = it->second.get();
    textColour_ = Rgb(font.colour);
    ::SelectObject(dc_.get(), font_);
    ::SetTextColor(dc_.get(), textColour_);
  }

  int TextWidth(std::u32string_view text) override {
    std::wstring wide;
    for (char32_t ch : text) AppendUtf16(wide, ch);
    SIZE size{};
    if (wide.empty() || !::GetTextExtentPoint32W(dc_.get(), wide.data(), static_cast<int>(wide.size()), &size))
      return 0;
    return size.cx;
  }

  int Ascent() override {
    TEXTMETRICW metrics{};
    return ::GetTextMetricsW(dc_.get(), &metrics) ? metrics.tmAscent : 0;
  }

  void SetBaselineAlignment() override { ::SetTextAlign(dc_.get(), TA_BASELINE); }

  void DrawChar(int x, int y, char32_t ch) override {
    if (!Drawing()) return;
    std::wstring wide;
    AppendUtf16(wide, ch);
    ::TextOutW(dc_.get(), x, y, wide.data(), static_cast<int>(wide.size()));
  }

  void SetPen(int width, Colour colour) override {
    if (width < 0) width = 0;  // a cosmetic pen: one pixel wide, as for 0
    if (pen_ && width == penWidth_ && Rgb(colour) == penColour_) return;
    PenHandle pen(::CreatePen(PS_SOLID, width, Rgb(colour)));
    if (!pen) return;
    ::SelectObject(dc_.get(), pen.get());
    pen_ = std::move(pen);  // the pen it replaces is no longer selected
    penWidth_ = width;
    penColour_ = Rgb(colour);
  }

  void MoveTo(int x, int y) override { ::MoveToEx(dc_.get(), x, y, nullptr); }

  void LineTo(int x, int y) override {
    if (Drawing())
      ::LineTo(dc_.get(), x, y);
    else
      ::MoveToEx(dc_.get(), x, y, nullptr);
  }

  void StretchBitmap(const Rect& dest, const Bitmap& bitmap, const Rect& source) override {
    int dw = 0, dh = 0, sw = 0, sh = 0;
    if (!Drawing() || bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.rgb.size() < static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height) * 3 ||
        !Extent(dest.left, dest.right, dw) || !Extent(dest.top, dest.bottom, dh) || dw == 0 || dh == 0 ||
        !Extent(source.left, source.right, sw) || !Extent(source.top, source.bottom, sh) || sw <= 0 || sh <= 0 ||
        source.left < 0 || source.top < 0 || source.right > bitmap.width || source.bottom > bitmap.height)
      return;
    BITMAPINFO info;
    std::vector<std::uint8_t> dib = ToDib(bitmap, info);
    // A negative destination extent mirrors the image.
    ::StretchDIBits(dc_.get(), dest.left, dest.top, dw, dh, source.left, source.top, sw, sh, dib.data(), &info,
                    DIB_RGB_COLORS, SRCCOPY);
  }

 private:
  static constexpr std::size_t kMaxFonts = 64;

  // Drawing reaches a page only inside a job; a measuring DC draws nothing.
  bool Drawing() const { return jobOpen_ && !measuring_; }

  void Prepare() {
    ::SetMapMode(dc_.get(), MM_TEXT);
    ::SetBkMode(dc_.get(), TRANSPARENT);
    SelectFont(FontSpec{"Lucida Console", 10, 0, false, false, 0});
  }

  // Puts the DC's attributes back where a new page or a reset DC may have
  // dropped them (the text alignment is the caller's, as on a printer).
  void Restore() {
    ::SetBkMode(dc_.get(), TRANSPARENT);
    if (font_) ::SelectObject(dc_.get(), font_);
    ::SetTextColor(dc_.get(), textColour_);
    if (pen_) ::SelectObject(dc_.get(), pen_.get());
  }

  // The orientation takes effect through the printer's DEVMODE, which
  // ResetDCW applies to the DC between jobs.
  void ApplyOrientation() {
    if (orientation_ < 0 || orientation_ == applied_) return;
    if (measuring_) {
      applied_ = orientation_;
      return;
    }
    if (devmode_.size() < sizeof(DEVMODEW)) return;
    auto* devmode = reinterpret_cast<DEVMODEW*>(devmode_.data());
    devmode->dmFields |= DM_ORIENTATION;
    devmode->dmOrientation = static_cast<short>(orientation_ == 1 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
    if (::ResetDCW(dc_.get(), devmode)) {
      applied_ = orientation_;
      Restore();
    }
  }

  std::string NotWritten() const {
    return files_ ? "Nie można zapisać wydruku " + title_ + " do pliku " + output_
                  : "Drukarka " + printer_ + " nie przyjęła wydruku " + title_;
  }

  void Abort() {
    ::AbortDoc(dc_.get());
    jobOpen_ = false;
    DiscardOutput();
  }

  // The claimed file of a job that failed holds no complete job.
  void DiscardOutput() {
    if (!output_.empty()) DeleteFile(output_);
    output_.clear();
  }

  DcHandle dc_;  // first: destroyed after the objects selected into it
  bool measuring_ = false;
  std::string printer_;
  std::vector<BYTE> devmode_;
  std::optional<JobFiles> files_;
  int orientation_ = -1;  // of the jobs begun from now on; -1: the printer's own
  int applied_ = -1;      // in the DC
  bool jobOpen_ = false;
  std::string title_;
  std::string output_;  // the file of the open job, when jobs go to files
  std::map<std::tuple<std::wstring, int, BYTE, bool, bool>, FontHandle> fonts_;
  HFONT font_ = nullptr;
  COLORREF textColour_ = 0;
  PenHandle pen_;
  int penWidth_ = 0;
  COLORREF penColour_ = 0;
};

}  // namespace

std::unique_ptr<Surface> MakePrinterSurface(const std::string& printer, std::optional<JobFiles> files) {
  std::wstring name = Wide(printer);
  HANDLE opened = nullptr;
  if (!::OpenPrinterW(name.data(), &opened, nullptr))
    throw PrintError("Nie można otworzyć drukarki " + printer + Reason());
  PrinterHandle handle(opened);
  // The printer's current settings, which the orientation is later set in.
  std::vector<BYTE> devmode;
  const LONG size = ::DocumentPropertiesW(nullptr, handle.get(), name.data(), nullptr, nullptr, 0);
  if (size >= static_cast<LONG>(sizeof(DEVMODEW))) {
    devmode.resize(static_cast<std::size_t>(size));
    if (::DocumentPropertiesW(nullptr, handle.get(), name.data(), reinterpret_cast<DEVMODEW*>(devmode.data()),
                              nullptr, DM_OUT_BUFFER) != IDOK)
      devmode.clear();
  }
  DcHandle dc(::CreateDCW(L"WINSPOOL", name.c_str(), nullptr,
                          devmode.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(devmode.data())));
  if (!dc) throw PrintError("Nie można otworzyć drukarki " + printer + Reason());
  return std::make_unique<GdiSurface>(std::move(dc), printer, std::move(devmode), std::move(files));
}

std::unique_ptr<Surface> MakeMeasuringSurface() {
  DcHandle dc(::CreateCompatibleDC(nullptr));
  if (!dc) throw PrintError("Nie można utworzyć kontekstu rysowania" + Reason());
  return std::make_unique<GdiSurface>(std::move(dc));
}

}  // namespace zuvprint::platform

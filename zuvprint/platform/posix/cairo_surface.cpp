#include "platform/posix/cairo_surface.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <endian.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/font_height.h"
#include "platform/posix/fonts.h"
#include "platform/stroke_batch.h"
#include "platform/utf8.h"

namespace zuvprint::platform {

namespace {

struct CairoDeleter {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
  void operator()(cairo_font_face_t* p) const { cairo_font_face_destroy(p); }
  void operator()(cairo_scaled_font_t* p) const { cairo_scaled_font_destroy(p); }
  void operator()(cairo_font_options_t* p) const { cairo_font_options_destroy(p); }
};
template <typename T>
using CairoPtr = std::unique_ptr<T, CairoDeleter>;

// Cairo's user space is device pixels; the PDF is in points.
constexpr double kPointsPerPixel = 72.0 / kDpi;

void SetSourceColour(cairo_t* cr, Colour c) {
  cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
}

// Metrics must not depend on the output device, so the draw log, the PDF
// and a later GDI backend agree on every cell position.
CairoPtr<cairo_font_options_t> DeviceIndependentOptions() {
  CairoPtr<cairo_font_options_t> options(cairo_font_options_create());
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  return options;
}

// A temporary file removed on destruction unless it was delivered away.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& dir) {
    std::string pattern = (dir.empty() ? std::string(".") : dir) + "/.zuvprint-XXXXXX.pdf";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
    if (fd < 0)
      throw PrintError("Nie można utworzyć pliku wydruku w katalogu " + dir + ": " + std::strerror(errno));
    file_ = NativeFile(fd);
    path_ = name.data();
    // mkstemp makes the file private; the finished job is an ordinary file
    // of the user's, so give it the permissions the umask allows.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  ~TemporaryFile() { ::unlink(path_.c_str()); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return path_; }
  NativeFile& File() { return file_; }

 private:
  std::string path_;
  NativeFile file_;
};

class FileSink : public JobSink {
 public:
  FileSink(std::string dir, std::string stem) : dir_(std::move(dir)), stem_(std::move(stem)) {}
  std::string TemporaryDirectory() const override { return dir_; }
  void Deliver(const std::string& pdfPath, const std::string&) override {
    PublishWithoutOverwrite(pdfPath, dir_, stem_, ".pdf");
  }

 private:
  std::string dir_, stem_;
};

// A face at one size, with the glyph index of every character looked up once.
struct LoadedFont {
  CairoPtr<cairo_font_face_t> face;
  CairoPtr<cairo_scaled_font_t> scaled;  // identity CTM: measures in pixels
  double pixelSize = 0;
  // The size the glyphs are drawn at: a printer rounds advance widths to
  // whole device pixels, and so does the cell grid (the width of "W" is
  // measured in whole pixels). Drawing glyphs whose advance is exactly that
  // width (a horizontal change of well under one percent) lets the PDF place
  // a run of cells as one plain string instead of adjusting every glyph.
  cairo_matrix_t drawMatrix{};
  std::unordered_map<char32_t, unsigned long> glyphs;

  unsigned long Glyph(char32_t ch) {
    auto it = glyphs.find(ch);
    if (it != glyphs.end()) return it->second;
    std::string utf8;
    AppendUtf8(utf8, ch);
    cairo_glyph_t* found = nullptr;
    int count = 0;
    unsigned long index = 0;
    if (cairo_scaled_font_text_to_glyphs(scaled.get(), 0, 0, utf8.data(), static_cast<int>(utf8.size()), &found,
                                         &count, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
        count > 0)
      index = found[0].index;
    cairo_glyph_free(found);
    glyphs.emplace(ch, index);
    return index;
  }
};

// Cairo's RGB24 pixel of the R, G, B bytes at p. All but the last pixel of
// a bitmap have a byte after them, so four are read at once and turned
// around (B, G, R in the low bytes); the last is put together byte by byte.
std::uint32_t PackRgb(const std::uint8_t* p, bool last) {
  if (last) return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return __builtin_bswap32(le32toh(v)) >> 8;
}

// An RGB24 image surface whose pixels lie in memory mapped with all its
// pages at once: a page image or a code image is megabytes, and taking its
// pages one fault at a time, as freshly allocated memory comes, costs more
// than filling them. Unmapped when cairo lets the surface go.
CairoPtr<cairo_surface_t> NewRgbImage(int width, int height) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
  const std::size_t bytes = stride > 0 && height > 0 ? static_cast<std::size_t>(stride) * height : 0;
  void* data = bytes > 0 ? ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE,
                                  -1, 0)
                         : MAP_FAILED;
  if (data == MAP_FAILED) return CairoPtr<cairo_surface_t>(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  CairoPtr<cairo_surface_t> image(
      cairo_image_surface_create_for_data(static_cast<unsigned char*>(data), CAIRO_FORMAT_RGB24, width, height, stride));
  struct Mapping {
    void* data;
    std::size_t bytes;
  };
  static const cairo_user_data_key_t kMapping{};
  if (cairo_surface_set_user_data(image.get(), &kMapping, new Mapping{data, bytes}, [](void* p) {
        auto* m = static_cast<Mapping*>(p);
        ::munmap(m->data, m->bytes);
        delete m;
      }) != CAIRO_STATUS_SUCCESS) {
    ::munmap(data, bytes);
    return CairoPtr<cairo_surface_t>(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  }
  return image;
}

CairoPtr<cairo_surface_t> ToCairoImage(const Bitmap& bitmap) {
  CairoPtr<cairo_surface_t> image = NewRgbImage(bitmap.width, bitmap.height);
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) return image;
  cairo_surface_flush(image.get());
  unsigned char* data = cairo_image_surface_get_data(image.get());
  int stride = cairo_image_surface_get_stride(image.get());
  const std::uint8_t* rgb = bitmap.rgb.data();
  for (int y = 0; y < bitmap.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    const bool lastRow = y == bitmap.height - 1;
    for (int x = 0; x < bitmap.width; ++x, rgb += 3) row[x] = PackRgb(rgb, lastRow && x == bitmap.width - 1);
  }
  cairo_surface_mark_dirty(image.get());
  return image;
}

// The size and about 64 KiB of an image's bytes, taken evenly across it.
std::size_t SampleHash(const Bitmap& bitmap) {
  constexpr std::size_t kPieces = 1024, kPiece = 64;
  const std::string_view bytes(reinterpret_cast<const char*>(bitmap.rgb.data()), bitmap.rgb.size());
  std::string sample = std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height);
  if (bytes.size() <= kPieces * kPiece) {
    sample += bytes;
  } else {
    const std::size_t stride = (bytes.size() - kPiece) / (kPieces - 1);
    for (std::size_t i = 0; i < kPieces; ++i) sample += bytes.substr(i * stride, kPiece);
  }
  return std::hash<std::string>{}(sample);
}

// Whether a converted image holds exactly the bitmap's pixels.
bool SamePixels(cairo_surface_t* image, const Bitmap& bitmap) {
  if (cairo_image_surface_get_width(image) != bitmap.width || cairo_image_surface_get_height(image) != bitmap.height)
    return false;
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  const std::uint8_t* rgb = bitmap.rgb.data();
  for (int y = 0; y < bitmap.height; ++y) {
    auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    const bool lastRow = y == bitmap.height - 1;
    for (int x = 0; x < bitmap.width; ++x, rgb += 3)
      if ((row[x] & 0xFFFFFF) != PackRgb(rgb, lastRow && x == bitmap.width - 1)) return false;
  }
  return true;
}

class CairoSurface : public Surface {
 public:
  explicit CairoSurface(std::unique_ptr<JobSink> sink) : sink_(std::move(sink)) {
    options_ = DeviceIndependentOptions();
    SelectFont(FontSpec{"Lucida Console", 10, 0, false, false, 0});
  }

  void SetOrientation(int orientation) override { orientation_ = orientation; }

  void BeginJob(const std::string& title) override {
    job_ = std::make_unique<Job>(sink_->TemporaryDirectory());
    job_->title = title;
    job_->surface.reset(cairo_pdf_surface_create_for_stream(&Job::Write, job_.get(),
                                                             PageWidth() * kPointsPerPixel,
                                                             PageHeight() * kPointsPerPixel));
    cairo_pdf_surface_set_metadata(job_->surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(job_->surface.get(), CAIRO_PDF_METADATA_CREATOR, "ZuvPrint");
    job_->cr.reset(cairo_create(job_->surface.get()));
    if (cairo_status(job_->cr.get()) != CAIRO_STATUS_SUCCESS) {
      job_.reset();
      throw PrintError("Nie można rozpocząć wydruku " + title);
    }
    cairo_scale(job_->cr.get(), kPointsPerPixel, kPointsPerPixel);
    cairo_set_font_options(job_->cr.get(), options_.get());
  }

  void NewPage() override {
    if (!job_) return;
    Flush();
    cairo_show_page(job_->cr.get());
  }

  void EndJob() override {
    if (!job_) return;
    std::unique_ptr<Job> job = std::move(job_);
    FlushInto(*job);
    // The page is ended as a printer ends it: a page without marks is
    // still a sheet of paper.
    cairo_show_page(job->cr.get());
    cairo_status_t drawn = cairo_status(job->cr.get());
    job->cr.reset();
    cairo_surface_finish(job->surface.get());
    cairo_status_t written = cairo_surface_status(job->surface.get());
    job->surface.reset();
    job->WritePending();  // the last block; a failure is reported below with the others
    bool closed = job->file.File().Close();
    int closeError = closed ? 0 : errno;
    if (drawn != CAIRO_STATUS_SUCCESS || written != CAIRO_STATUS_SUCCESS || job->writeFailed || !closed) {
      std::string why = job->writeError                 ? std::strerror(job->writeError)
                        : closeError                    ? std::strerror(closeError)
                        : drawn != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(drawn)
                                                        : cairo_status_to_string(written);
      throw PrintError("Nie można zapisać wydruku " + job->title + ": " + why);
    }
    sink_->Deliver(job->file.Path(), job->title);
  }

  int DpiX() const override { return kDpi; }
  int DpiY() const override { return kDpi; }
  int PageWidth() const override { return orientation_ == 1 ? kA4HeightPx : kA4WidthPx; }
  int PageHeight() const override { return orientation_ == 1 ? kA4WidthPx : kA4HeightPx; }

  void SelectFont(const FontSpec& font) override {
    // The print run selects the font after every sequence, mostly the one
    // already current: that must not cut the glyph run.
    if (current_ && font == font_) return;
    if (job_) FlushGlyphs(*job_);  // a pending path keeps its own pen
    font_ = font;
    current_ = &Load(font);
  }

  int TextWidth(std::u32string_view text) override {
    std::string utf8 = ToUtf8(text);
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(current_->scaled.get(), utf8.c_str(), &extents);
    return static_cast<int>(std::lround(extents.x_advance));
  }

  int Ascent() override {
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(current_->scaled.get(), &extents);
    return static_cast<int>(std::lround(extents.ascent));
  }

  void SetBaselineAlignment() override {}  // cairo always places text on its baseline

  void DrawChar(int x, int y, char32_t ch) override {
    if (!job_) return;
    if (!SameInk()) FlushPath(*job_);
    glyphs_.push_back(cairo_glyph_t{current_->Glyph(ch), static_cast<double>(x), static_cast<double>(y)});
  }

  void SetPen(int width, Colour colour) override {
    if (width == penWidth_ && colour == penColour_) return;
    if (job_) FlushPath(*job_);
    penWidth_ = width;
    penColour_ = colour;
  }

  void MoveTo(int x, int y) override {
    penX_ = x;
    penY_ = y;
  }

  void LineTo(int x, int y) override {
    if (job_) {
      if (!SameInk()) FlushGlyphs(*job_);
      stroke_.Add(penX_, penY_, x, y);
    }
    penX_ = x;
    penY_ = y;
  }

  void StretchBitmap(const Rect& dest, const Bitmap& bitmap, const Rect& source) override {
    // Extents in double: a hostile zoom can make a rectangle as wide as the
    // whole int range.
    double sw = static_cast<double>(source.right) - source.left, sh = static_cast<double>(source.bottom) - source.top;
    double dw = static_cast<double>(dest.right) - dest.left, dh = static_cast<double>(dest.bottom) - dest.top;
    if (!job_ || sw <= 0 || sh <= 0 || dw == 0 || dh == 0 || bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.rgb.size() < static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height) * 3)
      return;
    Flush();
    cairo_surface_t* image = job_->Image(bitmap);
    if (!image) return;
    cairo_t* cr = job_->cr.get();
    cairo_save(cr);
    cairo_rectangle(cr, std::min(dest.left, dest.right), std::min(dest.top, dest.bottom), std::fabs(dw),
                    std::fabs(dh));
    cairo_clip(cr);
    // A negative destination extent mirrors the image, as StretchDIBits does.
    cairo_translate(cr, dest.left, dest.top);
    cairo_scale(cr, dw / sw, dh / sh);
    cairo_set_source_surface(cr, image, -source.left, -source.top);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }

 private:
  struct Job {
    explicit Job(const std::string& dir) : file(dir) {}
    // Members are destroyed in reverse order: the PDF surface, finished on
    // destruction, still writes through file and the write status.
    TemporaryFile file;
    bool writeFailed = false;
    int writeError = 0;
    std::string title;
    // Images drawn in this job, so that a background or logo repeated on
    // every page is converted once and embedded in the PDF once: the PDF
    // surface shares a source surface drawn again. An image is found again
    // by its size and a sample of its bytes, then compared whole with the
    // converted pixels, so no copy of it is kept. Bounded, so a document of
    // many different images does not keep them all.
    static constexpr std::size_t kMaxCachedBytes = std::size_t{128} << 20;
    std::unordered_multimap<std::size_t, CairoPtr<cairo_surface_t>> images;
    std::size_t cachedBytes = 0;
    CairoPtr<cairo_surface_t> uncached;
    CairoPtr<cairo_surface_t> surface;
    CairoPtr<cairo_t> cr;

    cairo_surface_t* Image(const Bitmap& bitmap) {
      const std::size_t key = SampleHash(bitmap);
      auto [first, last] = images.equal_range(key);
      for (auto it = first; it != last; ++it)
        if (SamePixels(it->second.get(), bitmap)) return it->second.get();
      CairoPtr<cairo_surface_t> converted = ToCairoImage(bitmap);
      if (cairo_surface_status(converted.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
      if (cachedBytes + bitmap.rgb.size() > kMaxCachedBytes) {
        uncached = std::move(converted);
        return uncached.get();
      }
      cachedBytes += bitmap.rgb.size();
      return images.emplace(key, std::move(converted))->second.get();
    }

    // cairo writes the PDF in pieces of a few bytes; they are gathered and
    // written in blocks, so a page costs a few system calls, not hundreds.
    static constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::vector<unsigned char> pending;

    bool WritePending() {
      if (writeFailed) return false;
      if (!pending.empty() && !file.File().Write(pending.data(), pending.size())) {
        writeFailed = true;
        writeError = errno;
        return false;
      }
      pending.clear();
      return true;
    }

    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length) {
      auto* job = static_cast<Job*>(closure);
      if (job->writeFailed) return CAIRO_STATUS_WRITE_ERROR;
      job->pending.insert(job->pending.end(), data, data + length);
      if (job->pending.size() >= kBlock && !job->WritePending()) return CAIRO_STATUS_WRITE_ERROR;
      return CAIRO_STATUS_SUCCESS;
    }
  };

  LoadedFont& Load(const FontSpec& font) {
    auto key = std::make_tuple(font.face, font.size, font.bold, font.italic);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    LoadedFont loaded;
    PrepareFontLookup(font.face);
    loaded.face.reset(cairo_toy_font_face_create(font.face.c_str(),
                                                 font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                                 font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL));
    loaded.pixelSize = EmPixelsForHeight(loaded.face.get(), FontHeightForPoints(font.size, kDpi));
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, loaded.pixelSize, loaded.pixelSize);
    cairo_matrix_init_identity(&identity);
    loaded.scaled.reset(cairo_scaled_font_create(loaded.face.get(), &size, &identity, options_.get()));
    cairo_text_extents_t w;
    cairo_scaled_font_text_extents(loaded.scaled.get(), "W", &w);
    const double whole = std::lround(w.x_advance);
    const double fit = w.x_advance > 0 && whole > 0 ? whole / w.x_advance : 1.0;
    cairo_matrix_init_scale(&loaded.drawMatrix, loaded.pixelSize * fit, loaded.pixelSize);
    return fonts_.emplace(key, std::move(loaded)).first->second;
  }

  // Text and lines of one colour may be drawn in either order: opaque ink
  // over the same ink gives the same page. So while they share a colour,
  // glyphs and line segments gather in one glyph run and one path however
  // they alternate (a framed table line is text, rule, text, rule, ...), and
  // the PDF gets a few large drawing operations a page instead of hundreds.
  bool SameInk() const { return font_.colour == penColour_; }

  void Flush() {
    if (job_) FlushInto(*job_);
  }
  void FlushInto(Job& job) {
    FlushGlyphs(job);
    FlushPath(job);
  }

  void FlushGlyphs(Job& job) {
    if (glyphs_.empty()) return;
    cairo_t* cr = job.cr.get();
    cairo_set_font_face(cr, current_->face.get());
    cairo_set_font_matrix(cr, &current_->drawMatrix);
    SetSourceColour(cr, font_.colour);
    cairo_show_glyphs(cr, glyphs_.data(), static_cast<int>(glyphs_.size()));
    glyphs_.clear();
  }

  void FlushPath(Job& job) {
    if (stroke_.Empty()) return;
    cairo_t* cr = job.cr.get();
    // A segment that starts where the one before ended continues its line
    // (cairo's own current point comes back through device space and may
    // differ from the pixel in the last bits).
    const Segment* last = nullptr;
    for (const Segment& s : stroke_.Segments()) {
      if (!last || last->x2 != s.x1 || last->y2 != s.y1) cairo_move_to(cr, s.x1, s.y1);
      cairo_line_to(cr, s.x2, s.y2);
      last = &s;
    }
    stroke_.Clear();
    // A Windows pen of width 0 or less still draws one pixel wide.
    cairo_set_line_width(cr, penWidth_ > 0 ? penWidth_ : 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetSourceColour(cr, penColour_);
    cairo_stroke(cr);
  }

  std::unique_ptr<JobSink> sink_;
  CairoPtr<cairo_font_options_t> options_;
  std::map<std::tuple<std::string, int, bool, bool>, LoadedFont> fonts_;
  FontSpec font_;
  LoadedFont* current_ = nullptr;
  int orientation_ = 0;
  std::unique_ptr<Job> job_;
  std::vector<cairo_glyph_t> glyphs_;
  StrokeBatch stroke_;  // the pending path, in the current pen
  int penWidth_ = 1;
  Colour penColour_ = 0;
  int penX_ = 0, penY_ = 0;
};

}  // namespace

std::unique_ptr<JobSink> MakePdfFileSink(std::string directory, std::string stem) {
  return std::make_unique<FileSink>(std::move(directory), std::move(stem));
}

std::unique_ptr<Surface> MakeCairoSurface(std::unique_ptr<JobSink> sink) {
  return std::make_unique<CairoSurface>(std::move(sink));
}

}  // namespace zuvprint::platform

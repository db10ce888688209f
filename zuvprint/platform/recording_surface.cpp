#include "platform/recording_surface.h"

#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/utf8.h"

namespace zuvprint::platform {

namespace {

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

// Builds one log line: Line("text").Int("x", 1).Text("ch", "a").
class Line {
 public:
  explicit Line(std::string& out, const char* op) : out_(out) {
    out_ += "{\"op\":\"";
    out_ += op;
    out_ += '"';
  }
  ~Line() { out_ += "}\n"; }
  Line& Int(const char* name, long long value) {
    Name(name);
    out_ += std::to_string(value);
    return *this;
  }
  Line& Bool(const char* name, bool value) {
    Name(name);
    out_ += value ? "true" : "false";
    return *this;
  }
  Line& Text(const char* name, std::string_view value) {
    Name(name);
    AppendJsonString(out_, value);
    return *this;
  }
  Line& Ints(const char* name, std::initializer_list<long long> values) {
    Name(name);
    out_ += '[';
    const char* sep = "";
    for (long long v : values) {
      out_ += sep;
      out_ += std::to_string(v);
      sep = ",";
    }
    out_ += ']';
    return *this;
  }

 private:
  void Name(const char* name) {
    out_ += ",\"";
    out_ += name;
    out_ += "\":";
  }
  std::string& out_;
};

class RecordingSurface : public Surface {
 public:
  RecordingSurface(std::unique_ptr<Surface> inner, NativeFile file, std::string path)
      : inner_(std::move(inner)), file_(std::move(file)), path_(std::move(path)) {}

  ~RecordingSurface() override { Write(); }

  void SetOrientation(int orientation) override {
    Line(buffer_, "orientation").Int("orientation", orientation);
    inner_->SetOrientation(orientation);
  }

  void BeginJob(const std::string& title) override {
    inner_->BeginJob(title);
    Line(buffer_, "startdoc")
        .Text("title", title)
        .Int("orientation", inner_->PageWidth() > inner_->PageHeight() ? 1 : 0)
        .Ints("dpi", {inner_->DpiX(), inner_->DpiY()})
        .Ints("page", {inner_->PageWidth(), inner_->PageHeight()});
    Line(buffer_, "startpage");
  }

  void NewPage() override {
    Line(buffer_, "endpage");
    Line(buffer_, "startpage");
    inner_->NewPage();
    Write();
  }

  void EndJob() override {
    Line(buffer_, "endpage");
    Line(buffer_, "enddoc");
    Write();
    inner_->EndJob();
    if (failed_) throw PrintError("Nie można zapisać dziennika wydruku " + path_ + ": " + error_);
  }

  int DpiX() const override { return inner_->DpiX(); }
  int DpiY() const override { return inner_->DpiY(); }
  int PageWidth() const override { return inner_->PageWidth(); }
  int PageHeight() const override { return inner_->PageHeight(); }

  void SelectFont(const FontSpec& font) override {
    inner_->SelectFont(font);
    Line(buffer_, "font")
        .Text("face", font.face)
        .Int("size", font.size)
        .Int("charset", font.charset)
        .Bool("bold", font.bold)
        .Bool("italic", font.italic)
        .Int("color", font.colour)
        .Int("W", inner_->TextWidth(U"W"))
        .Int("J", inner_->TextWidth(U"J"))
        .Int("ascent", inner_->Ascent());
  }

  int TextWidth(std::u32string_view text) override { return inner_->TextWidth(text); }
  int Ascent() override { return inner_->Ascent(); }

  void SetBaselineAlignment() override {
    Line(buffer_, "align").Int("flags", 24);
    inner_->SetBaselineAlignment();
  }

  void DrawChar(int x, int y, char32_t ch) override {
    std::string utf8;
    AppendUtf8(utf8, ch);
    Line(buffer_, "text").Int("x", x).Int("y", y).Text("ch", utf8).Int("code", ch);
    inner_->DrawChar(x, y, ch);
    if (buffer_.size() > kFlushSize) Write();
  }

  void SetPen(int width, Colour colour) override {
    Line(buffer_, "pen").Int("width", width).Int("color", colour);
    inner_->SetPen(width, colour);
  }

  void MoveTo(int x, int y) override {
    moveX_ = x;
    moveY_ = y;
    inner_->MoveTo(x, y);
  }

  void LineTo(int x, int y) override {
    Line(buffer_, "line").Int("x1", moveX_).Int("y1", moveY_).Int("x2", x).Int("y2", y);
    moveX_ = x;
    moveY_ = y;
    inner_->LineTo(x, y);
  }

  void StretchBitmap(const Rect& dest, const Bitmap& bitmap, const Rect& source) override {
    Line(buffer_, "image")
        .Ints("dest", {dest.left, dest.top, dest.right, dest.bottom})
        .Ints("src", {source.right - source.left, source.bottom - source.top});
    inner_->StretchBitmap(dest, bitmap, source);
  }

  void NoteMessage(const std::string& text) override {
    Line(buffer_, "message").Text("text", text);
    Write();
  }

 private:
  static constexpr std::size_t kFlushSize = 1 << 16;

  void Write() {
    if (buffer_.empty()) return;
    if (!failed_ && !file_.Write(buffer_.data(), buffer_.size())) {
      failed_ = true;
      error_ = LastFileError();
    }
    buffer_.clear();
  }

  std::unique_ptr<Surface> inner_;
  NativeFile file_;
  std::string path_;
  std::string buffer_;
  bool failed_ = false;
  std::string error_;  // why the log could not be written
  int moveX_ = 0, moveY_ = 0;
};

}  // namespace

std::unique_ptr<Surface> MakeRecordingSurface(std::unique_ptr<Surface> inner, NativeFile log, std::string logPath) {
  return std::make_unique<RecordingSurface>(std::move(inner), std::move(log), std::move(logPath));
}

}  // namespace zuvprint::platform

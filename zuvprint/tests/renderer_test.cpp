// The page renderer end to end: small print files go through the real
// program onto the TRACE printer, and the draw log is checked against
// positions worked out here from the cell rules (cell width, line step, box
// geometry, underline, sequence steps) and from the font measures the log
// reports (W, J, ascent). Nothing here calls the renderer's own code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.h"

namespace zuvprint::testing {
namespace {

using nlohmann::json;

// Control characters of the print files.
const std::string ESC = "\x1b";
const std::string SI = "\x0f";
const std::string CRLF = "\r\n";

std::string Bytes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s += static_cast<char>(c);
  return s;
}

int Trunc(float v) { return static_cast<int>(v); }

// Line gap in pixels for Odstep in millimetres, at 600 pixels per inch.
float Gap(double mm) { return static_cast<float>(600 * mm / 25.4); }

// Step of ESC "K" and ESC "3": n units of 1/D inch at 600 pixels per inch.
float Units(int n, int d) { return static_cast<float>(600.0 / d * n); }

struct Font {
  int size = 0, charset = 0;
  bool bold = false, italic = false;
  long long colour = 0;
  int W = 0, J = 0, ascent = 0;
};

struct Glyph {
  int x, y;
  int code;
  Font measure;  // the unstyled font W was taken from
  Font draw;     // the styled font the character was drawn in
};

struct Segment {
  int x1, y1, x2, y2;
  bool operator==(const Segment&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Segment& s) {
  return os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ")";
}

// The lines drawn after one pen selection: one box character, or the
// underline of one character.
struct Stroke {
  int width = 0;
  long long colour = 0;
  Font measure, draw;
  std::vector<Segment> lines;
};

struct Drawing {
  std::vector<Glyph> glyphs;
  std::vector<Stroke> strokes;
  std::vector<Font> measured;  // every font that W was measured in

  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Glyph& g : glyphs) codes.push_back(g.code);
    return codes;
  }
  std::vector<Segment> AllLines() const {
    std::vector<Segment> all;
    for (const Stroke& s : strokes) all.insert(all.end(), s.lines.begin(), s.lines.end());
    return all;
  }
  // W of the font of this size.
  int WidthOfSize(int size) const {
    for (const Font& f : measured)
      if (f.size == size) return f.W;
    ADD_FAILURE() << "no font of size " << size << " in the log";
    return 0;
  }
};

Font ToFont(const json& e) {
  return {e["size"], e["charset"], e["bold"], e["italic"], e["color"], e["W"], e["J"], e["ascent"]};
}

Drawing Read(const std::vector<json>& log) {
  Drawing d;
  Font measure, draw;
  int fonts = 0;
  for (const json& e : log) {
    const std::string op = e["op"];
    if (op == "font") {
      // The run selects the normal font once before the job; every later
      // font selection logs the unstyled font that W is measured in, then
      // the styled one that draws.
      Font f = ToFont(e);
      if (fonts == 0 || fonts % 2 == 1) {
        measure = f;
        d.measured.push_back(f);
      }
      if (fonts == 0 || fonts % 2 == 0) draw = f;
      ++fonts;
    } else if (op == "text") {
      d.glyphs.push_back({e["x"], e["y"], e["code"], measure, draw});
    } else if (op == "pen") {
      d.strokes.push_back({e["width"], e["color"], measure, draw, {}});
    } else if (op == "line") {
      if (d.strokes.empty()) {
        ADD_FAILURE() << "line without a pen: " << e.dump();
        d.strokes.emplace_back();
      }
      d.strokes.back().lines.push_back({e["x1"], e["y1"], e["x2"], e["y2"]});
    }
  }
  return d;
}

// Prints one document with an optional style file on TRACE.
Drawing Print(const std::string& content, const std::string& style = "") {
  ScratchDir dir;
  dir.Write("doc.txt", content);
  dir.Write("style.dpc", style);
  ProgramResult r = RunZuvprint(dir.Path(), {"doc.txt", "style.dpc"});
  EXPECT_EQ(r.status, 0) << r.err;
  if (!dir.Has("doc.jsonl")) {
    ADD_FAILURE() << "no draw log; " << r.err;
    return {};
  }
  return Read(ReadDrawLog(dir / "doc.jsonl"));
}

// ---------------------------------------------------------------------------
// Characters on the grid

// The 53 letters of code page 852 that are converted when drawn.
const std::map<int, std::u32string>& Letters852() {
  static const std::map<int, std::u32string> letters = [] {
    const int codes[] = {129, 130, 132, 134, 136, 137, 141, 142, 143, 144, 148, 151, 152, 153,
                         154, 155, 156, 157, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168,
                         169, 171, 172, 181, 183, 189, 190, 210, 211, 212, 213, 214, 216, 222,
                         224, 225, 227, 228, 229, 230, 231, 236, 237, 252, 253};
    const std::u32string chars = U"üéäćłëŹÄĆÉöŚśÖÜŤťŁčáíóúĄąŽžĘęźČÁĚŻżĎËďŇÍěŮÓßŃńňŠšýÝŘř";
    std::map<int, std::u32string> m;
    for (std::size_t i = 0; i < std::size(codes); ++i) m[codes[i]] = chars.substr(i, 1);
    return m;
  }();
  return letters;
}

const std::vector<int> kBoxCodes = {179, 180, 185, 186, 187, 188, 191, 192, 193, 194, 195, 196,
                                    197, 200, 201, 202, 203, 204, 205, 206, 217, 218, 255};

bool IsBox(int code) { return std::find(kBoxCodes.begin(), kBoxCodes.end(), code) != kBoxCodes.end(); }

TEST(Renderer, EveryByteIsDrawnInItsOwnCellAsItsCharacter) {
  // Every byte that is neither a line end, a sequence start nor a box code.
  std::string line;
  std::vector<int> expected;
  for (int b = 0; b < 256; ++b) {
    if (b == 10 || b == 12 || b == 13 || b == 15 || b == 27 || IsBox(b)) continue;
    line += static_cast<char>(b);
    auto letter = Letters852().find(b);
    expected.push_back(letter != Letters852().end() ? static_cast<int>(letter->second[0]) : b);
  }
  Drawing d = Print(line);
  ASSERT_EQ(d.Codes(), expected);
  // 133 is a letter in code page 852 too, but not one of those converted.
  EXPECT_EQ(d.Codes()[line.find('\x85')], 0x85);
  int w = d.glyphs[0].measure.W;
  for (std::size_t i = 0; i < d.glyphs.size(); ++i) {
    EXPECT_EQ(d.glyphs[i].x, static_cast<int>(i) * w) << "character " << i;
    EXPECT_EQ(d.glyphs[i].y, d.glyphs[0].y);
  }
  EXPECT_TRUE(d.strokes.empty());
}

// Text runs around sequences that take no cell, and bytes that look like
// sequences but are not: the drawn codes, each one cell further right.
TEST(Renderer, SequencesTakeNoCellAndUnknownEscapesAreText) {
  struct Case {
    std::string content;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"\xa4" "B", {0x104, 'B'}},
      {"a" + ESC + "Eb", {'a', 27, 'E', 'b'}},
      {"a" + ESC, {'a', 27}},
      {ESC + "w" + Bytes({1}) + "x", {27, 'w', 1, 'x'}},  // the byte 1 is not the digit
      {"a" + ESC + "CBc", {'a', 'c'}},                    // ESC "C" takes one character away
      {"a" + ESC + "C", {'a'}},
      {"ab" + ESC + "PRGB0000FFcd", {'a', 'b', 'c', 'd'}},
      {ESC + "x1a" + ESC + "k" + Bytes({0}) + "b" + ESC + "k" + Bytes({1, 'c'}) + ESC + "k" + Bytes({4, 'd'}) + ESC +
           "k" + Bytes({7, 'e'}),
       {'a', 'b', 'c', 'd', 'e'}},
      {"a" + ESC + "3", {'a'}},
      {"a" + ESC + "K", {'a'}},
      {ESC + "G" + ESC + "4" + ESC + "-1a" + ESC + "H" + ESC + "5" + ESC + "-0b", {'a', 'b'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.content));
    Drawing d = Print(c.content);
    ASSERT_EQ(d.Codes(), c.codes);
    int w = d.glyphs[0].measure.W;
    for (std::size_t i = 0; i < d.glyphs.size(); ++i) EXPECT_EQ(d.glyphs[i].x, static_cast<int>(i) * w);
  }
}

// ESC "K" skips (n + 1) / D inch; the twelve-character corner graphic does
// the same, then leaves a corner mark in the cell it reaches and the next
// character is drawn in that same cell.
TEST(Renderer, BitImageSkipsMoveXByTheirWidth) {
  struct Case {
    int liniiNaCal;
    int n;
    bool corner;
  };
  const Case cases[] = {{0, 35, false}, {1, 35, false}, {0, 0, false}, {1, 0, false}, {0, 255, false},
                        {0, 8, true},   {1, 8, true},   {0, 1, true}};
  const std::string graphic = ESC + "K" + Bytes({8, 0, 255, 255, 192, 192, 192, 192, 192, 192});
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "LiniiNaCal " << c.liniiNaCal << " n " << c.n << " corner " << c.corner);
    std::string skip = c.corner ? graphic + Bytes({c.n}) + std::string(11, '\xc0') : ESC + "K" + Bytes({c.n}) + "yz";
    Drawing d = Print("x" + CRLF + "A" + skip + "BC", "[Ogolne]\nLiniiNaCal=" + std::to_string(c.liniiNaCal) + "\n");
    ASSERT_EQ(d.Codes(), (std::vector<int>{'x', 'A', 'B', 'C'}));
    const Glyph& a = d.glyphs[1];
    float w = static_cast<float>(a.measure.W);
    float x = w + Units(c.n + 1, c.liniiNaCal ? 180 : 216);
    EXPECT_EQ(d.glyphs[2].x, Trunc(x));
    EXPECT_EQ(d.glyphs[3].x, Trunc(x + w));
    if (!c.corner) {
      EXPECT_TRUE(d.strokes.empty());
      continue;
    }
    // The corner mark: from the foot of the line height up the cell's left
    // edge to its top, then one character width to the right.
    float y = static_cast<float>(d.glyphs[0].draw.ascent) + Gap(2) + static_cast<float>(d.glyphs[0].draw.J);
    float asc = static_cast<float>(a.draw.ascent), lineHeight = static_cast<float>(d.glyphs[0].draw.J);
    ASSERT_EQ(d.strokes.size(), 1u);
    int left = Trunc(x), top = Trunc(y - asc), foot = Trunc(y + lineHeight - asc), right = Trunc(x + w);
    EXPECT_EQ(d.strokes[0].lines, (std::vector<Segment>{{left, foot, left, top}, {left, top, right, top}}));
  }
}

// A byte 255 in the text is the same corner mark. Its foot is one line
// height below the cell's top, not one line step: a wide line gap shows
// the difference.
TEST(Renderer, CornerMarkTakesNoCell) {
  Drawing d = Print("A\xff" "B", "[Ogolne]\nOdstep=35000\n");
  ASSERT_EQ(d.Codes(), (std::vector<int>{'A', 'B'}));
  int w = d.glyphs[0].measure.W;
  EXPECT_EQ(d.glyphs[1].x, w);
  ASSERT_EQ(d.strokes.size(), 1u);
  float y = static_cast<float>(d.glyphs[0].draw.ascent);
  int asc = d.glyphs[0].draw.ascent, foot = Trunc(y + static_cast<float>(d.glyphs[0].draw.J) - asc);
  EXPECT_EQ(d.strokes[0].lines, (std::vector<Segment>{{w, foot, w, 0}, {w, 0, 2 * w, 0}}));
}

// ESC "3" n sets the line height to n / D inch; from then on only line
// feeds move y, by that height, until ESC "@" brings back the line step.
TEST(Renderer, CustomLineSpacing) {
  struct Case {
    int liniiNaCal;
    int n;
  };
  const Case cases[] = {{0, 36}, {1, 30}, {0, 30}, {1, 36}, {0, 1}, {0, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "LiniiNaCal " << c.liniiNaCal << " n " << c.n);
    std::string content = "A" + ESC + "3" + Bytes({c.n}) + CRLF + "B" + CRLF + CRLF + "C" + ESC + "@" + CRLF + "D" +
                          CRLF + "E\nF";
    Drawing d = Print(content, "[Ogolne]\nLiniiNaCal=" + std::to_string(c.liniiNaCal) + "\n");
    ASSERT_EQ(d.Codes(), (std::vector<int>{'A', 'B', 'C', 'D', 'E', 'F'}));
    float height = Units(c.n, c.liniiNaCal ? 180 : 216);
    float y = static_cast<float>(d.glyphs[0].draw.ascent);
    std::vector<int> expected;
    expected.push_back(Trunc(y));  // A
    y += height;
    expected.push_back(Trunc(y));  // B, after one line feed
    y += height;
    y += height;
    expected.push_back(Trunc(y));  // C, after two more
    y += Gap(2) + static_cast<float>(d.glyphs[2].draw.J);
    expected.push_back(Trunc(y));  // D: ESC "@" gave back the line step
    y += Gap(2) + static_cast<float>(d.glyphs[3].draw.J);
    expected.push_back(Trunc(y));  // E
    expected.push_back(Trunc(y));  // F: a line feed inside a line does not move y now
    std::vector<int> ys;
    for (const Glyph& g : d.glyphs) ys.push_back(g.y);
    EXPECT_EQ(ys, expected);
    EXPECT_EQ(d.glyphs[5].x, d.glyphs[4].measure.W);
  }
}

TEST(Renderer, LineFeedInsideALineMovesOnlyYWithCustomSpacing) {
  Drawing d = Print(ESC + "3" + Bytes({72}) + "AB\nC");
  ASSERT_EQ(d.Codes(), (std::vector<int>{'A', 'B', 'C'}));
  int w = d.glyphs[0].measure.W;
  float y = static_cast<float>(d.glyphs[0].draw.ascent);
  EXPECT_EQ(d.glyphs[1].y, Trunc(y));
  EXPECT_EQ(d.glyphs[2].y, Trunc(y + Units(72, 216)));
  EXPECT_EQ(d.glyphs[2].x, 2 * w);  // x goes on where the line feed found it
}

// ---------------------------------------------------------------------------
// Box-drawing characters

// The polylines of each box code; points name a column (L, R, C, C-g, C+g)
// and a row (T, B, M, M-g, M+g, K) of the cell.
const std::map<int, std::string>& BoxShapes() {
  static const std::map<int, std::string> shapes = {
      {179, "C,T C,B"},
      {180, "C,T C,B; C,M L,M"},
      {185, "C+g,T C+g,B; C-g,T C-g,M-g L,M-g; C-g,B C-g,M+g L,M+g"},
      {186, "C-g,T C-g,B; C+g,T C+g,B"},
      {187, "L,M-g C+g,M-g C+g,B; L,M+g C-g,M+g C-g,B"},
      {188, "L,M+g C+g,M+g C+g,T; L,M-g C-g,M-g C-g,T"},
      {191, "L,M C,M C,B"},
      {192, "C,T C,M R,M"},
      {193, "L,M R,M; C,M C,T"},
      {194, "L,M R,M; C,M C,B"},
      {195, "C,T C,B; C,M R,M"},
      {196, "L,M R,M"},
      {197, "C,T C,B; L,M R,M"},
      {200, "C-g,T C-g,M+g R,M+g; C+g,T C+g,M-g R,M-g"},
      {201, "C-g,B C-g,M-g R,M-g; C+g,B C+g,M+g R,M+g"},
      {202, "L,M+g R,M+g; L,M-g C-g,M-g C-g,T; R,M-g C+g,M-g C+g,T"},
      {203, "L,M-g R,M-g; L,M+g C-g,M+g C-g,B; R,M+g C+g,M+g C+g,B"},
      {204, "C-g,T C-g,B; C+g,T C+g,M-g R,M-g; C+g,B C+g,M+g R,M+g"},
      {205, "L,M-g R,M-g; L,M+g R,M+g"},
      {206, "L,M-g C-g,M-g C-g,T; C+g,T C+g,M-g R,M-g; R,M+g C+g,M+g C+g,B; C-g,B C-g,M+g L,M+g"},
      {217, "L,M C,M C,T"},
      {218, "C,B C,M R,M"},
      {255, "L,K L,T R,T"},
  };
  return shapes;
}

// A box cell: its left edge x and baseline y, the character width, line
// step, line height, ascent and the double-line distance g.
struct Cell {
  float x, y, w, step, lineHeight, asc, g;

  int Column(const std::string& c) const {
    float mid = x + w / 2;
    if (c == "L") return Trunc(x);
    if (c == "R") return Trunc(x + w);
    if (c == "C") return Trunc(mid);
    if (c == "C-g") return Trunc(mid - g);
    if (c == "C+g") return Trunc(mid + g);
    ADD_FAILURE() << "column " << c;
    return 0;
  }
  int Row(const std::string& r) const {
    float mid = y + step / 2;
    if (r == "T") return Trunc(y - asc);
    if (r == "B") return Trunc(y + step - asc);
    if (r == "M") return Trunc(mid - asc);
    if (r == "M-g") return Trunc(mid - asc - g);
    if (r == "M+g") return Trunc(mid - asc + g);
    if (r == "K") return Trunc(y + lineHeight - asc);
    ADD_FAILURE() << "row " << r;
    return 0;
  }

  std::vector<Segment> Lines(const std::string& shape) const {
    std::vector<Segment> lines;
    std::stringstream polylines(shape);
    std::string polyline;
    while (std::getline(polylines, polyline, ';')) {
      std::stringstream points(polyline);
      std::string point;
      bool first = true;
      int px = 0, py = 0;
      while (points >> point) {
        auto comma = point.find(',');
        int nx = Column(point.substr(0, comma)), ny = Row(point.substr(comma + 1));
        if (!first) lines.push_back({px, py, nx, ny});
        px = nx;
        py = ny;
        first = false;
      }
    }
    return lines;
  }
};

TEST(Renderer, EveryBoxCodeDrawsItsLinesInTheFramePen) {
  // A 9-point font (W odd, so half a cell is fractional), a gap of 2.5 mm,
  // and a start one skipped dot to the right, so every coordinate is
  // truncated from a fraction.
  const std::string style =
      "[Czcionka]\nSNormalna=9\n[Ogolne]\nOdstep=25000\nPrzerwa=4\nGrubosc=3\nRamkaKolor=1193046\n";
  std::string boxes;
  for (int code : kBoxCodes)
    if (code != 255) boxes += static_cast<char>(code);
  boxes.insert(11, "\xff");  // the corner mark in the middle: it takes no cell
  Drawing d = Print("x" + CRLF + ESC + "K" + Bytes({0, 0, 0}) + boxes, style);
  ASSERT_EQ(d.glyphs.size(), 1u);
  ASSERT_EQ(d.strokes.size(), boxes.size());
  const Font& first = d.glyphs[0].draw;
  float step = Gap(2.5) + static_cast<float>(first.J);
  Cell cell{Units(1, 216), static_cast<float>(first.ascent) + step, 0, step, static_cast<float>(first.J), 0, 4};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    int code = static_cast<unsigned char>(boxes[i]);
    SCOPED_TRACE(::testing::Message() << "code " << code);
    const Stroke& s = d.strokes[i];
    cell.w = static_cast<float>(s.measure.W);
    cell.asc = static_cast<float>(s.draw.ascent);
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(s.colour, 1193046);
    EXPECT_EQ(s.lines, cell.Lines(BoxShapes().at(code)));
    if (code != 255) cell.x += cell.w;
  }
}

// Where the lines of a frame meet: every end of every line must touch
// another line, or the frame has a gap.
bool Touches(int x, int y, const Segment& s) {
  long long cross = static_cast<long long>(s.x2 - s.x1) * (y - s.y1) - static_cast<long long>(s.y2 - s.y1) * (x - s.x1);
  return cross == 0 && x >= std::min(s.x1, s.x2) && x <= std::max(s.x1, s.x2) && y >= std::min(s.y1, s.y2) &&
         y <= std::max(s.y1, s.y2);
}

std::vector<std::string> LooseEnds(const std::vector<Segment>& lines) {
  std::vector<std::string> loose;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (auto [x, y] : {std::pair{lines[i].x1, lines[i].y1}, std::pair{lines[i].x2, lines[i].y2}}) {
      bool joined = false;
      for (std::size_t j = 0; j < lines.size() && !joined; ++j) joined = j != i && Touches(x, y, lines[j]);
      if (!joined) loose.push_back(::testing::PrintToString(lines[i]) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
  }
  return loose;
}

// A single and a double frame, five lines high, that use all 22 line codes.
std::string Frames(const std::string& lead) {
  const char* rows[] = {"\xda\xc4\xc4\xc2\xc4\xc4\xbf \xc9\xcd\xcd\xcb\xcd\xcd\xbb",
                        "\xb3  \xb3  \xb3 \xba  \xba  \xba",
                        "\xc3\xc4\xc4\xc5\xc4\xc4\xb4 \xcc\xcd\xcd\xce\xcd\xcd\xb9",
                        "\xb3 \xa5\xb3\xbe \xb3 \xba\x88 \xbaz \xba",
                        "\xc0\xc4\xc4\xc1\xc4\xc4\xd9 \xc8\xcd\xcd\xca\xcd\xcd\xbc"};
  std::string text;
  for (const char* row : rows) text += CRLF + lead + row;
  return text;
}

TEST(Renderer, FramesJoinAcrossCellsAndLinesInEveryPitch) {
  struct Case {
    const char* name;
    std::string pitch;  // set at the end of the line before the frames
    std::string lead;   // at the start of every frame line
    std::string style;
  };
  const Case cases[] = {
      {"Normal", "", "", ""},
      {"Elite", ESC + "M", "", ""},
      {"Pica", ESC + "P", "", ""},
      {"Condensed", SI, "", ""},
      {"EliteCondensed", SI + ESC + "M", "", ""},
      {"Expanded", ESC + "w1", "", ""},
      {"High", ESC + "W1", "", ""},
      {"SmallInNormalCells", ESC + "S1", "", ""},
      {"AfterASkippedDot", ESC + "M", ESC + "K" + Bytes({0, 0, 0}), ""},
      {"WideDoubleLinesAndAnOddGap", ESC + "M", "", "[Ogolne]\nPrzerwa=9\nGrubosc=5\nOdstep=13000\n"},
      {"NoGap", "", "", "[Ogolne]\nOdstep=0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Drawing d = Print("Ramki" + c.pitch + Frames(c.lead), c.style);
    auto lines = d.AllLines();
    std::string frames = Frames(c.lead);
    EXPECT_EQ(d.strokes.size(), static_cast<std::size_t>(std::count_if(frames.begin(), frames.end(), [](char ch) {
                return IsBox(static_cast<unsigned char>(ch));
              })));
    EXPECT_EQ(LooseEnds(lines), std::vector<std::string>{});
  }
}

// The same joins, named one by one on a small frame in the default style.
TEST(Renderer, RulesContinueWithoutGaps) {
  // ┌──┐ over │║ │
  Drawing d = Print("\xda\xc4\xc4\xbf" + CRLF + "\xb3\xba \xb3");
  ASSERT_EQ(d.strokes.size(), 7u);
  const Stroke &corner = d.strokes[0], &dash1 = d.strokes[1], &dash2 = d.strokes[2];
  const Stroke &bar = d.strokes[4], &doubleBar = d.strokes[5];
  float w = static_cast<float>(corner.measure.W), asc = static_cast<float>(corner.draw.ascent);
  float y1 = static_cast<float>(d.strokes[0].draw.ascent);
  float step = Gap(2) + static_cast<float>(corner.draw.J);

  // The run of ─ is one horizontal line at mid-cell: each piece begins
  // where the one before ended, and the ┌ reaches the first.
  ASSERT_EQ(dash1.lines.size(), 1u);
  ASSERT_EQ(dash2.lines.size(), 1u);
  int mid = Trunc(y1 + step / 2 - asc);
  EXPECT_EQ(dash1.lines[0], (Segment{Trunc(w), mid, Trunc(2 * w), mid}));
  EXPECT_EQ(dash2.lines[0], (Segment{Trunc(2 * w), mid, Trunc(3 * w), mid}));
  EXPECT_EQ(corner.lines.back().x2, dash1.lines[0].x1);
  EXPECT_EQ(corner.lines.back().y2, mid);

  // The │ below the ┌ starts where the ┌'s vertical ends: the bottom of one
  // cell is the top of the cell below.
  ASSERT_EQ(bar.lines.size(), 1u);
  int centre = Trunc(w / 2);
  EXPECT_EQ(corner.lines.front().x1, centre);
  EXPECT_EQ(corner.lines.front().y1, Trunc(y1 + step - asc));
  EXPECT_EQ(bar.lines[0].x1, centre);
  EXPECT_EQ(bar.lines[0].y1, corner.lines.front().y1);
  float y2 = y1 + step;
  EXPECT_EQ(bar.lines[0].y2, Trunc(y2 + step - asc));

  // ║ with Przerwa 3: two verticals 6 pixels apart, centred on the cell.
  ASSERT_EQ(doubleBar.lines.size(), 2u);
  int a = doubleBar.lines[0].x1, b = doubleBar.lines[1].x1;
  EXPECT_EQ(b - a, 6);
  EXPECT_EQ((a + b) / 2, Trunc(w + w / 2));
  for (const Segment& s : doubleBar.lines) {
    EXPECT_EQ(s.x1, s.x2);
    EXPECT_EQ(s.y1, bar.lines[0].y1);
    EXPECT_EQ(s.y2, bar.lines[0].y2);
  }
}

// Distance in pixels from a point to a segment.
double Distance(double x, double y, const Segment& s) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1, length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((x - s.x1) * dx + (y - s.y1) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(x - (s.x1 + t * dx), y - (s.y1 + t * dy));
}

// The PDF beside the draw log carries exactly its lines, however the PDF
// backend gathers them into strokes: ink along every logged segment, and
// no ink anywhere else on the page (the frame's cells hold only blanks),
// not even in the empty line between the frame and the bar below it.
TEST(Renderer, ThePdfInksEveryLoggedLineAndNothingElse) {
  ScratchDir dir;
  dir.Write("doc.txt", "\xda\xc4\xc4\xc2\xc4\xc4\xbf" + CRLF + "\xb3  \xb3  \xb3" + CRLF +
                           "\xc3\xc4\xc4\xc5\xc4\xc4\xb4" + CRLF + "\xb3  \xb3  \xb3" + CRLF +
                           "\xc0\xc4\xc4\xc1\xc4\xc4\xd9" + CRLF + CRLF + "\xb3");
  ProgramResult r = RunZuvprint(dir.Path(), {"doc.txt", ""});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<Segment> all = Read(ReadDrawLog(dir / "doc.jsonl")).AllLines();
  ASSERT_FALSE(all.empty());

  constexpr int kDpi = 150, kScale = 600 / kDpi;  // printer pixels per rendered pixel
  const RenderedPage page = RenderPage(dir / "doc.pdf", 1, kDpi, Rendering::GreyWithoutAntialiasing);
  auto dark = [&](int px, int py) { return page.Grey(px, py) < 128; };
  // Without antialiasing a line thinner than a pixel lands in one of the
  // pixels it touches: ink within a pixel of the line counts.
  for (const Segment& s : all) {
    const int length = std::max(std::abs(s.x2 - s.x1), std::abs(s.y2 - s.y1));
    // Inside the segment: a rendered pixel at an end may hold only its cap.
    for (int t = kScale; t <= length - kScale; t += kScale) {
      const int x = (s.x1 + (s.x2 - s.x1) * t / length) / kScale, y = (s.y1 + (s.y2 - s.y1) * t / length) / kScale;
      bool inked = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) inked = inked || dark(x + dx, y + dy);
      EXPECT_TRUE(inked) << "no ink at (" << x * kScale << "," << y * kScale << ") of " << s;
    }
  }
  int stray = 0;
  for (int py = 0; py < page.height; ++py)
    for (int px = 0; px < page.width; ++px) {
      if (!dark(px, py)) continue;
      const double x = (px + 0.5) * kScale, y = (py + 0.5) * kScale;
      double nearest = 1e9;
      for (const Segment& s : all) nearest = std::min(nearest, Distance(x, y, s));
      if (nearest > 2 * kScale && stray++ < 5) ADD_FAILURE() << "ink at (" << x << "," << y << ") on no line";
    }
  EXPECT_EQ(stray, 0);
}

// The characters of UTF-8 text, each as its bytes.
std::vector<std::string> Characters(const std::string& utf8) {
  std::vector<std::string> chars;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80 || chars.empty()) chars.emplace_back(1, static_cast<char>(c));
    else chars.back() += static_cast<char>(c);
  return chars;
}

// The words a text extractor finds in a PDF (pdftotext -bbox): each one's
// characters and left edge in points.
struct PdfWord {
  std::vector<std::string> chars;
  double left;
};
std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf) {
  const std::string html = CommandOutput("pdftotext -bbox '" + pdf.string() + "' -");
  std::vector<PdfWord> words;
  const std::regex word(R"re(<word xMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
  for (std::sregex_iterator it(html.begin(), html.end(), word), end; it != end; ++it)
    words.push_back({Characters((*it)[2]), std::stod((*it)[1])});
  return words;
}

// The PDF's text is the logged text on its cells: every word a text
// extractor finds is a run of characters that the draw log puts side by
// side on one baseline, and it begins at its first character's cell;
// together the words hold every logged character. The PDF keeps the
// letters outside WinAnsi (ą, ł, Ż ...) in a font subset of their own, so
// such a line changes fonts at every one of them: in runs, alone between
// Latin letters, at the start and end of words, bold, inside a frame.
TEST(Renderer, ThePdfTextIsTheLoggedTextOnItsCells) {
  ScratchDir dir;
  dir.Write("doc.utf8",
            "┌────────────────────────────┐\r\n"
            "│Zażółć gęślą jaźń           │\r\n"
            "│ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż 12,50 zł│\r\n"
            "│x1 ą2 ę3 ł4 \033Gźdźbło\033H Łódź    │\r\n"
            "└────────────────────────────┘\r\n");
  ASSERT_EQ(std::system(("iconv -f UTF-8 -t CP852 '" + (dir / "doc.utf8").string() + "' > '" +
                         (dir / "doc.txt").string() + "'").c_str()),
            0);
  ProgramResult r = RunZuvprint(dir.Path(), {"doc.txt", ""});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<DrawnLine> lines = TextLines(ReadDrawLog(dir / "doc.jsonl"));
  std::size_t logged = 0;
  for (const DrawnLine& line : lines)
    for (const std::string& c : Characters(line.text)) logged += c != " ";
  ASSERT_EQ(logged, 58u);  // every character but the blanks and the frame

  std::size_t found = 0;
  for (const PdfWord& word : PdfWords(dir / "doc.pdf")) {
    std::string text;
    for (const std::string& c : word.chars) text += c;
    bool onItsCells = false;
    for (const DrawnLine& line : lines) {
      const std::vector<std::string> chars = Characters(line.text);
      for (std::size_t i = 0; i + word.chars.size() <= chars.size() && !onItsCells; ++i)
        onItsCells = std::equal(word.chars.begin(), word.chars.end(), chars.begin() + static_cast<long>(i)) &&
                     std::abs(line.x[i] * 72.0 / 600 - word.left) < 0.5;
    }
    EXPECT_TRUE(onItsCells) << "\"" << text << "\" at " << word.left << " pt is on no logged run of cells";
    found += word.chars.size();
  }
  EXPECT_EQ(found, logged);
}

// The frame pen: width Grubosc, colour from RamkaKolor, ESC "PRGB", ESC "P@"
// and ESC "@". The text colour is a different thing.
TEST(Renderer, FrameColourAndPenWidth) {
  const long long kRamka = 0x123456;
  const std::string style = "[Ogolne]\nGrubosc=4\nRamkaKolor=" + std::to_string(kRamka) + "\n";
  struct Case {
    std::string content;
    long long frame;  // colour of the ─
    long long text;   // colour of the "a" drawn after it
  };
  const Case cases[] = {
      {"\xc4" "a", kRamka, 0},
      {ESC + "PRGB0000FF\xc4" "a", 0xFF0000, 0},
      {ESC + "PRGB1A2B3C\xc4" "a", 0x1A + 256 * 0x2B + 65536 * 0x3C, 0},
      {ESC + "PRGBff8000\xc4" "a", 255 + 256 * 128, 0},
      {ESC + "PRGB0000FF" + ESC + "P@\xc4" "a", kRamka, 0},
      {ESC + "PRGB0000FF" + ESC + "@\xc4" "a", kRamka, 0},
      {ESC + "PRGB12" + CRLF + "\xc4" "a", 0x12, 0},  // a short field: missing pairs are 0
      {ESC + "FRGB00FF00\xc4" "a", kRamka, 0x00FF00},
      {ESC + "PRGB0000FF" + CRLF + "x" + CRLF + "\xc4" "a", 0xFF0000, 0},  // it lasts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.content));
    Drawing d = Print(c.content, style);
    ASSERT_EQ(d.strokes.size(), 1u);
    EXPECT_EQ(d.strokes[0].width, 4);
    EXPECT_EQ(d.strokes[0].colour, c.frame);
    ASSERT_FALSE(d.glyphs.empty());
    EXPECT_EQ(d.glyphs.back().code, 'a');
    EXPECT_EQ(d.glyphs.back().draw.colour, c.text);
  }
}

// ---------------------------------------------------------------------------
// Underline and the cell width

enum Slot { Normalna, Elite, Pica, Condensed, EliteCondensed, Expanded, High, Small };

// Sizes of the test style, one per slot so the log tells the slots apart.
constexpr int kSize[] = {10, 9, 11, 7, 6, 14, 16, 4};
constexpr int kCharset[] = {238, 201, 202, 203, 204, 205, 206, 207};
constexpr long long kColour[] = {0x000010, 0x002000, 0x300000, 0x000040, 0x005000, 0x600000, 0x000070, 0x008000};
const char* const kSlotName[] = {"Normalna", "Elite", "Pica", "Condensed", "EliteCondensed", "Expanded", "High", "Small"};

std::string SlotStyle(const std::string& more = "") {
  std::string style = "[Czcionka]\n";
  for (int s = 0; s < 8; ++s) {
    std::string name = kSlotName[s];
    style += "S" + name + "=" + std::to_string(kSize[s]) + "\n";
    style += "C" + name + "=" + std::to_string(kCharset[s]) + "\n";
    style += "Col" + name + "=" + std::to_string(kColour[s]) + "\n";
  }
  return style + more;
}

// Three underlined characters: glyphs are one character width W apart; when
// the cell is wider than W (a smaller font on the grid of the last pitch),
// the underline and the position after the run follow the cell width.
TEST(Renderer, UnderlineFollowsTheCellGrid) {
  struct Case {
    const char* name;
    std::string modes;
    Slot drawn;
    Slot cell;  // the font whose W the last pitch change took
    float x0 = 0;
  };
  const Case cases[] = {
      {"Normal", "", Normalna, Normalna},
      {"SmallInNormalCells", ESC + "S1", Small, Normalna},
      {"SmallInEliteCells", ESC + "M" + ESC + "S1", Small, Elite},
      {"ExpandedIsWiderThanTheCell", ESC + "w1", Expanded, Normalna},
      {"HighInEliteCells", ESC + "M" + ESC + "W1", High, Elite},
      {"CondensedTakesItsOwnCell", SI, Condensed, Condensed},
      {"CondensedWhilePicaIsOnTakesThePicaCell", ESC + "P" + SI, Pica, Pica},
      {"SmallAfterResetInNormalCells", ESC + "M" + ESC + "@" + ESC + "S1", Small, Normalna},
      {"AfterASkippedDot", ESC + "S1" + ESC + "K" + Bytes({0, 0, 0}), Small, Normalna, Units(1, 216)},
  };
  const std::string style = SlotStyle("[Ogolne]\nPodkreslenie=3\nOdstpodkreslenie=17\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Drawing d = Print(c.modes + ESC + "-1abc" + ESC + "-0|", style);
    ASSERT_EQ(d.Codes(), (std::vector<int>{'a', 'b', 'c', '|'}));
    EXPECT_EQ(d.glyphs[0].draw.size, kSize[c.drawn]);
    float w = static_cast<float>(d.glyphs[0].measure.W);
    float cell = static_cast<float>(d.WidthOfSize(kSize[c.cell]));
    if (c.drawn == Small) {
      ASSERT_GT(cell, w);
    }
    float pitch = cell > w ? cell : w;
    int under = Trunc(static_cast<float>(d.glyphs[0].y) + 17);  // the first line's baseline is whole
    ASSERT_EQ(d.strokes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(d.glyphs[i].x, Trunc(c.x0 + i * w));
      EXPECT_EQ(d.strokes[i].width, 3);
      EXPECT_EQ(d.strokes[i].colour, d.glyphs[i].draw.colour);
      EXPECT_EQ(d.strokes[i].lines,
                (std::vector<Segment>{{Trunc(c.x0 + i * pitch), under, Trunc(c.x0 + (i + 1) * pitch), under}}));
    }
    EXPECT_EQ(d.glyphs[3].x, Trunc(c.x0 + 3 * pitch));
  }
}

TEST(Renderer, UnderlineIsInTheTextColourBelowTheBaseline) {
  Drawing d = Print("x" + CRLF + ESC + "FRGB00FF00" + ESC + "PRGB0000FF" + ESC + "-1ab",
                    "[Ogolne]\nPodkreslenie=5\nOdstpodkreslenie=30\nOdstep=15000\n");
  ASSERT_EQ(d.Codes(), (std::vector<int>{'x', 'a', 'b'}));
  float y = static_cast<float>(d.glyphs[0].draw.ascent) + Gap(1.5) + static_cast<float>(d.glyphs[0].draw.J);
  int under = Trunc(y + 30), w = d.glyphs[1].measure.W;
  ASSERT_EQ(d.strokes.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(d.strokes[i].width, 5);
    EXPECT_EQ(d.strokes[i].colour, 0x00FF00);
    EXPECT_EQ(d.strokes[i].lines, (std::vector<Segment>{{i * w, under, (i + 1) * w, under}}));
  }
}

// ---------------------------------------------------------------------------
// Font selection

// The slot and colour each character is drawn in after the mode sequences
// before it. Elite, pica and condensed colours also become the saved colour
// that the "off" sequences and ESC "F@" return to; expanded, high and small
// colours do not. A slot's colour waits until a selection takes that slot.
TEST(Renderer, FontSelectionTakesTheSlotAndItsColour) {
  struct Want {
    char ch;
    Slot slot;
    long long colour;
    bool bold = false, italic = false;
  };
  struct Case {
    const char* name;
    std::string content;
    std::vector<Want> want;
  };
  const auto& C = kColour;
  const Case cases[] = {
      {"Elite", ESC + "Ma", {{'a', Elite, C[Elite]}}},
      {"Pica", ESC + "Pa", {{'a', Pica, C[Pica]}}},
      {"Condensed", SI + "a", {{'a', Condensed, C[Condensed]}}},
      {"CondensedByEscSi", ESC + SI + "a", {{'a', Condensed, C[Condensed]}}},
      {"EliteAfterCondensed", SI + ESC + "Ma", {{'a', EliteCondensed, C[EliteCondensed]}}},
      {"CondensedAfterElite", ESC + "M" + SI + "a", {{'a', EliteCondensed, C[EliteCondensed]}}},
      {"ExpandedAndBack", ESC + "w1a" + ESC + "w0b", {{'a', Expanded, C[Expanded]}, {'b', Normalna, C[Normalna]}}},
      {"HighAndBack", ESC + "W1a" + ESC + "W0b", {{'a', High, C[High]}, {'b', Normalna, C[Normalna]}}},
      {"SmallAndBack", ESC + "S1a" + ESC + "Tb", {{'a', Small, C[Small]}, {'b', Normalna, C[Normalna]}}},
      {"ExpandedInPicaReturnsToThePicaColour", ESC + "P" + ESC + "w1a" + ESC + "w0b",
       {{'a', Expanded, C[Expanded]}, {'b', Pica, C[Pica]}}},
      {"HighInPicaReturnsToThePicaColour", ESC + "P" + ESC + "W1" + ESC + "W0a", {{'a', Pica, C[Pica]}}},
      {"HighTurnsExpandedOff", ESC + "w1" + ESC + "W1a", {{'a', High, C[High]}}},
      {"SmallTurnsHighOff", ESC + "W1" + ESC + "S1a", {{'a', Small, C[Small]}}},
      {"EliteTurnsExpandedOff", ESC + "w1" + ESC + "Ma", {{'a', Elite, C[Elite]}}},
      {"PicaTurnsEliteOff", ESC + "M" + ESC + "Pa", {{'a', Pica, C[Pica]}}},
      {"ExpandedInEliteTakesTheExpandedSlot", ESC + "M" + ESC + "w1a", {{'a', Expanded, C[Expanded]}}},
      {"CondensedWhilePicaIsOnStaysPending", ESC + "P" + SI + "a" + ESC + "@b",
       {{'a', Pica, C[Pica]}, {'b', Condensed, C[Condensed]}}},
      {"ResetAfterCondensedKeepsCondensedInTheNormalColour", SI + "a" + ESC + "@b",
       {{'a', Condensed, C[Condensed]}, {'b', Condensed, C[Normalna]}}},
      {"ResetKeepsTheSavedColour", ESC + "P" + ESC + "w1" + ESC + "@a" + ESC + "F@b",
       {{'a', Normalna, C[Normalna]}, {'b', Normalna, C[Pica]}}},
      {"TextColourByRgbIsNotSaved", ESC + "FRGBFF0000a" + ESC + "w1b" + ESC + "w0c" + ESC + "FRGB0000ffd" + ESC + "F@e",
       {{'a', Normalna, 0x0000FF},
        {'b', Expanded, C[Expanded]},
        {'c', Normalna, C[Normalna]},
        {'d', Normalna, 0xFF0000},
        {'e', Normalna, C[Normalna]}}},
      {"RgbColourLastsUntilASlotColour", ESC + "FRGB00ff00a" + ESC + "Mb",
       {{'a', Normalna, 0x00FF00}, {'b', Elite, C[Elite]}}},
      {"ModesLastAcrossLines", ESC + "M" + ESC + "G" + ESC + "FRGB000001a" + CRLF + "b",
       {{'a', Elite, 0x010000, true}, {'b', Elite, 0x010000, true}}},
      {"BoldAndItalic", ESC + "Ga" + ESC + "4b" + ESC + "Hc" + ESC + "5d" + ESC + "G" + ESC + "4" + ESC + "@e",
       {{'a', Normalna, C[Normalna], true},
        {'b', Normalna, C[Normalna], true, true},
        {'c', Normalna, C[Normalna], false, true},
        {'d', Normalna, C[Normalna]},
        {'e', Normalna, C[Normalna]}}},
      {"BoldInASmallerSlot", ESC + "S1" + ESC + "Ga", {{'a', Small, C[Small], true}}},
  };
  const std::string style = SlotStyle();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Drawing d = Print(c.content, style);
    ASSERT_EQ(d.glyphs.size(), c.want.size());
    for (std::size_t i = 0; i < c.want.size(); ++i) {
      const Want& w = c.want[i];
      const Font& f = d.glyphs[i].draw;
      SCOPED_TRACE(w.ch);
      EXPECT_EQ(d.glyphs[i].code, w.ch);
      EXPECT_EQ(f.size, kSize[w.slot]) << "want slot " << kSlotName[w.slot];
      EXPECT_EQ(f.charset, kCharset[w.slot]) << "want slot " << kSlotName[w.slot];
      EXPECT_EQ(f.colour, w.colour);
      EXPECT_EQ(f.bold, w.bold);
      EXPECT_EQ(f.italic, w.italic);
      // W is always measured without bold or italic.
      EXPECT_FALSE(d.glyphs[i].measure.bold || d.glyphs[i].measure.italic);
      EXPECT_EQ(d.glyphs[i].measure.size, f.size);
    }
  }
}

}  // namespace
}  // namespace zuvprint::testing

#include "style/print_style.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "test_helpers.h"

namespace zuvprint {
namespace {

using testing::TempFile;

using platform::Colour;
using platform::ProfileReader;

constexpr int Slot(FontSlot s) { return static_cast<int>(s); }

TStylWydruku Defaults() {
  TStylWydruku styl;
  UstawStylDomyslny(styl);
  return styl;
}

TStylWydruku ReadFromDefaults(std::string_view text) {
  TStylWydruku styl = Defaults();
  CzytajStyl(styl, ProfileReader::FromText(text));
  return styl;
}

void ExpectSameStyle(const TStylWydruku& actual, const TStylWydruku& expected) {
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    SCOPED_TRACE(kFontSlotNames[slot]);
    EXPECT_EQ(actual.faces[slot], expected.faces[slot]);
    EXPECT_EQ(actual.charsets[slot], expected.charsets[slot]);
    EXPECT_EQ(actual.sizes[slot], expected.sizes[slot]);
    EXPECT_EQ(actual.colours[slot], expected.colours[slot]);
  }
  EXPECT_FLOAT_EQ(actual.odstep, expected.odstep);
  EXPECT_EQ(actual.grubosc, expected.grubosc);
  EXPECT_FLOAT_EQ(actual.marginesGorny, expected.marginesGorny);
  EXPECT_EQ(actual.podkreslenie, expected.podkreslenie);
  EXPECT_EQ(actual.odstPodkreslenie, expected.odstPodkreslenie);
  EXPECT_EQ(actual.przerwa, expected.przerwa);
  EXPECT_EQ(actual.ramkaKolor, expected.ramkaKolor);
  EXPECT_EQ(actual.orientacja, expected.orientacja);
  EXPECT_EQ(actual.liniiNaCal, expected.liniiNaCal);
  EXPECT_EQ(actual.tlo, expected.tlo);
  EXPECT_EQ(actual.logo, expected.logo);
  EXPECT_FLOAT_EQ(actual.logoX, expected.logoX);
  EXPECT_FLOAT_EQ(actual.logoY, expected.logoY);
  EXPECT_FLOAT_EQ(actual.logoZoom, expected.logoZoom);
  EXPECT_EQ(actual.pojedynczo, expected.pojedynczo);
  EXPECT_EQ(actual.nazwa, expected.nazwa);
  EXPECT_EQ(actual.nazwa2, expected.nazwa2);
}


// The built-in defaults, also what a run without any style file prints with.
TEST(PrintStyle, NoStyleFileGivesBuiltInDefaults) {
  TStylWydruku styl;
  styl.nazwa = "left over";
  styl.faces[0] = "Arial";
  styl.pojedynczo = true;
  UstawStylDomyslny(styl);
  CzytajStyl(styl, (std::filesystem::temp_directory_path() / "print_style_test_absent.dpc")
                       .string());

  const int sizes[kFontSlotCount] = {10, 9, 9, 7, 6, 12, 15, 5};
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    SCOPED_TRACE(kFontSlotNames[slot]);
    EXPECT_EQ(styl.faces[slot], "Lucida Console");
    EXPECT_EQ(styl.charsets[slot], 238);
    EXPECT_EQ(styl.sizes[slot], sizes[slot]);
    EXPECT_EQ(styl.colours[slot], 0u);
  }
  EXPECT_EQ(styl.Size(FontSlot::Normalna), 10);
  EXPECT_FLOAT_EQ(styl.odstep, 2.0f);
  EXPECT_EQ(styl.grubosc, 2);
  EXPECT_FLOAT_EQ(styl.marginesGorny, 0.0f);
  EXPECT_EQ(styl.podkreslenie, 2);
  EXPECT_EQ(styl.odstPodkreslenie, 20);
  EXPECT_EQ(styl.przerwa, 3);
  EXPECT_EQ(styl.ramkaKolor, 0u);
  EXPECT_EQ(styl.orientacja, 0);
  EXPECT_EQ(styl.liniiNaCal, 0);
  EXPECT_EQ(styl.tlo, "Brak");
  EXPECT_EQ(styl.logo, "Brak");
  EXPECT_FLOAT_EQ(styl.logoX, 0.0f);
  EXPECT_FLOAT_EQ(styl.logoY, 0.0f);
  EXPECT_FLOAT_EQ(styl.logoZoom, 1.0f);
  EXPECT_FALSE(styl.pojedynczo);
  EXPECT_EQ(styl.nazwa, "");
  EXPECT_EQ(styl.nazwa2, "");
}

// Each case: a style file, and how the settings differ from the defaults
// after reading it. Everything not changed must stay at its default.
struct StyleCase {
  const char* name;
  std::string text;
  std::function<void(TStylWydruku&)> change;
};

void PrintTo(const StyleCase& c, std::ostream* os) { *os << c.name; }

class StyleFile : public ::testing::TestWithParam<StyleCase> {};

TEST_P(StyleFile, ChangesOnlyWhatTheFileSets) {
  const StyleCase& c = GetParam();
  TStylWydruku expected = Defaults();
  c.change(expected);
  ExpectSameStyle(ReadFromDefaults(c.text), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleFile,
    ::testing::Values(
        StyleCase{"empty_file", "", [](TStylWydruku&) {}},
        StyleCase{"only_elite_size", "[Czcionka]\nSElite=12\n",
                  [](TStylWydruku& s) { s.sizes[Slot(FontSlot::Elite)] = 12; }},
        StyleCase{"normal_text_red", "[Czcionka]\nColNormalna=255\n",
                  [](TStylWydruku& s) { s.colours[Slot(FontSlot::Normalna)] = 255; }},
        StyleCase{"top_margin_15mm", "[Ogolne]\nMarginesGorny=150000\n",
                  [](TStylWydruku& s) { s.marginesGorny = 15.0f; }},
        StyleCase{"logo_half_size", "[Ogolne]\nLogoZoom=5000\n",
                  [](TStylWydruku& s) { s.logoZoom = 0.5f; }},
        StyleCase{"one_job_per_page", "[Ogolne]\nPojedynczo=1\n",
                  [](TStylWydruku& s) { s.pojedynczo = true; }},
        StyleCase{"short_background_name_kept", "[Ogolne]\nTlo=a.bmp\n",
                  [](TStylWydruku& s) { s.tlo = "a.bmp"; }},
        StyleCase{"names_in_any_case", "[CZCIONKA]\nselite=12\n[ogolne]\nGRUBOSC=4\n",
                  [](TStylWydruku& s) {
                    s.sizes[Slot(FontSlot::Elite)] = 12;
                    s.grubosc = 4;
                  }},
        StyleCase{"keys_in_wrong_section_ignored",
                  "[Ogolne]\nSElite=12\n[Czcionka]\nGrubosc=5\nNazwa=X\n",
                  [](TStylWydruku&) {}},
        StyleCase{"no_range_checks",
                  "[Czcionka]\nSNormalna=0\nSSmall=-4\nNHigh=NoSuchFace\n"
                  "[Ogolne]\nGrubosc=-3\nOdstep=-10000\nOrientacja=7\n",
                  [](TStylWydruku& s) {
                    s.sizes[Slot(FontSlot::Normalna)] = 0;
                    s.sizes[Slot(FontSlot::Small)] = -4;
                    s.grubosc = -3;
                    s.odstep = -1.0f;
                    s.orientacja = 7;
                    s.faces[Slot(FontSlot::High)] = "NoSuchFace";
                  }},
        StyleCase{"both_printers", "[Drukarka]\nNazwa=Laser 1\n[Drukarka2]\nNazwa=\"Igla 2\"\n",
                  [](TStylWydruku& s) {
                    s.nazwa = "Laser 1";
                    s.nazwa2 = "Igla 2";
                  }},
        StyleCase{"only_second_printer", "[Drukarka2]\nNazwa=Igla\n",
                  [](TStylWydruku& s) { s.nazwa2 = "Igla"; }},
        StyleCase{"face_quoted_and_padded", "[Czcionka]\nNPica = \"Courier New\" \n",
                  [](TStylWydruku& s) { s.faces[Slot(FontSlot::Pica)] = "Courier New"; }},
        StyleCase{"malformed_numbers_keep_defaults",
                  "[Czcionka]\nSElite=12abc\nCElite=\nColElite=red\n[Ogolne]\nOdstep=2.5\n"
                  "Pojedynczo=yes\nLogoZoom=0,5\n",
                  [](TStylWydruku&) {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every key of a complete file lands in its own field; read through a file.
TEST(PrintStyle, EveryKeyOfAFileIsRead) {
  TempFile file(
      "\xEF\xBB\xBF; full style\r\n"
      "[Czcionka]\r\n"
      "NNormalna=F0\r\nSNormalna=20\r\nCNormalna=30\r\nColNormalna=40\r\n"
      "NElite=F1\r\nSElite=21\r\nCElite=31\r\nColElite=41\r\n"
      "NPica=F2\r\nSPica=22\r\nCPica=32\r\nColPica=42\r\n"
      "NCondensed=F3\r\nSCondensed=23\r\nCCondensed=33\r\nColCondensed=43\r\n"
      "NEliteCondensed=F4\r\nSEliteCondensed=24\r\nCEliteCondensed=34\r\n"
      "ColEliteCondensed=44\r\n"
      "NExpanded=F5\r\nSExpanded=25\r\nCExpanded=35\r\nColExpanded=45\r\n"
      "NHigh=F6\r\nSHigh=26\r\nCHigh=36\r\nColHigh=46\r\n"
      "NSmall=F7\r\nSSmall=27\r\nCSmall=37\r\nColSmall=47\r\n"
      "[Ogolne]\r\n"
      "Odstep=15000\r\nGrubosc=3\r\nPodkreslenie=4\r\nMarginesGorny=50000\r\nPrzerwa=5\r\n"
      "Odstpodkreslenie=6\r\nRamkaKolor=$FF0000\r\nOrientacja=1\r\nLiniiNaCal=1\r\n"
      "Pojedynczo=1\r\nTlo=tlo.bmp\r\nLogo=logo.png\r\nLogoX=100000\r\nLogoY=200000\r\n"
      "LogoZoom=20000\r\n"
      "[Drukarka]\r\nNazwa=Pierwsza\r\n"
      "[Drukarka2]\r\nNazwa=Druga\r\n");
  TStylWydruku styl = Defaults();
  CzytajStyl(styl, file.path());

  TStylWydruku expected;
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    expected.faces[slot] = "F" + std::to_string(slot);
    expected.sizes[slot] = 20 + slot;
    expected.charsets[slot] = 30 + slot;
    expected.colours[slot] = static_cast<Colour>(40 + slot);
  }
  expected.odstep = 1.5f;
  expected.grubosc = 3;
  expected.podkreslenie = 4;
  expected.marginesGorny = 5.0f;
  expected.przerwa = 5;
  expected.odstPodkreslenie = 6;
  expected.ramkaKolor = 0xFF0000;
  expected.orientacja = 1;
  expected.liniiNaCal = 1;
  expected.pojedynczo = true;
  expected.tlo = "tlo.bmp";
  expected.logo = "logo.png";
  expected.logoX = 10.0f;
  expected.logoY = 20.0f;
  expected.logoZoom = 2.0f;
  expected.nazwa = "Pierwsza";
  expected.nazwa2 = "Druga";
  ExpectSameStyle(styl, expected);
}

TEST(PrintStyle, UnreadableStyleFileKeepsDefaults) {
  TStylWydruku styl = Defaults();
  CzytajStyl(styl, std::filesystem::temp_directory_path().string());
  ExpectSameStyle(styl, Defaults());
}

// Integers: decimal with sign, or hexadecimal; anything else keeps the
// current value (Grubosc starts at 2).
TEST(PrintStyle, IntegerValues) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {
      {"7", 7},          {"-3", -3},         {"+4", 4},          {"010", 10},
      {"$1F", 31},       {"$1f", 31},        {"0x1f", 31},       {"0X1F", 31},
      {"0x0000000010", 16}, {"\"5\"", 5},    {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},      {"$FFFFFFFF", -1},  {"$7FFFFFFF", 2147483647},
      {"2147483648", 2}, {"-2147483649", 2}, {"$100000000", 2},  {"99999999999999999999", 2},
      {"", 2},           {"12abc", 2},       {"2.5", 2},         {"abc", 2},
      {"1 2", 2},        {"$", 2},           {"0x", 2},          {"-$5", 2},
      {"$-5", 2},        {"0x+5", 2},        {"$G", 2},          {"+", 2},
      {"-", 2},          {"--5", 2},         {"+-5", 2},         {"5-", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ReadFromDefaults(std::string("[Ogolne]\nGrubosc=") + c.value).grubosc, c.expected);
  }
}

// Scaled numbers are ten-thousandths (Odstep starts at 2 mm).
TEST(PrintStyle, ScaledValues) {
  struct Case {
    const char* value;
    float expected;
  };
  const Case cases[] = {
      {"25000", 2.5f}, {"150000", 15.0f}, {"1", 0.0001f}, {"0", 0.0f},     {"-5000", -0.5f},
      {"$2710", 1.0f}, {"12345", 1.2345f}, {"2.5", 2.0f}, {"12abc", 2.0f}, {"", 2.0f},
      {"2,5", 2.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_FLOAT_EQ(ReadFromDefaults(std::string("[Ogolne]\nOdstep=") + c.value).odstep,
                    c.expected);
  }
}

// A missing scaled key is offered the current value in ten-thousandths,
// truncated toward zero, so finer fractions are dropped but values with at
// most four decimals survive unchanged.
TEST(PrintStyle, MissingScaledKeyKeepsCurrentToTenThousandths) {
  struct Case {
    float current;
    float expected;
  };
  const Case cases[] = {
      {1.23456f, 1.2345f}, {-1.23456f, -1.2345f}, {0.7f, 0.7f},
      {0.1f, 0.1f},        {0.00009f, 0.0f},      {1e20f, 1e20f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current);
    TStylWydruku styl = Defaults();
    styl.logoZoom = c.current;
    CzytajStyl(styl, ProfileReader::FromText(""));
    EXPECT_FLOAT_EQ(styl.logoZoom, c.expected);
  }
}

TEST(PrintStyle, BooleanValues) {
  struct Case {
    bool current;
    const char* value;
    bool expected;
  };
  const Case cases[] = {
      {false, "1", true},  {false, "2", true},    {false, "-1", true}, {false, "$10", true},
      {true, "0", false},  {true, "0x0", false},  {false, "yes", false}, {true, "yes", true},
      {true, "", true},    {false, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.current ? "true/" : "false/") + c.value);
    TStylWydruku styl = Defaults();
    styl.pojedynczo = c.current;
    CzytajStyl(styl, ProfileReader::FromText(std::string("[Ogolne]\nPojedynczo=") + c.value));
    EXPECT_EQ(styl.pojedynczo, c.expected);
  }
}

TEST(PrintStyle, ColourValues) {
  struct Case {
    const char* value;
    Colour expected;
  };
  const Case cases[] = {
      {"255", 255},           {"65280", 0x00FF00},  {"16711680", 0xFF0000},
      {"$FF0000", 0xFF0000},  {"0x00FF00", 0x00FF00}, {"-1", 0xFFFFFFFF},
      {"$FFFFFFFF", 0xFFFFFFFF}, {"red", 0},        {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ReadFromDefaults(std::string("[Ogolne]\nRamkaKolor=") + c.value).ramkaKolor,
              c.expected);
    EXPECT_EQ(ReadFromDefaults(std::string("[Czcionka]\nColHigh=") + c.value)
                  .Colour(FontSlot::High),
              c.expected);
  }
}

// Texts are taken as written: an empty value is a value, unlike a number.
TEST(PrintStyle, TextValues) {
  struct Case {
    const char* line;
    const char* expected;
  };
  const Case cases[] = {
      {"NNormalna=Courier New", "Courier New"},
      {"NNormalna='Arial'", "Arial"},
      {"NNormalna=", ""},
      {"NNormalna=\xA3" "ad", "\xA3" "ad"},
      {"NElite=Arial", "Lucida Console"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ReadFromDefaults(std::string("[Czcionka]\n") + c.line).Face(FontSlot::Normalna),
              c.expected);
  }
}

// Reading offers the current settings as defaults, not the built-in ones,
// except for the printer names, which fall back to the default printer.
TEST(PrintStyle, MissingKeysKeepCurrentSettings) {
  TStylWydruku before = Defaults();
  before.faces.fill("Arial");
  before.sizes.fill(33);
  before.charsets.fill(204);
  before.colours.fill(0x123456);
  before.odstep = 1.5f;
  before.grubosc = 9;
  before.marginesGorny = 3.25f;
  before.przerwa = 8;
  before.ramkaKolor = 77;
  before.orientacja = 1;
  before.liniiNaCal = 1;
  before.pojedynczo = true;
  before.tlo = "tlo.bmp";
  before.logo = "logo.bmp";
  before.logoX = 12.5f;
  before.logoY = -4.0f;
  before.logoZoom = 0.25f;
  before.nazwa = "Stara";
  before.nazwa2 = "Stara 2";

  TStylWydruku styl = before;
  CzytajStyl(styl, ProfileReader::FromText("[Ogolne]\nGrubosc=1\n[Drukarka]\nNazwa=Nowa\n"));

  TStylWydruku expected = before;
  expected.grubosc = 1;
  expected.nazwa = "Nowa";
  expected.nazwa2 = "";
  ExpectSameStyle(styl, expected);
}

}  // namespace
}  // namespace zuvprint

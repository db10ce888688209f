// A sales document in the host's tables, as the receipt jobs find it: a
// data directory of DBF tables (headers, items, stock, VAT rates, fiscal
// designations, units, fiscal dictionaries, document kinds) made from a
// few rows, opened in the runtime's work areas with the header current and
// the items on the document's first one, in a host directory with "FISK".
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/code_page.h"
#include "runtime/dates.h"
#include "runtime/numbers.h"
#include "runtime/text.h"
#include "till_fixture.h"

namespace zuvtill::testing {

struct Header {
  std::string odnosnik = "PA00000001";
  bool grossPrices = true;
  std::string nip{};  // nip_parag
  std::string dokument = "PAR";
  std::string device = "  1  1";  // kodurzfisk
};

struct Item {
  std::string nr;  // "    1"; "    0" for packaging
  std::string material;
  double price = 0;  // cena_pobon
  double quantity = 1;  // ilosc; il_analit is its negation unless given
  std::string vat = "23";
  std::string nrPozGl = "    0";
  double ilAnalit = 0;
  bool ilAnalitGiven = false;
  std::string odnosnik = "PA00000001";
  std::string grupa = "t";  // the item's own group (the deposit summary reads it)
  double cenaSp = 0;
};

struct Goods {
  std::string material, plu, name, jm = "01", grupa = "t";
};

inline std::string Nr(int n) { return runtime::Str(n, 5, 0); }

class SalesTest : public TillTest {
 protected:
  void SetUp() override {
    TillTest::SetUp();
    std::filesystem::create_directories(host_.File("FISK/MERA30"));
    rt().Variables().Assign("p_przds", T("01"));
    rt().Variables().Assign("p_zkld", T("01"));
    rt().Variables().Assign("sp_ilosc", N(3));
    rt().Recorder().SetAnswer("NAZWA_PROCESU", T("KASA1"));
    dictionary_ = {{T("  1  1"), N(4000), N(28)}};
  }

  // Writes the tables and opens them; the first header is current, the
  // items on its first numbered one (or its first record).
  void Open(const std::vector<Header>& headers, const std::vector<Item>& items, const std::vector<Goods>& goods) {
    using runtime::FieldInfo;
    std::vector<std::vector<Value>> rows;
    for (const Header& h : headers) {
      rows.push_back({T("01"), T("01"), T(h.odnosnik), T(h.dokument), T("PAR/1/2026"), Value::OfDate(runtime::MakeDate(2026, 12, 9)),
                      Value::Logical(h.grossPrices), T(h.nip), T(h.device)});
    }
    MakeTable(data_.File("naglowek.dbf"),
              {{"PRZEDS", 'C', 2, 0, 0}, {"ZAKLAD", 'C', 2, 0, 0}, {"ODNOSNIK", 'C', 10, 0, 0}, {"DOKUMENT", 'C', 3, 0, 0},
               {"NR_DOWODU", 'C', 15, 0, 0}, {"DATA", 'D', 8, 0, 0}, {"OD_BRUTTA", 'L', 1, 0, 0},
               {"NIP_PARAG", 'C', 15, 0, 0}, {"KODURZFISK", 'C', 6, 0, 0}},
              rows);
    rows.clear();
    for (const Item& i : items) {
      rows.push_back({T("01"), T("01"), T(i.odnosnik), T(i.nr), T(i.material), N(1), T(i.vat), N(i.price),
                      N(i.ilAnalitGiven ? i.ilAnalit : -i.quantity), N(i.quantity), T(i.nrPozGl), T(i.grupa), N(i.cenaSp)});
    }
    MakeTable(data_.File("pozycje.dbf"),
              {{"PRZEDS", 'C', 2, 0, 0}, {"ZAKLAD", 'C', 2, 0, 0}, {"ODNOSNIK", 'C', 10, 0, 0}, {"NR_POZ", 'C', 5, 0, 0},
               {"MATERIAL", 'C', 10, 0, 0}, {"MAGAZYN", 'N', 3, 0, 0}, {"VAT_SYMBOL", 'C', 4, 0, 0},
               {"CENA_POBON", 'N', 12, 3, 0}, {"IL_ANALIT", 'N', 20, 11, 0}, {"ILOSC", 'N', 20, 11, 0},
               {"NR_POZ_GL", 'C', 5, 0, 0}, {"GRUPA", 'C', 1, 0, 0}, {"CENA_SP", 'N', 12, 2, 0}},
              rows);
    rows.clear();
    for (const Goods& g : goods) {
      rows.push_back({T("01"), T("01"), T("11"), T(g.material), N(1), T(g.plu), T(runtime::Utf8ToCp852(g.name)), T(g.jm),
                      T(g.grupa)});
    }
    MakeTable(data_.File("stan_mag.dbf"),
              {{"PRZEDS", 'C', 2, 0, 0}, {"ZAKLAD", 'C', 2, 0, 0}, {"TYP", 'C', 2, 0, 0}, {"MATERIAL", 'C', 10, 0, 0},
               {"MAGAZYN", 'N', 3, 0, 0}, {"PLU", 'C', 6, 0, 0}, {"NAZWA_FIS", 'C', 40, 0, 0}, {"JM", 'C', 3, 0, 0},
               {"GRUPA", 'C', 1, 0, 0}},
              rows);
    MakeTable(data_.File("vat.dbf"), {{"SYMBOL", 'C', 4, 0, 0}, {"PROCENT", 'N', 6, 2, 0}},
              {{T("23"), N(23)}, {T("8"), N(8)}, {T("7"), N(7)}, {T("5"), N(5)}, {T("ZW"), N(0)}});
    MakeTable(data_.File("fiski.dbf"), {{"NR_URZ", 'N', 3, 0, 0}, {"SYMBOL", 'C', 4, 0, 0}, {"OZNACZ", 'C', 3, 0, 0}},
              {{N(1), T("23"), T("A")}, {N(1), T("8"), T("B")}, {N(1), T("7"), T("B")}, {N(1), T("5"), T("C")},
               {N(1), T("ZW"), T("G")}});
    MakeTable(data_.File("jm.dbf"), {{"KOD", 'C', 3, 0, 0}, {"NAZWA", 'C', 10, 0, 0}},
              {{T("01"), T("szt.")}, {T("02"), T("kg")}, {T("03"), T("opakowanie")}, {T("04"), T("szt")}});
    MakeTable(data_.File("fisk_slo.dbf"), {{"KODSLO", 'C', 10, 0, 0}, {"MAXPLU", 'N', 6, 0, 0}, {"MAXNAZWA", 'N', 3, 0, 0}},
              dictionary_);
    MakeTable(data_.File("fisk_urz.dbf"), {{"PRZEDS", 'C', 2, 0, 0}, {"ZAKLAD", 'C', 2, 0, 0}, {"KODURZ", 'C', 6, 0, 0},
                                           {"MODEL", 'C', 5, 0, 0}, {"MAXPLU", 'N', 6, 0, 0}},
              {});
    MakeTable(data_.File("dokument.dbf"),
              {{"PRZEDS", 'C', 2, 0, 0}, {"ZAKLAD", 'C', 2, 0, 0}, {"DOKUMENT", 'C', 3, 0, 0}, {"FISKALNY", 'C', 1, 0, 0}},
              {{T("01"), T("01"), T("PAR"), T("1")}, {T("01"), T("01"), T("ZWR"), T("3")},
               {T("01"), T("01"), T("FV"), T("0")}});
    data_.Write("tables.ini",
                "[naglowek]\n1 = przeds+zaklad+odnosnik\n11 = przeds+zaklad+kodurzfisk\n"
                "[pozycje]\n1 = przeds+zaklad+odnosnik+nr_poz\n"
                "[stan_mag]\n1 = _PL(przeds+zaklad+typ+material+STR(magazyn,3))\n"
                "[dokument]\n1 = przeds+zaklad+dokument\n"
                "[fisk_slo]\n1 = kodslo\n"
                "[fisk_urz]\n1 = przeds+zaklad+kodurz\n5 = przeds+zaklad+kodurz+model\n"
                "[vat]\n1 = symbol\n[jm]\n1 = kod\n");
    rt().Data().SetPath(data_.path());
    for (const char* alias : {"naglowek", "pozycje", "stan_mag", "dokument", "vat", "fiski", "jm"}) {
      rt().Data().Open(rt().Areas(), alias);
    }
    // The keys hold the reference as the C(10) field stores it.
    const std::string reference = headers.empty() ? "" : runtime::PadR(headers.front().odnosnik, 10);
    if (!headers.empty()) rt().Areas().Require("naglowek").Seek(T("0101" + reference));
    runtime::WorkArea& positions = rt().Areas().Require("pozycje");
    if (!headers.empty() && !positions.Seek(T("0101" + reference + Nr(1)))) positions.GoTop();
    rt().Areas().Select(1);
  }

  std::string Family() const { return Elzab() ? "FP600" : "DF301"; }
  std::string ErrorLog() { return ReadBytes(host_.File(Elzab() ? "FISK/ERRORZUV.FP6" : "FISK/ERRORZUV.DF3")); }

  std::vector<std::vector<Value>> dictionary_;  // the fisk_slo rows
  TempDirectory data_, host_;
  WorkingIn here_{host_.path()};
};

// A line of the exchange files: fields in double quotes, "," between.
inline std::string Q(const std::vector<std::string>& fields, bool lineEnd = true) {
  std::string line = "\"";
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "\",\"" : "") + fields[i];
  return line + "\"" + (lineEnd ? "\r\n" : "");
}

}  // namespace zuvtill::testing

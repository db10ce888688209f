// Work areas over real DBF tables: orders from key expressions, exact,
// partial and soft seeks, skips past both ends, scopes with key counts,
// state save and restore, and field reads with their blanks.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "runtime/evaluator.h"
#include "runtime/expression.h"
#include "runtime/work_areas.h"

namespace zuvtill::testing {
namespace {

using runtime::DbfTable;
using runtime::WorkArea;

// Items of two documents, stored out of key order on purpose.
class WorkAreaTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    MakeTable(dir_.File("pozycje.dbf"),
              {{"PRZEDS", 'C', 2, 0, 0}, {"ODNOSNIK", 'C', 6, 0, 0}, {"NR_POZ", 'C', 5, 0, 0},
               {"ILOSC", 'N', 10, 3, 0}},
              {{T("01"), T("FV0002"), T("    2"), N(1.5)},
               {T("01"), T("FV0001"), T("    2"), N(2)},
               {T("01"), T("FV0001"), T("    1"), N(3)},
               {T("02"), T("FV0001"), T("    1"), N(4)},
               {T("01"), T("FV0002"), T("    1"), N(-1)}});
    area_ = &rt().Areas().Open("pozycje", DbfTable::Open(dir_.File("pozycje.dbf")),
                               {{2, "ilosc"}, {1, "przeds+odnosnik+nr_poz"}});
  }

  // The records reached from the top to the end.
  std::vector<long> Walk() {
    std::vector<long> seen;
    for (area_->GoTop(); !area_->Eof(); area_->Skip()) seen.push_back(area_->RecNo());
    return seen;
  }

  std::string Field(const char* name) { return area_->FieldGet(area_->FieldIndex(name)).AsText(); }

  TempDirectory dir_;
  WorkArea* area_ = nullptr;
};

TEST_F(WorkAreaTest, LowestOrderIsActiveAndOrdersTheRecordsByKey) {
  EXPECT_EQ(area_->Order(), 1);
  EXPECT_EQ(Walk(), (std::vector<long>{3, 2, 5, 1, 4}));
  area_->SetOrder(2);  // by quantity
  EXPECT_EQ(Walk(), (std::vector<long>{5, 1, 2, 3, 4}));
  area_->SetOrder(0);  // natural
  EXPECT_EQ(Walk(), (std::vector<long>{1, 2, 3, 4, 5}));
  EXPECT_THROW(area_->SetOrder(7), runtime::HostError);
}

TEST_F(WorkAreaTest, SeekMatchesTheStartOfTheKeyAndSoftSeekStopsAtTheNextKey) {
  struct Case {
    std::string key;
    bool soft;
    bool found;
    long record;  // 6: the end of the table
  } cases[] = {
      {"01FV0001    2", false, true, 2},   // whole key
      {"01FV0002", false, true, 5},        // partial key: first item of the document
      {"01", false, true, 3},              // company only
      {"01FV0001    3", false, false, 6},  // no such item: the end
      {"01FV0001    3", true, false, 5},   // soft: the next key
      {"03", true, false, 6},              // soft beyond the last key: the end
      {"", false, true, 3},                // the empty text matches every key
      {"01FV0001    2 X", false, false, 6},  // longer than the key
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key + (c.soft ? " soft" : ""));
    EXPECT_EQ(area_->Seek(T(c.key), c.soft), c.found);
    EXPECT_EQ(area_->Found(), c.found);
    EXPECT_EQ(area_->RecNo(), c.record);
    EXPECT_EQ(area_->Eof(), c.record == 6);
  }
  EXPECT_THROW(area_->Seek(N(1)), runtime::HostError);  // a number for a text key
}

TEST_F(WorkAreaTest, TheEndOfTheTableReadsAsTheEmptyRecord) {
  area_->Seek(T("99"));
  EXPECT_EQ(Field("NR_POZ"), "     ");
  EXPECT_EQ(area_->FieldGet(area_->FieldIndex("ILOSC")).AsNumber(), 0);
  area_->Skip();  // still the end
  EXPECT_TRUE(area_->Eof());
  area_->Skip(-1);  // back from the end: the last key
  EXPECT_EQ(area_->RecNo(), 4);
  area_->GoTop();
  area_->Skip(-1);  // before the first: stays there, at the beginning
  EXPECT_TRUE(area_->Bof());
  EXPECT_EQ(area_->RecNo(), 3);
  area_->Skip(10);
  EXPECT_TRUE(area_->Eof());
  EXPECT_FALSE(area_->Found());
}

TEST_F(WorkAreaTest, ScopesLimitMovesSeeksAndKeyCounts) {
  EXPECT_EQ(area_->KeyCount(), 5);
  EXPECT_TRUE(area_->SetScope(0, T("01FV0002")).IsNil());
  EXPECT_TRUE(area_->SetScope(1, T("01FV0002")).IsNil());
  EXPECT_EQ(area_->KeyCount(), 2);
  EXPECT_EQ(Walk(), (std::vector<long>{5, 1}));
  EXPECT_FALSE(area_->Seek(T("01FV0001")));  // outside the scope
  area_->GoBottom();
  EXPECT_EQ(area_->RecNo(), 1);

  // A scope given as a code block is evaluated when it is set; setting one
  // answers the scope as it was given before.
  rt().Variables().Assign("p_przds", T("02"));
  Value block = runtime::EvaluateExpression(runtime::ParseExpression("{|| p_przds }"));
  EXPECT_EQ(area_->SetScope(0, block).AsText(), "01FV0002");
  area_->SetScope(1, block);
  EXPECT_EQ(area_->KeyCount(), 1);
  EXPECT_TRUE(area_->SetScope(0, Value()).IsBlock());
  area_->SetScope(1, Value());
  EXPECT_EQ(area_->KeyCount(), 5);
}

TEST_F(WorkAreaTest, RestoringAStateBringsBackOrderRecordAndScopes) {
  area_->SetScope(0, T("01"));
  area_->SetScope(1, T("01"));
  area_->Seek(T("01FV0002    2"));
  runtime::TableState saved = area_->SaveState();

  area_->SetOrder(2);
  area_->GoTop();
  area_->SetOrder(1);
  area_->SetScope(0, Value());
  area_->SetScope(1, Value());
  area_->SetOrder(2);

  area_->RestoreState(saved);
  EXPECT_EQ(area_->Order(), 1);
  EXPECT_EQ(area_->RecNo(), 1);
  EXPECT_EQ(area_->KeyCount(), 4);
}

TEST_F(WorkAreaTest, WrittenFieldsReorderTheKeysAndReachTheFile) {
  area_->Seek(T("02"));
  area_->FieldPut(area_->FieldIndex("PRZEDS"), T("00"));
  area_->GoTop();
  EXPECT_EQ(area_->RecNo(), 4);
  DbfTable reread = DbfTable::Open(dir_.File("pozycje.dbf"));
  EXPECT_EQ(reread.Read(4, 0).AsText(), "00");
}

TEST_F(WorkAreaTest, TypeOfFieldsAndMemvars) {
  rt().Variables().Assign("p_pol", N(2));
  rt().Variables().Assign("tab_mies", Value::OfArray(runtime::Array{T("a")}));
  struct Case {
    const char* expression;
    const char* type;
  } cases[] = {
      {"pozycje->nr_poz", "C"}, {"POZYCJE->ILOSC", "N"}, {"pozycje->brak", "U"}, {"naglowek->nip_parag", "U"},
      {"p_pol", "N"},           {"tab_mies", "A"},       {"nie_ma", "U"},        {"nr_poz", "C"},
      {"p_pol +", "UE"},        {"p_pol + 'x'", "UE"},   {"NIEZNANA(1)", "UI"},  {"NIL", "U"},
  };
  for (const Case& c : cases) EXPECT_EQ(runtime::TypeOf(c.expression), c.type) << c.expression;
}

TEST_F(WorkAreaTest, AKeyExpressionThatFailsNamesTheOrder) {
  MakeTable(dir_.File("x.dbf"), {{"A", 'C', 2, 0, 0}}, {{T("aa")}});
  WorkArea& x = rt().Areas().Open("x", DbfTable::Open(dir_.File("x.dbf")), {{1, "a + 1"}});
  try {
    x.Seek(T("a"));
    FAIL() << "no error";
  } catch (const runtime::HostError& e) {
    EXPECT_NE(std::string(e.what()).find("order 1 of X"), std::string::npos) << e.what();
  }
  EXPECT_THROW(rt().Areas().Open("y", DbfTable::Open(dir_.File("x.dbf")), {{1, "a +"}}), runtime::HostError);
}

}  // namespace
}  // namespace zuvtill::testing

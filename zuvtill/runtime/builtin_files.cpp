// The byte-file functions, the command interpreter and the console.
#include "runtime/builtin_arguments.h"
#include "runtime/functions.h"
#include "runtime/runtime.h"
#include "runtime/shell.h"

namespace zuvtill::runtime {
namespace {

ByteFiles& Files() { return Runtime::Get().Files(); }
Console& Terminal() { return Runtime::Get().Terminal(); }

}  // namespace

void RegisterFileAndConsoleFunctions(FunctionTable& t) {
  t.Register("FOPEN", [](Params& p) {
    int mode = OptionalInt(p, 2, "FOPEN", ByteFiles::kRead);
    p.SetResult(Value::Number(Files().Open(TextArgument(p, 1, "FOPEN"), mode)));
  });
  t.Register("FCREATE", [](Params& p) { p.SetResult(Value::Number(Files().Create(TextArgument(p, 1, "FCREATE")))); });
  t.Register("FSEEK", [](Params& p) {
    long at = Files().Seek(IntArgument(p, 1, "FSEEK"), OptionalLong(p, 2, "FSEEK", 0),
                           OptionalInt(p, 3, "FSEEK", 0));
    p.SetResult(Value::Number(static_cast<double>(at)));
  });
  t.Register("FREAD", [](Params& p) {
    // FREAD(handle, @buffer, count): the bytes go into the buffer variable.
    std::string bytes = Files().Read(IntArgument(p, 1, "FREAD"), LongArgument(p, 3, "FREAD"));
    p.Store(2, Value::Text(bytes));
    p.SetResult(Value::Number(static_cast<double>(bytes.size())));
  });
  t.Register("FREADSTR", [](Params& p) {
    p.SetResult(Value::Text(
        Files().ReadString(IntArgument(p, 1, "FREADSTR"), LongArgument(p, 2, "FREADSTR"))));
  });
  t.Register("FWRITE", [](Params& p) {
    std::string bytes = TextArgument(p, 2, "FWRITE");
    if (!p.IsNil(3)) bytes = bytes.substr(0, static_cast<std::size_t>(std::max(0L, LongArgument(p, 3, "FWRITE"))));
    p.SetResult(Value::Number(static_cast<double>(Files().Write(IntArgument(p, 1, "FWRITE"), bytes))));
  });
  t.Register("FCLOSE", [](Params& p) { p.SetResult(Value::Logical(Files().Close(IntArgument(p, 1, "FCLOSE")))); });
  t.Register("FERASE", [](Params& p) { p.SetResult(Value::Number(Files().Erase(TextArgument(p, 1, "FERASE")))); });
  t.Register("FILE", [](Params& p) { p.SetResult(Value::Logical(Files().Exists(TextArgument(p, 1, "FILE")))); });
  t.Register("FERROR", [](Params& p) { p.SetResult(Value::Number(Files().LastError())); });
  // -1: the command could not be started.
  t.Register("RUNSHELL", [](Params& p) {
    p.SetResult(Value::Number(RunShell(TextArgument(p, 1, "RUNSHELL")).value_or(-1)));
  });
  t.Register("SETCURSOR", [](Params& p) {
    int previous = p.IsNil(1) ? Terminal().CursorShape() : Terminal().SetCursor(IntArgument(p, 1, "SETCURSOR"));
    p.SetResult(Value::Number(previous));
  });
  t.Register("SAVESCREEN", [](Params& p) {
    Console& c = Terminal();
    p.SetResult(Value::Text(c.SaveScreen(OptionalInt(p, 1, "SAVESCREEN", 0),
                                         OptionalInt(p, 2, "SAVESCREEN", 0),
                                         OptionalInt(p, 3, "SAVESCREEN", c.MaxRow()),
                                         OptionalInt(p, 4, "SAVESCREEN", c.MaxCol()))));
  });
  t.Register("RESTSCREEN", [](Params& p) {
    Console& c = Terminal();
    c.RestScreen(OptionalInt(p, 1, "RESTSCREEN", 0),
                 OptionalInt(p, 2, "RESTSCREEN", 0),
                 OptionalInt(p, 3, "RESTSCREEN", c.MaxRow()),
                 OptionalInt(p, 4, "RESTSCREEN", c.MaxCol()), TextArgument(p, 5, "RESTSCREEN"));
  });
  t.Register("SETPOS", [](Params& p) { Terminal().SetPos(IntArgument(p, 1, "SETPOS"), IntArgument(p, 2, "SETPOS")); });
  t.Register("DEVPOS", [](Params& p) { Terminal().SetPos(IntArgument(p, 1, "DEVPOS"), IntArgument(p, 2, "DEVPOS")); });
  t.Register("DEVOUT", [](Params& p) { Terminal().DevOut(TextArgument(p, 1, "DEVOUT")); });
  t.Register("MAXROW", [](Params& p) { p.SetResult(Value::Number(Terminal().MaxRow())); });
  t.Register("MAXCOL", [](Params& p) { p.SetResult(Value::Number(Terminal().MaxCol())); });
  t.Register("ROW", [](Params& p) { p.SetResult(Value::Number(Terminal().Row())); });
  t.Register("COL", [](Params& p) { p.SetResult(Value::Number(Terminal().Col())); });
}

}  // namespace zuvtill::runtime

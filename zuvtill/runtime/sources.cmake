# The host runtime zuvrt: its portable sources and one backend folder for
# the operating system's part, paths relative to zuvtill/.
set(ZUVRT_SOURCES
  runtime/builtin_files.cpp
  runtime/builtin_numbers.cpp
  runtime/builtin_tables.cpp
  runtime/builtin_text.cpp
  runtime/byte_files.cpp
  runtime/code_page.cpp
  runtime/console.cpp
  runtime/data_directory.cpp
  runtime/dates.cpp
  runtime/dbf_format.cpp
  runtime/dbf_table.cpp
  runtime/evaluator.cpp
  runtime/expression.cpp
  runtime/functions.cpp
  runtime/memvars.cpp
  runtime/numbers.cpp
  runtime/params.cpp
  runtime/runtime.cpp
  runtime/stand_ins.cpp
  runtime/text.cpp
  runtime/value.cpp
  runtime/work_area.cpp
  runtime/work_areas.cpp
)
set(ZUVRT_POSIX_SOURCES
  runtime/posix/current_directory.cpp
  runtime/posix/dos_path.cpp
  runtime/posix/local_time.cpp
  runtime/posix/native_file.cpp
  runtime/posix/shell.cpp
)
set(ZUVRT_WINDOWS_SOURCES
  runtime/windows/current_directory.cpp
  runtime/windows/dos_path.cpp
  runtime/windows/local_time.cpp
  runtime/windows/native_file.cpp
  runtime/windows/shell.cpp
  runtime/windows/wide_text.cpp
  ../zuvprint/platform/windows/wide_text.cpp
)
# CreateProcessW, CreateFileW and the rest are kernel32's, which every
# program links; nothing more is needed.
set(ZUVRT_WINDOWS_LIBS)

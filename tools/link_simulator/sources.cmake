# zuvlink's sources, relative to the repository root (prepend
# ${PROJECT_SOURCE_DIR}/), for the Linux build here and the Windows build:
# the portable ones, then one list per system for operating_system.cpp.
set(ZUVLINK_SOURCES
  tools/link_simulator/main.cpp
  tools/link_simulator/amounts.cpp
  tools/link_simulator/ascii_case.cpp
  tools/link_simulator/byte_files.cpp
  tools/link_simulator/command_line.cpp
  tools/link_simulator/deposit_file.cpp
  tools/link_simulator/family.cpp
  tools/link_simulator/failure_files.cpp
  tools/link_simulator/file_lines.cpp
  tools/link_simulator/file_text.cpp
  tools/link_simulator/information_file.cpp
  tools/link_simulator/job_failure.cpp
  tools/link_simulator/jobs.cpp
  tools/link_simulator/paper_roll.cpp
  tools/link_simulator/printouts.cpp
  tools/link_simulator/quoted_fields.cpp
  tools/link_simulator/receipt_file.cpp
  tools/link_simulator/run_log.cpp
  tools/link_simulator/settings.cpp
  zuvtill/runtime/code_page.cpp
)
set(ZUVLINK_POSIX_SOURCES tools/link_simulator/posix/operating_system.cpp)
set(ZUVLINK_WINDOWS_SOURCES tools/link_simulator/windows/operating_system.cpp)
# Include directories, relative to the repository root likewise.
set(ZUVLINK_INCLUDE_DIRS tools/link_simulator zuvtill zuvprint)

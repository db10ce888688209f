# The sources of zuvtill's binaries, paths relative to zuvtill/, shared by
# the Linux build (zuvtill/CMakeLists.txt) and the Windows build
# (windows/zuvtill.cmake). The runtime's own lists are in
# runtime/sources.cmake. Each *_POSIX_SOURCES / *_WINDOWS_SOURCES list is
# the backend of that system.

# The runtime, host libraries and device-module stand-ins that zuvtill
# binds: it links all of them, and each family's folder holds them all.
set(ZUVTILL_BOUND_LIBRARIES zuvrt zuvcore zuvfault zuvorg zuvelzab zuvposnet zuvcollect)

# The library's code, the same for both families.
set(ZUVTILL_CODE_SOURCES
  device/companions.cpp
  device/device_symbols.cpp
  device/dispatch.cpp
  device/fd_operations.cpp
  device/port_settings.cpp
  exchange/error_files.cpp
  exchange/error_log.cpp
  exchange/error_texts.cpp
  exchange/link_runner.cpp
  exchange/printer_information.cpp
  lib/text_conversion.cpp
  receipt/deposit_summary.cpp
  receipt/link_job.cpp
  receipt/plu_limits.cpp
  receipt/receipt_file.cpp
  receipt/receipt_flow.cpp
  receipt/table_states.cpp
  receipt/tax_rates.cpp
)
# The one source that differs between the families' builds.
set(ZUVTILL_FAMILY_SOURCE device/family_symbol.cpp)

# The host library zuvcore and the process name it gives.
set(ZUVCORE_SOURCES hostlibs/zuvcore.cpp)
set(ZUVCORE_POSIX_SOURCES hostlibs/posix/process_name.cpp)
set(ZUVCORE_WINDOWS_SOURCES hostlibs/windows/process_name.cpp)

# Binding the till library by its export names.
set(TILL_LIBRARY_POSIX_SOURCES host/posix/till_library.cpp)
set(TILL_LIBRARY_WINDOWS_SOURCES host/windows/till_library.cpp)

# The embedded host, without the binding.
set(ZUVHOST_SOURCES host/control_functions.cpp host/data_tables.cpp host/main.cpp host/script.cpp)
set(ZUVHOST_POSIX_SOURCES host/posix/standard_streams.cpp)
set(ZUVHOST_WINDOWS_SOURCES host/windows/standard_streams.cpp)

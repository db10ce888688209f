# zuvtill for Windows: the runtime, the host libraries and device modules,
# the till library of both families, zuvhost.exe and the link-program
# simulator, all in zuvtill/bin/ with GCC's runtime DLLs, as a host
# installs them; the other family's library in zuvtill/bin/<family>/ with a
# zuvhost.exe and the DLLs of its own. Every DLL is named as the host knows
# it (zuvtill.dll, no "lib" prefix) and exports its host functions by their
# exact names.
set(zuvtill_dir ${PROJECT_SOURCE_DIR}/zuvtill)
set(zuvtill_bin ${CMAKE_BINARY_DIR}/zuvtill/bin)
include(${zuvtill_dir}/sources.cmake)
include(${zuvtill_dir}/runtime/sources.cmake)
include(${PROJECT_SOURCE_DIR}/tools/link_simulator/sources.cmake)
foreach(list ZUVTILL_CODE_SOURCES ZUVTILL_FAMILY_SOURCE ZUVCORE_SOURCES ZUVCORE_WINDOWS_SOURCES
        TILL_LIBRARY_WINDOWS_SOURCES ZUVHOST_SOURCES ZUVHOST_WINDOWS_SOURCES ZUVRT_SOURCES ZUVRT_WINDOWS_SOURCES)
  list(TRANSFORM ${list} PREPEND ${zuvtill_dir}/)
endforeach()
foreach(list ZUVLINK_SOURCES ZUVLINK_WINDOWS_SOURCES ZUVLINK_INCLUDE_DIRS)
  list(TRANSFORM ${list} PREPEND ${PROJECT_SOURCE_DIR}/)
endforeach()

file(COPY ${gcc_runtime} DESTINATION ${zuvtill_bin})

function(zuvtill_binary target)
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${zuvtill_bin})
  # zuvprint for the UTF-16 helpers the runtime shares with the print program.
  target_include_directories(${target} PRIVATE ${zuvtill_dir} ${zuvprint_dir})
endfunction()

# The runtime: its classes are used by every DLL, so all of it is exported.
add_library(zuvrt SHARED ${ZUVRT_SOURCES} ${ZUVRT_WINDOWS_SOURCES})
zuvtill_binary(zuvrt)
target_include_directories(zuvrt PUBLIC ${zuvtill_dir} PRIVATE ${zuvprint_dir})
target_link_libraries(zuvrt PUBLIC ${ZUVRT_WINDOWS_LIBS})
target_link_options(zuvrt PRIVATE -Wl,--export-all-symbols)

add_library(zuvhost_services STATIC ${zuvtill_dir}/hostlibs/data_lookup.cpp)
target_link_libraries(zuvhost_services PUBLIC zuvrt)

add_library(zuvcore SHARED ${ZUVCORE_SOURCES} ${ZUVCORE_WINDOWS_SOURCES})
target_link_libraries(zuvcore PRIVATE zuvhost_services)
add_library(zuvfault SHARED ${zuvtill_dir}/hostlibs/zuvfault.cpp)
target_link_libraries(zuvfault PRIVATE zuvrt)
add_library(zuvorg SHARED ${zuvtill_dir}/hostlibs/zuvorg.cpp)
target_link_libraries(zuvorg PRIVATE zuvhost_services)
foreach(module zuvelzab zuvposnet zuvcollect)
  add_library(${module} SHARED ${zuvtill_dir}/modules/${module}.cpp)
  target_link_libraries(${module} PRIVATE zuvrt)
endforeach()
foreach(target zuvcore zuvfault zuvorg zuvelzab zuvposnet zuvcollect)
  zuvtill_binary(${target})
endforeach()

set(ZUV_FAMILY_SYMBOL "FP600" CACHE STRING "Printer family of zuvtill.dll in zuvtill/bin: FP600 or DF301")
set(ZUV_OTHER_FAMILY DF301)
if(ZUV_FAMILY_SYMBOL STREQUAL "DF301")
  set(ZUV_OTHER_FAMILY FP600)
endif()

add_library(zuvtill_code OBJECT ${ZUVTILL_CODE_SOURCES})
target_include_directories(zuvtill_code PRIVATE ${zuvtill_dir})

# zuvtill.dll of one family. It imports from all six DLLs, so that loading
# it without one of them fails.
function(zuvtill_library target family directory)
  add_library(${target} SHARED ${ZUVTILL_FAMILY_SOURCE} $<TARGET_OBJECTS:zuvtill_code>)
  zuvtill_binary(${target})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME zuvtill RUNTIME_OUTPUT_DIRECTORY ${directory}
                                             ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${family})
  target_compile_definitions(${target} PRIVATE ZUV_FAMILY_SYMBOL="${family}")
  target_link_libraries(${target} PRIVATE ${ZUVTILL_BOUND_LIBRARIES})
endfunction()
zuvtill_library(zuvtill ${ZUV_FAMILY_SYMBOL} ${zuvtill_bin})

add_executable(zuvhost ${ZUVHOST_SOURCES} ${ZUVHOST_WINDOWS_SOURCES} ${TILL_LIBRARY_WINDOWS_SOURCES})
zuvtill_binary(zuvhost)
target_link_libraries(zuvhost PRIVATE zuvrt)
add_dependencies(zuvhost zuvtill)

# The link-program simulator, copied as ELZABDR.EXE or POSNETDR.EXE into a
# work directory away from these DLLs: it links nothing of ours or GCC's
# dynamically.
add_executable(zuvlink ${ZUVLINK_SOURCES} ${ZUVLINK_WINDOWS_SOURCES})
set_target_properties(zuvlink PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${zuvtill_bin})
target_include_directories(zuvlink PRIVATE ${ZUVLINK_INCLUDE_DIRS})
target_link_options(zuvlink PRIVATE -static)

set(other_bin ${zuvtill_bin}/${ZUV_OTHER_FAMILY})
zuvtill_library(zuvtill_other_family ${ZUV_OTHER_FAMILY} ${other_bin})
set(bound_files ${gcc_runtime})
foreach(target zuvhost ${ZUVTILL_BOUND_LIBRARIES})
  list(APPEND bound_files $<TARGET_FILE:${target}>)
endforeach()
add_custom_target(zuvhost_other_family ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${bound_files} ${other_bin}
  COMMENT "zuvhost.exe for the ${ZUV_OTHER_FAMILY} family")
add_dependencies(zuvhost_other_family zuvtill_other_family zuvhost)

# The tests: in zuvtill/bin/ beside the DLLs they bind, run by CTest
# through Wine. Paths that reach them are Wine's Z: drive.
set(zuvtill_tests ${zuvtill_dir}/tests)
add_executable(link_script ${zuvtill_tests}/link_script.cpp)
set_target_properties(link_script PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${zuvtill_bin})
target_link_options(link_script PRIVATE -static)

function(zuvtill_windows_tests target)
  add_executable(${target} ${ARGN} ${TILL_LIBRARY_WINDOWS_SOURCES})
  zuvtill_binary(${target})
  # fixtures.h takes its command runner from the backend folder.
  target_include_directories(${target} PRIVATE ${zuvtill_tests}/windows)
  target_link_libraries(${target} PRIVATE zuvrt gtest)
  target_compile_definitions(${target} PRIVATE ZUV_FAMILY_SYMBOL="${ZUV_FAMILY_SYMBOL}"
                             ZUVLINK_BIN="Z:$<TARGET_FILE:zuvlink>" LINK_SCRIPT_BIN="Z:$<TARGET_FILE:link_script>"
                             ZUV_EXAMPLES_DIR="Z:${PROJECT_SOURCE_DIR}/examples")
  add_dependencies(${target} zuvtill zuvhost_other_family zuvlink link_script)
endfunction()

set(test_main ${CMAKE_CURRENT_SOURCE_DIR}/test_main.cpp)
zuvtill_windows_tests(zuvtill_runtime_tests ${zuvtill_tests}/dbf_table_test.cpp
                      ${zuvtill_tests}/runtime_services_test.cpp ${zuvtill_tests}/work_area_test.cpp ${test_main})
# The runtime's Windows backends; the program is its own child process.
zuvtill_windows_tests(zuvtill_runtime_windows_tests ${zuvtill_tests}/windows/runtime_windows_test.cpp)
zuvtill_windows_tests(zuvtill_library_tests ${zuvtill_tests}/host_libraries_test.cpp
                      ${zuvtill_tests}/windows/system_code_pages.cpp ${test_main})
zuvtill_windows_tests(zuvtill_device_tests ${zuvtill_tests}/device_operations_test.cpp ${test_main})
zuvtill_windows_tests(zuvtill_exchange_tests ${zuvtill_tests}/error_reporting_test.cpp
                      ${zuvtill_tests}/link_runner_test.cpp ${zuvtill_tests}/printer_information_test.cpp
                      ${zuvtill_tests}/windows/injected_faults.cpp ${test_main})
zuvtill_windows_tests(zuvtill_receipt_tests ${zuvtill_tests}/tax_rates_test.cpp ${zuvtill_tests}/plu_limits_test.cpp
                      ${zuvtill_tests}/receipt_test.cpp ${zuvtill_tests}/deposit_test.cpp
                      ${zuvtill_tests}/windows/injected_faults.cpp ${test_main})

if(ZUV_WINDOWS_ARCH STREQUAL "x86_64")
  foreach(target zuvtill_runtime_tests zuvtill_runtime_windows_tests zuvtill_library_tests)
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 60)
  endforeach()
  foreach(target zuvtill_device_tests zuvtill_exchange_tests zuvtill_receipt_tests)
    foreach(family FP600 DF301)
      gtest_discover_tests(${target} TEST_PREFIX "${family}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                           PROPERTIES TIMEOUT 60 ENVIRONMENT "ZUVTILL_FAMILY=${family}")
    endforeach()
  endforeach()
endif()

# The folder a user copies to the Windows machine, and its zip
# (zuvprint-<version>-<arch>.zip), made by the target windows_folder:
#   ZuvPrint\bin\ZuvPrint.exe     the print program with GCC's runtime DLLs
#   ZuvPrint\DOSPRINT\Default.dpc its default style file
#   zuvtill\                      zuvtill.dll (FP600) with the runtime, the
#                                 host-library and device-module stand-ins,
#                                 GCC's runtime DLLs and zuvhost.exe;
#                                 zuvtill\DF301\ the same for that family
#   zuvlink.exe                   the link-program simulator
#   examples\                     the sample invoice and the host examples
#   CZYTAJ.TXT                    what goes where on the host's machine
set(folder ${CMAKE_BINARY_DIR}/package/zuvprint-${PROJECT_VERSION})
set(zip ${CMAKE_BINARY_DIR}/package/zuvprint-${PROJECT_VERSION}-${ZUV_WINDOWS_ARCH}.zip)
set(zuvtill_files zuvtill ${ZUVTILL_BOUND_LIBRARIES} zuvhost)
set(till_files)
foreach(target ${zuvtill_files})
  list(APPEND till_files $<TARGET_FILE:${target}>)
endforeach()
set(other_till_files)
foreach(target zuvtill_other_family ${ZUVTILL_BOUND_LIBRARIES} zuvhost)
  list(APPEND other_till_files $<TARGET_FILE:${target}>)
endforeach()
set(gcc_runtime_names)
foreach(file ${gcc_runtime})
  get_filename_component(name ${file} NAME)
  list(APPEND gcc_runtime_names ${name})
endforeach()
set(stripped ${folder}/ZuvPrint/bin/ZuvPrint.exe ${folder}/zuvlink.exe)
foreach(file ${gcc_runtime_names})
  list(APPEND stripped ${folder}/ZuvPrint/bin/${file})
endforeach()
set(till_names zuvtill.dll zuvhost.exe ${gcc_runtime_names})
foreach(target ${ZUVTILL_BOUND_LIBRARIES})
  list(APPEND till_names ${target}.dll)
endforeach()
foreach(directory zuvtill zuvtill/${ZUV_OTHER_FAMILY})
  foreach(file ${till_names})
    list(APPEND stripped ${folder}/${directory}/${file})
  endforeach()
endforeach()
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder} ${zip}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/ZuvPrint/bin ${folder}/ZuvPrint/DOSPRINT
                                             ${folder}/zuvtill/${ZUV_OTHER_FAMILY}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zuvprint> ${folder}/ZuvPrint/bin/ZuvPrint.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${gcc_runtime} ${folder}/ZuvPrint/bin
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/zuvprint/DOSPRINT/Default.dpc ${folder}/ZuvPrint/DOSPRINT
  COMMAND ${CMAKE_COMMAND} -E copy ${till_files} ${gcc_runtime} ${folder}/zuvtill
  COMMAND ${CMAKE_COMMAND} -E copy ${other_till_files} ${gcc_runtime} ${folder}/zuvtill/${ZUV_OTHER_FAMILY}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zuvlink> ${folder}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/CZYTAJ.TXT ${folder}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/examples/zuvtill ${folder}/examples/zuvtill
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/examples/faktura.txt ${folder}/examples
  # Without their debugging information: a tenth of the size.
  COMMAND ${CMAKE_STRIP} --strip-unneeded ${stripped}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip zuvprint-${PROJECT_VERSION}
  DEPENDS zuvprint zuvlink zuvtill_other_family ${zuvtill_files} ${PROJECT_SOURCE_DIR}/packaging/CZYTAJ.TXT
          ${PROJECT_SOURCE_DIR}/zuvprint/DOSPRINT/Default.dpc
  COMMENT "The Windows folder ${zip}"
  VERBATIM)
add_custom_target(windows_folder ALL DEPENDS ${zip})

# The shipped programs, stripped as they ship, stay within their sizes and
# import only system DLLs:
# QV.exe at most 700 KB, Vitrel32.ocx at most 250 KB; each has its symbols in
# a .debug file beside it.
#   cmake -DQV=<QV.exe> -DOCX=<Vitrel32.ocx> -P check_sizes.cmake
cmake_minimum_required(VERSION 3.25)
foreach(pair "QV;716800" "OCX;256000")
  list(GET pair 0 name)
  list(GET pair 1 limit)
  set(file ${${name}})
  file(SIZE ${file} size)
  if(size GREATER limit)
    message(FATAL_ERROR "${file}: ${size} bytes, more than ${limit}")
  endif()
  if(NOT EXISTS ${file}.debug)
    message(FATAL_ERROR "${file}: no ${file}.debug beside it")
  endif()
  execute_process(COMMAND ${OBJDUMP} -h ${file} OUTPUT_VARIABLE sections)
  if(sections MATCHES "\\.debug_|\\.stab")
    message(FATAL_ERROR "${file}: still carries debugging sections")
  endif()
  message(STATUS "${file}: ${size} bytes (at most ${limit})")
endforeach()

# QV.exe imports system DLLs alone (the control's own check covers it).
include(${CMAKE_CURRENT_LIST_DIR}/../common/system_imports.cmake)
execute_process(COMMAND ${OBJDUMP} -p ${QV} OUTPUT_VARIABLE dump)
qv_check_system_imports(${QV} "${dump}" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll
                        msvcrt.dll ole32.dll oleacc.dll oleaut32.dll shell32.dll user32.dll)
message(STATUS "${QV}: system imports only")

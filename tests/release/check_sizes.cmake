# The shipped programs, stripped as they ship, stay within their sizes:
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

# No program of the 64-bit build holds IID_IAccessible as code. The x86_64
# liboleacc.a exports that name as an import thunk: a link that meets oleacc
# before uuid takes the thunk's bytes for the GUID, and every call that passes
# it asks for an interface nobody has. The sources say __uuidof(IAccessible).
#   cmake -DNM=<nm> -DDIR=<build folder> -P check_iids.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE binaries ${DIR}/*.exe ${DIR}/*.ocx.debug ${DIR}/*.exe.debug)
list(FILTER binaries EXCLUDE REGEX "/(CMakeFiles|wine64?|packaging|portable-run)/")
set(checked 0)
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ${NM} ${binary} OUTPUT_VARIABLE symbols ERROR_QUIET)
  if(symbols MATCHES "[0-9a-f]+ [Tt] IID_IAccessible\n")
    message(FATAL_ERROR "${binary}: IID_IAccessible is code (oleacc's import thunk), not the GUID")
  endif()
  math(EXPR checked "${checked} + 1")
endforeach()
if(checked EQUAL 0)
  message(FATAL_ERROR "no program found under ${DIR}")
endif()
message(STATUS "${checked} programs: IID_IAccessible nowhere in code")

# Checks a built Vitrel32.ocx with objdump: it imports only system DLLs and
# exports the five entry points by their plain names.
#   cmake -DOBJDUMP=... -DMODULE=... -P check_module.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${MODULE}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/../common/system_imports.cmake)
qv_check_system_imports(${MODULE} "${dump}" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
                        oleaut32.dll user32.dll)
foreach(export DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer DllInstall)
  if(NOT dump MATCHES "\\] ${export}\n")
    message(FATAL_ERROR "${MODULE} does not export ${export} by its plain name")
  endif()
endforeach()
message(STATUS "${MODULE}: system imports only, five plain exports")

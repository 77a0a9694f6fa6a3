# GoogleTest from Debian's source package, built for whichever target this tree
# is configured for (host g++ or mingw-w64).
set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Where each Windows test program writes its GoogleTest report: script/test
# counts the cases in them.
set(QV_GTEST_REPORTS ${CMAKE_BINARY_DIR}/gtest-reports)

set(QV_TEST_OPTIONS "")
if(WIN32)
  # Windows test programs are compiled for the compiler's time, not for speed:
  # the code under test keeps the shipped optimisation, in its own libraries.
  set(QV_TEST_OPTIONS -O1)
  # Through a precompiled header GCC 12 no longer knows the system headers
  # for what they are, and warns of its own inlined string copies there
  # (false reports of bounds). The shipped code, compiled without it, keeps
  # these warnings, as errors.
  list(APPEND QV_TEST_OPTIONS -Wno-array-bounds -Wno-stringop-overread -Wno-stringop-overflow -Wno-restrict)
endif()
# GoogleTest (and <windows.h>) are most of what a test file costs to compile:
# parsed once, into a header every test program reuses.
add_library(qv_test_pch STATIC ${PROJECT_SOURCE_DIR}/tests/common/test_pch.cpp)
target_link_libraries(qv_test_pch PRIVATE GTest::gtest GTest::gmock)
target_compile_options(qv_test_pch PRIVATE ${QV_TEST_OPTIONS})
target_precompile_headers(qv_test_pch PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/test_pch.h)

# qv_test_code(target): a test program or fixture library compiled with the
# tests' options and their precompiled header, and with the helpers every test
# program shares (tests/common).
function(qv_test_code target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  target_compile_options(${target} PRIVATE ${QV_TEST_OPTIONS})
  target_precompile_headers(${target} REUSE_FROM qv_test_pch)
endfunction()

# qv_add_gtest(name SOURCES... [LIBS ...] [NO_DISPLAY] [EACH_CASE] [TIMEOUT s] [PROPERTIES ...]):
# a GoogleTest program.
#
# On the host ctest lists its cases one by one. Under the Windows presets ctest
# runs it through the emulator, script/wine, as one test: one Wine process for
# all its cases (a Wine process costs most of a second to start), its report in
# QV_GTEST_REPORTS. EACH_CASE keeps one process a case, for programs whose
# cases change what the process reads once (the system DPI). Windows test
# programs share the run's one display: they take the display lock unless
# NO_DISPLAY says they open no window.
function(qv_add_gtest name)
  cmake_parse_arguments(ARG "NO_DISPLAY;EACH_CASE" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(WIN32 AND NOT ARG_NO_DISPLAY)
    list(APPEND ARG_PROPERTIES RESOURCE_LOCK qv_display)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  qv_test_code(${name})
  if(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/unbuffered_output.cpp)
  endif()
  if(WIN32 AND NOT ARG_EACH_CASE)
    # TIMEOUT is a case's; the program's cases together get at least 300 s.
    if(NOT ARG_TIMEOUT OR ARG_TIMEOUT LESS 300)
      set(ARG_TIMEOUT 300)
    endif()
    # Z: is Wine's drive for the host's root, where the build tree is.
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:Z:${QV_GTEST_REPORTS}/${name}.xml)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ${ARG_PROPERTIES})
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} ${ARG_PROPERTIES})
endfunction()

# qv_display_tests(): the display lock for every test this directory registers
# with add_test (scripts and programs that open windows on the run's display),
# but those whose QV_NO_DISPLAY property is set.
function(qv_display_tests)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_test_property(${test} QV_NO_DISPLAY none)
    if(NOT none)
      set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK qv_display)
    endif()
  endforeach()
endfunction()

# GoogleTest from Debian's source package, built for whichever target this tree
# is configured for (host g++ or mingw-w64).
set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# qv_add_gtest(name SOURCES... [LIBS ...] [NO_DISPLAY]): a test program whose cases ctest lists one by one.
# Under the win32 preset ctest runs it through the emulator, script/wine. Windows
# test programs share the run's one display: their cases take the display lock
# (one at a time, whatever -j says) unless NO_DISPLAY says they open no window.
function(qv_add_gtest name)
  cmake_parse_arguments(ARG "NO_DISPLAY" "TIMEOUT" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(WIN32 AND NOT ARG_NO_DISPLAY)
    list(APPEND ARG_PROPERTIES RESOURCE_LOCK qv_display)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/unbuffered_output.cpp)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
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

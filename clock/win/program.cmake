# The clock program: its windows as a library (tests create them in their own
# process with fake services) and QV.exe with its resources.
enable_language(RC)

add_library(qvclock STATIC
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock_accessible.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock_paint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock_moment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clockwindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp)
target_link_libraries(qvclock PUBLIC qvwincommon qvcontrolhost qvdialogs vitrel_contract comctl32 ole32 oleaut32 uuid
                      advapi32 oleacc)
target_include_directories(qvclock PUBLIC ${CMAKE_CURRENT_LIST_DIR} PRIVATE ${CMAKE_SOURCE_DIR}/clock/res)
# Screen readers ask rarely and nothing waits on the answer: compiled for size.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/clock_accessible.cpp PROPERTIES COMPILE_OPTIONS -Os)

# The version resource, also linked into the window tests so they read the
# same numbers the program shows.
set(QV_RES_DIR ${CMAKE_SOURCE_DIR}/clock/res)
set(QV_VERSION_DEFINITIONS
  QV_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  QV_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  QV_VERSION_PATCH=${PROJECT_VERSION_PATCH})

add_executable(QV WIN32 ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${QV_RES_DIR}/qv.rc)
target_include_directories(QV PRIVATE ${QV_RES_DIR})
target_compile_definitions(QV PRIVATE ${QV_VERSION_DEFINITIONS})
target_link_libraries(QV PRIVATE qvclock qvdialogs_resources)
target_link_options(QV PRIVATE -municode)
set_source_files_properties(${QV_RES_DIR}/qv.rc PROPERTIES
  OBJECT_DEPENDS "${QV_RES_DIR}/qv.manifest;${QV_RES_DIR}/splash.jpg;${QV_RES_DIR}/qv.ico;${QV_RES_DIR}/version.rc;${QV_RES_DIR}/resource.h")
qv_shipped_binary(QV)

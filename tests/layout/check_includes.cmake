# Every #include in the product code stays inside what its target links: no
# file of the control includes one of the clock or the other way round, and no
# folder reaches into a folder its library does not link, by name or by a
# relative path.
#   cmake -DROOT=<tree> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)

# A folder, then the folders its files may include from (itself first,
# comma-separated). Each
# folder's library links exactly these; see docs/architecture.md.
set(rules
  "contract|contract"
  "win32|win32"
  "clock/core|clock/core"
  "clock/res|clock/res"
  "clock/win/common|clock/win/common,clock/core,win32"
  "clock/win/dialogs|clock/win/dialogs,clock/win/common,clock/core,win32"
  "clock/win/control|clock/win/control,win32,contract"
  "clock/win|clock/win,clock/win/common,clock/win/dialogs,clock/win/control,clock/core,clock/res,win32,contract"
  "transparency|transparency,win32,contract")
# Made by the build (widl), so found in no folder of the tree.
set(generated vitrel32.h)

set(folders)
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" fields "${rule}")
  list(GET fields 0 folder)
  list(GET fields 1 allowed)
  set(allowed_${folder} "${allowed}")
  list(APPEND folders ${folder})
endforeach()

set(failures)
set(checked 0)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY ${ROOT}/${folder})
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.rc)
  foreach(source IN LISTS sources)
    get_filename_component(dir ${source} DIRECTORY)
    if(NOT dir STREQUAL folder)
      if(NOT DEFINED allowed_${dir})
        list(APPEND failures "${source}: its folder ${dir} has no rule here")
      endif()
      continue()  # checked under its own folder's rule
    endif()
    string(REPLACE "," ";" allowed "${allowed_${dir}}")
    file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]+)[\">].*" "\\1;\\2" include "${line}")
      list(GET include 0 quote)
      list(GET include 1 name)
      math(EXPR checked "${checked} + 1")
      # Where the compiler would find it: beside the file, then in the
      # folders the target links.
      set(found "")
      cmake_path(ABSOLUTE_PATH name BASE_DIRECTORY ${ROOT}/${dir} NORMALIZE OUTPUT_VARIABLE beside)
      if(quote STREQUAL "\"" AND EXISTS ${beside} AND NOT IS_DIRECTORY ${beside})
        set(found ${beside})
      else()
        foreach(other IN LISTS allowed)
          if(EXISTS ${ROOT}/${other}/${name})
            set(found ${ROOT}/${other}/${name})
            break()
          endif()
        endforeach()
      endif()
      if(found)
        cmake_path(RELATIVE_PATH found BASE_DIRECTORY ${ROOT} OUTPUT_VARIABLE target)
        get_filename_component(target_dir ${target} DIRECTORY)
        if(NOT target_dir IN_LIST allowed)
          list(APPEND failures "${source}: includes ${name}, which is ${target}, in ${target_dir}, a folder ${dir} does not link")
        endif()
        continue()
      endif()
      # Not reachable: a system or generated header, or a file of a folder
      # the target does not link.
      get_filename_component(base ${name} NAME)
      set(elsewhere "")
      foreach(other IN LISTS folders)
        if(EXISTS ${ROOT}/${other}/${name} OR EXISTS ${ROOT}/${other}/${base})
          set(elsewhere ${other})
          break()
        endif()
      endforeach()
      if(elsewhere)
        list(APPEND failures "${source}: includes ${name}, which is in ${elsewhere}, a folder ${dir} does not link")
      elseif(quote STREQUAL "\"" AND NOT base IN_LIST generated)
        list(APPEND failures "${source}: includes \"${name}\", which is nowhere it may look")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "includes that cross the layout:\n  ${text}")
endif()
message(STATUS "${checked} includes, each within what its folder's target links\n")

# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -P check_layering.cmake
# Compiles, with the flags each folder's library is built with, a file that includes a header
# from every folder above it in the layering, and fails unless each of them is refused. It
# catches an include path that opens the whole tree again (the source root, say), which
# would let a wrong include through unnoticed.
cmake_minimum_required(VERSION 3.20)

# folder | the folders it must not reach
set(rules
  "platform|config,exec,ui,flash,sram,app"
  "config|exec,ui,flash,sram,app"
  "exec|config,ui,flash,sram,app"
  "ui|config,flash,sram,app,ui/fltk,ui/win32,ui/memory"
  "ui/fltk|config,flash,sram,app,ui/win32,ui/memory"
  "ui/win32|config,flash,sram,app,ui/fltk,ui/memory"
  "ui/memory|config,flash,sram,app,ui/fltk,ui/win32"
  "flash|config,sram,app"
  "sram|config,flash,app"
)

file(READ ${BUILD_DIR}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")

# The compile command and folder of the first source file directly in folder.
function(command_of folder out_command out_directory)
  foreach(i RANGE ${last})
    string(JSON file GET "${commands}" ${i} file)
    get_filename_component(dir ${file} DIRECTORY)
    if(dir STREQUAL "${SOURCE_DIR}/${folder}")
      string(JSON command GET "${commands}" ${i} command)
      string(JSON directory GET "${commands}" ${i} directory)
      set(${out_command} "${command}" PARENT_SCOPE)
      set(${out_directory} "${directory}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out_command} "" PARENT_SCOPE)
endfunction()

set(probe ${BUILD_DIR}/layering-probe.cpp)
set(failures 0)
set(checked 0)
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" parts "${rule}")
  string(REPLACE "," ";" parts "${parts}")
  list(GET parts 0 folder)
  list(SUBLIST parts 1 -1 forbidden)
  command_of(${folder} command directory)
  if(command STREQUAL "")
    continue()  # not built on this platform
  endif()
  separate_arguments(args UNIX_COMMAND "${command}")
  # Drop the object file and the source; compile the probe for its syntax only.
  set(flags)
  set(skip FALSE)
  foreach(arg IN LISTS args)
    if(skip)
      set(skip FALSE)
    elseif(arg STREQUAL "-o" OR arg STREQUAL "-c")
      set(skip TRUE)
    else()
      list(APPEND flags "${arg}")
    endif()
  endforeach()
  foreach(above IN LISTS forbidden)
    file(GLOB headers ${SOURCE_DIR}/${above}/*.h)
    if(NOT headers)
      continue()
    endif()
    list(GET headers 0 header)
    get_filename_component(name ${header} NAME)
    file(WRITE ${probe} "#include \"${above}/${name}\"\n")
    execute_process(COMMAND ${flags} -fsyntax-only ${probe}
                    WORKING_DIRECTORY ${directory}
                    RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
    math(EXPR checked "${checked} + 1")
    if(result EQUAL 0 OR NOT error MATCHES "No such file")
      message(SEND_ERROR "${folder}/ reaches ${above}/${name}, above it in the layering")
      math(EXPR failures "${failures} + 1")
    endif()
  endforeach()
endforeach()
file(REMOVE ${probe})
math(EXPR refused "${checked} - ${failures}")
message(STATUS "${refused} of ${checked} includes from a folder above refused")
if(checked EQUAL 0)
  message(FATAL_ERROR "no folder library was found in compile_commands.json")
endif()

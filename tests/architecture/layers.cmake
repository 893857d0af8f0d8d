# The folders stand in one stack, and a file includes only from its own
# folder or from folders below it:
#   tools > app > output > shell, list, duplicates, synchronize > card > sync > transfer > interchange > records > core > errhandler, widgets > data > platform
# (the data engine implements Vostrel's read-only view of a connection, so
# it may include errhandler/Vostrel.h). The shell, the frame, never
# includes the card: it knows its children as ChildWindows.
#   cmake -DSOURCE_DIR=... -P layers.cmake
cmake_minimum_required(VERSION 3.25)

set(allowed_platform "")
set(allowed_data platform errhandler)
set(allowed_widgets data platform)
set(allowed_errhandler platform)
set(allowed_core errhandler widgets data platform)
set(allowed_records core errhandler widgets data platform)
set(allowed_interchange records core errhandler widgets data platform)
set(allowed_transfer interchange records core errhandler widgets data platform)
set(allowed_sync transfer interchange records core errhandler widgets data platform)
set(allowed_card sync transfer interchange records core errhandler widgets data platform)
set(allowed_shell core errhandler widgets data platform)
set(allowed_list card sync transfer interchange records core errhandler widgets data platform)
set(allowed_duplicates card sync transfer interchange records core errhandler widgets data platform)
set(allowed_synchronize card sync transfer interchange records core errhandler widgets data platform)
set(allowed_output shell list card sync transfer interchange records core errhandler widgets data platform)
set(allowed_app output shell list duplicates synchronize card sync transfer interchange records core errhandler widgets data platform)
set(allowed_tools app output shell list duplicates synchronize card sync transfer interchange records core errhandler widgets data platform)

set(failures "")
foreach(folder platform data widgets errhandler core records interchange transfer sync card list duplicates synchronize
               shell output app tools)
  file(GLOB sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^#include \"[a-z]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
      if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
        if(NOT (folder STREQUAL "data" AND line MATCHES "errhandler/Vostrel.h"))
          string(APPEND failures "\n  ${source}: ${line}")
        endif()
      endif()
      if(folder STREQUAL "data" AND target STREQUAL "errhandler"
         AND NOT line MATCHES "errhandler/Vostrel.h")
        string(APPEND failures "\n  ${source}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Includes that point up the stack:${failures}")
endif()

# Fails when a source file under one of FOLDERS (";"-separated, relative to
# SOURCE_DIR) includes a header whose name matches HEADERS (a regular
# expression): the layers under every program must build without Qt, and
# the service's worker and journal without the HTTP library, so that other
# front ends can take them as they are.
#   cmake -DSOURCE_DIR=... -DFOLDERS="protocol;session" -DHEADERS="Q[A-Za-z]|Qt" -DWHAT=Qt -P CheckFreeOf.cmake
set(offenders "")
foreach(folder ${FOLDERS})
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${HEADERS})")
    if(includes)
      list(APPEND offenders "${source}: ${includes}")
    endif()
  endforeach()
endforeach()
if(offenders)
  string(REPLACE ";" "\n" text "${offenders}")
  message(FATAL_ERROR "${WHAT} headers where none may be:\n${text}")
endif()

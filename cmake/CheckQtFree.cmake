# Fails when a source file under one of FOLDERS (";"-separated, relative to
# SOURCE_DIR) includes a Qt header: the layers under every program must build
# and run without Qt.
#   cmake -DSOURCE_DIR=... -DFOLDERS="protocol;session" -P CheckQtFree.cmake
set(offenders "")
foreach(folder ${FOLDERS})
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt)")
    if(includes)
      list(APPEND offenders "${source}: ${includes}")
    endif()
  endforeach()
endforeach()
if(offenders)
  string(REPLACE ";" "\n" text "${offenders}")
  message(FATAL_ERROR "Qt headers where none may be:\n${text}")
endif()

# The zip for Windows users: the DLLs, the programs, kvorw32.h, a sample
# KVORWXX.INI and a short README, all in one folder as a till keeps them.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME korvena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_PACKAGE_FILE_NAME korvena-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_PACKAGE_FILE_NAME korvena-${PROJECT_VERSION}-windows-x86)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
install(FILES ${CMAKE_SOURCE_DIR}/examples/config/KVORWXX.INI ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt
        DESTINATION .)
include(CPack)

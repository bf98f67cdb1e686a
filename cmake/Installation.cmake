# What `cmake --install` puts beside the programs and libraries on Linux
# (each module installs its own programs and libraries): the CMake package
# of the driver library, the manual pages, the samples, the documentation
# and Kalibro's desktop entry.

# find_package(kvorw32) gives kvorw32::kvorw32, the library with kvorw32.h.
# It needs nothing else, so the exported targets are the whole configuration.
if(TARGET kvorw32)
  include(CMakePackageConfigHelpers)
  set(KVORW32_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kvorw32)
  install(EXPORT kvorw32-targets
    NAMESPACE kvorw32::
    FILE kvorw32-config.cmake
    DESTINATION ${KVORW32_PACKAGE_DIR})
  write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kvorw32-config-version.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kvorw32-config-version.cmake DESTINATION ${KVORW32_PACKAGE_DIR})
endif()

# The manual page of every program this build makes.
file(GLOB KORVENA_MANUAL_PAGES ${CMAKE_SOURCE_DIR}/docs/man/*.1)
foreach(page ${KORVENA_MANUAL_PAGES})
  get_filename_component(program ${page} NAME_WLE)
  if(TARGET ${program})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

# Samples to copy and adapt: the driver's settings, the receipt templates and
# the firmware file brennix's manual page names.
set(KORVENA_SAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/korvena)
install(FILES ${CMAKE_SOURCE_DIR}/examples/config/KVORWXX.INI DESTINATION ${KORVENA_SAMPLES_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/templates/ DESTINATION ${KORVENA_SAMPLES_DIR}/templates)
install(FILES ${CMAKE_SOURCE_DIR}/loaders/tests/data/korvena.fw DESTINATION ${KORVENA_SAMPLES_DIR}/firmware)
# The service's clients to start from: a browser till that the service can
# serve itself (web-root), and the same till in Python and with curl.
if(TARGET korvena-service)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/web-till/ DESTINATION ${KORVENA_SAMPLES_DIR}/web-till)
  install(FILES ${CMAKE_SOURCE_DIR}/examples/http-client/README.md ${CMAKE_SOURCE_DIR}/examples/http-client/sale.json
    DESTINATION ${KORVENA_SAMPLES_DIR}/http-client)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/examples/http-client/till.py ${CMAKE_SOURCE_DIR}/examples/http-client/till.sh
    DESTINATION ${KORVENA_SAMPLES_DIR}/http-client)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/device-commands.md
  ${CMAKE_SOURCE_DIR}/docs/service.md ${CMAKE_SOURCE_DIR}/docs/service-recovery.md
  ${CMAKE_SOURCE_DIR}/docs/service-status-page.png ${CMAKE_SOURCE_DIR}/docs/service-status-unknown-job.png
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TARGET kalibro)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/kalibro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

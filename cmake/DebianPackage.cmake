# `cpack -G DEB` in the build folder: korvena_<version>_<arch>.deb with
# everything `cmake --install` installs, under /usr, the settings files
# /etc/korvena/KVORWXX.INI and /etc/korvena/korvena-service.conf, and
# korvena-service's systemd unit.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvena)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PC software of the Korvena fiscal cash register")
set(CPACK_PACKAGE_DESCRIPTION
  "The driver library KvorW32 (libkvorw32.so) for point-of-sale applications,
the port library libkorvena.so, the template compiler tekstor and htxdump,
the loaders sendrix (templates) and brennix (firmware), korvena-probe, the
emulated device korvena-emu, the service program kalibro, and the shop's
fiscal service korvena-service with its systemd unit, installed disabled
until a device is set in /etc/korvena/korvena-service.conf.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Korvena PC suite team <pc-suite@korvena.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies as dpkg-shlibdeps finds them; the package's own libraries get
# a shlibs entry so that packages linked against them depend on this one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The package alone also puts the commented sample settings, every key at its
# default, into /etc/korvena, where the programs look when there is no file
# beside them: an administrator edits it there instead of under /usr/lib.
# As a conffile, dpkg keeps the edited file on upgrade and removal and removes
# it on purge. `cmake --install` leaves /etc alone (the sample is in
# share/korvena there), so the file is added to the package's staging folder.
set(CPACK_KORVENA_CONFIG_FILE /etc/korvena/KVORWXX.INI)
set(CPACK_KORVENA_CONFIG_SAMPLE ${CMAKE_SOURCE_DIR}/examples/config/KVORWXX.INI)
# korvena-service runs as a systemd unit under a user of its own, which the
# maintainer scripts create; its settings are a conffile as well, and the
# unit goes where Debian 12 keeps packaged units.
set(CPACK_KORVENA_SERVICE_CONFIG_FILE /etc/korvena/korvena-service.conf)
set(CPACK_KORVENA_SERVICE_CONFIG_SAMPLE ${CMAKE_SOURCE_DIR}/packaging/linux/korvena-service.conf)
set(CPACK_KORVENA_SERVICE_UNIT_FILE /lib/systemd/system/korvena-service.service)
set(CPACK_KORVENA_SERVICE_UNIT_SOURCE ${CMAKE_SOURCE_DIR}/packaging/linux/korvena-service.service)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianConfigFile.cmake)
file(WRITE ${CMAKE_BINARY_DIR}/debian/conffiles "${CPACK_KORVENA_CONFIG_FILE}\n${CPACK_KORVENA_SERVICE_CONFIG_FILE}\n")
set(KORVENA_MAINTAINER_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/linux/debian)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/conffiles
  ${KORVENA_MAINTAINER_SCRIPTS}/postinst ${KORVENA_MAINTAINER_SCRIPTS}/prerm ${KORVENA_MAINTAINER_SCRIPTS}/postrm)
# The maintainer scripts executable and the conffiles list not, whatever the checkout made of them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

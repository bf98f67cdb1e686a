# Run by cpack before it packs the staged files: adds what the package holds
# beyond `cmake --install` (see DebianPackage.cmake), each file at its place
# with its mode.
function(korvena_stage_file source destination)
  set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${destination})
  get_filename_component(folder ${staged} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${source} ${staged})
  file(CHMOD ${staged} PERMISSIONS ${ARGN})
endfunction()

set(readable OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
korvena_stage_file(${CPACK_KORVENA_CONFIG_SAMPLE} ${CPACK_KORVENA_CONFIG_FILE} ${readable})
# It may hold the device's service password: its owner's alone (postinst
# hands it to the service's user).
korvena_stage_file(${CPACK_KORVENA_SERVICE_CONFIG_SAMPLE} ${CPACK_KORVENA_SERVICE_CONFIG_FILE} OWNER_READ OWNER_WRITE)
korvena_stage_file(${CPACK_KORVENA_SERVICE_UNIT_SOURCE} ${CPACK_KORVENA_SERVICE_UNIT_FILE} ${readable})

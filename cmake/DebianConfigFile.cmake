# Run by cpack before it packs the staged files: adds the sample settings as
# the package's configuration file (see DebianPackage.cmake).
get_filename_component(directory ${CPACK_KORVENA_CONFIG_FILE} DIRECTORY)
file(COPY ${CPACK_KORVENA_CONFIG_SAMPLE} DESTINATION ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${directory})

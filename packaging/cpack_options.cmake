# Read by cpack for each generator: the Debian package installs the program folder under
# /opt/vask with the desktop component; the archives hold the program folder alone.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_PACKAGING_INSTALL_PREFIX "${CPACK_VASK_DEB_PROGRAM_DIR}")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VASK_BUILD_DIR};Vask;program;/;${CPACK_VASK_BUILD_DIR};Vask;desktop;/")
else()
    set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VASK_BUILD_DIR};Vask;program;/")
endif()

# Installation and packages (make package).
#
# The program folder is installed as one folder, as on Windows: the executables, the
# shipped data (siyo4.csv, movacal.csv), the manual, a desktop entry and the icon. The
# program reads its data beside its executable and keeps its settings and results there.
#
#   portable .tar.gz  the program folder alone (component "program")
#   Debian package    the program folder as /opt/vask, plus (component "desktop") the
#                     menu entry, the icon and the commands vask and vask-cli in /usr/bin
#   .zip              Windows builds: vask-<version>-windows.zip, the program folder with,
#                     for the desktop program, Qt's Japanese texts and the licence texts;
#                     the per-user installer is the target windows-installer
#                     (cmake/VaskWindowsPackage.cmake)
include(GNUInstallDirs)

set(VASK_DEB_PROGRAM_DIR "/opt/vask")
set(program_targets vask-cli)
if(TARGET vask)
    list(APPEND program_targets vask)
endif()
install(TARGETS ${program_targets} RUNTIME DESTINATION . COMPONENT program)
install(FILES "${CMAKE_SOURCE_DIR}/data/siyo4.csv" "${CMAKE_SOURCE_DIR}/data/movacal.csv" DESTINATION . COMPONENT program)
install(DIRECTORY "${CMAKE_SOURCE_DIR}/docs/manual" DESTINATION . COMPONENT program)

if(NOT WIN32)
    # The portable folder's desktop entry starts the vask beside it (%k is the entry's own path).
    set(VASK_DESKTOP_EXEC [[sh -c '"$(dirname "%k")/vask"']])
    set(VASK_DESKTOP_ICON "vask")
    configure_file("${CMAKE_SOURCE_DIR}/packaging/vask.desktop.in" "${CMAKE_BINARY_DIR}/packaging/portable/vask.desktop" @ONLY)
    install(FILES "${CMAKE_BINARY_DIR}/packaging/portable/vask.desktop" "${CMAKE_SOURCE_DIR}/packaging/vask.png"
            DESTINATION . COMPONENT program)

    set(VASK_DESKTOP_EXEC "${VASK_DEB_PROGRAM_DIR}/vask")
    configure_file("${CMAKE_SOURCE_DIR}/packaging/vask.desktop.in" "${CMAKE_BINARY_DIR}/packaging/system/vask.desktop" @ONLY)
    install(FILES "${CMAKE_BINARY_DIR}/packaging/system/vask.desktop" DESTINATION /usr/share/applications COMPONENT desktop)
    install(FILES "${CMAKE_SOURCE_DIR}/packaging/vask.png" DESTINATION /usr/share/icons/hicolor/256x256/apps COMPONENT desktop)
    file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/packaging/links")
    foreach(program IN LISTS program_targets)
        file(CREATE_LINK "${VASK_DEB_PROGRAM_DIR}/${program}" "${CMAKE_BINARY_DIR}/packaging/links/${program}" SYMBOLIC)
        install(FILES "${CMAKE_BINARY_DIR}/packaging/links/${program}" DESTINATION /usr/bin COMPONENT desktop)
    endforeach()
endif()

set(CPACK_PACKAGE_NAME "vask")
set(CPACK_PACKAGE_VENDOR "Vask")
set(CPACK_PACKAGE_CONTACT "Vask developers <dev@vask.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop program needs a Qt platform plugin, which no library dependency names; both
# programs need OpenSSL's libcrypto 3 (in libssl3), named here as well as found by shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libssl3")
# Generator-dependent choices (install prefix, components) are made when cpack runs.
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_SOURCE_DIR}/packaging/cpack_options.cmake")
set(CPACK_VASK_DEB_PROGRAM_DIR "${VASK_DEB_PROGRAM_DIR}")
set(CPACK_VASK_BUILD_DIR "${CMAKE_BINARY_DIR}")
if(WIN32)
    set(CPACK_GENERATOR "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "vask-${PROJECT_VERSION}-windows")
    if(TARGET vask)
        include(VaskWindowsPackage)
    endif()
else()
    set(CPACK_GENERATOR "DEB;TGZ")
endif()
include(CPack)

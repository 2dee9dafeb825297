# The Windows program folder's extra files and the per-user installer (included by
# VaskPackaging on Windows builds of the desktop program).
#
#   translations/qtbase_ja.qm  Qt's Japanese texts (also built into vask.exe)
#   licenses/                  with a statically linked Qt: the LGPL v3 and GPL v3 texts and
#                              NOTICE.txt (Japanese and English: which Qt, where its and the
#                              program's sources are, how to relink)
#   target windows-installer   packages/vask-<version>-windows-setup.exe (NSIS), made by
#                              packaging/windows/make-installer.cmake from the same files
#                              as the .zip
install(FILES "${VASK_QT_TRANSLATIONS}/qtbase_ja.qm" DESTINATION translations COMPONENT program)

# Windows' Notepad before 2019 shows text with LF line ends as one line and reads UTF-8
# without a byte-order mark as the ANSI code page: the texts get CR LF, NOTICE.txt a BOM.
set(VASK_LICENSE_TEXTS "/usr/share/common-licenses" CACHE PATH "Folder holding the LGPL-3 and GPL-3 licence texts")
get_target_property(qt_core_type Qt6::Core TYPE)
if(qt_core_type STREQUAL "STATIC_LIBRARY")
    set(licenses "${CMAKE_BINARY_DIR}/packaging/windows/licenses")
    file(MAKE_DIRECTORY "${licenses}")
    foreach(text IN ITEMS LGPL-3 GPL-3)
        if(NOT EXISTS "${VASK_LICENSE_TEXTS}/${text}")
            message(FATAL_ERROR "${text} not found in ${VASK_LICENSE_TEXTS} (VASK_LICENSE_TEXTS)")
        endif()
        file(READ "${VASK_LICENSE_TEXTS}/${text}" content)
        string(REPLACE "\n" "\r\n" content "${content}")
        file(WRITE "${licenses}/${text}.txt" "${content}")
    endforeach()
    set(VASK_CONTACT "${CPACK_PACKAGE_CONTACT}")
    configure_file("${CMAKE_SOURCE_DIR}/packaging/windows/NOTICE.txt.in" "${licenses}/NOTICE.body" @ONLY
                   NEWLINE_STYLE CRLF)
    file(READ "${licenses}/NOTICE.body" content)
    string(ASCII 239 187 191 bom)
    file(WRITE "${licenses}/NOTICE.txt" "${bom}${content}")
    install(FILES "${licenses}/LGPL-3.txt" "${licenses}/GPL-3.txt" "${licenses}/NOTICE.txt"
            DESTINATION licenses COMPONENT program)
endif()

find_program(VASK_MAKENSIS makensis DOC "NSIS compiler for the Windows installer (Debian package nsis)")
if(VASK_MAKENSIS)
    add_custom_target(windows-installer
        COMMAND "${CMAKE_COMMAND}" -DBUILD_DIR=${CMAKE_BINARY_DIR} -DMAKENSIS=${VASK_MAKENSIS}
                -DVERSION=${PROJECT_VERSION} -DSCRIPT=${CMAKE_SOURCE_DIR}/packaging/windows/vask.nsi
                -P "${CMAKE_SOURCE_DIR}/packaging/windows/make-installer.cmake"
        DEPENDS ${program_targets}
        COMMENT "NSIS installer packages/vask-${PROJECT_VERSION}-windows-setup.exe"
        VERBATIM)
endif()

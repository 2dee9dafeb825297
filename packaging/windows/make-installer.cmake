# cmake -DBUILD_DIR=... -DMAKENSIS=... -DVERSION=... -DSCRIPT=.../vask.nsi -P make-installer.cmake
#
# Makes BUILD_DIR/packages/vask-VERSION-windows-setup.exe: installs the component "program"
# (the files of the .zip) stripped into a staging folder, writes the two file lists the
# NSIS script includes, one line per file (what to install, and what the uninstaller
# deletes by name, then the folders it removes when they are empty, deepest first), and
# runs makensis.
foreach(var IN ITEMS BUILD_DIR MAKENSIS VERSION SCRIPT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "make-installer.cmake: ${var} is not set")
    endif()
endforeach()

set(work "${BUILD_DIR}/packaging/windows/installer")
set(stage "${work}/stage")
file(REMOVE_RECURSE "${work}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --component program --prefix "${stage}" --strip
                COMMAND_ERROR_IS_FATAL ANY)

# NSIS strings: "$" starts a variable, so a literal one is "$$". nsis_quote(OUT TEXT) quotes
# a host path; nsis_in_instdir(OUT RELATIVE) names RELATIVE (with "/") inside $INSTDIR.
function(nsis_quote out text)
    string(REPLACE "$" "$$" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()
function(nsis_in_instdir out relative)
    string(REPLACE "$" "$$" relative "${relative}")
    string(REPLACE "/" "\\" relative "${relative}")
    if(relative STREQUAL "")
        set(${out} "\"$INSTDIR\"" PARENT_SCOPE)
    else()
        set(${out} "\"$INSTDIR\\${relative}\"" PARENT_SCOPE)
    endif()
endfunction()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${stage}" "${stage}/*")
file(GLOB_RECURSE dirs LIST_DIRECTORIES true RELATIVE "${stage}" "${stage}/*")
if(NOT files)
    message(FATAL_ERROR "make-installer.cmake: nothing installed into ${stage}")
endif()
list(REMOVE_ITEM dirs ${files})
list(SORT files)
list(SORT dirs)

set(install_lines "")
set(current_dir "-")
foreach(file IN LISTS files)
    get_filename_component(dir "${file}" DIRECTORY)
    if(NOT dir STREQUAL current_dir)
        nsis_in_instdir(target "${dir}")
        string(APPEND install_lines "SetOutPath ${target}\n")
        set(current_dir "${dir}")
    endif()
    nsis_quote(source "${stage}/${file}")
    string(APPEND install_lines "File ${source}\n")
endforeach()

set(uninstall_lines "")
foreach(file IN LISTS files)
    nsis_in_instdir(target "${file}")
    string(APPEND uninstall_lines "Delete ${target}\n")
endforeach()
# Deepest first: a folder sorts before the folders inside it.
list(REVERSE dirs)
foreach(dir IN LISTS dirs)
    nsis_in_instdir(target "${dir}")
    string(APPEND uninstall_lines "RMDir ${target}\n")
endforeach()

file(WRITE "${work}/install-files.nsh" "${install_lines}")
file(WRITE "${work}/uninstall-files.nsh" "${uninstall_lines}")

# The size the uninstall entry shows, in KiB.
set(bytes 0)
foreach(file IN LISTS files)
    file(SIZE "${stage}/${file}" size)
    math(EXPR bytes "${bytes} + ${size}")
endforeach()
math(EXPR kib "(${bytes} + 1023) / 1024")

file(MAKE_DIRECTORY "${BUILD_DIR}/packages")
set(setup "${BUILD_DIR}/packages/vask-${VERSION}-windows-setup.exe")
execute_process(COMMAND "${MAKENSIS}" -V2 -WX -INPUTCHARSET UTF8 "-DVERSION=${VERSION}" "-DOUTFILE=${setup}"
                        "-DINSTALL_FILES=${work}/install-files.nsh" "-DUNINSTALL_FILES=${work}/uninstall-files.nsh"
                        "-DSIZE_KIB=${kib}" "-DICON=${CMAKE_CURRENT_LIST_DIR}/../vask.ico" "${SCRIPT}"
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Written: ${setup}")

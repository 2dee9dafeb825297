# Compile settings shared by every target, in one INTERFACE target (vask_settings), and
# the extra settings of the Qt side (vask_qt_settings).
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

add_library(vask_settings INTERFACE)
target_compile_features(vask_settings INTERFACE cxx_std_20)
if(MSVC)
    target_compile_options(vask_settings INTERFACE /W4 /utf-8 /permissive-)
    if(VASK_WERROR)
        target_compile_options(vask_settings INTERFACE /WX)
    endif()
else()
    target_compile_options(vask_settings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports std::optional<QString> members as maybe-uninitialized at -O2
        # where they are not (a known false positive of its flow analysis).
        target_compile_options(vask_settings INTERFACE -Wno-maybe-uninitialized)
    endif()
    if(VASK_WERROR)
        target_compile_options(vask_settings INTERFACE -Werror)
    endif()
endif()
if(VASK_BENCH_TEXT_CHECK_SWITCH)
    # Every target sees the same switch (it changes inline functions of the readers).
    target_compile_definitions(vask_settings INTERFACE VASK_BENCH_TEXT_CHECK_SWITCH)
endif()
if(WIN32)
    target_compile_definitions(vask_settings INTERFACE UNICODE _UNICODE NOMINMAX)
endif()

# The program's version reaches the code and the tests through one generated header,
# vask_version.h, made from the project version; a target that shows it links vask_version.
configure_file("${PROJECT_SOURCE_DIR}/cmake/vask_version.h.in" "${PROJECT_BINARY_DIR}/generated/vask_version.h" @ONLY)
add_library(vask_version INTERFACE)
target_include_directories(vask_version INTERFACE "${PROJECT_BINARY_DIR}/generated")

# No byte string silently becomes text on the window side: with Shift-JIS files around,
# every conversion to QString must name its encoding.
add_library(vask_qt_settings INTERFACE)
target_compile_definitions(vask_qt_settings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# Platform code lives in files per operating system: name_posix.cpp or name_win32.cpp.
function(vask_platform_sources target)
    foreach(name IN LISTS ARGN)
        if(WIN32)
            target_sources(${target} PRIVATE ${name}_win32.cpp)
        else()
            target_sources(${target} PRIVATE ${name}_posix.cpp)
        endif()
    endforeach()
endfunction()

# vask_add_version_resource(TARGET DESCRIPTION): on Windows, the executable's version
# resource ("Ver." and the project version, as vask_version.h has it), made from
# cmake/version.rc.in, and its application manifest (cmake/vask.manifest). MSVC's linker
# makes a manifest of its own, into which CMake merges a .manifest source; elsewhere the
# resource file holds it as the one RT_MANIFEST resource (24), number 1, that of a program.
function(vask_add_version_resource target description)
    if(NOT WIN32)
        return()
    endif()
    set(VASK_RC_NAME ${target})
    set(VASK_RC_DESCRIPTION "${description}")
    set(VASK_RC_PRODUCT "VELTサポートツール")
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
    set(manifest "${PROJECT_SOURCE_DIR}/cmake/vask.manifest")
    if(MSVC)
        set(VASK_RC_MANIFEST "")
        target_sources(${target} PRIVATE "${manifest}")
    else()
        set(VASK_RC_MANIFEST "1 24 \"${manifest}\"")
        set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS "${manifest}")
    endif()
    configure_file("${PROJECT_SOURCE_DIR}/cmake/version.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
endfunction()

# vask_import_offscreen_platform(TARGET): with a static Qt, links Qt's offscreen platform
# plugin into TARGET as well (only the system's own plugin comes by itself), so that it
# runs without a desktop. A shared Qt finds its plugins at run time; nothing to do.
function(vask_import_offscreen_platform target)
    get_target_property(qt_type Qt6::Core TYPE)
    if(qt_type STREQUAL "STATIC_LIBRARY")
        qt_import_plugins(${target} INCLUDE Qt6::QOffscreenIntegrationPlugin)
    endif()
endfunction()

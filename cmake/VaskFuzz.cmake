# The fuzz build (VASK_FUZZ): libFuzzer needs clang. Every target compiled through
# vask_settings gets coverage instrumentation and the address and undefined-behaviour
# sanitizers, so that the fuzzers see into the libraries they drive; the fuzz targets
# themselves add libFuzzer's main at link time (tests/fuzz).
if(NOT VASK_FUZZ)
    return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VASK_FUZZ needs clang (libFuzzer); the compiler is ${CMAKE_CXX_COMPILER_ID}")
endif()
set(VASK_SANITIZERS "-fsanitize=address,undefined" "-fno-sanitize-recover=undefined")
target_compile_options(vask_settings INTERFACE
    -fsanitize=fuzzer-no-link ${VASK_SANITIZERS} -fno-omit-frame-pointer)
target_link_options(vask_settings INTERFACE ${VASK_SANITIZERS})
# Blocks the sanitizer's allocator serves without mapping memory for each (core/textfile.h).
target_compile_definitions(vask_settings INTERFACE VASK_LINE_READ_BLOCK=65536)

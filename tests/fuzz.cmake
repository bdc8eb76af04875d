# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fuzz targets for every reader of files the game takes from outside: the
# one careful path every file is read through, Bink's text, the progress
# file, the DDS reader, the pictures as the game loads them and the input
# scripts (the map reader has its own, map_fuzz.cmake).
# They need clang's libFuzzer, and the whole game library instrumented for
# it under the sanitizers, so they are built only with
#   -DCMAKE_CXX_COMPILER=clang++ -DVORTIGAN_SANITIZE=ON -DVORTIGAN_FUZZ=ON
# Each becomes a test that fuzzes for VORTIGAN_FUZZ_SECONDS from its seed
# corpus under tests/fuzz/<target>/; scripts/fuzz.sh runs them longer. The
# same corpora run through the same checks in the ordinary tests
# (fuzz_corpus_test.cpp), under any compiler.
option(VORTIGAN_FUZZ "Build the libFuzzer targets (clang, with VORTIGAN_SANITIZE)" OFF)
set(VORTIGAN_FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs as a test")

if(VORTIGAN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR NOT VORTIGAN_SANITIZE)
        message(FATAL_ERROR "VORTIGAN_FUZZ needs clang and VORTIGAN_SANITIZE=ON")
    endif()
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
    check_cxx_source_compiles(
        "#include <cstdint>
         #include <cstddef>
         extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }"
        VORTIGAN_HAS_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    if(NOT VORTIGAN_HAS_LIBFUZZER)
        message(FATAL_ERROR "VORTIGAN_FUZZ: this clang cannot link -fsanitize=fuzzer")
    endif()

    # Coverage for the fuzzer from everything the game runs.
    target_compile_options(vortigan_core PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(vortigan_platform PRIVATE -fsanitize=fuzzer-no-link)

    foreach(target data_file bink progress dds picture input_script)
        add_executable(${target}_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${target}_fuzz.cpp)
        target_link_libraries(${target}_fuzz PRIVATE vortigan_core)
        target_compile_options(${target}_fuzz PRIVATE -fsanitize=fuzzer)
        target_link_options(${target}_fuzz PRIVATE -fsanitize=fuzzer)
    endforeach()

    # New inputs go to a corpus in the build folder; the seeds stay as they are.
    foreach(target map data_file bink progress dds picture input_script)
        set(grown ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${target})
        file(MAKE_DIRECTORY ${grown})
        add_test(NAME fuzz_${target}
            COMMAND ${target}_fuzz -max_total_time=${VORTIGAN_FUZZ_SECONDS} -timeout=30
                    -rss_limit_mb=2560 -print_final_stats=1
                    -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus/${target}-
                    ${grown} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${target})
        set_tests_properties(fuzz_${target} PROPERTIES
            TIMEOUT 600
            ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
    endforeach()
endif()

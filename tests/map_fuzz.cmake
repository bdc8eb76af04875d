# SPDX-FileCopyrightText: 2026 The Vortigan developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The map reader as a libFuzzer target, where the compiler offers one. The
# same check runs on fixed and generated inputs in the ordinary tests.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
    check_cxx_source_compiles(
        "#include <cstdint>
         #include <cstddef>
         extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }"
        VORTIGAN_HAS_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    if(VORTIGAN_HAS_LIBFUZZER)
        add_executable(map_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/map_fuzz.cpp
                                ${CMAKE_SOURCE_DIR}/world/map_file.cpp)
        target_include_directories(map_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
        target_compile_options(map_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -g)
        target_link_options(map_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    endif()
endif()

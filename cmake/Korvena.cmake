# Shared build helpers: warnings, sanitizers, and one-line declarations of
# tests, fuzz targets and benchmarks so every module registers them alike.

set(KORVENA_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter)
# GCC 12 warns falsely about std::string copies at -O2 (a known compiler bug).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND KORVENA_WARNINGS -Wno-restrict)
endif()

# The fuzz build instruments everything for coverage and runs under the same
# sanitizers, so a fuzz finding is a memory or undefined-behaviour fault.
if(KORVENA_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# -O1, as AddressSanitizer advises, keeps its reports exact and builds in
# two thirds of the time; -g1 keeps file and line in its stack traces.
if(KORVENA_SANITIZE)
  add_compile_options(-O1 -g1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Marks a target as part of the suite's own code (warnings on).
function(korvena_target_defaults target)
  target_compile_options(${target} PRIVATE ${KORVENA_WARNINGS})
endfunction()

# korvena_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...])
# A GoogleTest executable; each test case becomes a CTest test.
function(korvena_add_test name)
  if(KORVENA_FUZZ OR NOT KORVENA_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  korvena_target_defaults(${name})
  # GCC 12 at -O2 takes GoogleTest's parameter tables for uninitialised strings.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${name} PRIVATE -Wno-maybe-uninitialized)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(properties ENVIRONMENT "KORVENA_BUILD_DIR=${CMAKE_BINARY_DIR}")
  if(T_LABELS)
    list(APPEND properties LABELS "${T_LABELS}")
  endif()
  if(CMAKE_CROSSCOMPILING)
    # The whole executable is one test, run through CMAKE_CROSSCOMPILING_EMULATOR
    # (Wine): listing its cases at build time would run it there too.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ${properties})
    return()
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()

# korvena_add_fuzzer(<name> SOURCES ... [LIBS ...] [CORPUS dir] [SECONDS n])
# Built only in the fuzz configuration; registered as a CTest test labelled
# "fuzz" that runs the target for a bounded time over a copy of its corpus.
function(korvena_add_fuzzer name)
  if(NOT KORVENA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_SECONDS)
    set(F_SECONDS 30)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set(work ${CMAKE_BINARY_DIR}/fuzz/${name}.corpus)
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer $<TARGET_FILE:${name}> ${work} ${F_CORPUS} ${F_SECONDS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()

# korvena_add_bench(<name> SOURCES ... [LIBS ...])
function(korvena_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  korvena_target_defaults(${name})
  find_package(benchmark REQUIRED)
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench/common)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# The module's tests/ folder, unless the build leaves tests out.
macro(korvena_add_tests_folder)
  if(KORVENA_TESTS)
    add_subdirectory(tests)
  endif()
endmacro()

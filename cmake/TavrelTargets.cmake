# Shared target helpers: every library, test, benchmark and fuzz target is declared
# through these so that warnings, sanitizers and test environment stay uniform.

set(TAVREL_WARNINGS -Wall -Wextra -Wno-unused-parameter)
# GCC 12 reports overlapping copies inside libstdc++'s own string code at -O2 and above
# (a known false alarm); with warnings as errors it would stop optimised builds.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND TAVREL_WARNINGS -Wno-restrict)
endif()
if(TAVREL_WERROR)
  list(APPEND TAVREL_WARNINGS -Werror)
endif()

if(TAVREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TAVREL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# tavrel_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A library of one folder: public headers in <folder>/include, sources in <folder>/src.
function(tavrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                     PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TAVREL_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# Environment every test runs in: no display needed, leaks reported but known
# third-party leaks (fontconfig, Qt plugins) suppressed.
set(TAVREL_TEST_ENV
  "QT_QPA_PLATFORM=offscreen"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "TAVREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")

# A test or benchmark the current build leaves out still exists as a target that is
# never built, so that settings a folder adds to it after declaring it stay valid.
function(tavrel_unbuilt_target name)
  add_executable(${name} EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/cmake/unbuilt_main.cpp)
endfunction()

# tavrel_test(NAME SOURCES ... LIBS ...): one GoogleTest program, its cases registered with CTest.
function(tavrel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(TAVREL_FUZZ)
    tavrel_unbuilt_target(${name})
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${TAVREL_WARNINGS})
  target_compile_definitions(${name} PRIVATE TAVREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Discovered tests lose all but the first entry of an ENVIRONMENT list on the way
  # through gtest_discover_tests; a launcher that sets the environment keeps them all,
  # for the discovery run as well as for every test.
  set_target_properties(${name} PROPERTIES
    CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${TAVREL_TEST_ENV}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# tavrel_benchmark(NAME SOURCES ... LIBS ...): a Google Benchmark program (not run by CTest).
function(tavrel_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(TAVREL_FUZZ OR NOT TAVREL_BENCHMARKS)
    tavrel_unbuilt_target(${name})
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${TAVREL_WARNINGS})
  target_compile_definitions(${name} PRIVATE TAVREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

# tavrel_fuzzer(NAME SOURCE file CORPUS dir... LIBS ... [DEFINITIONS ...])
# With TAVREL_FUZZ: a libFuzzer program. Otherwise: a CTest case that replays the
# corpus through the same entry point, so every crash reproducer stays a regression test.
# Several corpus folders let test fixtures serve as seeds without copies.
function(tavrel_fuzzer name)
  cmake_parse_arguments(ARG "" "SOURCE" "CORPUS;LIBS;DEFINITIONS" ${ARGN})
  if(TAVREL_FUZZ)
    add_executable(${name} ${ARG_SOURCE})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    string(REPLACE ";" "|" corpora "${ARG_CORPUS}")
    set_property(GLOBAL APPEND PROPERTY TAVREL_FUZZERS "${name}|${corpora}")
  else()
    add_executable(${name}_replay ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/cmake/fuzz_replay_main.cpp)
    target_compile_options(${name}_replay PRIVATE ${TAVREL_WARNINGS})
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
    target_compile_definitions(${name}_replay PRIVATE ${ARG_DEFINITIONS})
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES ENVIRONMENT "${TAVREL_TEST_ENV}")
  endif()
endfunction()

# Native build: the pure logic and its unit tests, with AddressSanitizer and
# UndefinedBehaviorSanitizer; or, with TRIMLET_FUZZ and clang, its fuzz
# targets under libFuzzer in a build tree of their own (./dev fuzz).
option(TRIMLET_FUZZ "Build the fuzz targets (clang) instead of the unit tests" OFF)
if(NOT TRIMLET_TESTS AND NOT TRIMLET_FUZZ)
  return()
endif()

set(TRIMLET_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

include(cmake/libjpeg_turbo.cmake)
add_library(trimlet_pure STATIC ${TRIMLET_PURE_SOURCES})
target_include_directories(trimlet_pure PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(trimlet_pure PUBLIC trimlet_jpeg)
target_compile_options(trimlet_pure PUBLIC ${TRIMLET_SANITIZERS})
target_link_options(trimlet_pure PUBLIC ${TRIMLET_SANITIZERS})
trimlet_warnings(trimlet_pure)

if(TRIMLET_FUZZ)
  # One fuzzer per tests/fuzz/fuzz_NAME.cpp; its seeds are tests/fuzz/corpus/fuzz_NAME.
  target_compile_options(trimlet_pure PUBLIC -fsanitize=fuzzer-no-link)
  file(GLOB TRIMLET_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
  foreach(source ${TRIMLET_FUZZ_SOURCES})
    get_filename_component(fuzzer ${source} NAME_WE)
    add_executable(${fuzzer} ${source})
    target_link_libraries(${fuzzer} PRIVATE trimlet_pure)
    target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
    trimlet_warnings(${fuzzer})
  endforeach()
  return()
endif()

target_compile_options(doctest_main PRIVATE ${TRIMLET_SANITIZERS})

file(GLOB TRIMLET_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${TRIMLET_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE trimlet_pure doctest_main)
target_compile_definitions(unit_tests PRIVATE TRIMLET_LANG_DIR="${CMAKE_SOURCE_DIR}/resources/lang")
trimlet_warnings(unit_tests)

add_test(NAME unit COMMAND unit_tests)

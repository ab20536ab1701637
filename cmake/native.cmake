# Native build: the pure logic and its unit tests, with AddressSanitizer and
# UndefinedBehaviorSanitizer.
if(NOT TRIMLET_TESTS)
  return()
endif()

set(TRIMLET_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(trimlet_pure STATIC ${TRIMLET_PURE_SOURCES})
target_include_directories(trimlet_pure PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(trimlet_pure PUBLIC ${TRIMLET_SANITIZERS})
target_link_options(trimlet_pure PUBLIC ${TRIMLET_SANITIZERS})
trimlet_warnings(trimlet_pure)
target_compile_options(doctest_main PRIVATE ${TRIMLET_SANITIZERS})

file(GLOB TRIMLET_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${TRIMLET_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE trimlet_pure doctest_main)
target_compile_definitions(unit_tests PRIVATE TRIMLET_LANG_DIR="${CMAKE_SOURCE_DIR}/resources/lang")
trimlet_warnings(unit_tests)

add_test(NAME unit COMMAND unit_tests)

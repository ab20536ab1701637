# Windows build: Trimlet.exe, and the tests that run on Windows or under Wine.
enable_language(RC)

configure_file(resources/version.h.in ${CMAKE_BINARY_DIR}/generated/trimlet_version.h @ONLY)
include(cmake/libjpeg_turbo.cmake)

add_library(trimlet_core STATIC
  ${TRIMLET_PURE_SOURCES}
  app/app.cpp
  app/bars.cpp
  app/busy_dialog.cpp
  app/operation.cpp
  app/commands.cpp
  base/background_work.cpp
  base/error_report.cpp
  base/file_replace.cpp
  base/folder_entries.cpp
  base/picture_file.cpp
  app/file_list.cpp
  app/layout.cpp
  app/main_window.cpp
  app/menu_captions.cpp
  app/shell_menu.cpp
  app/navigation.cpp
  editor/editor.cpp
  base/gdiplus_objects.cpp
  editor/painting.cpp
  editor/picture_decode.cpp
  editor/selection.cpp
  files/folder_load.cpp
  files/crop_save.cpp
  files/done_marks.cpp
  files/folder_monitor.cpp
  app/open_folder.cpp
  app/taskbar_progress.cpp
  settings/registry.cpp
  settings/settings.cpp
  ui/about_dialog.cpp
  ui/dialog_helpers.cpp
  ui/explorer_verb.cpp
  ui/language.cpp
  ui/language_dialog.cpp
  ui/message_box.cpp
  ui/link_control.cpp
  ui/options_dialog.cpp
  ui/options_editor_page.cpp
  ui/options_folders_page.cpp
  ui/options_page.cpp
  ui/options_shell_page.cpp
  ui/program_folder.cpp
  base/win_text.cpp
)
target_include_directories(trimlet_core PUBLIC ${CMAKE_SOURCE_DIR})
# Windows 7 is the oldest system the toolchain's runtime still supports.
target_compile_definitions(trimlet_core PUBLIC UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(trimlet_core PUBLIC trimlet_jpeg gdiplus comctl32 comdlg32 shlwapi shell32 ole32
  advapi32 user32 version gdi32 uuid)
trimlet_warnings(trimlet_core)

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # One self-contained executable: no runtime DLLs beside it.
  set(TRIMLET_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
  target_link_options(trimlet_core PUBLIC ${TRIMLET_STATIC_RUNTIME})
endif()

# The busy dialog's animation is drawn by a script at build time.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(TRIMLET_BUSY_ANIMATION ${CMAKE_BINARY_DIR}/generated/busy.avi)
add_custom_command(
  OUTPUT ${TRIMLET_BUSY_ANIMATION}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/make_busy_animation.py
          ${TRIMLET_BUSY_ANIMATION}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_busy_animation.py
  COMMENT "Drawing the busy animation"
  VERBATIM)

# So is the About box's header, from the program's icon.
set(TRIMLET_ABOUT_HEADER ${CMAKE_BINARY_DIR}/generated/about_header.bmp)
add_custom_command(
  OUTPUT ${TRIMLET_ABOUT_HEADER}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/make_about_header.py
          ${CMAKE_SOURCE_DIR}/resources/trimlet.ico ${TRIMLET_ABOUT_HEADER}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_about_header.py
          ${CMAKE_SOURCE_DIR}/resources/trimlet.ico
  COMMENT "Drawing the About box's header"
  VERBATIM)

# The translations go into "Lang" beside the program.
file(GLOB TRIMLET_LANGUAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/lang/*.ini)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Lang/.written
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/make_language_files.py
          ${CMAKE_SOURCE_DIR}/resources/lang ${CMAKE_BINARY_DIR}/Lang
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/Lang/.written
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_language_files.py ${TRIMLET_LANGUAGE_SOURCES}
  COMMENT "Writing the language files"
  VERBATIM)
add_custom_target(language_files ALL DEPENDS ${CMAKE_BINARY_DIR}/Lang/.written)

# The resources, for the program and for the tests that make its windows.
set(TRIMLET_RESOURCES resources/trimlet.rc ${TRIMLET_BUSY_ANIMATION} ${TRIMLET_ABOUT_HEADER})
file(GLOB TRIMLET_ICONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/*.ico)
set_source_files_properties(resources/trimlet.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/trimlet.manifest;${CMAKE_SOURCE_DIR}/resources/trimlet.ico;${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/icons.rc;${TRIMLET_ICONS};${TRIMLET_BUSY_ANIMATION};${TRIMLET_ABOUT_HEADER}")

add_executable(Trimlet WIN32 app/main.cpp ${TRIMLET_RESOURCES})
target_include_directories(Trimlet PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(Trimlet PRIVATE trimlet_core)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_link_options(Trimlet PRIVATE -municode)
endif()
trimlet_warnings(Trimlet)

if(NOT TRIMLET_TESTS)
  return()
endif()

add_library(test_support STATIC
  tests/support/main_window_fixture.cpp
  tests/support/registry_sandbox.cpp
  tests/support/test_pictures.cpp
  tests/support/window_driver.cpp)
target_link_libraries(test_support PUBLIC trimlet_core)
trimlet_warnings(test_support)

file(GLOB TRIMLET_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${TRIMLET_WIN_TEST_SOURCES} ${TRIMLET_RESOURCES})
target_include_directories(win_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(win_tests PRIVATE test_support doctest_main)
trimlet_warnings(win_tests)

file(GLOB TRIMLET_E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${TRIMLET_E2E_TEST_SOURCES})
target_include_directories(e2e_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(e2e_tests PRIVATE test_support doctest_main version)
add_dependencies(e2e_tests Trimlet e2e_pictures)
# Pictures that GDI+ under Wine cannot write, made with ImageMagick and exiftool.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/pictures/.written
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/e2e/make_e2e_pictures.py
          ${CMAKE_BINARY_DIR}/pictures
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/make_e2e_pictures.py
  COMMENT "Making the end-to-end tests' pictures"
  VERBATIM)
add_custom_target(e2e_pictures DEPENDS ${CMAKE_BINARY_DIR}/pictures/.written)
trimlet_warnings(e2e_tests)

# Timings of the editor with a large picture: ./dev bench.
add_executable(editor_benchmark tests/benchmarks/editor_benchmark.cpp ${TRIMLET_RESOURCES})
target_include_directories(editor_benchmark PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(editor_benchmark PRIVATE test_support)
trimlet_warnings(editor_benchmark)

# Timings and memory of the folder load with photo-sized pictures: ./dev bench.
add_executable(folder_benchmark tests/benchmarks/folder_benchmark.cpp ${TRIMLET_RESOURCES})
target_include_directories(folder_benchmark PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(folder_benchmark PRIVATE test_support)
trimlet_warnings(folder_benchmark)

# Save and go on over and over, with the program's handles and memory: ./dev bench soak.
add_executable(soak_benchmark tests/benchmarks/soak_benchmark.cpp)
target_link_libraries(soak_benchmark PRIVATE test_support)
add_dependencies(soak_benchmark Trimlet)
trimlet_warnings(soak_benchmark)

# Small helper for scripts: waits for or closes the main window.
add_executable(window_tool tests/support/window_tool.cpp)
target_link_libraries(window_tool PRIVATE test_support)
trimlet_warnings(window_tool)

if(CMAKE_CROSSCOMPILING)
  # Tests run under Wine, in a prefix and on a display of their own that a
  # fixture starts before the first test and ends after the last.
  set(TRIMLET_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  set(TRIMLET_WINE_SESSION ${CMAKE_SOURCE_DIR}/tests/wine/session.sh)
  foreach(target win_tests e2e_tests window_tool editor_benchmark folder_benchmark
                 soak_benchmark)
    set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR
      ${CMAKE_SOURCE_DIR}/tests/wine/run.sh ${TRIMLET_WINE_DIR})
  endforeach()
  add_test(NAME wine.start COMMAND ${TRIMLET_WINE_SESSION} start ${TRIMLET_WINE_DIR})
  add_test(NAME wine.stop COMMAND ${TRIMLET_WINE_SESSION} stop ${TRIMLET_WINE_DIR})
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# Each test executable runs whole, so that no test case can be left out.
foreach(tier win e2e)
  add_test(NAME ${tier} COMMAND ${tier}_tests)
  # One registry and one display: these tests take turns.
  set_tests_properties(${tier} PROPERTIES RESOURCE_LOCK wine_session TIMEOUT 600)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${tier} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endforeach()
# The crops the end-to-end tests save as PNG and TIFF, read back by
# ImageMagick.
add_test(NAME format_crops COMMAND Python3::Interpreter
         ${CMAKE_SOURCE_DIR}/tests/e2e/check_format_crops.py ${CMAKE_BINARY_DIR}/formats-out)
set_tests_properties(e2e PROPERTIES FIXTURES_SETUP format_crops)
set_tests_properties(format_crops PROPERTIES FIXTURES_REQUIRED format_crops)

# The native unit tests, built by the host compiler in a tree of their own,
# join this run when the dev script names them.
set(TRIMLET_NATIVE_UNIT_TESTS "" CACHE FILEPATH "Natively built unit_tests to run with these tests")
if(TRIMLET_NATIVE_UNIT_TESTS)
  add_test(NAME unit COMMAND ${TRIMLET_NATIVE_UNIT_TESTS})
endif()
# So do the native fuzzers, for a few seconds each on their seeds.
set(TRIMLET_NATIVE_FUZZERS "" CACHE PATH "Folder of natively built fuzzers to run with these tests")
if(TRIMLET_NATIVE_FUZZERS)
  add_test(NAME fuzz COMMAND ${CMAKE_SOURCE_DIR}/tests/fuzz/run_fuzzers.sh ${TRIMLET_NATIVE_FUZZERS} 3)
endif()

# The release (./dev package): the installer and the portable ZIP, built from
# one staged program folder whose manual shows screenshots taken from the
# program under Wine. The tests of the release need it built.
find_program(TRIMLET_MAKENSIS makensis)
if(CMAKE_CROSSCOMPILING AND TRIMLET_MAKENSIS)
  set(TRIMLET_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
  set(TRIMLET_PORTABLE ${TRIMLET_RELEASE_DIR}/Trimlet-${PROJECT_VERSION}-portable.zip)
  set(TRIMLET_SETUP ${TRIMLET_RELEASE_DIR}/Trimlet-${PROJECT_VERSION}-setup.exe)
  file(GLOB TRIMLET_RELEASE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/manual/* ${CMAKE_SOURCE_DIR}/packaging/* ${CMAKE_SOURCE_DIR}/samples/*)
  add_custom_command(
    OUTPUT ${TRIMLET_SETUP} ${TRIMLET_PORTABLE}
    COMMAND ${CMAKE_SOURCE_DIR}/packaging/make_release.sh ${PROJECT_VERSION}
            $<TARGET_FILE:Trimlet> $<TARGET_FILE:window_tool> ${CMAKE_BINARY_DIR}/Lang
            ${TRIMLET_JPEG_TURBO_LICENSES} ${TRIMLET_RELEASE_DIR}
    DEPENDS Trimlet window_tool ${CMAKE_BINARY_DIR}/Lang/.written ${TRIMLET_RELEASE_SOURCES}
            ${TRIMLET_JPEG_TURBO_LICENSES}/LICENSE.md ${TRIMLET_JPEG_TURBO_LICENSES}/README.ijg
            ${CMAKE_SOURCE_DIR}/ui/english_labels.cpp ${CMAKE_SOURCE_DIR}/resources/trimlet.ico
            ${CMAKE_SOURCE_DIR}/resources/make_about_header.py
    COMMENT "Building the installer and the portable ZIP"
    VERBATIM)
  add_custom_target(release DEPENDS ${TRIMLET_SETUP} ${TRIMLET_PORTABLE})
  add_test(NAME release_files COMMAND Python3::Interpreter
    ${CMAKE_SOURCE_DIR}/tests/release/check_release.py ${TRIMLET_PORTABLE}
    ${TRIMLET_RELEASE_DIR}/Trimlet)
endif()

# libjpeg-turbo's TurboJPEG API as the target trimlet_jpeg. Natively it is
# Debian's libturbojpeg0-dev. For Windows it is built static, so that the
# program stays one executable, from the source that ./dev fetches
# (TRIMLET_JPEG_TURBO_SOURCE), unless TRIMLET_JPEG_TURBO_DIR names an install.
if(NOT WIN32)
  find_path(TRIMLET_JPEG_INCLUDE_DIR turbojpeg.h)
  find_library(TRIMLET_JPEG_LIBRARY turbojpeg)
  if(NOT TRIMLET_JPEG_INCLUDE_DIR OR NOT TRIMLET_JPEG_LIBRARY)
    message(FATAL_ERROR "libjpeg-turbo's turbojpeg.h and libturbojpeg were not found: "
      "install Debian's libturbojpeg0-dev (./dev setup does).")
  endif()
  add_library(trimlet_jpeg UNKNOWN IMPORTED)
  set_target_properties(trimlet_jpeg PROPERTIES IMPORTED_LOCATION ${TRIMLET_JPEG_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TRIMLET_JPEG_INCLUDE_DIR})
  return()
endif()

set(TRIMLET_JPEG_TURBO_DIR "" CACHE PATH
  "An install of libjpeg-turbo (include/turbojpeg.h, lib/libturbojpeg.a) to link instead of building it")
set(TRIMLET_JPEG_TURBO_SOURCE "" CACHE PATH "libjpeg-turbo's source, built static for the program")
if(TRIMLET_JPEG_TURBO_DIR)
  set(jpeg_install ${TRIMLET_JPEG_TURBO_DIR})
  # Where the install keeps the licence texts that ship with the program.
  set(TRIMLET_JPEG_TURBO_LICENSES ${jpeg_install}/share/doc/libjpeg-turbo)
  if(NOT EXISTS ${jpeg_install}/include/turbojpeg.h OR NOT EXISTS ${jpeg_install}/lib/libturbojpeg.a)
    message(FATAL_ERROR "TRIMLET_JPEG_TURBO_DIR (${jpeg_install}) has no include/turbojpeg.h "
      "and lib/libturbojpeg.a.")
  endif()
elseif(EXISTS ${TRIMLET_JPEG_TURBO_SOURCE}/turbojpeg.h)
  set(jpeg_install ${CMAKE_BINARY_DIR}/libjpeg-turbo)
  set(TRIMLET_JPEG_TURBO_LICENSES ${TRIMLET_JPEG_TURBO_SOURCE})
  if(CMAKE_TOOLCHAIN_FILE)
    set(jpeg_toolchain -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
  endif()
  include(ExternalProject)
  # Its CMake needs an absolute install prefix when cross-building; SIMD
  # needs nasm, and is required so that a build without it cannot pass unseen.
  ExternalProject_Add(libjpeg_turbo
    SOURCE_DIR ${TRIMLET_JPEG_TURBO_SOURCE}
    PREFIX ${CMAKE_BINARY_DIR}/libjpeg-turbo-build
    INSTALL_DIR ${jpeg_install}
    CMAKE_ARGS ${jpeg_toolchain} -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
               -DENABLE_SHARED=OFF -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm -Wno-dev
    BUILD_BYPRODUCTS <INSTALL_DIR>/lib/libturbojpeg.a
    LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)
  # The imported target names the include folder before the build fills it.
  file(MAKE_DIRECTORY ${jpeg_install}/include)
else()
  message(FATAL_ERROR "libjpeg-turbo is missing: name its source with "
    "-DTRIMLET_JPEG_TURBO_SOURCE=<folder> (./dev fetches Debian's into build/), or an install "
    "with -DTRIMLET_JPEG_TURBO_DIR=<folder>.")
endif()

add_library(trimlet_jpeg STATIC IMPORTED)
set_target_properties(trimlet_jpeg PROPERTIES IMPORTED_LOCATION ${jpeg_install}/lib/libturbojpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${jpeg_install}/include)
if(TARGET libjpeg_turbo)
  add_dependencies(trimlet_jpeg libjpeg_turbo)
endif()

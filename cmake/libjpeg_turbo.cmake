# libjpeg-turbo's TurboJPEG API as the target trimlet_jpeg: Debian's
# libturbojpeg0-dev.
find_path(TRIMLET_JPEG_INCLUDE_DIR turbojpeg.h)
find_library(TRIMLET_JPEG_LIBRARY turbojpeg)
if(NOT TRIMLET_JPEG_INCLUDE_DIR OR NOT TRIMLET_JPEG_LIBRARY)
  message(FATAL_ERROR "libjpeg-turbo's turbojpeg.h and libturbojpeg were not found: "
    "install Debian's libturbojpeg0-dev (./dev setup does).")
endif()
add_library(trimlet_jpeg UNKNOWN IMPORTED)
set_target_properties(trimlet_jpeg PROPERTIES IMPORTED_LOCATION ${TRIMLET_JPEG_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${TRIMLET_JPEG_INCLUDE_DIR})

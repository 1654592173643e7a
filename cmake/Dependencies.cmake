find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(ALSA REQUIRED)
find_package(GTest REQUIRED)
find_package(spdlog REQUIRED)

pkg_check_modules(LIBAV REQUIRED IMPORTED_TARGET libavcodec libavutil)

# xvidcore ships no pkg-config file.
find_path(XVID_INCLUDE_DIR xvid.h REQUIRED)
find_library(XVID_LIBRARY NAMES xvidcore REQUIRED)
add_library(Xvid::xvidcore UNKNOWN IMPORTED)
set_target_properties(Xvid::xvidcore PROPERTIES
  IMPORTED_LOCATION "${XVID_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${XVID_INCLUDE_DIR}")

if(SUITE_GUI)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Test DBus)
endif()

if(SUITE_BENCH)
  find_package(benchmark REQUIRED)
  # libswscale, the other peer of the picture path's benchmarks.
  pkg_check_modules(SWSCALE REQUIRED IMPORTED_TARGET libswscale)
  # libyuv, a peer of the picture path's benchmarks only; it ships no pkg-config file.
  find_path(LIBYUV_INCLUDE_DIR libyuv.h REQUIRED)
  find_library(LIBYUV_LIBRARY NAMES yuv REQUIRED)
  add_library(Yuv::yuv UNKNOWN IMPORTED)
  set_target_properties(Yuv::yuv PROPERTIES
    IMPORTED_LOCATION "${LIBYUV_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${LIBYUV_INCLUDE_DIR}")
endif()

# QuillmatePictureLibraries: the decoder libraries behind the picture layer
# (libjpeg-turbo, libpng, libtiff, giflib, zlib) as one interface target.
# Windows: the static MinGW builds that scripts/build-image-libs.sh makes
# from Debian's sources (run here when they are not cached yet) and Debian's
# MinGW zlib. Native: Debian's ordinary -dev packages.
add_library(QuillmatePictureLibraries INTERFACE)
if(WIN32)
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-image-libs.sh --prefixes
    OUTPUT_VARIABLE prefixLines
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "scripts/build-image-libs.sh failed (${status}); run scripts/setup.sh first")
  endif()
  string(REGEX MATCHALL "[a-z]+=[^\n]+" prefixLines "${prefixLines}")
  foreach(line IN LISTS prefixLines)
    string(REGEX REPLACE "=.*" "" name "${line}")
    string(REGEX REPLACE "^[a-z]+=" "" prefix "${line}")
    set(QM_PICTURE_PREFIX_${name} "${prefix}")
    target_include_directories(QuillmatePictureLibraries SYSTEM INTERFACE ${prefix}/include)
  endforeach()
  foreach(name jpeg png tiff gif)
    if(NOT QM_PICTURE_PREFIX_${name})
      message(FATAL_ERROR "scripts/build-image-libs.sh named no ${name} library")
    endif()
  endforeach()
  # Static libraries in dependency order: libtiff uses libjpeg and zlib.
  target_link_libraries(QuillmatePictureLibraries INTERFACE
    ${QM_PICTURE_PREFIX_tiff}/lib/libtiff.a
    ${QM_PICTURE_PREFIX_png}/lib/libpng16.a
    ${QM_PICTURE_PREFIX_gif}/lib/libgif.a
    ${QM_PICTURE_PREFIX_jpeg}/lib/libjpeg.a
    ${CMAKE_FIND_ROOT_PATH}/lib/libz.a)
else()
  find_package(JPEG REQUIRED)
  find_package(PNG REQUIRED)
  find_package(TIFF REQUIRED)
  find_package(GIF REQUIRED)
  find_package(ZLIB REQUIRED)
  target_link_libraries(QuillmatePictureLibraries INTERFACE TIFF::TIFF PNG::PNG GIF::GIF JPEG::JPEG ZLIB::ZLIB)
endif()

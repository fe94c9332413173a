# Writes <zip name>.buildinfo beside the zip (a CPack post-build script): what
# anyone needs to rebuild the same bytes. The .exe's bytes are made by the
# MinGW-w64 compiler, its runtime and binutils, and the zip's by CMake (CPack);
# the source by the commit, and every time in the zip by SOURCE_DATE_EPOCH
# (cmake/package-source.cmake). The versions are the Debian packages'.
set(system "unknown")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release pretty REGEX "^PRETTY_NAME=")
  string(REGEX REPLACE "^PRETTY_NAME=\"?([^\"]*)\"?$" "\\1" system "${pretty}")
endif()
if(EXISTS /etc/debian_version)
  file(STRINGS /etc/debian_version debian LIMIT_COUNT 1)
  string(APPEND system " (debian_version ${debian})")
endif()
set(packages "")
foreach(package g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev
                binutils-mingw-w64-x86-64 cmake)
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
                  OUTPUT_VARIABLE version RESULT_VARIABLE missing ERROR_QUIET)
  if(missing)
    set(version "not a Debian package here")
  endif()
  string(APPEND packages " ${package} (= ${version})\n")
endforeach()
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name ${zip} NAME)
  string(REGEX REPLACE "\\.zip$" "" stem ${name})
  file(SHA256 ${zip} sha256)
  file(WRITE ${CPACK_PACKAGE_DIRECTORY}/${stem}.buildinfo
       "Package: ${name}\n"
       "SHA256: ${sha256}\n"
       "Commit: ${CPACK_WIFI_HOTSPOT_COMMIT}\n"
       "SOURCE_DATE_EPOCH: $ENV{SOURCE_DATE_EPOCH}\n"
       "Build-System: ${system}\n"
       "Build-Versions:\n${packages}"
       "Build-Command: cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake "
       "-DBUILD_TESTING=OFF && cmake --build build-windows --target all package\n")
endforeach()

# Writes <zip name>.buildinfo beside the zip (a CPack post-build script): what
# anyone needs to rebuild the same bytes, and nothing else.
# - The source: the commit, and SOURCE_DATE_EPOCH, which sets every time in the
#   zip (cmake/package-source.cmake).
# - The .exe: the compiler that ran, and what it links into the static .exe:
#   its libstdc++, libgcc and crt objects, the MinGW-w64 CRT and winpthreads,
#   and binutils' assembler and linker.
# - The zip: CMake as it ran (CPack), and the libarchive and zlib it is linked
#   with, whose deflate makes the compressed bytes.
# Each file is traced to the Debian package it came from, and the versions are
# those packages'.
set(system "unknown")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release pretty REGEX "^PRETTY_NAME=")
  string(REGEX REPLACE "^PRETTY_NAME=\"?([^\"]*)\"?$" "\\1" system "${pretty}")
endif()
if(EXISTS /etc/debian_version)
  file(STRINGS /etc/debian_version debian LIMIT_COUNT 1)
  string(APPEND system " (debian_version ${debian})")
endif()

# Appends to packages "<package> (= <version>)" for the Debian package that
# holds path, or a line that says it is none's. With /usr merged, dpkg knows a
# file by the path it was packaged under, with or without the /usr.
set(packages "")
function(add_package_of path)
  get_filename_component(real "${path}" REALPATH)
  string(REGEX REPLACE "^/usr/" "/" short "${real}")
  foreach(candidate "${path}" "${real}" "${short}" "/usr${path}")
    execute_process(COMMAND dpkg-query -S "${candidate}" OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
    if(NOT failed AND owner MATCHES "^([^:, ]+(:[a-z0-9]+)?): ")
      set(package ${CMAKE_MATCH_1})
      execute_process(COMMAND dpkg-query -W -f=\${Version} ${package} OUTPUT_VARIABLE version)
      string(REGEX REPLACE ":[a-z0-9]+$" "" name ${package})
      set(packages "${packages} ${name} (= ${version})\n" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(packages "${packages} ${path}: from no Debian package here\n" PARENT_SCOPE)
endfunction()
set(cxx ${CPACK_WIFI_HOTSPOT_CXX})
execute_process(COMMAND ${cxx} --version OUTPUT_VARIABLE cxx_version)
string(REGEX REPLACE "\n.*" "" cxx_version "${cxx_version}") # its first line
add_package_of(${cxx})
foreach(ask -print-libgcc-file-name -print-file-name=crtbegin.o -print-file-name=libstdc++.a
            -print-file-name=libmsvcrt.a -print-file-name=libwinpthread.a -print-prog-name=ld -print-prog-name=as)
  execute_process(COMMAND ${cxx} ${ask} OUTPUT_VARIABLE file OUTPUT_STRIP_TRAILING_WHITESPACE)
  add_package_of(${file})
endforeach()
add_package_of(${CPACK_WIFI_HOTSPOT_CPACK})
execute_process(COMMAND ldd ${CPACK_WIFI_HOTSPOT_CPACK} OUTPUT_VARIABLE linked ERROR_QUIET)
string(REGEX MATCHALL "=> /[^ ]*/(libarchive|libz)\\.so[^ ]*" libraries "${linked}")
foreach(library IN LISTS libraries)
  string(REGEX REPLACE "^=> " "" library "${library}")
  add_package_of(${library})
endforeach()
string(REPLACE "\n" ";" packages "${packages}")
list(FILTER packages EXCLUDE REGEX "^$")
list(REMOVE_DUPLICATES packages)
list(SORT packages)
list(JOIN packages "\n" packages)

foreach(zip IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name ${zip} NAME)
  string(REGEX REPLACE "\\.zip$" "" stem ${name})
  file(SHA256 ${zip} sha256)
  set(epoch $ENV{SOURCE_DATE_EPOCH})
  file(WRITE ${CPACK_PACKAGE_DIRECTORY}/${stem}.buildinfo
       "Package: ${name}\n"
       "SHA256: ${sha256}\n"
       "Commit: ${CPACK_WIFI_HOTSPOT_COMMIT}\n"
       "SOURCE_DATE_EPOCH: ${epoch}\n"
       "Build-System: ${system}\n"
       "Build-Compiler: ${cxx}: ${cxx_version}\n"
       "Build-CMake: ${CMAKE_VERSION}\n"
       "Build-Versions:\n${packages}\n"
       "Build-Command: export SOURCE_DATE_EPOCH=${epoch} && cmake -S . -B build-windows "
       "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=OFF && "
       "cmake --build build-windows --target all package\n")
endforeach()

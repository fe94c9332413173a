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

# The files that make the bytes: the compiler and what it links in, as it
# names them, and CPack with the libarchive and zlib it is linked with.
set(cxx ${CPACK_WIFI_HOTSPOT_CXX})
execute_process(COMMAND ${cxx} --version OUTPUT_VARIABLE cxx_version)
string(REGEX REPLACE "\n.*" "" cxx_version "${cxx_version}") # its first line
set(files ${cxx})
foreach(ask -print-libgcc-file-name -print-file-name=crtbegin.o -print-file-name=libstdc++.a
            -print-file-name=libmsvcrt.a -print-file-name=libwinpthread.a -print-prog-name=ld -print-prog-name=as)
  execute_process(COMMAND ${cxx} ${ask} OUTPUT_VARIABLE file OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND files ${file})
endforeach()
list(APPEND files ${CPACK_WIFI_HOTSPOT_CPACK})
execute_process(COMMAND ldd ${CPACK_WIFI_HOTSPOT_CPACK} OUTPUT_VARIABLE linked ERROR_QUIET)
string(REGEX MATCHALL "=> /[^ ]*/(libarchive|libz)\\.so[^ ]*" libraries "${linked}")
foreach(library IN LISTS libraries)
  string(REGEX REPLACE "^=> " "" library "${library}")
  list(APPEND files ${library})
endforeach()

# The Debian package of each file, and its version. With /usr merged, dpkg
# knows a file by the path it was packaged under, with or without the /usr:
# every spelling of every file is asked for in one call (each call reads all
# of dpkg's file lists).
function(spellings_of file out) # as given, as it really is, and that without /usr and with it
  get_filename_component(real "${file}" REALPATH)
  string(REGEX REPLACE "^/usr/" "/" short "${real}")
  set(${out} "${file}" "${real}" "${short}" "/usr${real}" PARENT_SCOPE)
endfunction()
set(spellings "")
foreach(file IN LISTS files)
  spellings_of("${file}" each)
  list(APPEND spellings ${each})
endforeach()
list(REMOVE_DUPLICATES spellings)
execute_process(COMMAND dpkg-query -S ${spellings} OUTPUT_VARIABLE owners ERROR_QUIET)
string(REPLACE "\n" ";" owners "${owners}")
foreach(owner IN LISTS owners) # "package[:arch][, more]: path"
  if(owner MATCHES "^([^:, ]+(:[a-z0-9]+)?)[^:]*: (/.*)$")
    set("owner_${CMAKE_MATCH_3}" ${CMAKE_MATCH_1})
  endif()
endforeach()
set(found "")
set(strays "")
foreach(file IN LISTS files)
  spellings_of("${file}" each)
  set(package "")
  foreach(spelling IN LISTS each)
    if(NOT package AND DEFINED "owner_${spelling}")
      set(package ${owner_${spelling}})
    endif()
  endforeach()
  if(package)
    list(APPEND found ${package})
  else()
    string(APPEND strays " ${file}: from no Debian package here\n")
  endif()
endforeach()
list(REMOVE_DUPLICATES found)
set(packages "")
if(found)
  execute_process(COMMAND dpkg-query -W "-f= \${Package} (= \${Version})\n" ${found} OUTPUT_VARIABLE packages)
endif()
string(APPEND packages "${strays}")

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
       "Build-Versions:\n${packages}"
       "Build-Command: export SOURCE_DATE_EPOCH=${epoch} && cmake -S . -B build-windows "
       "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=OFF && "
       "cmake --build build-windows --target all package\n")
endforeach()

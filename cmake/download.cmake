# The download, made by two targets of the Windows build:
# - package: wifi-hotspot-<version>-win64.zip (the .exe, the usage text and the
#   licence), its .sha256, and its .buildinfo, which names what rebuilds the
#   same bytes, for any user, at any path, time and zone;
# - package-signed, where a signing key is configured: the same zip with the
#   .exe signed (Authenticode), as wifi-hotspot-<version>-win64-signed.zip,
#   and its .sha256.
# CMakeLists.txt includes this file, which sets the options and the targets;
# each target runs it again as a script (cmake -P) that makes its files.
if(NOT CMAKE_SCRIPT_MODE_FILE)
  # The PIN is an environment variable, read only when the package is made:
  # given with -D it would stay in CMakeCache.txt, so it goes before the cache
  # is written.
  if(DEFINED CACHE{WIFI_HOTSPOT_SIGN_PASSWORD})
    unset(WIFI_HOTSPOT_SIGN_PASSWORD CACHE)
    message(FATAL_ERROR "WIFI_HOTSPOT_SIGN_PASSWORD is an environment variable, not a CMake option: configure "
                        "without it, and set it in the environment of the build that signs (RELEASING.md).")
  endif()
  if(NOT MINGW)
    return()
  endif()
  find_program(ZIP zip REQUIRED) # Info-ZIP's, whose -X stores no owner
  set(WIFI_HOTSPOT_SIGN_PKCS11_MODULE "" CACHE FILEPATH
      "PKCS#11 module of the token, HSM or cloud service with the key; PIN: environment variable WIFI_HOTSPOT_SIGN_PASSWORD")
  set(WIFI_HOTSPOT_SIGN_KEY "" CACHE STRING "PKCS#11 URI of the signing key (pkcs11:token=...;object=...)")
  set(WIFI_HOTSPOT_SIGN_CERT "" CACHE STRING
      "The signing certificate with its chain: a PEM or DER file, or a PKCS#11 URI in the same module")
  set(WIFI_HOTSPOT_SIGN_TIMESTAMP_URL "" CACHE STRING
      "RFC 3161 time-stamping service (needs the network; the signed zip then differs on each run)")
  set(script -DBUILD=${CMAKE_BINARY_DIR} -DEXE=$<TARGET_FILE:wifi-hotspot> -DVERSION=${PROJECT_VERSION}
             -DCXX=${CMAKE_CXX_COMPILER} -DRC=${CMAKE_RC_COMPILER}
             -P ${CMAKE_CURRENT_LIST_FILE})
  add_custom_target(package COMMAND ${CMAKE_COMMAND} ${script} DEPENDS wifi-hotspot VERBATIM)
  if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE)
    find_program(OSSLSIGNCODE osslsigncode REQUIRED)
    add_custom_target(package-signed COMMAND ${CMAKE_COMMAND} -DSIGNED=ON ${script} VERBATIM)
    add_dependencies(package-signed package) # after the unsigned zip, which removes an old signed pair
  endif()
  return()
endif()

cmake_policy(VERSION 3.20)
load_cache(${BUILD} READ_WITH_PREFIX "" CMAKE_HOME_DIRECTORY CMAKE_STRIP ZIP OSSLSIGNCODE
           WIFI_HOTSPOT_SIGN_PKCS11_MODULE WIFI_HOTSPOT_SIGN_KEY WIFI_HOTSPOT_SIGN_CERT WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
set(source ${CMAKE_HOME_DIRECTORY})
set(unsigned wifi-hotspot-${VERSION}-win64)
set(name ${unsigned})
if(SIGNED)
  set(name ${unsigned}-signed)
endif()
set(staging ${BUILD}/staging)
# Whatever stops the package, nothing is left under its name: a signed name
# is only ever on a zip whose .exe was signed.
function(stop why)
  file(REMOVE_RECURSE ${staging} ${BUILD}/${name}.zip ${BUILD}/${name}.zip.sha256)
  message(FATAL_ERROR "${why}")
endfunction()
# The signed pair of an earlier build goes with each package, so that only the
# signed zip of this build ever lies beside this unsigned one.
file(REMOVE_RECURSE ${staging} ${BUILD}/${unsigned}-signed.zip ${BUILD}/${unsigned}-signed.zip.sha256)

# The commit, and the time of every file in the zip: SOURCE_DATE_EPOCH where it
# is set, else the commit's committer time (the same for a clone and for the
# tree `git archive` makes of it, which holds it in archived-commit.txt); else,
# in a tree with neither, 1980-01-01, the first time a zip can hold. Where git
# cannot answer (a checkout another user owns, a broken one), packaging stops
# with git's words: a zip without its commit could not be rebuilt.
function(ask_git out)
  execute_process(COMMAND git -C ${source} ${ARGN} OUTPUT_VARIABLE answer ERROR_VARIABLE error
                  RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    stop("Not packaged: git cannot tell which commit ${source} holds. git said:\n${error}Build as the \
checkout's owner; or, if you trust that owner:\n  git config --global --add safe.directory ${source}")
  endif()
  set(${out} "${answer}" PARENT_SCOPE)
endfunction()
set(changed "")
if(EXISTS ${source}/.git) # a clone's folder, or a worktree's file
  ask_git(commit log -1 --format=%H\ %ct)
  ask_git(changed status --porcelain --untracked-files=no)
else()
  file(STRINGS ${source}/cmake/archived-commit.txt commit LIMIT_COUNT 1)
endif()
set(epoch 315532800)
set(commit_line unknown)
if(commit MATCHES "^([0-9a-f]+) ([0-9]+)$")
  set(epoch ${CMAKE_MATCH_2})
  set(commit_line ${CMAKE_MATCH_1})
  if(changed)
    string(APPEND commit_line " with uncommitted changes")
  endif()
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
endif()
set(ENV{SOURCE_DATE_EPOCH} ${epoch}) # strip's time in the .exe's header
set(ENV{TZ} UTC0) # and zip's times in UTC

# The files, each with the same time and mode whoever makes them: the stripped
# .exe, and the usage text (UTF-8 with a byte order mark, for Notepad) and the
# licence with CRLF line ends, read anew from the tree each time.
set(folder ${staging}/${name})
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${CMAKE_STRIP} -o ${folder}/wifi-hotspot.exe ${EXE} COMMAND_ERROR_IS_FATAL ANY)
set(PROJECT_VERSION ${VERSION})
file(READ ${source}/packaging/README.txt usage)
string(CONFIGURE "${usage}" usage @ONLY)
string(REPLACE "\n" "\r\n" usage "${usage}")
string(ASCII 239 187 191 bom)
file(WRITE ${folder}/README.txt "${bom}${usage}")
file(READ ${source}/LICENSE licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE ${folder}/LICENSE.txt "${licence}")

if(SIGNED)
  # osslsigncode, with the key in the PKCS#11 module through OpenSSL's pkcs11
  # engine. The PIN goes from the environment through a pipe, on no command
  # line. The signing time is SOURCE_DATE_EPOCH's: an RSA signature is then
  # the same bytes on every run (an ECDSA one is not). The description is ASCII:
  # osslsigncode writes it as an IA5String.
  if(NOT DEFINED ENV{WIFI_HOTSPOT_SIGN_PASSWORD})
    stop("Not signed: WIFI_HOTSPOT_SIGN_PASSWORD holds no PIN.")
  elseif(NOT EXISTS "${WIFI_HOTSPOT_SIGN_PKCS11_MODULE}")
    stop("Not signed: there is no PKCS#11 module ${WIFI_HOTSPOT_SIGN_PKCS11_MODULE}.")
  endif()
  set(certificate_in -pkcs11cert)
  if(NOT WIFI_HOTSPOT_SIGN_CERT MATCHES "^pkcs11:")
    set(certificate_in -certs)
    if(NOT EXISTS "${WIFI_HOTSPOT_SIGN_CERT}")
      stop("Not signed: there is no certificate file ${WIFI_HOTSPOT_SIGN_CERT}.")
    endif()
  endif()
  set(timestamp "")
  if(WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
    set(timestamp -ts ${WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
  endif()
  execute_process(COMMAND printenv WIFI_HOTSPOT_SIGN_PASSWORD
                  COMMAND ${OSSLSIGNCODE} sign -pkcs11module ${WIFI_HOTSPOT_SIGN_PKCS11_MODULE}
                          ${certificate_in} "${WIFI_HOTSPOT_SIGN_CERT}"
                          -key "${WIFI_HOTSPOT_SIGN_KEY}" -readpass /dev/stdin -h sha256 -n wifi-hotspot
                          -time ${epoch} ${timestamp} -in ${folder}/wifi-hotspot.exe -out ${folder}/signed.exe
                  RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  set(why "osslsigncode failed")
  if(said MATCHES "load 'pkcs11' engine")
    set(why "OpenSSL has no pkcs11 engine (apt-get install libengine-pkcs11-openssl)")
  elseif(said MATCHES "PIN_INCORRECT|PIN incorrect")
    set(why "the PIN in WIFI_HOTSPOT_SIGN_PASSWORD is wrong")
  elseif(said MATCHES "PIN_LOCKED|PIN locked")
    set(why "the token's PIN is locked")
  elseif(said MATCHES "Unable to load (PKCS#11 )?module")
    set(why "the PKCS#11 module ${WIFI_HOTSPOT_SIGN_PKCS11_MODULE} could not be loaded")
  elseif(said MATCHES "Failed to load private key")
    set(why "there is no key at ${WIFI_HOTSPOT_SIGN_KEY}")
  elseif(said MATCHES "Failed to load certificate|certificate was not found")
    set(why "there is no certificate at ${WIFI_HOTSPOT_SIGN_CERT}")
  elseif(said MATCHES "key values mismatch")
    set(why "the certificate ${WIFI_HOTSPOT_SIGN_CERT} is not the key's")
  endif()
  if(failed)
    stop("Not signed: ${why}.\nosslsigncode said:\n${said}")
  endif()
  file(RENAME ${folder}/signed.exe ${folder}/wifi-hotspot.exe)
endif()

# The zip: Info-ZIP's zip -X stores no owner and no extra times, -D no folders;
# the entries in this order, their times written in UTC.
file(GLOB files LIST_DIRECTORIES false ${folder}/*)
file(CHMOD ${files} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND touch -d @${epoch} ${files} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${BUILD}/${name}.zip)
execute_process(COMMAND ${ZIP} -X -D -q ${BUILD}/${name}.zip ${name}/wifi-hotspot.exe ${name}/README.txt
                        ${name}/LICENSE.txt WORKING_DIRECTORY ${staging} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND sha256sum ${name}.zip WORKING_DIRECTORY ${BUILD} OUTPUT_FILE ${BUILD}/${name}.zip.sha256
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${staging})
if(SIGNED)
  return()
endif()

# The .buildinfo: the compiler that ran, and the Debian packages, with their
# versions, of each file that makes the bytes: the compiler and what it links
# in, binutils (linker, resource compiler, strip), the zip writer, sha256sum,
# and CMake, which writes the texts. dpkg says so of a file from no package.
find_program(sha256sum sha256sum)
set(files ${CXX} ${RC} ${CMAKE_STRIP} ${ZIP} ${sha256sum} ${CMAKE_COMMAND})
foreach(ask -print-libgcc-file-name -print-file-name=crtbegin.o -print-file-name=libstdc++.a
            -print-file-name=libmsvcrt.a -print-file-name=libwinpthread.a -print-prog-name=ld -print-prog-name=as)
  execute_process(COMMAND ${CXX} ${ask} OUTPUT_VARIABLE file OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(REAL_PATH ${file} file) # as dpkg knows it
  list(APPEND files ${file})
endforeach()
execute_process(COMMAND dpkg-query -S ${files} OUTPUT_VARIABLE owners ERROR_VARIABLE strays) # "a, b: /path"
string(REGEX REPLACE ": /[^\n]*\n" ";" owners "${owners}")
string(REPLACE ", " ";" owners "${owners}")
list(REMOVE_DUPLICATES owners)
execute_process(COMMAND dpkg-query -W "-f= \${Package} (= \${Version})\n" ${owners} OUTPUT_VARIABLE versions)
execute_process(COMMAND ${CXX} --version OUTPUT_VARIABLE compiler)
string(REGEX REPLACE "\n.*" "" compiler "${compiler}")
file(SHA256 ${BUILD}/${name}.zip sha256)
file(WRITE ${BUILD}/${name}.buildinfo
     "Package: ${name}.zip\n"
     "SHA256: ${sha256}\n"
     "Commit: ${commit_line}\n"
     "SOURCE_DATE_EPOCH: ${epoch}\n"
     "Build-Compiler: ${CXX}: ${compiler}\n"
     "Build-Versions:\n${versions}${strays}"
     "Build-Command: export SOURCE_DATE_EPOCH=${epoch} && cmake -S . -B build-windows "
     "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=OFF && "
     "cmake --build build-windows --target all package\n")

# The download. CMakeLists.txt includes this file for its options and targets; the targets run it as a script:
# - package: wifi-hotspot-<version>-win64.zip (the .exe, the usage text and the licence), its .sha256, and a
#   .buildinfo that names what rebuilds the same bytes, for any user, at any path, time and zone;
# - package-signed, where a key is configured: the same with the .exe signed (Authenticode), under the name
#   wifi-hotspot-<version>-win64-signed.
if(NOT CMAKE_SCRIPT_MODE_FILE)
  # The PIN is read from the environment when the package is made: given with -D it would stay in CMakeCache.txt.
  if(DEFINED CACHE{WIFI_HOTSPOT_SIGN_PASSWORD})
    unset(WIFI_HOTSPOT_SIGN_PASSWORD CACHE)
    message(FATAL_ERROR "WIFI_HOTSPOT_SIGN_PASSWORD is an environment variable, not a CMake option: configure "
                        "without it, and set it in the environment of the build that signs (RELEASING.md).")
  endif()
  if(NOT MINGW)
    return()
  endif()
  find_program(ZIP zip REQUIRED) # Info-ZIP's, whose -X stores no owner
  find_program(SHA256SUM sha256sum REQUIRED)
  set(WIFI_HOTSPOT_SIGN_PKCS11_MODULE "" CACHE FILEPATH "PKCS#11 module of the token, HSM or cloud service with the key")
  set(WIFI_HOTSPOT_SIGN_KEY "" CACHE STRING "PKCS#11 URI of the signing key (pkcs11:token=...;object=...)")
  set(WIFI_HOTSPOT_SIGN_CERT "" CACHE STRING "The certificate with its chain: a PEM or DER file, or a PKCS#11 URI")
  set(WIFI_HOTSPOT_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping service (the signed zip then varies)")
  set(script -DBUILD=${CMAKE_BINARY_DIR} -DEXE=$<TARGET_FILE:wifi-hotspot> -DCXX=${CMAKE_CXX_COMPILER}
             -DRC=${CMAKE_RC_COMPILER} -DPROJECT_VERSION=${PROJECT_VERSION} -P ${CMAKE_CURRENT_LIST_FILE})
  add_custom_target(package COMMAND ${CMAKE_COMMAND} ${script} DEPENDS wifi-hotspot VERBATIM)
  if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE)
    find_program(OSSLSIGNCODE osslsigncode REQUIRED)
    add_custom_target(package-signed COMMAND ${CMAKE_COMMAND} -DSIGNED=-signed ${script} VERBATIM)
    add_dependencies(package-signed package) # after the unsigned zip, which removes an old signed pair
  endif()
  return()
endif()

cmake_policy(VERSION 3.20)
load_cache(${BUILD} READ_WITH_PREFIX "" CMAKE_HOME_DIRECTORY CMAKE_STRIP ZIP SHA256SUM OSSLSIGNCODE
           WIFI_HOTSPOT_SIGN_PKCS11_MODULE WIFI_HOTSPOT_SIGN_KEY WIFI_HOTSPOT_SIGN_CERT WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
set(source ${CMAKE_HOME_DIRECTORY})
set(unsigned wifi-hotspot-${PROJECT_VERSION}-win64)
set(name ${unsigned}${SIGNED})
set(staging ${BUILD}/staging)
# Whatever stops the package leaves nothing under its name: a signed name is only on a zip whose .exe was signed.
function(stop why)
  file(REMOVE_RECURSE ${staging} ${BUILD}/${name}.zip ${BUILD}/${name}.zip.sha256)
  message(FATAL_ERROR "${why}")
endfunction()
# Each package removes the signed pair of an earlier build: only this build's can lie beside this unsigned zip.
file(REMOVE_RECURSE ${staging} ${BUILD}/${unsigned}-signed.zip ${BUILD}/${unsigned}-signed.zip.sha256)

# The commit, and the time of every file in the zip: SOURCE_DATE_EPOCH where it is set, else the commit's
# committer time, as git tells it in a clone or a worktree, or as `git archive` wrote it into archived-commit.txt;
# in a tree with neither, 1980-01-01, the first time a zip holds. Where git cannot answer (a checkout that another
# user owns, a broken one), packaging stops with git's words: a zip without its commit could not be rebuilt.
function(ask_git out)
  execute_process(COMMAND git -C ${source} ${ARGN} OUTPUT_VARIABLE answer ERROR_VARIABLE error
                  RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    stop("Not packaged: git cannot tell which commit ${source} holds. git said:\n${error}Build as the \
checkout's owner; or, if you trust that owner:\n  git config --global --add safe.directory ${source}")
  endif()
  set(${out} "${answer}" PARENT_SCOPE)
endfunction()
if(EXISTS ${source}/.git) # a clone's folder, or a worktree's file
  ask_git(commit log -1 --format=%H\ %ct)
  ask_git(changed status --porcelain --untracked-files=no)
else()
  file(STRINGS ${source}/cmake/archived-commit.txt commit LIMIT_COUNT 1)
endif()
if(NOT commit MATCHES "^([0-9a-f]+) ([0-9]+)$")
  set(commit "unknown 315532800")
endif()
string(REGEX REPLACE " .*" "" commit_line "${commit}")
string(REGEX REPLACE ".* " "" epoch "${commit}")
if(changed)
  string(APPEND commit_line " with uncommitted changes")
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
endif()
set(ENV{SOURCE_DATE_EPOCH} ${epoch}) # strip's time in the .exe's header
set(ENV{TZ} UTC0) # zip's times, which are local ones

# The files, read anew from the tree each time: the stripped .exe; the usage text and the licence with CRLF line
# ends, for Notepad, the usage text in UTF-8 with a byte order mark (its @BOM@).
set(folder ${staging}/${name})
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${CMAKE_STRIP} -o ${folder}/wifi-hotspot.exe ${EXE} COMMAND_ERROR_IS_FATAL ANY)
string(ASCII 239 187 191 BOM)
configure_file(${source}/packaging/README.txt ${folder}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${source}/LICENSE ${folder}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# Signing: osslsigncode, with the key in the PKCS#11 module through OpenSSL's pkcs11 engine; the PIN from the
# environment through a pipe, on no command line; the signing time SOURCE_DATE_EPOCH's, so that an RSA signature
# is the same bytes on every run (an ECDSA one never is); an ASCII description (osslsigncode's is an IA5String).
if(SIGNED)
  if(NOT DEFINED ENV{WIFI_HOTSPOT_SIGN_PASSWORD})
    stop("Not signed: WIFI_HOTSPOT_SIGN_PASSWORD holds no PIN.")
  elseif(NOT EXISTS "${WIFI_HOTSPOT_SIGN_PKCS11_MODULE}")
    stop("Not signed: there is no PKCS#11 module ${WIFI_HOTSPOT_SIGN_PKCS11_MODULE}.")
  endif()
  set(certificate_in -certs)
  if(WIFI_HOTSPOT_SIGN_CERT MATCHES "^pkcs11:")
    set(certificate_in -pkcs11cert)
  elseif(NOT EXISTS "${WIFI_HOTSPOT_SIGN_CERT}")
    stop("Not signed: there is no certificate file ${WIFI_HOTSPOT_SIGN_CERT}.")
  endif()
  if(WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
    set(timestamp -ts ${WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
  endif()
  execute_process(COMMAND printenv WIFI_HOTSPOT_SIGN_PASSWORD
                  COMMAND ${OSSLSIGNCODE} sign -pkcs11module ${WIFI_HOTSPOT_SIGN_PKCS11_MODULE}
                          ${certificate_in} "${WIFI_HOTSPOT_SIGN_CERT}" -key "${WIFI_HOTSPOT_SIGN_KEY}"
                          -readpass /dev/stdin -h sha256 -n wifi-hotspot -time ${epoch} ${timestamp}
                          -in ${folder}/wifi-hotspot.exe -out ${folder}/signed.exe
                  RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  set(why "osslsigncode failed")
  if(said MATCHES "PIN_INCORRECT|PIN incorrect")
    set(why "the PIN in WIFI_HOTSPOT_SIGN_PASSWORD is wrong")
  elseif(said MATCHES "Failed to load private key")
    set(why "there is no key at ${WIFI_HOTSPOT_SIGN_KEY}")
  elseif(said MATCHES "Failed to load certificate|certificate was not found")
    set(why "there is no certificate at ${WIFI_HOTSPOT_SIGN_CERT}")
  endif()
  if(failed)
    stop("Not signed: ${why}.\nosslsigncode said:\n${said}")
  endif()
  file(RENAME ${folder}/signed.exe ${folder}/wifi-hotspot.exe)
endif()

# The zip: Info-ZIP's zip -X stores no owner and no extra times, -D no folders; every file has the same mode and
# time whoever makes it, and the entries this order.
file(CHMOD_RECURSE ${folder} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND touch -d @${epoch} ${folder}/wifi-hotspot.exe ${folder}/README.txt ${folder}/LICENSE.txt
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${BUILD}/${name}.zip)
execute_process(COMMAND ${ZIP} -X -D -q ${BUILD}/${name}.zip ${name}/wifi-hotspot.exe ${name}/README.txt
                        ${name}/LICENSE.txt WORKING_DIRECTORY ${staging} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${SHA256SUM} ${name}.zip WORKING_DIRECTORY ${BUILD} OUTPUT_FILE ${BUILD}/${name}.zip.sha256
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${staging})
if(SIGNED)
  return()
endif()

# The .buildinfo: the compiler that ran, and the Debian packages, with their versions, of each file that makes
# the bytes: the compiler and what it links in, binutils (linker, resource compiler, strip), the zip writer,
# sha256sum, and CMake, which writes the texts. dpkg says so of a file from no package.
set(files ${CXX} ${RC} ${CMAKE_STRIP} ${ZIP} ${SHA256SUM} ${CMAKE_COMMAND})
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
file(SHA256 ${BUILD}/${name}.zip sha256)
file(WRITE ${BUILD}/${name}.buildinfo
     "Package: ${name}.zip\nSHA256: ${sha256}\nCommit: ${commit_line}\nSOURCE_DATE_EPOCH: ${epoch}\n"
     "Build-Compiler: ${CXX}\nBuild-Versions:\n${versions}${strays}"
     "Build-Command: export SOURCE_DATE_EPOCH=${epoch} && cmake -S . -B build-windows "
     "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DBUILD_TESTING=OFF && "
     "cmake --build build-windows --target all package\n")

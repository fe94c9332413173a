# The download, made by the `package` target (CPack):
# - wifi-hotspot-<version>-win64.zip: the .exe, a usage text for Notepad
#   (UTF-8 with a byte order mark) and the licence, both with CRLF line ends and
#   written anew whenever their sources are edited;
# - its .sha256;
# - its .buildinfo: what rebuilds the same bytes (cmake/buildinfo.cmake).
# With a signing key configured, the `package-signed` target makes
# wifi-hotspot-<version>-win64-signed.zip and its .sha256 beside them, the
# .exe in it signed with Authenticode (cmake/sign.cmake).
# There is no `package_source`: CPack's would archive the build folder too.
# The source of a release is its commit, as `git archive` makes it.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/README.txt LICENSE)
file(READ packaging/README.txt usage)
string(CONFIGURE "${usage}" usage @ONLY)
string(REPLACE "\n" "\r\n" usage "${usage}")
string(ASCII 239 187 191 bom)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/README.txt "${bom}${usage}")
file(READ LICENSE licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt "${licence}")
install(TARGETS wifi-hotspot RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt DESTINATION .)
# The times in the zip: cmake/package-source.cmake says which.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/package-source.cmake)
set(CPACK_WIFI_HOTSPOT_SOURCE_DIR ${PROJECT_SOURCE_DIR})

# Authenticode, for a maintainer with a code-signing certificate. Its key is
# either in a PKCS#11 module (a USB token, an HSM or a cloud key service, as
# publicly trusted code-signing keys must be) or, for test certificates, in a
# .pfx file. The PIN or password is read from the environment variable
# WIFI_HOTSPOT_SIGN_PASSWORD when the package is made, and never kept in the
# build folder (CMakeLists.txt refuses it as a -D option).
set(WIFI_HOTSPOT_SIGN_PKCS11_MODULE "" CACHE FILEPATH
    "PKCS#11 module of the token, HSM or cloud service with the key; PIN: environment variable WIFI_HOTSPOT_SIGN_PASSWORD")
set(WIFI_HOTSPOT_SIGN_KEY "" CACHE STRING "PKCS#11 URI of the signing key (pkcs11:token=...;object=...)")
set(WIFI_HOTSPOT_SIGN_CERT "" CACHE STRING
    "The signing certificate, with its chain: a PEM or DER file, or a PKCS#11 URI in the same module")
set(WIFI_HOTSPOT_SIGN_PFX "" CACHE FILEPATH
    "PKCS#12 file to sign with instead (test certificates); password: environment variable WIFI_HOTSPOT_SIGN_PASSWORD")
set(WIFI_HOTSPOT_SIGN_TIMESTAMP_URL "" CACHE STRING
    "RFC 3161 time-stamping service for the signature (needs the network; the zip is then no longer reproducible)")
if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE AND WIFI_HOTSPOT_SIGN_PFX)
  message(FATAL_ERROR "Sign with WIFI_HOTSPOT_SIGN_PKCS11_MODULE or with WIFI_HOTSPOT_SIGN_PFX, not both.")
endif()
if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE)
  if(NOT WIFI_HOTSPOT_SIGN_KEY MATCHES "^pkcs11:")
    message(FATAL_ERROR "WIFI_HOTSPOT_SIGN_KEY must be the signing key's PKCS#11 URI (pkcs11:...), "
                        "not \"${WIFI_HOTSPOT_SIGN_KEY}\".")
  endif()
  if(NOT WIFI_HOTSPOT_SIGN_CERT)
    message(FATAL_ERROR "WIFI_HOTSPOT_SIGN_CERT must name the signing certificate: a file, or a PKCS#11 URI.")
  endif()
  get_filename_component(CPACK_WIFI_HOTSPOT_SIGN_PKCS11_MODULE ${WIFI_HOTSPOT_SIGN_PKCS11_MODULE} ABSOLUTE)
  set(CPACK_WIFI_HOTSPOT_SIGN_KEY "${WIFI_HOTSPOT_SIGN_KEY}")
  set(CPACK_WIFI_HOTSPOT_SIGN_CERT "${WIFI_HOTSPOT_SIGN_CERT}")
  if(NOT WIFI_HOTSPOT_SIGN_CERT MATCHES "^pkcs11:")
    get_filename_component(CPACK_WIFI_HOTSPOT_SIGN_CERT ${WIFI_HOTSPOT_SIGN_CERT} ABSOLUTE)
  endif()
elseif(WIFI_HOTSPOT_SIGN_PFX)
  get_filename_component(CPACK_WIFI_HOTSPOT_SIGN_PFX ${WIFI_HOTSPOT_SIGN_PFX} ABSOLUTE)
endif()
if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE OR WIFI_HOTSPOT_SIGN_PFX)
  find_program(CPACK_WIFI_HOTSPOT_OSSLSIGNCODE osslsigncode REQUIRED)
  find_program(CPACK_WIFI_HOTSPOT_OPENSSL openssl REQUIRED) # reads the certificate's key algorithm
  set(CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL ${WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
endif()
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/buildinfo.cmake)
set(CPACK_WIFI_HOTSPOT_CXX ${CMAKE_CXX_COMPILER}) # for the .buildinfo: what made the .exe and the zip
set(CPACK_WIFI_HOTSPOT_CPACK ${CMAKE_CPACK_COMMAND})
set(CPACK_GENERATOR ZIP)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(zip ${CPACK_PACKAGE_FILE_NAME}) # include(CPack) changes it for the source package
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Under names of their own, so that CMake makes neither its `package` target,
# which is ours below, nor `package_source`. The files of the usual names, left
# by an earlier version in the same build folder, would make CMake take both
# names for its own.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackDownload.cmake)
set(CPACK_SOURCE_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackSourceUnused.cmake)
# A zip entry holds the Unix owner of its file, which would make the zip of
# one builder differ from another's. CMake 4.3 sets the owner itself; before
# it, CPack stores its own user's, so it runs under fakeroot, as Debian's own
# packages are built, where every file is root's.
if(CMAKE_VERSION VERSION_GREATER_EQUAL 4.3)
  set(CPACK_ARCHIVE_UID 0)
  set(CPACK_ARCHIVE_GID 0)
  set(as_root "")
else()
  find_program(FAKEROOT fakeroot)
  if(NOT FAKEROOT)
    message(FATAL_ERROR "Packaging with CMake ${CMAKE_VERSION} needs fakeroot (apt-get install fakeroot), "
                        "which keeps the builder's user out of the zip; CMake 4.3 and later do not.")
  endif()
  set(as_root ${FAKEROOT} --)
endif()
include(CPack)

set(signed ${zip}-signed)
# A signed pair left by an earlier build goes, so that only the signed zip of
# this build ever lies beside this unsigned one.
add_custom_target(package
  COMMAND ${CMAKE_COMMAND} -E rm -f ${signed}.zip ${signed}.zip.sha256
  COMMAND ${as_root} ${CMAKE_CPACK_COMMAND} --config CPackDownload.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
add_dependencies(package wifi-hotspot)
if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE OR WIFI_HOTSPOT_SIGN_PFX)
  # The same CPack configuration, under the signed name, with the signing step
  # before the zip is made; after the unsigned zip, which removes the old pair.
  add_custom_target(package-signed
    COMMAND ${CMAKE_COMMAND} -DSIGNED=${signed} -DCONFIG=CPackDownload.cmake "-DAS_ROOT=${as_root}"
            -DCPACK=${CMAKE_CPACK_COMMAND} -DSIGN=${PROJECT_SOURCE_DIR}/cmake/sign.cmake
            -P ${PROJECT_SOURCE_DIR}/cmake/package-signed.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
  add_dependencies(package-signed package)
endif()

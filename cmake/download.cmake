# The download, made by the `package` target (CPack):
# - wifi-hotspot-<version>-win64.zip: the .exe, a usage text for Notepad
#   (UTF-8 with a byte order mark) and the licence, both with CRLF line ends and
#   written anew whenever their sources are edited;
# - its .sha256;
# - its .buildinfo: what rebuilds the same bytes (cmake/buildinfo.cmake).
# With a signing key configured, the `package-signed` target makes
# wifi-hotspot-<version>-win64-signed.zip and its .sha256 beside them, the
# .exe in it signed with Authenticode (cmake/sign.cmake).
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
# .pfx file. The PIN or password is read from WIFI_HOTSPOT_SIGN_PASSWORD when
# the package is made, and never kept in the build folder.
set(WIFI_HOTSPOT_SIGN_PKCS11_MODULE "" CACHE FILEPATH
    "PKCS#11 module of the token, HSM or cloud service holding the signing key; PIN in WIFI_HOTSPOT_SIGN_PASSWORD")
set(WIFI_HOTSPOT_SIGN_KEY "" CACHE STRING "PKCS#11 URI of the signing key (pkcs11:token=...;object=...)")
set(WIFI_HOTSPOT_SIGN_CERT "" CACHE STRING
    "The signing certificate, with its chain: a PEM or DER file, or a PKCS#11 URI in the same module")
set(WIFI_HOTSPOT_SIGN_PFX "" CACHE FILEPATH
    "PKCS#12 file to sign with instead (test certificates); password in WIFI_HOTSPOT_SIGN_PASSWORD")
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
  set(CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL ${WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
endif()
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/buildinfo.cmake)
set(CPACK_GENERATOR ZIP)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(zip ${CPACK_PACKAGE_FILE_NAME}) # include(CPack) changes it for the source package
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)

if(WIFI_HOTSPOT_SIGN_PKCS11_MODULE OR WIFI_HOTSPOT_SIGN_PFX)
  set(signed ${zip}-signed)
  # The same CPack configuration, under the signed name, with the signing step
  # before the zip is made. What an earlier run left under that name goes
  # first: a failed signing leaves no zip that claims to be signed.
  add_custom_target(package-signed
    COMMAND ${CMAKE_COMMAND} -E rm -f ${signed}.zip ${signed}.zip.sha256
    COMMAND ${CMAKE_CPACK_COMMAND} --config CPackConfig.cmake -D CPACK_PACKAGE_FILE_NAME=${signed}
            -D CPACK_PRE_BUILD_SCRIPTS=${PROJECT_SOURCE_DIR}/cmake/sign.cmake -D CPACK_POST_BUILD_SCRIPTS=
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
  add_dependencies(package-signed wifi-hotspot)
endif()

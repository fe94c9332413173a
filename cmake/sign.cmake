# Signs the stripped .exe in CPack's staging folder before it goes into the
# signed zip (a CPack pre-build script, run by the package-signed target), with
# osslsigncode: Authenticode, SHA-256.
# - The key is in a PKCS#11 module (osslsigncode -pkcs11module, through
#   OpenSSL's pkcs11 engine) or in a .pfx file.
# - The PIN or password goes from the environment (WIFI_HOTSPOT_SIGN_PASSWORD)
#   through a pipe, never on a command line that others can see, nor into a
#   file.
# - The signing time is the zip's own (SOURCE_DATE_EPOCH), so that a signed zip
#   is the same bytes from any clone, as an unsigned one is.
# - The description is ASCII: osslsigncode writes it as an IA5String, which
#   cannot carry Chinese.
# A failure stops the package with what went wrong, before any zip is made.
set(exe ${CPACK_TEMPORARY_DIRECTORY}/wifi-hotspot.exe)
if(NOT DEFINED ENV{WIFI_HOTSPOT_SIGN_PASSWORD})
  message(FATAL_ERROR "Not signed: WIFI_HOTSPOT_SIGN_PASSWORD holds no PIN or password.")
endif()
if(CPACK_WIFI_HOTSPOT_SIGN_PKCS11_MODULE)
  if(NOT EXISTS ${CPACK_WIFI_HOTSPOT_SIGN_PKCS11_MODULE})
    message(FATAL_ERROR "Not signed: there is no PKCS#11 module ${CPACK_WIFI_HOTSPOT_SIGN_PKCS11_MODULE}.")
  endif()
  # A URI's ; is no list separator: escaped, each stays one argument.
  string(REPLACE ";" "\\;" key_uri "${CPACK_WIFI_HOTSPOT_SIGN_KEY}")
  string(REPLACE ";" "\\;" certificate "${CPACK_WIFI_HOTSPOT_SIGN_CERT}")
  set(certificate_from -certs)
  if(CPACK_WIFI_HOTSPOT_SIGN_CERT MATCHES "^pkcs11:")
    set(certificate_from -pkcs11cert)
  elseif(NOT EXISTS ${CPACK_WIFI_HOTSPOT_SIGN_CERT})
    message(FATAL_ERROR "Not signed: there is no certificate file ${CPACK_WIFI_HOTSPOT_SIGN_CERT}.")
  endif()
  set(key -pkcs11module ${CPACK_WIFI_HOTSPOT_SIGN_PKCS11_MODULE} ${certificate_from} "${certificate}"
          -key "${key_uri}")
else()
  set(key -pkcs12 ${CPACK_WIFI_HOTSPOT_SIGN_PFX})
endif()
set(timestamp "")
if(CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
  set(timestamp -ts ${CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
endif()
execute_process(
  COMMAND printenv WIFI_HOTSPOT_SIGN_PASSWORD
  COMMAND ${CPACK_WIFI_HOTSPOT_OSSLSIGNCODE} sign ${key} -readpass /dev/stdin
          -h sha256 -n wifi-hotspot -time $ENV{SOURCE_DATE_EPOCH} ${timestamp} -in ${exe} -out ${exe}.signed
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  # osslsigncode's and the PKCS#11 engine's own words, most telling first.
  set(why "signing failed")
  if(output MATCHES "load 'pkcs11' engine")
    set(why "OpenSSL has no pkcs11 engine (on Debian and Ubuntu: apt-get install libengine-pkcs11-openssl)")
  elseif(output MATCHES "Unable to load module|Unable to load PKCS#11 module")
    set(why "the PKCS#11 module ${CPACK_WIFI_HOTSPOT_SIGN_PKCS11_MODULE} could not be loaded")
  elseif(output MATCHES "PIN incorrect|PIN_INCORRECT")
    set(why "the PIN in WIFI_HOTSPOT_SIGN_PASSWORD is wrong")
  elseif(output MATCHES "PIN locked|PIN_LOCKED")
    set(why "the token's PIN is locked")
  elseif(output MATCHES "certificate was not found")
    set(why "there is no certificate at ${CPACK_WIFI_HOTSPOT_SIGN_CERT}")
  elseif(output MATCHES "private key was not found")
    set(why "there is no key at ${CPACK_WIFI_HOTSPOT_SIGN_KEY}")
  elseif(output MATCHES "key values mismatch")
    set(why "the certificate ${CPACK_WIFI_HOTSPOT_SIGN_CERT} is not the key's")
  elseif(output MATCHES "mac verify failure|PKCS12_parse")
    set(why "the password in WIFI_HOTSPOT_SIGN_PASSWORD does not open ${CPACK_WIFI_HOTSPOT_SIGN_PFX}")
  endif()
  file(REMOVE ${exe}.signed)
  message(FATAL_ERROR "Not signed: ${why}.\nosslsigncode said:\n${output}")
endif()
file(RENAME ${exe}.signed ${exe})

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
# - Only an RSA key signs: Smart App Control accepts only RSA signatures
#   (Microsoft's "Code signing for Smart App Control"), and an ECDSA signature
#   differs on every run. A certificate names its key's algorithm: one in a
#   file or the .pfx is read before the key signs anything. One that OpenSSL's
#   tools cannot read (in the token, or a .pfx in a legacy cipher) is judged
#   by the signature, before the signed .exe takes the unsigned one's place.
# - osslsigncode, and the token's module in it, run as the builder, not under
#   the fakeroot that CPack may run in (cmake/download.cmake).
# A failure stops the package with what went wrong (cmake/package-signed.cmake
# then removes what CPack zipped all the same).
set(exe ${CPACK_TEMPORARY_DIRECTORY}/wifi-hotspot.exe)
# Stops unless algorithm, as OpenSSL names a key's or a signature's, is RSA.
function(require_rsa algorithm)
  if(NOT algorithm MATCHES "^(rsaEncryption|sha[0-9]+WithRSAEncryption)$")
    file(REMOVE ${exe}.signed)
    message(FATAL_ERROR "Not signed: the key is not an RSA key (${algorithm}), and Smart App Control accepts "
                        "only RSA signatures. Sign with an RSA key and its certificate.")
  endif()
endfunction()
# The algorithm of the key in the certificate that COMMANDs print (PEM), where they print one; rsa_checked
# then tells that it was RSA.
set(rsa_checked FALSE)
function(require_rsa_certificate)
  execute_process(${ARGN} COMMAND ${CPACK_WIFI_HOTSPOT_OPENSSL} x509 -noout -text
                  OUTPUT_VARIABLE text RESULTS_VARIABLE results ERROR_QUIET)
  if(results MATCHES "^0(;0)*$" AND text MATCHES "Public Key Algorithm: ([^\n]+)")
    require_rsa("${CMAKE_MATCH_1}")
    set(rsa_checked TRUE PARENT_SCOPE)
  endif() # else osslsigncode, given the same, says what is wrong with it, or the signature is judged
endfunction()
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
  if(certificate_from STREQUAL "-certs")
    require_rsa_certificate(COMMAND ${CPACK_WIFI_HOTSPOT_OPENSSL} x509 -in ${CPACK_WIFI_HOTSPOT_SIGN_CERT})
  endif()
else()
  set(key -pkcs12 ${CPACK_WIFI_HOTSPOT_SIGN_PFX})
  require_rsa_certificate(COMMAND printenv WIFI_HOTSPOT_SIGN_PASSWORD
                          COMMAND ${CPACK_WIFI_HOTSPOT_OPENSSL} pkcs12 -in ${CPACK_WIFI_HOTSPOT_SIGN_PFX} -clcerts
                                  -nokeys -passin stdin)
endif()
set(timestamp "")
if(CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
  set(timestamp -ts ${CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
endif()
execute_process(
  COMMAND printenv WIFI_HOTSPOT_SIGN_PASSWORD
  COMMAND env -u LD_PRELOAD ${CPACK_WIFI_HOTSPOT_OSSLSIGNCODE} sign ${key} -readpass /dev/stdin
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
if(NOT rsa_checked) # the signer's algorithm, as the signature holds it
  execute_process(COMMAND ${CPACK_WIFI_HOTSPOT_OSSLSIGNCODE} extract-signature -in ${exe}.signed -out ${exe}.p7
                  OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND ${CPACK_WIFI_HOTSPOT_OPENSSL} pkcs7 -inform DER -in ${exe}.p7 -print -noout
                  OUTPUT_VARIABLE signature ERROR_QUIET)
  file(REMOVE ${exe}.p7)
  string(REGEX MATCH "digest_enc_alg: *\n *algorithm: ([^ \n]+)" found "${signature}")
  require_rsa("${CMAKE_MATCH_1}")
endif()
file(RENAME ${exe}.signed ${exe})

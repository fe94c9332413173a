# Signs the stripped .exe in CPack's staging folder before it goes into the zip
# (a CPack pre-build script), with osslsigncode: Authenticode, SHA-256.
# - The signing time is the zip's own (SOURCE_DATE_EPOCH), so that a signed zip
#   is the same bytes from any clone, as an unsigned one is.
# - The password goes from the environment (WIFI_HOTSPOT_SIGN_PASSWORD) through
#   a pipe, never on a command line that others can see, nor into a file.
# - The description is ASCII: osslsigncode writes it as an IA5String, which
#   cannot carry Chinese.
set(exe ${CPACK_TEMPORARY_DIRECTORY}/wifi-hotspot.exe)
set(timestamp "")
if(CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL)
  set(timestamp -ts ${CPACK_WIFI_HOTSPOT_SIGN_TIMESTAMP_URL})
endif()
execute_process(
  COMMAND printenv WIFI_HOTSPOT_SIGN_PASSWORD
  COMMAND ${CPACK_WIFI_HOTSPOT_OSSLSIGNCODE} sign -pkcs12 ${CPACK_WIFI_HOTSPOT_SIGN_PFX} -readpass /dev/stdin
          -h sha256 -n wifi-hotspot -time $ENV{SOURCE_DATE_EPOCH} ${timestamp} -in ${exe} -out ${exe}.signed
  RESULT_VARIABLE signed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT signed EQUAL 0)
  message(FATAL_ERROR "Signing ${exe} failed:\n${output}")
endif()
file(RENAME ${exe}.signed ${exe})

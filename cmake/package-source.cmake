# CPack's project config file, read each time the package is made: every time
# in the zip (and the signing time) is the checkout's last commit's, read now,
# so that a build folder kept from an earlier commit makes the same zip as a
# fresh clone; or SOURCE_DATE_EPOCH's, where it is set; or 1980-01-01, the
# first time a zip can hold, outside a git checkout. Written in UTC: a zip
# holds local times, which would differ by zone.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CPACK_WIFI_HOTSPOT_SOURCE_DIR}
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT epoch)
    set(epoch 315532800)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
set(ENV{TZ} UTC0)

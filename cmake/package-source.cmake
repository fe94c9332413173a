# CPack's project config file, read each time a package is made: which commit
# it is made from (CPACK_WIFI_HOTSPOT_COMMIT, for the .buildinfo), and every
# time in the zip (and the signing time), read now, so that a build folder kept
# from an earlier commit makes the same zip as a fresh clone:
# - SOURCE_DATE_EPOCH, where it is set;
# - else the commit's time: in a git checkout, its last commit's; in a tree
#   made by `git archive`, the commit's that git wrote into
#   cmake/archived-commit.txt (export-subst in .gitattributes);
# - else 1980-01-01, the first time a zip can hold.
# Written in UTC: a zip holds local times, which would differ by zone.
set(source ${CPACK_WIFI_HOTSPOT_SOURCE_DIR})
set(commit "")
if(EXISTS ${source}/.git) # its own checkout, not one that a tree unpacked into it lies in
  execute_process(COMMAND git -C ${source} log -1 --format=%H\ %ct
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(commit)
  execute_process(COMMAND git -C ${source} status --porcelain --untracked-files=no
                  OUTPUT_VARIABLE changed ERROR_QUIET)
else()
  file(STRINGS ${source}/cmake/archived-commit.txt commit LIMIT_COUNT 1)
  set(changed "")
endif()
set(CPACK_WIFI_HOTSPOT_COMMIT unknown)
set(epoch 315532800)
if(commit MATCHES "^([0-9a-f]+) ([0-9]+)$")
  set(CPACK_WIFI_HOTSPOT_COMMIT ${CMAKE_MATCH_1})
  set(epoch ${CMAKE_MATCH_2})
  if(changed)
    string(APPEND CPACK_WIFI_HOTSPOT_COMMIT " with uncommitted changes")
  endif()
endif()
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
set(ENV{TZ} UTC0)

# CPack's project config file, read each time a package is made: which commit
# it is made from (CPACK_WIFI_HOTSPOT_COMMIT, for the .buildinfo), and every
# time in the zip (and the signing time), read now, so that a build folder kept
# from an earlier commit makes the same zip as a fresh clone:
# - SOURCE_DATE_EPOCH, where it is set;
# - else the commit's time: in a git checkout, its last commit's; in a tree
#   made by `git archive`, the commit's that git wrote into
#   cmake/archived-commit.txt (export-subst in .gitattributes);
# - else 1980-01-01, the first time a zip can hold, for a tree with neither.
# Written in UTC: a zip holds local times, which would differ by zone.
set(source ${CPACK_WIFI_HOTSPOT_SOURCE_DIR})
# Asks the checkout's git; where git cannot answer (a checkout that another user owns, a broken one), packaging
# stops with git's own words: a zip without its commit could not be rebuilt. git runs outside the fakeroot that
# CPack may run in (cmake/download.cmake), where every file looks like root's: its check of the checkout's owner,
# which keeps another user's hooks and settings from running as the builder, holds.
function(ask_git out)
  execute_process(COMMAND env -u LD_PRELOAD git -C ${source} ${ARGN} OUTPUT_VARIABLE answer ERROR_VARIABLE error
                  RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    message(FATAL_ERROR "Not packaged: git cannot tell which commit ${source} holds. git said:\n${error}"
                        "Build as the checkout's owner; or, if you trust that owner, let git read it with\n"
                        "  git config --global --add safe.directory ${source}")
  endif()
  set(${out} "${answer}" PARENT_SCOPE)
endfunction()
if(EXISTS ${source}/.git) # its own checkout, not one that a tree unpacked into it lies in
  ask_git(commit log -1 --format=%H\ %ct)
  ask_git(changed status --porcelain --untracked-files=no)
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

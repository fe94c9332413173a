# The package-signed target: runs CPack under the signed name, with the signing
# step (cmake/sign.cmake) before the zip is made.
#   cmake -DSIGNED=<zip name> -DCONFIG=<CPack config> -DAS_ROOT=<fakeroot --, or nothing>
#         -DCPACK=<cpack> -DSIGN=<sign.cmake> -P package-signed.cmake
# CPack goes on to zip the unsigned .exe in its staging folder when the signing
# fails, and only then reports the failure: so the signed pair of an earlier
# run goes first, and after a failure everything under the signed name goes
# too, CPack's staging folder included. No zip that claims to be signed is
# left but one whose .exe was signed.
file(REMOVE ${SIGNED}.zip ${SIGNED}.zip.sha256)
execute_process(COMMAND ${AS_ROOT} ${CPACK} --config ${CONFIG} -D CPACK_PACKAGE_FILE_NAME=${SIGNED}
                        -D CPACK_PRE_BUILD_SCRIPTS=${SIGN} -D CPACK_POST_BUILD_SCRIPTS=
                RESULT_VARIABLE failed)
if(failed)
  file(GLOB_RECURSE left LIST_DIRECTORIES true _CPack_Packages/*)
  list(FILTER left INCLUDE REGEX "-signed(\\.zip)?$") # the staging folder and the zip
  file(REMOVE_RECURSE ${left} ${SIGNED}.zip ${SIGNED}.zip.sha256)
  message(FATAL_ERROR "No signed zip: the signing stopped, as said above.")
endif()

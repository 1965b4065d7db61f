# Makes tocsinet-<version>-win64.zip and its .sha256 in OUT from what the build installs, the same
# bytes from every build of one commit: the files stamped with the last commit's time (or
# SOURCE_DATE_EPOCH), in name order, with no owner, access or change times (zip -X), in UTC.
# Run by the `zip` target; -D options before -P: SOURCE_DIR, BINARY_DIR, VERSION, OUT.
foreach(input SOURCE_DIR BINARY_DIR VERSION OUT)
    if(NOT ${input})
        message(FATAL_ERROR "package.cmake needs -D${input}=... before -P")
    endif()
endforeach()
set(folder tocsinet-${VERSION}-win64)
set(zip ${OUT}/${folder}.zip)
set(stage ${OUT}/${folder}-stage)

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
    execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "no time for the ZIP's files: set SOURCE_DATE_EPOCH outside a git checkout")
endif()

file(REMOVE_RECURSE ${stage})
file(REMOVE ${zip} ${zip}.sha256) # zip adds to an existing archive
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${stage}/${folder}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE entries RELATIVE ${stage} ${stage}/*)
list(SORT entries)
execute_process(COMMAND touch -d @${epoch} ${entries} WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
# DOS times in a ZIP are local ones.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q -9 ${zip} ${entries} WORKING_DIRECTORY ${stage}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})

file(SHA256 ${zip} hash)
file(WRITE ${zip}.sha256 "${hash}  ${folder}.zip\n")
message(STATUS "${zip}\n   ${hash}")

# Makes the portable ZIP as `cpack` does and checks what it holds: the program and its version file, in
# one folder named after the version, the version text in several CR LF lines (read as bytes: text drops CRs).
set(out ${BINARY_DIR}/package-check)
set(folder tocsinet-${VERSION}-win64)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out}/unpacked)
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -B ${out} WORKING_DIRECTORY ${BINARY_DIR}
                RESULT_VARIABLE packed OUTPUT_VARIABLE output ERROR_VARIABLE output)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${out}/${folder}.zip WORKING_DIRECTORY ${out}/unpacked
                RESULT_VARIABLE unpacked ERROR_VARIABLE output)
file(GLOB_RECURSE entries RELATIVE ${out}/unpacked ${out}/unpacked/*)
list(SORT entries)
if(NOT packed EQUAL 0 OR NOT unpacked EQUAL 0 OR NOT entries STREQUAL "${folder}/tocsinet.exe;${folder}/version.txt")
    message(FATAL_ERROR "the ZIP holds \"${entries}\" instead of the program and version.txt in ${folder}:\n${output}")
endif()
file(READ ${out}/unpacked/${folder}/version.txt hex HEX)
string(REGEX REPLACE "(..)" " \\1" bytes "${hex}")
string(REPLACE " 0d 0a" "" without_line_ends "${bytes}")
string(HEX "Tocsinet ${VERSION}\r\n" first_line)
if(NOT hex MATCHES "^${first_line}" OR NOT bytes MATCHES " 0d 0a.* 0d 0a.* 0d 0a" OR without_line_ends MATCHES " 0[ad]")
    message(FATAL_ERROR "version.txt is not several CR LF lines from \"Tocsinet ${VERSION}\"")
endif()
file(REMOVE_RECURSE ${out})

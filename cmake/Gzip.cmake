# bivox_gzip(<target> <source> <output-variable>): compresses <source> at build time with
# `gzip -9n` (no name or time stamp in the header, so builds are reproducible), as Debian
# wants manual pages and changelogs, and sets <output-variable> to the compressed file.
find_program(BIVOX_GZIP gzip REQUIRED)

function(bivox_gzip target source output_variable)
  get_filename_component(name "${source}" NAME)
  set(directory "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  set(compressed "${directory}/${name}.gz")
  add_custom_command(OUTPUT "${compressed}"
                     COMMAND ${CMAKE_COMMAND} -E make_directory "${directory}"
                     COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${directory}/${name}"
                     COMMAND "${BIVOX_GZIP}" -9 -n -f "${directory}/${name}"
                     DEPENDS "${source}" COMMENT "Compressing ${name}" VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${compressed}")
  set(${output_variable} "${compressed}" PARENT_SCOPE)
endfunction()

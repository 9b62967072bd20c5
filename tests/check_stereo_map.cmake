# Writes the stereo map of a score with bivox-cli and renders it to PNG with rsvg-convert,
# as a check that the picture is well-formed SVG that a renderer draws.
#   cmake -DCLI=... -DRSVG=... -DSCORE=... -DWORK=... -P check_stereo_map.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SCORE}" DESTINATION "${WORK}")
get_filename_component(name "${SCORE}" NAME)
foreach(range -64..64 32..-32)
  execute_process(COMMAND "${CLI}" stereo --plain --pan-range ${range} --map map.svg "${name}"
                  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "bivox-cli stereo --map with ${range} failed: ${result}")
  endif()
  execute_process(COMMAND "${RSVG}" --output map.png map.svg
                  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "rsvg-convert could not render the map with ${range}: ${error}")
  endif()
  file(READ "${WORK}/map.png" signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "rsvg-convert wrote no PNG for ${range}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")

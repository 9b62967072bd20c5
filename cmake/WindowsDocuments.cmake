# The documents of the Windows zip, beside the program: the README, and the manual page as
# plain UTF-8 text (Windows has no man), made with groff where it is found.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_BINDIR})
find_program(GROFF groff)
if(NOT GROFF)
  message(STATUS "groff not found: the manual is not installed as text")
  return()
endif()
set(manual_text ${CMAKE_BINARY_DIR}/bivox-cli.txt)
add_custom_command(
  OUTPUT ${manual_text}
  COMMAND ${GROFF} -man -Tutf8 -P-cbu -rHY=0 ${PROJECT_SOURCE_DIR}/docs/bivox-cli.1 > ${manual_text}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/bivox-cli.1
  COMMENT "Writing the manual page as text" VERBATIM)
add_custom_target(bivox_manual_text ALL DEPENDS ${manual_text})
install(FILES ${manual_text} DESTINATION ${CMAKE_INSTALL_BINDIR})

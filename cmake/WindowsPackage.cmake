# The Windows zip, made with `cpack -G ZIP` in the build folder: bivox-cli-VERSION-win64.zip
# holds bivox-cli.exe with the README, the licence and the manual page as plain UTF-8 text
# (Windows has no man), side by side in one folder.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT bivox-cli)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME LICENSE.txt
        COMPONENT bivox-cli)
find_program(GROFF groff)
if(GROFF)
  set(manual_text ${CMAKE_BINARY_DIR}/bivox-cli.txt)
  add_custom_command(
    OUTPUT ${manual_text}
    COMMAND ${GROFF} -man -Tutf8 -P-cbu -rHY=0 ${PROJECT_SOURCE_DIR}/docs/bivox-cli.1 > ${manual_text}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/bivox-cli.1
    COMMENT "Writing the manual page as text" VERBATIM)
  add_custom_target(bivox_manual_text ALL DEPENDS ${manual_text})
  install(FILES ${manual_text} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT bivox-cli)
else()
  message(STATUS "groff not found: the manual is not installed as text")
endif()

set(CPACK_PACKAGE_NAME bivox-cli)
set(CPACK_PACKAGE_VENDOR "The Bivox developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "bivox-cli-${PROJECT_VERSION}-win64")
set(CPACK_STRIP_FILES ON)
# The command-line tool alone: a dialog built beside it needs its Qt libraries (windeployqt).
set(CPACK_COMPONENTS_ALL bivox-cli)
include(CPack)

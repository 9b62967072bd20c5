# Installs the build into a fresh prefix and checks that bivox-cli and its manual page land
# where users look for them.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=bin -DMANDIR=share/man -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(installed "${BINDIR}/bivox-cli" "${MANDIR}/man1/bivox-cli.1.gz")
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/${BINDIR}/bivox-cli" --help
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed bivox-cli does not run: ${result}")
endif()
file(REMOVE_RECURSE "${PREFIX}")

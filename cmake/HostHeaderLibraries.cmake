# CLI11 and nlohmann-json for a cross build: both are header-only, so the build machine's
# Debian headers serve any target. Only their own folders are put on the include path (a
# folder of links), never all of /usr/include, whose C library headers would shadow the
# target's. As headers of imported targets they are system headers: their warnings are not
# ours to fix.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})

function(bivox_host_header_library target folder probe)
  find_path(host_${folder}_root ${folder}/${probe} PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH)
  if(NOT host_${folder}_root)
    message(FATAL_ERROR "${folder}/${probe} not found under /usr/include")
  endif()
  file(CREATE_LINK ${host_${folder}_root}/${folder} ${host_headers}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})
endfunction()

bivox_host_header_library(CLI11::CLI11 CLI CLI.hpp)
bivox_host_header_library(nlohmann_json::nlohmann_json nlohmann json.hpp)

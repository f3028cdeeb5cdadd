# The host's header-only libraries for a Windows cross build. Their CMake packages sit in the
# build machine's tree, which the cross toolchain's root path hides (rightly: its libraries are
# for the wrong system). The headers themselves are portable, so each package's header folder is
# linked into a folder of this build and used from there; fmt is used header-only.
set(NIMB_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${NIMB_HOST_HEADERS})
foreach(header IN ITEMS CLI/CLI.hpp nlohmann/json.hpp fmt/format.h)
  string(REGEX REPLACE "/.*" "" folder ${header})
  find_path(NIMB_${folder}_INCLUDE ${header} NO_CMAKE_FIND_ROOT_PATH PATHS /usr/include /usr/local/include)
  if(NOT NIMB_${folder}_INCLUDE)
    message(FATAL_ERROR "the host needs ${header} (the build machine's ${folder} headers)")
  endif()
  file(CREATE_LINK ${NIMB_${folder}_INCLUDE}/${folder} ${NIMB_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()

add_library(nimb_host_headers INTERFACE)
target_include_directories(nimb_host_headers SYSTEM INTERFACE ${NIMB_HOST_HEADERS})
target_compile_definitions(nimb_host_headers INTERFACE FMT_HEADER_ONLY)
add_library(CLI11::CLI11 ALIAS nimb_host_headers)
add_library(nlohmann_json::nlohmann_json ALIAS nimb_host_headers)
add_library(fmt::fmt ALIAS nimb_host_headers)

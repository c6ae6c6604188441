# One install rule for every piece: the user's folders by default, the system layout under a
# prefix. `cmake --install build` (the default prefix, remembered at the first configure) puts a
# piece into $HOME/<user_dir>; with --prefix, or CMAKE_INSTALL_PREFIX at configure time (as cpack
# does for the packages), into <prefix>/<prefix_dir>. user_dir empty: the piece is installed only
# under a prefix.
#   tarnwick_install(COMPONENT name TYPE DIRECTORY|SHARED_LIBRARY|PROGRAM|FILE
#                    USER_DIR dir PREFIX_DIR dir FILES paths...)
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  # (Remembered from the first configure: later runs no longer say the prefix was defaulted.)
  set(TARNWICK_DEFAULT_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}" CACHE INTERNAL "")
endif()

function(tarnwick_install)
  cmake_parse_arguments(ARG "" "COMPONENT;TYPE;USER_DIR;PREFIX_DIR" "FILES" ${ARGN})
  set(_permissions "")
  if(ARG_TYPE STREQUAL "DIRECTORY" OR ARG_TYPE STREQUAL "SHARED_LIBRARY" OR ARG_TYPE STREQUAL "PROGRAM")
    set(_permissions USE_SOURCE_PERMISSIONS)
  endif()
  set(_user "")
  if(ARG_USER_DIR)
    set(_user "\$ENV{HOME}/${ARG_USER_DIR}")
  endif()
  set(_files "")
  foreach(_file IN LISTS ARG_FILES)
    string(APPEND _files " \"${_file}\"")
  endforeach()
  install(CODE "
    set(_tarnwick_dest \"${_user}\")
    if(NOT \"\${CMAKE_INSTALL_PREFIX}\" STREQUAL \"${TARNWICK_DEFAULT_INSTALL_PREFIX}\")
      set(_tarnwick_dest \"\${CMAKE_INSTALL_PREFIX}/${ARG_PREFIX_DIR}\")
    endif()
    if(_tarnwick_dest)
      file(INSTALL DESTINATION \"\${_tarnwick_dest}\" TYPE ${ARG_TYPE} ${_permissions} FILES${_files})
    endif()
  " COMPONENT ${ARG_COMPONENT})
endfunction()

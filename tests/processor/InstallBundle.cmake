# Installs the built bundles the two ways the README gives and checks where they land:
# into $HOME/.vst3, $HOME/.vst and $HOME/.lv2 by default, and into lib/vst3, lib/vst and lib/lv2
# under the prefix given with --prefix.
# Arguments: -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch folder> -DDEFAULT_PREFIX=ON|OFF
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/home")

set(_module "Tarnwick.vst3/Contents/x86_64-linux/Tarnwick.so")
set(_info "Tarnwick.vst3/Contents/Resources/moduleinfo.json")
# The same module as a VST 2 plug-in.
set(_vst2_module Tarnwick.so)
set(_lv2_files "")
if(EXISTS "${BUILD_DIR}/Tarnwick.lv2/manifest.ttl")
  set(_lv2_files Tarnwick.lv2/manifest.ttl Tarnwick.lv2/Tarnwick.so)
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK_DIR}/home
          ${CMAKE_COMMAND} --install "${BUILD_DIR}" --component Tarnwick --prefix "${WORK_DIR}/prefix"
  RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "install with --prefix failed: ${_result}")
endif()
foreach(_file ${_module} ${_info})
  if(NOT EXISTS "${WORK_DIR}/prefix/lib/vst3/${_file}")
    message(FATAL_ERROR "missing after install with --prefix: lib/vst3/${_file}")
  endif()
endforeach()
foreach(_file ${_vst2_module})
  if(NOT EXISTS "${WORK_DIR}/prefix/lib/vst/${_file}")
    message(FATAL_ERROR "missing after install with --prefix: lib/vst/${_file}")
  endif()
endforeach()
foreach(_file ${_lv2_files})
  if(NOT EXISTS "${WORK_DIR}/prefix/lib/lv2/${_file}")
    message(FATAL_ERROR "missing after install with --prefix: lib/lv2/${_file}")
  endif()
endforeach()
if(EXISTS "${WORK_DIR}/home/.vst3" OR EXISTS "${WORK_DIR}/home/.vst" OR EXISTS "${WORK_DIR}/home/.lv2")
  message(FATAL_ERROR "install with --prefix also wrote into ~/.vst3, ~/.vst or ~/.lv2")
endif()

# Without --prefix (only when the build was configured with the default prefix,
# which must not be written to otherwise): into ~/.vst3.
if(DEFAULT_PREFIX)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK_DIR}/home
            ${CMAKE_COMMAND} --install "${BUILD_DIR}" --component Tarnwick
    RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "default install failed: ${_result}")
  endif()
  foreach(_file ${_module} ${_info})
    if(NOT EXISTS "${WORK_DIR}/home/.vst3/${_file}")
      message(FATAL_ERROR "missing after the default install: ~/.vst3/${_file}")
    endif()
  endforeach()
  foreach(_file ${_vst2_module})
    if(NOT EXISTS "${WORK_DIR}/home/.vst/${_file}")
      message(FATAL_ERROR "missing after the default install: ~/.vst/${_file}")
    endif()
  endforeach()
  foreach(_file ${_lv2_files})
    if(NOT EXISTS "${WORK_DIR}/home/.lv2/${_file}")
      message(FATAL_ERROR "missing after the default install: ~/.lv2/${_file}")
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE "${WORK_DIR}")

# Installs the built bundle the two ways the README gives and checks where it lands:
# into $HOME/.vst3 by default, and into the prefix given with --prefix.
# Arguments: -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch folder> -DDEFAULT_PREFIX=ON|OFF
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/home")

set(_module "Tarnwick.vst3/Contents/x86_64-linux/Tarnwick.so")
set(_info "Tarnwick.vst3/Contents/Resources/moduleinfo.json")

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK_DIR}/home
          ${CMAKE_COMMAND} --install "${BUILD_DIR}" --component Tarnwick --prefix "${WORK_DIR}/prefix"
  RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "install with --prefix failed: ${_result}")
endif()
foreach(_file ${_module} ${_info})
  if(NOT EXISTS "${WORK_DIR}/prefix/${_file}")
    message(FATAL_ERROR "missing after install with --prefix: ${_file}")
  endif()
endforeach()
if(EXISTS "${WORK_DIR}/home/.vst3")
  message(FATAL_ERROR "install with --prefix also wrote into ~/.vst3")
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
endif()
file(REMOVE_RECURSE "${WORK_DIR}")

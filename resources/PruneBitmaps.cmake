# Removes the PNG files of DIR that are not named in KEEP.
file(GLOB _pngs RELATIVE "${DIR}" "${DIR}/*.png")
foreach(f ${_pngs})
  list(FIND KEEP "${f}" _at)
  if(_at EQUAL -1)
    file(REMOVE "${DIR}/${f}")
  endif()
endforeach()

# Copies the editor's UI description and bitmaps (not the VST 3 bundle's module information
# or browser snapshots) from FROM to TO.
file(GLOB _files "${FROM}/*.png" "${FROM}/*.uidesc")
file(MAKE_DIRECTORY "${TO}")
# Bitmaps the editor no longer uses do not stay behind from an earlier copy.
file(GLOB _old RELATIVE "${TO}" "${TO}/*.png")
foreach(f ${_old})
  if(NOT EXISTS "${FROM}/${f}")
    file(REMOVE "${TO}/${f}")
  endif()
endforeach()
file(COPY ${_files} DESTINATION "${TO}")

# Copies the editor's UI description and bitmaps (not the VST 3 bundle's module information
# or browser snapshots) from FROM to TO.
file(GLOB _files "${FROM}/*.png" "${FROM}/*.uidesc")
file(MAKE_DIRECTORY "${TO}")
file(COPY ${_files} DESTINATION "${TO}")

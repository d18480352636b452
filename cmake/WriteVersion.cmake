# Writes the version header of the tool: the project's version, followed by
# `git describe` when the sources are a git checkout. Run at every build with
# -DVERSION=x.y.z -DSOURCE_DIR=... -DINPUT=Version.h.in -DOUTPUT=Version.h;
# configure_file leaves the header alone while its text stays the same.
set(BRIX_VERSION_TEXT ${VERSION})
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} describe --tags --always --dirty
    RESULT_VARIABLE code OUTPUT_VARIABLE described ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(code EQUAL 0 AND NOT described STREQUAL "")
    set(BRIX_VERSION_TEXT "${VERSION} (git ${described})")
  endif()
endif()
configure_file(${INPUT} ${OUTPUT} @ONLY)

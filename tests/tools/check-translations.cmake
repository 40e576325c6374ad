# Runs lupdate over the translated sources into a copy of each .ts file and fails when an
# entry is left unfinished or a text has gone from the sources (obsolete or vanished):
# the catalogue in the tree must match the sources as they are.
# -DLUPDATE=... -DSOURCE_DIR=... -DWORK_DIR=... -DTS_FILES=a;b -DSOURCES=x;y
file(MAKE_DIRECTORY "${WORK_DIR}")
set(sources)
foreach(source ${SOURCES})
  list(APPEND sources "${SOURCE_DIR}/${source}")
endforeach()
set(failed FALSE)
foreach(ts ${TS_FILES})
  get_filename_component(name "${ts}" NAME)
  set(copy "${WORK_DIR}/${name}")
  configure_file("${ts}" "${copy}" COPYONLY)
  execute_process(COMMAND "${LUPDATE}" -locations none -source-language zh_CN ${sources} -ts "${copy}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(SEND_ERROR "lupdate failed on ${name}: ${out}${err}")
    set(failed TRUE)
    continue()
  endif()
  file(STRINGS "${copy}" open REGEX "type=\"(unfinished|obsolete|vanished)\"")
  if(open)
    # Name the sources, so the failure says what to translate or remove.
    file(READ "${copy}" text)
    string(REGEX MATCHALL "<source>[^<]*</source>[ \n\r]*<translation type=\"(unfinished|obsolete|vanished)\"" entries "${text}")
    message(SEND_ERROR "${name}: entries to finish or remove:\n${entries}")
    set(failed TRUE)
  endif()
  message(STATUS "${name}: ${out}")
endforeach()
if(failed)
  message(FATAL_ERROR "translations are not complete")
endif()

# Proves that a Qt-free core library stays Qt-free: none of its sources
# includes a Qt header and its archive references no Qt symbol.
#   -DSOURCES_FILE=<file listing the target's sources> -DSOURCE_DIR=<its folder>
#   -DARCHIVE=<lib.a> -DNM=<nm>
file(STRINGS "${SOURCES_FILE}" sources)
set(offenders)
foreach(src IN LISTS sources)
  if(NOT IS_ABSOLUTE "${src}")
    set(src "${SOURCE_DIR}/${src}")
  endif()
  if(NOT EXISTS "${src}")
    continue()
  endif()
  file(STRINGS "${src}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>\"]*)[>\"]")
  if(includes)
    list(APPEND offenders "${src}: ${includes}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt headers in a Qt-free library:\n${offenders}")
endif()

execute_process(COMMAND "${NM}" -C --undefined-only "${ARCHIVE}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${ARCHIVE}")
endif()
string(REGEX MATCHALL "[^\n]*(Q[A-Z][A-Za-z]+::|qt_[a-z_]+|QArrayData)[^\n]*" qt_symbols "${symbols}")
if(qt_symbols)
  message(FATAL_ERROR "${ARCHIVE} references Qt:\n${qt_symbols}")
endif()
list(LENGTH sources count)
message(STATUS "${ARCHIVE}: ${count} sources, no Qt")

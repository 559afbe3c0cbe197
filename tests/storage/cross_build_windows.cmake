# Configures and builds the Qt-free core (card storage, export core,
# nivra-card, the Media Foundation decoder core and its check program
# mf_check) for Windows with mingw-w64 in a fresh folder, warnings as errors.
#   cmake -D SOURCE_DIR=... -D BUILD_DIR=... -D GENERATOR=... -P cross_build_windows.cmake
find_program(mingw_cxx x86_64-w64-mingw32-g++-posix)
if(NOT mingw_cxx)
  message(FATAL_ERROR "x86_64-w64-mingw32-g++-posix not found (Debian package g++-mingw-w64-x86-64)")
endif()
file(REMOVE_RECURSE ${BUILD_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BUILD_DIR} -G ${GENERATOR}
          -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
          -DNIVRA_CORE_ONLY=ON -DNIVRA_WERROR=ON -DNIVRA_BUILD_TESTS=OFF -DNIVRA_BUILD_BENCH=OFF
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the Windows build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the Windows build failed")
endif()
foreach(exe tools/nivra-card/nivra-card.exe tests/win/mf_check.exe)
  if(NOT EXISTS ${BUILD_DIR}/${exe})
    message(FATAL_ERROR "${exe} was not built")
  endif()
endforeach()

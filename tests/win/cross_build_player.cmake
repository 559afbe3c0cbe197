# Builds the whole Windows program with mingw-w64 against the Qt for Windows
# of the toolchain archive, in a fresh folder, warnings as errors; lays out
# the folder a Windows user gets (cmake --install) and packs it (cpack -G
# ZIP). Exits through SKIP_MESSAGE (the test's skip text) when the archive
# or the compiler is missing.
#   cmake -D SOURCE_DIR=... -D BUILD_DIR=... -D DEPLOY_DIR=... -D TOOLCHAIN_ARCHIVE=...
#         -D QT_ROOT=... -D GENERATOR=... -P cross_build_player.cmake
find_program(mingw_cxx x86_64-w64-mingw32-g++-posix)
if(NOT mingw_cxx OR NOT EXISTS ${TOOLCHAIN_ARCHIVE})
  message("SKIPPED: needs x86_64-w64-mingw32-g++-posix and ${TOOLCHAIN_ARCHIVE}")
  return()
endif()
if(NOT EXISTS ${QT_ROOT}/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake)
  file(REMOVE_RECURSE ${QT_ROOT})
  file(MAKE_DIRECTORY ${QT_ROOT})
  file(ARCHIVE_EXTRACT INPUT ${TOOLCHAIN_ARCHIVE} DESTINATION ${QT_ROOT})
endif()

file(REMOVE_RECURSE ${BUILD_DIR} ${DEPLOY_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BUILD_DIR} -G ${GENERATOR}
          -DCMAKE_TOOLCHAIN_FILE=${QT_ROOT}/qt6-mingw/lib/cmake/Qt6/qt.toolchain.cmake
          -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
          -DCMAKE_BUILD_TYPE=Release -DNIVRA_WERROR=ON -DNIVRA_BUILD_TESTS=OFF -DNIVRA_BUILD_BENCH=OFF
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the Windows program failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the Windows program failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${DEPLOY_DIR} --strip
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "laying out the Windows folder failed")
endif()
# What Windows loads before the program can say anything: checked here, so
# that a missing file is named rather than seen as a silent start failure.
foreach(file nivra-player.exe nivra-card.exe qt.conf Qt6Core.dll Qt6Quick.dll Qt6Multimedia.dll avcodec-59.dll
             avutil-57.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll plugins/platforms/qwindows.dll
             plugins/multimedia/windowsmediaplugin.dll plugins/imageformats/qsvg.dll
             qml/QtQuick/Controls/Fusion qml/QtQuick/Dialogs qml/QtMultimedia qml/QtQuick/Layouts)
  if(NOT EXISTS ${DEPLOY_DIR}/${file})
    message(FATAL_ERROR "the Windows folder lacks ${file}")
  endif()
endforeach()
execute_process(COMMAND cpack -G ZIP WORKING_DIRECTORY ${BUILD_DIR} OUTPUT_QUIET RESULT_VARIABLE rc)
file(GLOB zips ${BUILD_DIR}/nivra-player-*-windows-x64.zip)
if(NOT rc EQUAL 0 OR NOT zips)
  message(FATAL_ERROR "packing the Windows ZIP failed")
endif()
message("Windows folder: ${DEPLOY_DIR}; ZIP: ${zips}")

# What a Windows user gets, as windeployqt lays it out: `cmake --install` into
# a folder holds the programs, the Qt, FFmpeg and mingw-w64 runtime DLLs they
# load, the Qt plugins and QML modules the window needs, and a qt.conf that
# points Qt at them; fonts and translations are compiled into the program.
# `cpack -G ZIP` packs that folder. Included last, once every target exists.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(nivra_qt ${QT6_INSTALL_PREFIX})
set(nivra_mingw_dirs)
foreach(lib libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${lib} OUTPUT_VARIABLE found
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${found}" AND EXISTS "${found}")
    get_filename_component(dir "${found}" DIRECTORY)
    list(APPEND nivra_mingw_dirs ${dir})
  endif()
endforeach()
list(REMOVE_DUPLICATES nivra_mingw_dirs)
find_program(NIVRA_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)

file(WRITE ${CMAKE_BINARY_DIR}/deploy/qt.conf "[Paths]\nPrefix = .\nPlugins = plugins\nQmlImports = qml\n")
install(FILES ${CMAKE_BINARY_DIR}/deploy/qt.conf DESTINATION .)

# Plugins: the platform, the image formats (SVG logos, icons), the
# multimedia back end and the TLS back end of the update check.
foreach(plugin platforms/qwindows.dll imageformats/qsvg.dll imageformats/qico.dll imageformats/qjpeg.dll
               iconengines/qsvgicon.dll multimedia/windowsmediaplugin.dll tls/qschannelbackend.dll
               tls/qcertonlybackend.dll)
  get_filename_component(dir ${plugin} DIRECTORY)
  install(FILES ${nivra_qt}/plugins/${plugin} DESTINATION plugins/${dir})
endforeach()

# QML modules the window imports, and what Qt's own dialogs import.
install(DIRECTORY ${nivra_qt}/qml/QtQml ${nivra_qt}/qml/QtCore ${nivra_qt}/qml/QtMultimedia DESTINATION qml)
install(DIRECTORY ${nivra_qt}/qml/Qt/labs/folderlistmodel DESTINATION qml/Qt/labs)
install(DIRECTORY ${nivra_qt}/qml/QtQuick DESTINATION qml
  PATTERN "Particles" EXCLUDE
  PATTERN "VirtualKeyboard" EXCLUDE
  PATTERN "Controls/Imagine" EXCLUDE
  PATTERN "Controls/Material" EXCLUDE
  PATTERN "Controls/Universal" EXCLUDE
  PATTERN "*.qmltypes" EXCLUDE
  PATTERN "*.debug" EXCLUDE)

# Every DLL the programs and plugins load, found in Qt's and the compiler's
# folders and copied beside the programs; what is found in neither comes
# with Windows.
install(CODE "
  set(NIVRA_DEPLOY_ROOT \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(NIVRA_DEPLOY_DIRS \"${nivra_qt}/bin;${nivra_mingw_dirs}\")
  set(NIVRA_OBJDUMP \"${NIVRA_OBJDUMP}\")
  set(NIVRA_STRIP \"${CMAKE_STRIP}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/WindowsDeployDlls.cmake\")
")

set(CPACK_PACKAGE_NAME nivra-player)
set(CPACK_PACKAGE_VENDOR NIVRA)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

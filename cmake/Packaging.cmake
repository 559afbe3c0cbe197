# The Debian package: `cpack -G DEB` in the build folder writes
# nivra-player_<version>_amd64.deb with both programs, the desktop entry, the
# icon in the hicolor sizes, the AppStream metadata and the Debian files.
# Included last from the top-level CMakeLists.txt, once every target exists.
include(GNUInstallDirs)

# cpack installs what is built; it does not build the tests and benchmarks first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(NIVRA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(nivra_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/nivra-player)

install(FILES ${NIVRA_PACKAGING_DIR}/nivra-player.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${NIVRA_PACKAGING_DIR}/com.nivra.player.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/com.nivra.player.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/com.nivra.player.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/icons/nivra-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME nivra-player.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/icons/nivra-icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME nivra-player.svg)

# Debian wants the changelog and manual pages compressed at the highest
# level and without a time stamp, and the copyright file beside the changelog.
configure_file(${NIVRA_PACKAGING_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
find_program(NIVRA_GZIP gzip REQUIRED)
foreach(file changelog nivra-player.1 nivra-card.1)
  if(NOT file STREQUAL changelog)
    # The version comes from the project() call alone.
    configure_file(${NIVRA_PACKAGING_DIR}/${file}.in ${CMAKE_BINARY_DIR}/packaging/${file} @ONLY)
  endif()
  execute_process(COMMAND ${NIVRA_GZIP} -9nf ${file} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
endforeach()
# A package without a Debian revision is native: its changelog is changelog.gz.
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${nivra_doc_dir})
install(FILES ${CMAKE_BINARY_DIR}/packaging/nivra-player.1.gz ${CMAKE_BINARY_DIR}/packaging/nivra-card.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${NIVRA_PACKAGING_DIR}/copyright DESTINATION ${nivra_doc_dir})

set(CPACK_PACKAGE_NAME nivra-player)
set(CPACK_PACKAGE_VENDOR NIVRA)
set(CPACK_PACKAGE_CONTACT "NIVRA Player developers <packages@nivra.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player and exporter for a camera's SD card recordings")
# The summary is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "NIVRA Player shows the recordings that a camera writes to its SD card as a
month calendar, the day's events and a zoomable day timeline, plays them
with their sound and exports a time range to MOV or MP4 without
re-encoding. The card is only ever read.
.
nivra-card is the same card reader for the terminal, with batch export.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads at run time that dpkg-shlibdeps cannot see: the QML
# modules it imports and its fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qml6-module-qtqml, qml6-module-qtqml-models, qml6-module-qtqml-workerscript, \
qml6-module-qtquick, qml6-module-qtquick-controls, qml6-module-qtquick-templates, \
qml6-module-qtquick-layouts, qml6-module-qtquick-window, qml6-module-qtquick-dialogs, \
qml6-module-qtquick-shapes, qml6-module-qtmultimedia, qml6-module-qtcore, \
qml6-module-qt-labs-folderlistmodel, fonts-inter, fonts-noto-cjk")
# Files 0644 and folders 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_GENERATOR DEB)
include(CPack)

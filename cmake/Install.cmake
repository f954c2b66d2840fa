# Installing the game as a Linux desktop expects it: the program, a menu entry that opens saved
# games, the saved-game file type with its icon, the icon in the hicolor theme at every size the
# build draws, and the software-centre description. The help
# file is installed by help/CMakeLists.txt into share/tarnwell, where the program looks for it.
include(GNUInstallDirs)

set(TARNWELL_APP_ID org.tarnwell.tarnwell)

install(TARGETS tarnwell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${TARNWELL_APP_ID}.xml)

foreach(size 16 32 48 64 128 256)
  install(FILES ${TARNWELL_ART_DIR}/pictures/icon_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${TARNWELL_APP_ID}.png)
  # A saved game shows the game's own icon in the file manager.
  install(FILES ${TARNWELL_ART_DIR}/pictures/icon_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
          RENAME application-x-tarnwell-game.png)
endforeach()

# The menu entry, the description and the file type are checked with the desktop's own tools.
if(TARNWELL_BUILD_TESTS)
  add_test(NAME desktop_files
           COMMAND ${CMAKE_SOURCE_DIR}/tests/desktop/check-desktop-files.sh ${CMAKE_SOURCE_DIR}/resources)
endif()

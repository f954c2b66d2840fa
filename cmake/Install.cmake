# Installing the game as a Linux desktop expects it: the program, a menu entry, the icon in the
# hicolor theme at every size the build draws, and the software-centre description. The help
# file is installed by help/CMakeLists.txt into share/tarnwell, where the program looks for it.
include(GNUInstallDirs)

set(TARNWELL_APP_ID org.tarnwell.Tarnwell)

install(TARGETS tarnwell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 32 48 64 128 256)
  install(FILES ${TARNWELL_ART_DIR}/pictures/icon_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${TARNWELL_APP_ID}.png)
endforeach()

# The menu entry and the description are checked when the validators are at hand.
if(TARNWELL_BUILD_TESTS)
  find_program(TARNWELL_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(TARNWELL_DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry
             COMMAND ${TARNWELL_DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.desktop)
  endif()
  find_program(TARNWELL_APPSTREAMCLI appstreamcli)
  if(TARNWELL_APPSTREAMCLI)
    add_test(NAME appstream_metainfo
             COMMAND ${TARNWELL_APPSTREAMCLI} validate --no-net ${CMAKE_SOURCE_DIR}/resources/${TARNWELL_APP_ID}.metainfo.xml)
  endif()
endif()

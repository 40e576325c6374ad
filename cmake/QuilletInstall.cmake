# Installation layout, the Debian package and the helper programs of the tests.
#
# The program keeps skins/ and sys/ beside its executable, so an installation is one
# folder, <prefix>/lib/quillet, with <prefix>/bin/quillet linking to the executable.
# The program finds that folder through the link's target.

set(QUILLET_INSTALL_FOLDER lib/quillet)
set(QUILLET_APP_ID org.example.Quillet)
set(QUILLET_ICON_SIZES 16 32 48 64 72)

install(TARGETS quillet RUNTIME DESTINATION ${QUILLET_INSTALL_FOLDER})
# The browser panel looks for its web-engine module beside the executable.
if(TARGET quillet_webengine)
  install(TARGETS quillet_webengine LIBRARY DESTINATION ${QUILLET_INSTALL_FOLDER})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skins/ DESTINATION ${QUILLET_INSTALL_FOLDER}/skins)
install(FILES ${CMAKE_SOURCE_DIR}/sys/Untitled.htm ${CMAKE_SOURCE_DIR}/sys/Untitled.en.htm DESTINATION ${QUILLET_INSTALL_FOLDER}/sys)
# An installed sys/ carries no write bits, so even a program run as root keeps its
# settings in the user's folder instead of the package's files.
install(CODE "file(CHMOD \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUILLET_INSTALL_FOLDER}/sys\"
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)")
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(MAKE_DIRECTORY \"\${bin}\")
  message(STATUS \"Installing: \${bin}/quillet\")
  file(CREATE_LINK ../${QUILLET_INSTALL_FOLDER}/quillet \"\${bin}/quillet\" SYMBOLIC)
")

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${QUILLET_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${QUILLET_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size IN LISTS QUILLET_ICON_SIZES)
  install(FILES ${CMAKE_SOURCE_DIR}/ui/icons/quillet-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quillet.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/ui/icons/quillet.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/quillet)

# Debian keeps changelogs and manual pages compressed, without names or times inside.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
set(changelog ${CMAKE_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
execute_process(COMMAND gzip -9nc ${changelog} OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.gz
                COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION share/doc/quillet)
# The manual page and the completion are made by the build (quillet_docs).
install(FILES ${QUILLET_DOCS_DIR}/quillet.1.gz DESTINATION share/man/man1)
install(FILES ${QUILLET_DOCS_DIR}/quillet.bash DESTINATION share/bash-completion/completions RENAME quillet)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Pelorin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "button image maker")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillet paints a push button, a combo box and a check box with a chosen skin,\n\
photographs each of them in each of its states and saves the pictures as BMP,\n\
JPG, GIF or PNG files, for web pages and program interfaces.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillet maintainers <quillet@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts are looked up by name at run time, and the page engine renders in a helper
# process: no library link tells dpkg-shlibdeps of them. The web-engine module's own
# libraries are found by dpkg-shlibdeps, which reads every installed ELF file.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei, xfonts-wqy")
if(QUILLET_WEBENGINE)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6webenginecore6-bin")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# GPL-3.0-or-later; the licence text itself ships with every Debian system.
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/COPYING)
include(CPack)

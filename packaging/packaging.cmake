# What `cmake --install` puts on a system, and the Debian package CPack makes of it.
include(GNUInstallDirs)

# Qt's project set-up gives installed programs an $ORIGIN search path, meant for bundles
# that carry their own Qt. Installed on a system, zelm uses the system's Qt, and a search
# path beside the binary would only let stray libraries there stand in for it.
set_target_properties(zelm PROPERTIES INSTALL_RPATH "")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/zelm.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/zelm.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The licence where Debian keeps a package's: /usr/share/doc/zelm/copyright.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${size}x${size}/zelm.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelm)
set(CPACK_PACKAGE_VENDOR "Зельм")
set(CPACK_PACKAGE_CONTACT "Зельм maintainers <maintainers@zelm.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "расход воды в створе перехода после прорыва плотины")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Небольшой инженерный калькулятор: по объёму водохранилища, ширине плотины, глубине,\n"
    "притоку, расстоянию до перехода и двум коэффициентам вычисляет расход воды (м³/с),\n"
    "дошедший до створа перехода после прорыва плотины. Программа zelm-calc считает то же\n"
    "из командной строки и по таблицам (CSV), без графического окружения.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are the packages of the libraries zelm links (dpkg-shlibdeps); Debian's
# libqt6gui6 also carries the X11 platform plugin and the JPEG reader Qt loads at run time.
# The form's captions are measured for Liberation Sans: another face cuts their ends off
# ("k-0.75", "волны", ", м"), so the faces are required. Without the translations Qt's own
# buttons speak English: wanted, not required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

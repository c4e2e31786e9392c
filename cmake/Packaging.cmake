# Where an installed QuillmereASP puts its files, and the Debian package.
#   cmake --install build --prefix /usr/local
#   cd build && cpack -G DEB
include(GNUInstallDirs)

set(QASP_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quillmere-asp)
# The built-in skin is compiled in; the others go where the skin menu looks.
install(FILES ${QASP_SKIN_DIR}/quillmere-dusk.skin DESTINATION ${QASP_DATA_DIR}/skins)
# The help text, for a program started outside a project's folder, and the demo site.
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo/readme.txt DESTINATION ${QASP_DATA_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/demo/ DESTINATION ${QASP_DATA_DIR}/demo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillmere-asp.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/app/quillmere-asp-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quillmere-asp.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/src/app/quillmere-asp.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere-asp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QuillmereASP")
set(CPACK_PACKAGE_CONTACT "QuillmereASP developers <developers@quillmere-asp.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for classic ASP sites written in VBScript")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "editor for classic ASP sites written in VBScript\n"
    " QuillmereASP opens a site's root .asp page and shows its whole include tree\n"
    " split into documents and VBScript functions. Each piece is edited on its own,\n"
    " coloured, with completion of every name the project declares, and saved back\n"
    " as the same set of files or merged into one. Pages stay in GBK, byte for byte.")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillmere-asp.invalid/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries from the programs themselves; beside them the window
# system plug-ins of Qt and the Chinese font the interface is drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)

# Installation layout and the two Debian packages: "quillwright" (the editor, its data directory,
# desktop entry and icon) and "torvel-server" (the server and its systemd unit).
include(GNUInstallDirs)

set(QUILLWRIGHT_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/quillwright)

# The editor: the program finds its data in <prefix>/share/quillwright beside <prefix>/bin.
if(TARGET quillwright)
    install(TARGETS quillwright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT quillwright)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/template DESTINATION ${QUILLWRIGHT_DATA_DESTINATION}
        COMPONENT quillwright)
if(EXISTS ${PROJECT_SOURCE_DIR}/help)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/help DESTINATION ${QUILLWRIGHT_DATA_DESTINATION}
            COMPONENT quillwright)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillwright.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT quillwright)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillwright.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT quillwright)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillwright-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quillwright.png COMPONENT quillwright)
endforeach()

# The server, and its systemd unit with ExecStart pointing at the installed program. The unit is
# written at install time because CPack installs with its own prefix (/usr).
if(TARGET torvel-server)
    install(TARGETS torvel-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
endif()
install(CODE "
    file(READ \"${PROJECT_SOURCE_DIR}/packaging/torvel-server.service\" unit)
    string(REPLACE \"/usr/local/bin/torvel-server\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/torvel-server\" unit \"\${unit}\")
    set(unit_path \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/system/torvel-server.service\")
    message(STATUS \"Installing: \${unit_path}\")
    file(WRITE \"\${unit_path}\" \"\${unit}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${unit_path}\")
" COMPONENT server)

# The server's TeX installation comes from packaging/server-tex-packages, also read by install-deps.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/server-tex-packages tex_package_lines REGEX "^(depends|recommends) ")
set(server_tex_depends "")
set(server_tex_recommends "")
foreach(line IN LISTS tex_package_lines)
    string(REGEX MATCH "^([a-z]+) +([^ ]+)" matched "${line}")
    list(APPEND server_tex_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()
list(JOIN server_tex_depends ", " server_tex_depends)
list(JOIN server_tex_recommends ", " server_tex_recommends)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillwright)
set(CPACK_PACKAGE_VENDOR "Quillwright developers")
set(CPACK_PACKAGE_CONTACT "Quillwright developers <quillwright@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL quillwright server)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION tex)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_QUILLWRIGHT_PACKAGE_NAME quillwright)
set(CPACK_DEBIAN_QUILLWRIGHT_PACKAGE_SECTION editors)
# Qt loads its window-system plugins at run time, so the library scan cannot see them.
set(CPACK_DEBIAN_QUILLWRIGHT_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_QUILLWRIGHT_PACKAGE_SUGGESTS "torvel-server")
set(CPACK_COMPONENT_QUILLWRIGHT_DESCRIPTION
    "LaTeX and HTML source editor\n Edits LaTeX sources and HTML pages with syntax colouring and makes PostScript, PDF and\n HTML output of LaTeX documents on a torvel-server processing server.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME torvel-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "${server_tex_depends}")
set(CPACK_DEBIAN_SERVER_PACKAGE_RECOMMENDS "${server_tex_recommends}")
set(CPACK_COMPONENT_SERVER_DESCRIPTION
    "Quillwright processing server\n Runs LaTeX through latexmk, dvips, Ghostscript and latex2html in a bubblewrap sandbox for the\n Quillwright editor and its window-less mode.")

include(CPack)

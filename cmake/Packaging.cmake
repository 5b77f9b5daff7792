# Installation layout and the Debian package (cpack -G DEB).
#   bin/zra70-panel, bin/zra70-sim, bin/zra70ctl           (install() in app/, sim/, ctl/)
#   share/bash-completion/completions/zra70ctl            (ctl/)
#   share/applications/zra70-panel.desktop
#   share/icons/hicolor/<size>/apps/zra70-panel.png
#   share/doc/zra70-panel/{README.md, copyright, changelog.gz}
#   share/man/man{1,8}/<program>.{1,8}.gz                   (every page in packaging/man)
#   bin/zra70d                                             (daemon/)
#   /lib/systemd/system/zra70d@.service, lib/sysusers.d/zra70d.conf
#   share/doc/zra70-panel/examples/zra70d.conf
include(GNUInstallDirs)

set(ZRA70_PACKAGE_MAINTAINER
    "ZRA70 panel maintainers <maintainers@users.noreply.c-seed-3cd89f3a.example>"
    CACHE STRING "Maintainer named in the Debian package")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

install(FILES ${packaging}/zra70-panel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${packaging}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging}/copyright DESTINATION ${docdir})
install(FILES ${packaging}/examples/zra70d.conf DESTINATION ${docdir}/examples)

# zra70d's unit goes where Debian 12 keeps units; its user is made by systemd-sysusers.
install(FILES ${packaging}/systemd/zra70d@.service DESTINATION /lib/systemd/system)
install(FILES ${packaging}/systemd/zra70d.sysusers DESTINATION ${CMAKE_INSTALL_LIBDIR}/sysusers.d
    RENAME zra70d.conf)

# Debian wants the changelog compressed and without a timestamp in the gzip header (-n).
file(STRINGS ${packaging}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^${PROJECT_NAME} \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}")
endif()
set(changelog_gz ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${packaging}/changelog > ${changelog_gz}
    DEPENDS ${packaging}/changelog VERBATIM)
install(FILES ${changelog_gz} DESTINATION ${docdir})

file(GLOB manual_pages ${packaging}/man/*.[18])
set(manual_pages_gz)
foreach(page ${manual_pages})
    get_filename_component(name ${page} NAME)
    string(REGEX REPLACE ".*\\." "" section ${name})
    set(page_gz ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${page_gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
        COMMAND gzip -9nc ${page} > ${page_gz}
        DEPENDS ${page} VERBATIM)
    list(APPEND manual_pages_gz ${page_gz})
    install(FILES ${page_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(zra70_packaging_files ALL DEPENDS ${changelog_gz} ${manual_pages_gz})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZRA70_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for ZRA70 series data projectors")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop window with a button for each projector function, press-and-hold\n"
    "adjusters for volume, brightness, digital zoom and keystone, and a display\n"
    "of the serial traffic with the projector's status replies in plain English.\n"
    "The projector is connected to a serial port (RS-232C, 9600 or 19200 baud).\n"
    "Also contains zra70ctl, which sends the same commands by name from a script\n"
    "or a terminal and prints the decoded replies. zra70d is a service that owns\n"
    "the projector's line and serves it to PJLink controllers, MQTT (Home\n"
    "Assistant), the panel and scripts at once. zra70-sim is a projector\n"
    "simulator on a pseudo-terminal.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zra70-panel_1.40_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the libraries the binaries link (Qt 6 Widgets, Serial Port, ...,
# libmosquitto1 for zra70d's MQTT); the panel's fonts are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/systemd/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

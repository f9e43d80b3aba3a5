# Installing and the Debian package (./ztgl.sh package runs `cpack -G DEB`).
#
# The program folder is the folder of the program file: it holds kxconfig.ini, the manager's
# database, the template and csxx.dac. So the programs go into a folder of their own,
# ZTGL_INSTALL_FOLDER (/opt/ztgl), with links in /usr/bin; a program started through its link
# finds its folder where the link points. Everything else goes where Debian looks for it: the
# desktop entry and its icons, the AppStream metadata, the manual pages in English and Chinese,
# the bash completion of ztgl-admin, copyright and changelog. The package ships no data.
if(NOT UNIX OR APPLE)
    return()
endif()
include(GNUInstallDirs)

set(ZTGL_INSTALL_FOLDER "/opt/ztgl" CACHE PATH "Folder the programs are installed into: their program folder")
set(ZTGL_PACKAGE_MAINTAINER "ztgl developers <ztgl@zavrin.cn>" CACHE STRING "Maintainer of the Debian package")
set(ZTGL_APP_ID "cn.zavrin.ztgl")
set(ZTGL_RELEASE_DATE "2026-12-07")
set(ZTGL_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(ZTGL_PACKAGE_RELEASE 1)
set(ZTGL_PACKAGE_VERSION "${PROJECT_VERSION}-${ZTGL_PACKAGE_RELEASE}")

set(ZTGL_PACKAGING_SOURCE "${PROJECT_SOURCE_DIR}/packaging")
set(ZTGL_PACKAGING_BINARY "${PROJECT_BINARY_DIR}/packaging")

# The programs, and ztgl-server-sim where this tree builds it.
set(ZTGL_INSTALLED_PROGRAMS ztgl ztgl-admin)
if(TARGET ztgl-server-sim)
    list(APPEND ZTGL_INSTALLED_PROGRAMS ztgl-server-sim)
endif()
install(TARGETS ${ZTGL_INSTALLED_PROGRAMS} RUNTIME DESTINATION "${ZTGL_INSTALL_FOLDER}")
# The reader of Jet files runs beside the programs, as their child only: no link, no manual page.
install(TARGETS ztgl-jetread RUNTIME DESTINATION "${ZTGL_INSTALL_FOLDER}")
file(MAKE_DIRECTORY "${ZTGL_PACKAGING_BINARY}/bin")
foreach(program IN LISTS ZTGL_INSTALLED_PROGRAMS)
    file(CREATE_LINK "${ZTGL_INSTALL_FOLDER}/${program}" "${ZTGL_PACKAGING_BINARY}/bin/${program}" SYMBOLIC)
    install(FILES "${ZTGL_PACKAGING_BINARY}/bin/${program}" DESTINATION "${CMAKE_INSTALL_BINDIR}")
endforeach()

# Desktop entry, icons, AppStream metadata.
install(FILES "${ZTGL_PACKAGING_SOURCE}/${ZTGL_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${ZTGL_PACKAGING_SOURCE}/icons/ztgl.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" RENAME "${ZTGL_APP_ID}.svg")
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES "${ZTGL_PACKAGING_SOURCE}/icons/ztgl-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" RENAME "${ZTGL_APP_ID}.png")
endforeach()
configure_file("${ZTGL_PACKAGING_SOURCE}/${ZTGL_APP_ID}.metainfo.xml.in"
               "${ZTGL_PACKAGING_BINARY}/${ZTGL_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${ZTGL_PACKAGING_BINARY}/${ZTGL_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

install(FILES "${ZTGL_PACKAGING_SOURCE}/completion/ztgl-admin"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")
install(FILES "${ZTGL_PACKAGING_SOURCE}/debian/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME ztgl)

# Manual pages, English (man1) and Chinese (zh_CN/man1), made from one source per program at
# build time, compressed as Debian keeps them.
find_package(Perl)
find_program(ZTGL_GZIP gzip)
if(PERL_FOUND AND ZTGL_GZIP)
    set(pages)
    foreach(program IN LISTS ZTGL_INSTALLED_PROGRAMS)
        foreach(lang en zh_CN)
            set(source "${ZTGL_PACKAGING_SOURCE}/man/${program}.md")
            set(folder "${ZTGL_PACKAGING_BINARY}/man/${lang}")
            set(page "${folder}/${program}.1")
            add_custom_command(
                OUTPUT "${page}.gz"
                COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
                COMMAND "${PERL_EXECUTABLE}" "${ZTGL_PACKAGING_SOURCE}/man/md2man.pl" "${source}" ${lang}
                        ${PROJECT_VERSION} "${page}"
                COMMAND "${ZTGL_GZIP}" -9nf "${page}"
                DEPENDS "${source}" "${ZTGL_PACKAGING_SOURCE}/man/md2man.pl"
                COMMENT "Manual page ${program}(1), ${lang}"
                VERBATIM)
            list(APPEND pages "${page}.gz")
            if(lang STREQUAL "en")
                install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
            else()
                install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/${lang}/man1")
            endif()
        endforeach()
    endforeach()

    configure_file("${ZTGL_PACKAGING_SOURCE}/debian/changelog.Debian.in" "${ZTGL_PACKAGING_BINARY}/changelog.Debian" @ONLY)
    add_custom_command(
        OUTPUT "${ZTGL_PACKAGING_BINARY}/changelog.Debian.gz"
        COMMAND "${ZTGL_GZIP}" -9nkf "${ZTGL_PACKAGING_BINARY}/changelog.Debian"
        DEPENDS "${ZTGL_PACKAGING_BINARY}/changelog.Debian"
        VERBATIM)
    add_custom_target(ztgl_packaging_files ALL DEPENDS ${pages} "${ZTGL_PACKAGING_BINARY}/changelog.Debian.gz")
    install(FILES "${ZTGL_PACKAGING_BINARY}/changelog.Debian.gz" "${ZTGL_PACKAGING_SOURCE}/debian/copyright"
            DESTINATION "${CMAKE_INSTALL_DOCDIR}")
else()
    message(STATUS "Perl or gzip missing: no manual pages")
endif()

# The Debian package. Its dependencies come from what the programs link (dpkg-shlibdeps), plus
# what they load or use at run time without linking it: Qt's SQLite and ODBC drivers, FreeTDS,
# mdbtools' library for Jet files, the Chinese font and Qt's Chinese texts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ztgl)
set(CPACK_PACKAGE_VENDOR Zavrin)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${ZTGL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/PackageStrip.cmake")
set(CPACK_ZTGL_STRIP "${CMAKE_STRIP}")
set(CPACK_ZTGL_INSTALL_FOLDER "${ZTGL_INSTALL_FOLDER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZTGL_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZTGL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-odbc, tdsodbc, libmdb3, fonts-noto-cjk, fonts-wqy-zenhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "account-set manager of a Chinese trade and inventory suite")
# CPack puts the summary before it as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "An account set (帐套) is one company's complete books, held in a database
of its own. ztgl keeps the catalogue of a suite's account sets: operators
log in, create sets from the template (Microsoft Access files on the
program's embedded engine, or databases on Microsoft SQL Server), rename,
disable and enable them, upgrade their permission rows and change their
passwords. ztgl-admin does the same from the command line.

The windows and messages are in Simplified Chinese. The programs live in
/opt/ztgl, their program folder. The package ships no data: the suite,
or ztgl-admin init-demo, lays the configuration and the databases.")
include(CPack)

# What the program installs, and the Debian package made of it with CPack
# (scripts/package). The version comes from project() alone; the release
# date and the maintainer are set here.
set(TAVELIN_RELEASE_DATE 2026-12-07)
set(TAVELIN_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(TAVELIN_MAINTAINER "Tavelin developers <tavelin@example.org>")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
configure_file(${packaging}/tavelin.metainfo.xml.in ${generated}/org.tavelin.Tavelin.metainfo.xml @ONLY)
configure_file(${packaging}/Tavelin.1.in ${generated}/Tavelin.1 @ONLY)
# A native package's changelog is changelog.gz.
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)

# Compressed as Debian wants them: best compression, no name or time inside.
foreach(file Tavelin.1 changelog)
    add_custom_command(OUTPUT ${generated}/${file}.gz
        COMMAND gzip -9nc ${generated}/${file} > ${generated}/${file}.gz
        DEPENDS ${generated}/${file} VERBATIM)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${generated}/Tavelin.1.gz ${generated}/changelog.gz)

install(FILES ${PROJECT_SOURCE_DIR}/app/tavelin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/app/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${generated}/org.tavelin.Tavelin.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/Tavelin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavelin)
# The browser edition's folder (scripts/build-web), for a teacher to copy to
# a USB stick or a school's web server.
set(TAVELIN_WEB_DIR "" CACHE PATH "The browser edition's folder to install (made by scripts/build-web)")
if(TAVELIN_WEB_DIR)
    install(DIRECTORY ${TAVELIN_WEB_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tavelin/web)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavelin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "printed drill sheets of column arithmetic")
set(CPACK_PACKAGE_DESCRIPTION "Tavelin makes drill sheets of written column calculation for
primary-school pupils: multiplication with its partial products, addition,
subtraction and long division. The teacher sets the range of every digit of
both numbers, the answer range, a carrying or borrowing pattern, 12 or 16
problems and a dotted digit grid; the program draws different problems that
meet every condition, previews the sheet with its worked answers and prints
the problem and answer sheets on a CUPS printer. Sheets can be saved as PDF,
made as class sets with a different sheet for every pupil, and found again in
a history of every sheet. The interface is Japanese; a command line writes
sheets as PDF without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVELIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links are found by dpkg-shlibdeps; libcups is
# opened at the first print, and the fonts and Qt's Japanese texts are data.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcups2, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-morisawa-bizud-gothic, fonts-klee")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups")
include(CPack)

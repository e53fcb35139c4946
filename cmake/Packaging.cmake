# The Debian package: `cpack -G DEB` in the build folder makes pelmora_<version>_<arch>.deb,
# which `apt install ./pelmora_*.deb` installs with what it needs on a fresh machine: the
# libraries the program links (found by dpkg-shlibdeps), LibreOffice Writer, the sandbox
# and Qt's platform plugins, which no library link names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvel <support@quorvel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Convert Word documents into HTML pages in batches")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel (the window) and pelmora (the command line) turn Word documents (.doc, .rtf,\n"
    "Word 2003 .xml) into HTML pages in batches, driving private headless LibreOffice\n"
    "processes, each in a bubblewrap sandbox.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvel.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The office's own libraries live in its program folder, which dpkg-shlibdeps is told.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS /usr/lib/libreoffice/program)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libreoffice-writer-nogui | libreoffice-writer, bubblewrap, qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)

# The Debian package (scripts/package.sh): vantrel_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <vantrel@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "blackjack strategy trainer
Vantrel is a blackjack trainer for the desktop. You play against the dealer
at a card table, every round dealt from a fresh 52-card deck, while a tutor
looks every hand up in a strategy chart worked out exactly for the rules of
this table. It either shows the best play in advance, with the expected
result of each action, or stops a wrong choice once with advice.

The bank holds play chips only; no real money is involved.")
# The libraries come from dpkg-shlibdeps. Qt loads some plugins at run time
# that no library links to: those packages are named here. The JPEG and GIF
# readers and the X11 and offscreen platforms ship in libqt6gui6, and sound
# plays through libqt6multimedia6's own PulseAudio output; shlibdeps finds
# both. The SQLite driver serves the hand history.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
include(CPack)

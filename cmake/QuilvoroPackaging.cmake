# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# `make package`: a Debian package of what `cmake --install` puts in place, installed under /usr.
# Library dependencies are computed from the program; the rest are what it reads at run time.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quilvoro)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quilvoro maintainers <maintainers@quilvoro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text logo maker with 3-D shadows, outlines and textures")
set(CPACK_PACKAGE_DESCRIPTION
    "Quilvoro makes a logo from one line of text: face, size, rotation, label style, a 3-D\n\
shadow, colours, a background picture and a texture inside the letters. The region under\n\
the dotted frame is saved as a BMP picture; settings are kept in .qvd files, which the\n\
desktop shows with a thumbnail of their logo.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quilvoro.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The interface face, the default event sounds, and Qt's own dialogs in Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, sound-theme-freedesktop, qt6-translations-l10n")
# WebP and other picture formats, native Wayland, a desktop opener for help and the web page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, qt6-wayland, xdg-utils")
include(CPack)

# The Debian package, built from the build tree with `cpack -G DEB` (run in the build folder):
# quorvela-viewer_<version>_<arch>.deb holds what `cmake --install` installs, under /usr, its
# run-time libraries declared as dependencies (found by dpkg-shlibdeps from dpkg-dev), and the
# maintainer scripts that refresh the MIME, desktop and icon caches after install and removal.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvela-viewer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TAVO")
set(CPACK_PACKAGE_CONTACT "Quorvela 3D Viewer support <support@quorvela.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Isometric 3D viewer for hydraulic manifold documents")
set(CPACK_PACKAGE_DESCRIPTION "Opens manifold documents (*.mnf, *.mvf) and shows the block, its \
cavities and ports in an isometric view that can be turned, moved and zoomed; saves the view as a \
picture, and gives the file manager thumbnails of the documents.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# CPack stages the files with its folder as DESTDIR, so the cache refresh of the install rules
# leaves them alone; the maintainer scripts refresh the caches of the system instead.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/resources/debian/postinst ${PROJECT_SOURCE_DIR}/resources/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)

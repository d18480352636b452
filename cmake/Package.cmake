# The Debian package (scripts/package): the installed tree under /usr, its
# dependencies computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Brix developers <brix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulated phone for the Brix notification banners")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "simulated phone for the Brix notification banners
 The brix command-line tool runs Brix, a notification-banner plug-in with its
 settings bundle, on a simulated phone: it plays scenarios and the built-in
 tour, draws banners, lists the plug-in's hooks and works its settings pages.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform library is private to the package; the plug-ins find it loaded.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_PREFIX}/lib/brix)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

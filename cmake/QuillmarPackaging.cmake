# The Debian package, made with cpack from a build configured with -DQUILLMAR_TESTS=OFF and
# CMAKE_INSTALL_PREFIX=/usr (scripts/make-package does both).
set(CPACK_PACKAGE_NAME "quillmar")
set(CPACK_PACKAGE_VENDOR "Corvander")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop expense program with a HotSync conduit")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmar keeps expenses in one database file and shows them grouped by tax year, expense
type or project, with totals and reimbursement sums. It previews and prints reports, exports
to CSV and makes dated backups. Its conduit imports the expenses entered on a Palm OS handheld
during a HotSync. The package holds the desktop program, the command-line tools quillmar-db,
quillmar-report, handheld and hotsync, the conduit library and the user guide.")
set(CPACK_PACKAGE_CONTACT "Corvander <packages@corvander.example>")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The private libraries are found through the programs' run path; tell dpkg-shlibdeps where.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/platform/palm")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, shared-mime-info")

include(CPack)

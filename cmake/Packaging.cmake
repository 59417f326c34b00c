# The Debian package: `cpack -G DEB` in the build folder makes uego4100_<version>_amd64.deb
# from the install rules (app/CMakeLists.txt), the licence added here. Library dependencies
# are found by dpkg-shlibdeps; the platform plugins Qt loads at run time are named by hand.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/doc/uego4100 RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME uego4100)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "UEGO 4100 Interface developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "monitor, log and set up the WBX4100 wideband lambda controller")
set(CPACK_PACKAGE_DESCRIPTION
  "A desktop utility for the WBX4100 wideband exhaust-oxygen (UEGO) sensor controller on a
serial port. It shows lambda on a dial and as a number, the supply voltage and the link
state, logs readings to a text file, reads and writes the sensor calibration and the CAN
settings. It also logs without a window (uego4100 --headless). The package includes
wbx4100-sim, a simulated controller on a pseudo-terminal for trying the program without one.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "UEGO 4100 Interface developers <maintainers@uego4100.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-urw-base35")
include(CPack)

# Windows packages: cpack -G NSIS (a 64-bit installer with a Start-menu shortcut and an uninstaller) and
# cpack -G ZIP (the portable folder: tessarin.exe with Bilder\ beside it).
set(CPACK_PACKAGE_NAME Tessarin)
set(CPACK_PACKAGE_VENDOR "The Tessarin developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Board game: be the first to own a whole line of a 3 x 3 board")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/tessarin/tessarin)
set(CPACK_PACKAGE_FILE_NAME tessarin-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tessarin)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR NSIS ZIP)

# CPack's NSIS script is 32-bit, and a 32-bit installer does nothing where Windows runs 64-bit programs only: the
# wrapper builds it as a 64-bit Unicode installer, which installs under the 64-bit Program Files.
set(CPACK_NSIS_EXECUTABLE ${CMAKE_CURRENT_LIST_DIR}/makensis-amd64)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Tessarin)
set(CPACK_NSIS_DISPLAY_NAME Tessarin)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/program/tessarin.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/program/tessarin.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME tessarin.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_PACKAGE_EXECUTABLES tessarin Tessarin)
set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
include(CPack)

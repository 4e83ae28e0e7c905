# The Windows download: a zip holding nestiq.exe and a short French read-me
# (cpack -G ZIP, or cpack --preset windows, in the Windows build tree).
# Only the program's component goes in, whatever else the build installs.
install(TARGETS nestiq RUNTIME DESTINATION . COMPONENT nestiq)
# Notepad of any age reads it: CR LF line ends and a UTF-8 byte order mark.
configure_file(${PROJECT_SOURCE_DIR}/res/windows/LISEZMOI.txt ${CMAKE_BINARY_DIR}/LISEZMOI.txt
               @ONLY NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_BINARY_DIR}/LISEZMOI.txt DESTINATION . COMPONENT nestiq)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME nestiq)
set(CPACK_PACKAGE_VENDOR "Nestiq")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hands a network box its licence and IP settings")
set(CPACK_PACKAGE_FILE_NAME nestiq-${PROJECT_VERSION}-win64)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL nestiq)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# Unpacked, it is one folder, nestiq-<version>-win64.
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

# Debian packages: nestiq (the program, its desktop entry and icon) and
# nestiq-box (the simulator, for firmware developers and demos).
include(GNUInstallDirs)
install(TARGETS nestiq RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT nestiq)
install(FILES ${PROJECT_SOURCE_DIR}/res/linux/nestiq.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT nestiq)
install(FILES ${PROJECT_SOURCE_DIR}/res/art/nestiq.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps COMPONENT nestiq)
install(TARGETS nestiq-box RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT box)
install(FILES ${PROJECT_SOURCE_DIR}/tools/box/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR}-box COMPONENT box)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nestiq)
set(CPACK_PACKAGE_VENDOR "Nestiq")
set(CPACK_PACKAGE_CONTACT "Nestiq developers <dev@nestiq.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hands a network box its licence and IP settings")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL nestiq box)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_NESTIQ_PACKAGE_NAME nestiq)
set(CPACK_DEBIAN_NESTIQ_PACKAGE_RECOMMENDS "fonts-wine, xdg-utils")
set(CPACK_DEBIAN_NESTIQ_DESCRIPTION "Hands a network box its licence and IP settings
 Nestiq gives a box on the local network its licence number, IP address,
 mask, gateway and DNS server, and reports the box's verdict. French user
 interface.")
set(CPACK_DEBIAN_BOX_PACKAGE_NAME nestiq-box)
set(CPACK_DEBIAN_BOX_DESCRIPTION "Box simulator for Nestiq
 nestiq-box answers Nestiq's configuration broadcast as a box would, with
 any reply, delay or failure, and shows the exact request it received.")
set(CPACK_PACKAGE_FILE_NAME nestiq)
include(CPack)

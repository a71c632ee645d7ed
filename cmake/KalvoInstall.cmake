# Installing the programs as a desktop program (cmake --install build --prefix P) and packing
# them as a Debian package (scripts/package.sh runs cpack -G DEB).
set(KALVO_APP_ID org.kalvo3d.Kalvo3D)
set(kalvo_share ${CMAKE_INSTALL_DATADIR}/kalvo3d)
set(kalvo_desktop ${PROJECT_SOURCE_DIR}/data/desktop)

if(TARGET kalvo3d)
    install(TARGETS kalvo3d RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS kalvo3d-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# What the program reads at run time: cursors, read-me, sample models.
file(GLOB kalvo_cursors ${PROJECT_SOURCE_DIR}/data/*.cur)
install(FILES ${kalvo_cursors} ${PROJECT_SOURCE_DIR}/data/Kalvo3D.txt DESTINATION ${kalvo_share})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/samples DESTINATION ${kalvo_share})
if(KALVO_QM_FILES)
    install(FILES ${KALVO_QM_FILES} DESTINATION ${kalvo_share}/translations)
endif()

# Desktop integration: the menu entry, the file types it opens, its icon and its catalogue entry.
install(FILES ${kalvo_desktop}/${KALVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kalvo_desktop}/${KALVO_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${KALVO_APP_ID}.xml)
install(FILES ${kalvo_desktop}/${KALVO_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${kalvo_desktop}/${KALVO_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/generated/${KALVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/${KALVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, compressed as Debian wants them.
find_program(KALVO_GZIP gzip)
foreach(page kalvo3d kalvo3d-cli)
    configure_file(${PROJECT_SOURCE_DIR}/data/man/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1
                   @ONLY)
    if(KALVO_GZIP)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
                           COMMAND ${KALVO_GZIP} -9nc ${page}.1 > ${page}.1.gz
                           DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1
                           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man VERBATIM)
        list(APPEND kalvo_man_pages ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    else()
        list(APPEND kalvo_man_pages ${CMAKE_BINARY_DIR}/man/${page}.1)
    endif()
endforeach()
add_custom_target(kalvo_man_pages ALL DEPENDS ${kalvo_man_pages})
install(FILES ${kalvo_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Its dependencies come from the shared libraries the programs link
# (dpkg-shlibdeps); the recommendations are what the program uses without linking it.
set(CPACK_PACKAGE_NAME kalvo3d)
set(CPACK_PACKAGE_VENDOR "Kalvo/3D")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "preview polygon models and prepare their texture mapping for Ray Dream Studio 5")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalvo/3D reads polygon models (DXF 3DFACE, ROK, Ray Dream Studio 5 ASCII, and through
Assimp OBJ, STL, PLY, glTF, 3DS, LWO, COLLADA and FBX), shows them in
four views and four display modes, builds map templates to paint textures on, lets the
texture coordinates be dragged, previews the texture on the model and writes the objects
with their texture coordinates as Ray Dream Studio 5 ASCII files. kalvo3d-cli does the
same reading, writing, rendering and template making for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kalvo/3D maintainers <maintainers@kalvo3d.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-ipafont-gothic | fonts-japanese-gothic, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# Desktop integration and the Debian package. Included at the end of the top-level CMakeLists.txt, after every
# target's own install rule (the program's in ui/, the command-line calculator's in cli/).
#
# `cmake --install` puts the desktop entry, the AppStream metadata and the icons beside the binaries, and
# `cpack -G DEB` packs exactly what `cmake --install` installs: the install rules are the one list of what the
# package holds. scripts/package-checks.sh checks the result.

if(NOT TARGET corvalen)
    message(STATUS "No package: the program is not built (CORVALEN_BUILD_UI is OFF)")
    return()
endif()

include(GNUInstallDirs)

set(corvalen_packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
# The AppStream id is the name of the metadata file; software centres match it to corvalen.desktop through
# the file's <launchable>.
set(corvalen_appstream_id example.corvalen.corvalen)
set(corvalen_metainfo "${corvalen_packaging_dir}/${corvalen_appstream_id}.metainfo.xml")

# The newest release comes first in <releases>; it must be the version that is being packed.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${corvalen_metainfo}")
file(READ "${corvalen_metainfo}" corvalen_metainfo_text)
if(NOT corvalen_metainfo_text MATCHES "<release version=\"([^\"]+)\"")
    message(FATAL_ERROR "${corvalen_metainfo} lists no release")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The newest release in ${corvalen_metainfo} is ${CMAKE_MATCH_1}, the project "
                        "is ${PROJECT_VERSION}: add a <release> for ${PROJECT_VERSION} at the top of "
                        "<releases>.")
endif()

install(FILES "${corvalen_packaging_dir}/corvalen.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${corvalen_metainfo}" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The same PNGs that are compiled into the program as its window icon.
set(corvalen_icon_dir "${CORVALEN_RESOURCE_DIR}/icons")
foreach(size IN ITEMS 16 32 48 64 128 256)
    install(FILES "${corvalen_icon_dir}/${size}/corvalen.png"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The Debian package. dpkg-shlibdeps computes the libraries' packages from the binaries; fonts-noto-cjk is
# named here because the window's Chinese texts need a font with CJK glyphs, which fontconfig finds at run
# time and which no binary links to.
set(CORVALEN_PACKAGE_MAINTAINER "The Corvalen maintainers <maintainers@users.noreply.c-seed-9b1dd3f0.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvalen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${CORVALEN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "volume calculator for horizontal vessels with elliptical heads")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME corvalen)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CORVALEN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-noto-cjk)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Corvalen is a small desktop calculator for process engineers. For a horizontal
cylindrical storage vessel closed by two elliptical heads it takes the inner
radius, the length of the cylindrical part, the liquid level and the inner
depth of one head, in metres, and shows the total volume of the vessel and the
volume of the liquid at that level, in cubic metres.

The window's texts are in Chinese (Simplified).")

include(CPack)

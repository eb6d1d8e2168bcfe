# What `cmake --install build --prefix P` (and `make install PREFIX=P`) puts under P: the
# two programs, the help collection, the desktop entry with its icons and MIME type, the
# manual pages and the bash completion. The editor looks for its help collection in
# ../share/tessra from the folder it runs in, so bin and share are fixed names here.
set(TESSRA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS tessra tessra-cli RUNTIME DESTINATION bin)

# The help collection, compiled by src/help beside the editor in the build folder.
install(FILES ${CMAKE_BINARY_DIR}/src/app/tessra.qhc ${CMAKE_BINARY_DIR}/src/app/tessra.qch
        DESTINATION share/tessra)

install(FILES ${TESSRA_PACKAGING_DIR}/tessra.desktop DESTINATION share/applications)
install(FILES ${TESSRA_PACKAGING_DIR}/tessra.xml DESTINATION share/mime/packages)
install(FILES ${TESSRA_PACKAGING_DIR}/tessra-cli.bash DESTINATION share/bash-completion/completions
        RENAME tessra-cli)

# The icon is drawn once, as SVG; the fixed sizes are rendered from it at build time, so
# they can never fall out of step with it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED) # Debian: librsvg2-bin
set(TESSRA_ICON ${TESSRA_PACKAGING_DIR}/tessra.svg)
install(FILES ${TESSRA_ICON} DESTINATION share/icons/hicolor/scalable/apps)
set(TESSRA_ICON_PNGS)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/tessra.png)
    add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${TESSRA_ICON}
        DEPENDS ${TESSRA_ICON}
        VERBATIM)
    list(APPEND TESSRA_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages, with the version filled in, compressed as Debian keeps them (gzip -n:
# the same bytes at every build).
set(TESSRA_MAN_PAGES)
foreach(page tessra.1 tessra-cli.1)
    configure_file(${TESSRA_PACKAGING_DIR}/${page} ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
        COMMAND gzip -9 -n -f -k ${page}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man
        DEPENDS ${CMAKE_BINARY_DIR}/man/${page}
        VERBATIM)
    list(APPEND TESSRA_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
install(FILES ${TESSRA_MAN_PAGES} DESTINATION share/man/man1)

add_custom_target(tessra_install_files ALL DEPENDS ${TESSRA_ICON_PNGS} ${TESSRA_MAN_PAGES})

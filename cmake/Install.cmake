# The installed layout. The programs look for their templates beside their own
# executable, so the executables and both templates share the program folder
# lib/kelvane; bin only holds links into it. Both programs resolve the link to
# their real place before they look for the templates.
# Windows has no such links; there the program folder is bin itself.
if(WIN32)
    set(KELVANE_INSTALL_PROGRAM_DIR bin)
else()
    set(KELVANE_INSTALL_PROGRAM_DIR lib/kelvane)
endif()
set(KELVANE_APP_ID example.kelvane.Kelvane)

set(kelvane_installed_programs kelvane-cli)
if(KELVANE_BUILD_GUI)
    list(APPEND kelvane_installed_programs kelvane)
endif()

install(TARGETS ${kelvane_installed_programs} RUNTIME DESTINATION ${KELVANE_INSTALL_PROGRAM_DIR})
install(FILES templates/default.htm templates/benutzer.htm
        DESTINATION ${KELVANE_INSTALL_PROGRAM_DIR})

# Relative links, made once in the build tree; install() copies a link as a
# link, so they stay valid under any prefix and inside the package.
if(NOT WIN32)
    set(kelvane_launcher_dir ${CMAKE_BINARY_DIR}/launchers)
    file(MAKE_DIRECTORY ${kelvane_launcher_dir})
    foreach(program IN LISTS kelvane_installed_programs)
        file(CREATE_LINK ../${KELVANE_INSTALL_PROGRAM_DIR}/${program}
             ${kelvane_launcher_dir}/${program} SYMBOLIC)
        install(FILES ${kelvane_launcher_dir}/${program} DESTINATION bin)
    endforeach()
endif()

if(KELVANE_BUILD_GUI)
    install(FILES resources/${KELVANE_APP_ID}.desktop DESTINATION share/applications)
    install(FILES resources/${KELVANE_APP_ID}.metainfo.xml DESTINATION share/metainfo)

    # The desktop icons are made from the same drawings as the window icon.
    add_executable(kelvane_desktop_icon tools/DesktopIcon.cpp)
    target_include_directories(kelvane_desktop_icon PRIVATE shell)
    target_link_libraries(kelvane_desktop_icon PRIVATE Qt6::Gui kelvane_qt_options)
    set_target_properties(kelvane_desktop_icon PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
    set(kelvane_icons)
    foreach(size 16 32)
        set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/kelvane.png)
        add_custom_command(OUTPUT ${icon}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
            COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                $<TARGET_FILE:kelvane_desktop_icon>
                ${PROJECT_SOURCE_DIR}/resources/kelvane-${size}.xpm ${icon}
            DEPENDS kelvane_desktop_icon ${PROJECT_SOURCE_DIR}/resources/kelvane-${size}.xpm
            COMMENT "Drawing the ${size} x ${size} desktop icon"
            VERBATIM)
        install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
        list(APPEND kelvane_icons ${icon})
    endforeach()
    add_custom_target(kelvane_desktop_icons ALL DEPENDS ${kelvane_icons})
endif()

# cpack -G DEB
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR Kelvane)
set(CPACK_PACKAGE_CONTACT "Kelvane <kelvane@kelvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "redirect pages for a homepage that has moved")
set(CPACK_PACKAGE_DESCRIPTION "Kelvane writes a replacement page for every page of a homepage that has
moved. Uploaded to the old address, the pages send visitors and search
engines on to the new one. The user interface is in German; kelvane-cli
does the same from the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.kelvane.example/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# dpkg-shlibdeps reads the libraries the programs really link; without it the
# Qt libraries are named by hand.
# The windows need what no library link shows: their design font and Qt's
# German texts; CPack adds these to what dpkg-shlibdeps finds.
find_program(KELVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
set(kelvane_gui_data_depends "fonts-liberation, qt6-translations-l10n")
if(KELVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    if(KELVANE_BUILD_GUI)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "${kelvane_gui_data_depends}")
    endif()
elseif(KELVANE_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libqt6keychain1, libcurl4, libgumbo1, zlib1g, libssl3, libstdc++6, libc6, ${kelvane_gui_data_depends}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4, libgumbo1, zlib1g, libssl3, libstdc++6, libc6")
endif()
include(CPack)

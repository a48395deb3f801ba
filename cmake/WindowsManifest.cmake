# kelvane_windows_manifest(<target>): embeds the application manifest, which
# declares the program long-path aware, in a Windows program. MSVC's linker
# merges a .manifest source; mingw embeds it with its resource compiler.
function(kelvane_windows_manifest target)
    if(NOT WIN32)
        return()
    endif()
    set(KELVANE_MANIFEST ${PROJECT_SOURCE_DIR}/resources/windows/kelvane.manifest)
    if(MSVC)
        target_sources(${target} PRIVATE ${KELVANE_MANIFEST})
        return()
    endif()
    enable_language(RC)
    set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}-manifest.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/manifest.rc.in ${resource} @ONLY)
    target_sources(${target} PRIVATE ${resource})
    set_source_files_properties(${resource} PROPERTIES OBJECT_DEPENDS ${KELVANE_MANIFEST})
endfunction()

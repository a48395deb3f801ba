# One interface target carries the language level, warnings and sanitizer
# flags, so every target in the tree is built the same way.
add_library(kelvane_options INTERFACE)
target_compile_features(kelvane_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(kelvane_options INTERFACE -Wall -Wextra -Wpedantic)
    if(KELVANE_WERROR)
        target_compile_options(kelvane_options INTERFACE -Werror)
    endif()
    # GCC 12 at -O2 (Debian's and mingw's) takes "text" + std::string for an
    # overlapping copy (GCC bug 105329), which would fail the -Werror build of
    # sound code and litters the optimised builds with false warnings.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
       AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(kelvane_options INTERFACE -Wno-restrict)
    endif()
elseif(MSVC)
    # The sources and their German texts are UTF-8.
    target_compile_options(kelvane_options INTERFACE /utf-8 /W4 /permissive-)
    if(KELVANE_WERROR)
        target_compile_options(kelvane_options INTERFACE /WX)
    endif()
endif()

if(KELVANE_SANITIZE)
    target_compile_options(kelvane_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(kelvane_options INTERFACE -fsanitize=address,undefined)
endif()

target_compile_definitions(kelvane_options INTERFACE
    KELVANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    KELVANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    KELVANE_VERSION_PATCH=${PROJECT_VERSION_PATCH}
    KELVANE_VERSION="${PROJECT_VERSION}")

# Qt targets additionally get the strict string conversions.
add_library(kelvane_qt_options INTERFACE)
target_link_libraries(kelvane_qt_options INTERFACE kelvane_options)
target_compile_definitions(kelvane_qt_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

# The program looks for its templates in its own folder. The standard template
# is ours and always refreshed; the user template is copied only when missing,
# so that a rebuild never overwrites what the user saved beside the program.
add_custom_target(kelvane_templates
    COMMAND ${CMAKE_COMMAND}
        -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/templates
        -DTARGET_DIR=${KELVANE_PROGRAM_DIR}
        -P ${PROJECT_SOURCE_DIR}/cmake/CopyTemplates.cmake
    COMMENT "Copying the templates beside the programs"
    VERBATIM)

# How the plug-in module differs between the platforms: which symbols it exports (only
# VSTPluginMain) and, on Windows, the static libraries and run-time that leave it depending on
# nothing but Windows' own DLLs.

function(kolvrane_link_statically target)
    if(WIN32)
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
endfunction()

function(kolvrane_export_entry_only target)
    if(WIN32)
        # PE ignores version scripts: a module definition file lists the export.
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/framework/processor/exports.def)
        kolvrane_link_statically(${target})
    else()
        target_link_options(${target} PRIVATE "-Wl,--version-script=${PROJECT_SOURCE_DIR}/framework/processor/exports.map")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/framework/processor/exports.map)
    endif()
endfunction()

# Debian's JUCE takes the image codecs and zlib from the system: on Windows the MinGW builds of
# scripts/build-windows.sh, for every target that compiles JUCE's graphics module.
function(kolvrane_use_image_libraries target)
    if(WIN32)
        if(NOT KOLVRANE_SYSROOT)
            message(FATAL_ERROR "The Windows build needs -DKOLVRANE_SYSROOT (see scripts/build-windows.sh)")
        endif()
        find_library(KOLVRANE_MINGW_ZLIB NAMES libz.a REQUIRED)
        target_include_directories(${target} PUBLIC ${KOLVRANE_SYSROOT}/include)
        target_link_libraries(${target} PUBLIC ${KOLVRANE_SYSROOT}/lib/libpng16.a
                                               ${KOLVRANE_SYSROOT}/lib/libjpeg.a ${KOLVRANE_MINGW_ZLIB})
    endif()
endfunction()

kolvrane_use_image_libraries(Kolvrane)

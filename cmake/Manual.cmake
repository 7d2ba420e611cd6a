# The manual: README.md rendered to HTML with the pictures it shows, laid out in the build tree as it
# is installed (doc/README.html beside doc/docs/screenshots), so Help works from the build folder too.
# TABULON_BUILD_MANUAL names the rendered file.
set(TABULON_MANUAL_DIR ${CMAKE_BINARY_DIR}/doc)
set(TABULON_BUILD_MANUAL ${TABULON_MANUAL_DIR}/README.html)
find_program(CMARK_GFM cmark-gfm)
if(NOT CMARK_GFM)
    message(WARNING "cmark-gfm not found: the manual (README.html) is not built; scripts/install-deps installs it")
    return()
endif()

file(GLOB TABULON_SCREENSHOTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/screenshots/*.png)
add_custom_command(OUTPUT ${TABULON_BUILD_MANUAL}
    COMMAND ${CMAKE_COMMAND} -DCMARK_GFM=${CMARK_GFM} -DINPUT=${CMAKE_SOURCE_DIR}/README.md
            -DOUTPUT=${TABULON_BUILD_MANUAL} -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/RenderManual.cmake
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TABULON_MANUAL_DIR}/docs/screenshots
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TABULON_SCREENSHOTS} ${TABULON_MANUAL_DIR}/docs/screenshots
    DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/RenderManual.cmake ${TABULON_SCREENSHOTS}
    COMMENT "Rendering the manual doc/README.html"
    VERBATIM)
add_custom_target(manual ALL DEPENDS ${TABULON_BUILD_MANUAL})

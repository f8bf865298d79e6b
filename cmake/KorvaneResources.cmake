# korvane_module_images(TARGET FOLDER): compiles the images in FOLDER (PNG, BMP, JPEG) into TARGET as its bitmap
# and cursor resources, found by LoadBitmapA, LoadImageA and LoadCursorA with the module's handle. File names
# give the resource names (see Sources/Host/korres.cpp).
function(korvane_module_images target folder)
    file(GLOB images CONFIGURE_DEPENDS ${folder}/*.png ${folder}/*.bmp ${folder}/*.jpg)
    list(SORT images)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}Images.cpp)
    add_custom_command(OUTPUT ${output} COMMAND korres ${output} ${images} DEPENDS korres ${images}
        COMMENT "Compiling the images of ${target}" VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()

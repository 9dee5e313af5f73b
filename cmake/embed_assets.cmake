# Builds the six skin images of assets/ into the program: a generated .cpp holds their bytes as arrays.
#
# Included from the Windows build, it adds a build step that regenerates the .cpp whenever a PNG
# changes, and adds that file to kestrune_core. Run as a script (cmake -P) it is that build step:
#   cmake -DASSETS_DIR=<folder of the PNGs> -DOUTPUT=<.cpp to write> -P embed_assets.cmake

# File name and the accessor that returns its bytes, in one list of pairs.
set(KESTRUNE_EMBEDDED_IMAGES
  background.png backgroundImageBytes
  close_normal.png closeNormalImageBytes
  close_hot.png closeHotImageBytes
  modify_normal.png modifyNormalImageBytes
  modify_hot.png modifyHotImageBytes
  modify_pressed.png modifyPressedImageBytes
)

if(CMAKE_SCRIPT_MODE_FILE)
  set(text "// The skin images as constant bytes. Written by the build from assets/*.png: do not edit.\n")
  string(APPEND text "#include \"assets/embedded_images.h\"\n\nnamespace {\n")
  set(accessors "")
  list(LENGTH KESTRUNE_EMBEDDED_IMAGES count)
  math(EXPR last "${count} - 1")
  foreach(index RANGE 0 ${last} 2)
    math(EXPR next "${index} + 1")
    list(GET KESTRUNE_EMBEDDED_IMAGES ${index} file)
    list(GET KESTRUNE_EMBEDDED_IMAGES ${next} accessor)
    file(READ "${ASSETS_DIR}/${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR length "${digits} / 2")
    if(length EQUAL 0)
      message(FATAL_ERROR "${ASSETS_DIR}/${file} is empty or missing")
    endif()
    # Sixteen bytes a line (CMake's expressions have no counted repetition: spell it out).
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REPEAT "0x..," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
    string(MAKE_C_IDENTIFIER "${file}" array)
    string(APPEND text "\n// ${file}, ${length} bytes\nconst unsigned char ${array}[${length}] = {\n    ${bytes}\n};\n")
    string(APPEND accessors "EmbeddedImage ${accessor}() noexcept { return {${array}, ${length}}; }\n")
  endforeach()
  string(APPEND text "\n}  // namespace\n\n${accessors}")
  file(WRITE "${OUTPUT}" "${text}")
  return()
endif()

set(KESTRUNE_EMBEDDED_IMAGES_SOURCE ${CMAKE_BINARY_DIR}/generated/assets/embedded_images.cpp)
set(embedded_image_files "")
list(LENGTH KESTRUNE_EMBEDDED_IMAGES count)
math(EXPR last "${count} - 1")
foreach(index RANGE 0 ${last} 2)
  list(GET KESTRUNE_EMBEDDED_IMAGES ${index} file)
  list(APPEND embedded_image_files ${CMAKE_SOURCE_DIR}/assets/${file})
endforeach()

add_custom_command(
  OUTPUT ${KESTRUNE_EMBEDDED_IMAGES_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DASSETS_DIR=${CMAKE_SOURCE_DIR}/assets
          -DOUTPUT=${KESTRUNE_EMBEDDED_IMAGES_SOURCE} -P ${CMAKE_CURRENT_LIST_FILE}
  DEPENDS ${embedded_image_files} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Embedding the skin images"
  VERBATIM)

# The test compares the embedded bytes with the files themselves, which it reads through Wine's
# drive Z: (the root of the Unix file system).
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/assets/embedded_images_wine_test.cpp
  PROPERTIES COMPILE_DEFINITIONS "KESTRUNE_ASSETS_FOLDER=\"Z:${CMAKE_SOURCE_DIR}/assets\"")

# kestrune_core is defined further down the including file: add the generated source once it exists.
cmake_language(DEFER CALL target_sources kestrune_core PRIVATE ${KESTRUNE_EMBEDDED_IMAGES_SOURCE})

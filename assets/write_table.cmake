# Writes the picture table, a C++ file holding each picture's bytes under its name:
#   cmake -DFOLDER=<folder of the PNGs> -DNAMES=<name;...> -DOUTPUT=<file.cpp> -P write_table.cmake
# The picture "title" is FOLDER/title.png.
foreach(variable FOLDER NAMES OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "write_table.cmake needs -D${variable}=...")
    endif()
endforeach()

set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS NAMES)
    set(file ${FOLDER}/${name}.png)
    file(READ ${file} hex HEX)
    if(hex STREQUAL "")
        message(FATAL_ERROR "${file} is empty")
    endif()
    # Two hex digits a byte: 16 bytes a line, then each byte as a literal.
    string(REGEX REPLACE "(................................)" "\\1\n    " hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
    string(STRIP "${hex}" hex)
    string(APPEND arrays "// ${name}.png\nconstexpr unsigned char kPng${index}[] = {\n    ${hex}\n};\n\n")
    string(APPEND entries "    {\"${name}\", kPng${index}},\n")
    math(EXPR index "${index} + 1")
endforeach()

file(WRITE ${OUTPUT} "// Written by assets/write_table.cmake from the PNGs in assets/: edit those, not this file.
#include \"assets/assets.h\"

namespace assets {
namespace {

${arrays}constexpr Picture kPictures[] = {
${entries}};

} // namespace

std::span<const Picture> pictures()
{
    return kPictures;
}

} // namespace assets
")

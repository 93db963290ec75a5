# cmake -DOUTPUT=<file.cpp> -DNAMESPACE=<ns> -DFILES=<symbol=path;...> -P EmbedFiles.cmake
#
# Writes a C++ source with each file as a byte array and its size:
#   extern const unsigned char <symbol>[]; extern const std::size_t <symbol>Size;
# so a binary carries its pictures without files beside it.
set(text "// Generated from the files named below; do not edit.\n#include <cstddef>\n\nnamespace ${NAMESPACE} {\n")
foreach(entry IN LISTS FILES)
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 0 symbol)
    list(GET pair 1 path)
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Line breaks keep compilers and editors comfortable with the long arrays.
    string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
    get_filename_component(name "${path}" NAME)
    string(APPEND text "\n// ${name}\nextern const unsigned char ${symbol}[] = {\n${bytes}\n};\n"
                       "extern const std::size_t ${symbol}Size = ${size};\n")
endforeach()
string(APPEND text "\n}  // namespace ${NAMESPACE}\n")
file(WRITE "${OUTPUT}" "${text}")

# Writes a C++ source that carries bitmap files inside the program as byte arrays.
#   cmake -DOUTPUT=<file.cpp> -DHEADER=<include path> -DINPUTS=<a.bmp;b.bmp> -P EmbedBitmaps.cmake
# Each file Name.bmp becomes `const std::span<const std::uint8_t> resources::NameBitmap`.
set(body "// Generated from the bitmap files by EmbedBitmaps.cmake; do not edit.\n")
string(APPEND body "#include \"${HEADER}\"\n\nnamespace resources {\n\nnamespace {\n")
set(spans "")
foreach(input IN LISTS INPUTS)
    get_filename_component(name "${input}" NAME_WE)
    file(READ "${input}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
    string(APPEND body "constexpr std::uint8_t ${name}Data[] = {\n    ${bytes}};\n")
    string(APPEND spans "const std::span<const std::uint8_t> ${name}Bitmap{${name}Data};\n")
endforeach()
string(APPEND body "\n}  // namespace\n\n${spans}\n}  // namespace resources\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

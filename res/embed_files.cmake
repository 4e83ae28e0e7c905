# Writes a C++ source that holds files as byte arrays.
#   cmake -DOUTPUT=out.cpp -DNAMES=a,b -DFILES=fileA,fileB -P embed_files.cmake
# Each name becomes embedded_art::<name>(), returning the file's bytes.
string(REPLACE "," ";" names "${NAMES}")
string(REPLACE "," ";" files "${FILES}")
set(text "// Generated from the picture files; edit those, not this.\n")
string(APPEND text "#include \"res/embedded_art.h\"\n\nnamespace {\n")
foreach(name file IN ZIP_LISTS names files)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND text "const std::uint8_t ${name}Bytes[] = {${bytes}};\n")
endforeach()
string(APPEND text "}  // namespace\n\n")
foreach(name IN LISTS names)
  string(APPEND text "std::span<const std::uint8_t> embedded_art::${name}() { return ${name}Bytes; }\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "${text}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

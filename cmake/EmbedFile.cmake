# Writes a C++ source file that holds the bytes of another file and a
# function returning them, so a program carries that file within itself:
#   cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DHEADER=NAME.h -DNAMESPACE=NS -DFUNCTION=NAME -P EmbedFile.cmake
# The function is declared in HEADER as std::string_view NS::NAME().
file(READ "${INPUT}" hex HEX)
string(REPEAT "[0-9a-f][0-9a-f]" 24 line)
string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(SIZE "${INPUT}" size)
get_filename_component(name "${INPUT}" NAME)
set(text "// Made by the build from ${name}: do not edit.\n")
string(APPEND text "#include \"${HEADER}\"\n\nnamespace ${NAMESPACE} {\nnamespace {\n\n")
string(APPEND text "const unsigned char kBytes[${size} + 1] = {\n${bytes}0};\n\n}  // namespace\n\n")
string(APPEND text "std::string_view ${FUNCTION}() { return {reinterpret_cast<const char*>(kBytes), ${size}}; }\n\n")
string(APPEND text "}  // namespace ${NAMESPACE}\n")
# Written only when it changes, so that a rerun rebuilds nothing.
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${text}" @ONLY)

# Turns the files of a resource folder into a C++ table of (type, name, bytes), the same
# records a Windows module carries: name and type in upper case, split at the last ".".
# Run in script mode: cmake -DRESOURCE_DIR=... -DOUTPUT=... -P EmbedResources.cmake
file(GLOB_RECURSE resource_files RELATIVE "${RESOURCE_DIR}" "${RESOURCE_DIR}/*")
list(SORT resource_files)

set(body "")
set(entries "")
set(counter 0)
foreach(rel IN LISTS resource_files)
    get_filename_component(file_name "${rel}" NAME)
    if(file_name MATCHES "^\\." OR file_name MATCHES "\\.md$")
        continue()
    endif()
    string(FIND "${file_name}" "." dot REVERSE)
    if(dot LESS 0)
        continue()
    endif()
    string(SUBSTRING "${file_name}" 0 ${dot} res_name)
    math(EXPR type_start "${dot} + 1")
    string(SUBSTRING "${file_name}" ${type_start} -1 res_type)
    string(TOUPPER "${res_name}" res_name)
    string(TOUPPER "${res_type}" res_type)

    file(READ "${RESOURCE_DIR}/${rel}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR byte_count "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND body "static const unsigned char resource${counter}[] = {${bytes}0};\n")
    string(APPEND entries "    {\"${res_type}\", \"${res_name}\", resource${counter}, ${byte_count}},\n")
    math(EXPR counter "${counter} + 1")
endforeach()

file(WRITE "${OUTPUT}.tmp"
"// Generated from the resource folder at build time; do not edit.\n"
"#include \"framework/resources/ResourceTable.h\"\n\n"
"namespace\n{\n${body}\nconst EmbeddedResource table[] = {\n${entries}    {nullptr, nullptr, nullptr, 0}};\n}\n\n"
"const EmbeddedResource* getEmbeddedResources() { return table; }\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

# Warnings and source handling per compiler, for the module and, from the top level, for the
# rest of the tree. MSVC (and clang-cl) reads a source without a byte-order mark in the
# machine's code page unless told otherwise: on a zh-CN machine (code page 936) the Chinese
# literals would not survive, hence /utf-8. /Zc:__cplusplus makes __cplusplus tell the truth,
# which Qt's headers test; /permissive- holds MSVC to the standard the other compilers keep.
if(MSVC)
    add_compile_options(/W4 /utf-8 /permissive- /Zc:__cplusplus)
else()
    add_compile_options(-Wall -Wextra -Wshadow)
endif()
# A unity build includes each source into a generated one, so GCC takes a source's own
# anonymous-namespace types for a header's and warns on every class that uses them.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-subobject-linkage)
endif()

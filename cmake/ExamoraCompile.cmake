# Compiler settings shared by every target: warnings, sanitizers, and a helper to declare the
# project's libraries with them.
set(EXAMORA_WARNINGS -Wall -Wextra -Wshadow -Wconversion)
if(EXAMORA_WERROR)
  list(APPEND EXAMORA_WARNINGS -Werror)
endif()

if(EXAMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# examora_library(NAME SOURCES... [DEPS ...]): a static library with the project's warnings.
function(examora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${EXAMORA_WARNINGS})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  if(ARG_PRIVATE_DEPS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_DEPS})
  endif()
endfunction()

# Fuzz builds instrument every library for coverage, so libFuzzer sees inside the engine.
if(EXAMORA_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

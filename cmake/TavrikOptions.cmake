# Warnings and sanitizer flags shared by every target. Every preset treats a
# warning as an error, so none goes unseen.
add_compile_options(-Wall -Wextra -Wpedantic)
if(TAVRIK_WERROR)
  add_compile_options(-Werror)
endif()

if(TAVRIK_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TAVRIK_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(TAVRIK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (use the fuzz preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds each folder (relative to the current list's folder) that has a
# CMakeLists.txt and is not left out through TAVRIK_EXCLUDE.
function(tavrik_add_subdirs)
  foreach(dir IN LISTS ARGN)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt AND NOT rel IN_LIST TAVRIK_EXCLUDE)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

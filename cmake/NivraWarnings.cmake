# Warnings for the project's own targets: nivra_warnings(<target>).
function(nivra_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wnon-virtual-dtor -Wformat=2)
    if(NIVRA_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# Fails the configure when a Qt-free core target links Qt, directly or through
# its link interface, so a later change cannot add the dependency silently.
function(nivra_assert_no_qt target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib MATCHES "Qt")
      message(FATAL_ERROR "${target} must not depend on Qt (links ${lib})")
    endif()
  endforeach()
endfunction()

# Adds each listed subdirectory; a missing one is an error, not a
# subsystem (or its tests) silently left out of the build.
function(nivra_add_subdirs)
  foreach(dir IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${dir} has no CMakeLists.txt")
    endif()
    add_subdirectory(${dir})
  endforeach()
endfunction()

# The floors of the house: platform/ at the bottom, then panel/ and settings/,
# then app/. Every include runs downward. A library's include path is a folder
# of links to just the source folders it may include, so an include that runs
# upward or sideways ("app/..." from panel/, "settings/..." from panel/) is not
# found and the build stops there.
function(zarn_floors target)
  set(root ${CMAKE_BINARY_DIR}/house/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS ARGN)
    if(NOT EXISTS ${root}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# Pecunette — apprendre à remplir un chèque.
# What goes beside the program and into an installation: the sound cues.
include(GNUInstallDirs)

set(PECUNETTE_SOUNDS
  ${PROJECT_SOURCE_DIR}/assets/sons/son2.wav
  ${PROJECT_SOURCE_DIR}/assets/sons/incorrect.mp3
  ${PROJECT_SOURCE_DIR}/assets/sons/bravo.mp3
  ${PROJECT_SOURCE_DIR}/assets/sons/cgagne.mp3)

# The program run from its build folder finds its cues beside it.
get_target_property(program_dir pecunette RUNTIME_OUTPUT_DIRECTORY)
if(NOT program_dir)
  get_target_property(program_dir pecunette BINARY_DIR)
endif()
set(copied_sounds)
foreach(sound IN LISTS PECUNETTE_SOUNDS)
  get_filename_component(name ${sound} NAME)
  add_custom_command(OUTPUT ${program_dir}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sound} ${program_dir}/${name}
    DEPENDS ${sound} VERBATIM)
  list(APPEND copied_sounds ${program_dir}/${name})
endforeach()
add_custom_target(pecunette_sounds ALL DEPENDS ${copied_sounds})
add_dependencies(pecunette pecunette_sounds)

# Installed, the program looks for them in ../share/pecunette/sons from its folder.
install(FILES ${PECUNETTE_SOUNDS} DESTINATION ${CMAKE_INSTALL_DATADIR}/pecunette/sons)

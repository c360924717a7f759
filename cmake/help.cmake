# The help pages go in a "help" folder beside a program that opens them.
file(GLOB CORVANE_HELP_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/help/*.html ${PROJECT_SOURCE_DIR}/docs/help/*.css)

function(corvane_help_pages target folder)
  set(copies)
  foreach(page ${CORVANE_HELP_PAGES})
    get_filename_component(name ${page} NAME)
    add_custom_command(OUTPUT ${folder}/help/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/help
      COMMAND ${CMAKE_COMMAND} -E copy ${page} ${folder}/help/${name}
      DEPENDS ${page} VERBATIM)
    list(APPEND copies ${folder}/help/${name})
  endforeach()
  add_custom_target(${target}_help ALL DEPENDS ${copies})
  add_dependencies(${target} ${target}_help)
endfunction()
